#pragma once
// The clock every measurement reads: wall time, or the CPU time of the process, which a
// machine shared with other work does not inflate (page faults count, waiting does not).
#include <time.h>

namespace bench {

enum class ClockKind { Wall, Cpu };

inline ClockKind& clockKind() {
    static ClockKind kind = ClockKind::Wall;
    return kind;
}

inline double nowMs() {
    timespec ts{};
    clock_gettime(clockKind() == ClockKind::Cpu ? CLOCK_PROCESS_CPUTIME_ID : CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

inline const char* clockName() { return clockKind() == ClockKind::Cpu ? "CPU time" : "wall time"; }

}  // namespace bench

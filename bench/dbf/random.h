#pragma once
// A small deterministic generator (splitmix64): the same seed gives the same tables on
// every machine and standard library.
#include <cstdint>

namespace bench {

class Random {
  public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    // Uniform in [0, n).
    std::uint64_t below(std::uint64_t n) { return next() % n; }

  private:
    std::uint64_t m_state;
};

}  // namespace bench

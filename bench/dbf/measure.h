#pragma once
// Runs one operation on every side a few times and keeps the medians, after a first run
// that also checks that the sides agree.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sides.h"

namespace bench {

struct Measurement {
    std::string name;
    std::int64_t rows = 0;                      // rows of the result (the floor's)
    std::optional<double> ours, sqlite, floor;  // medians, ms per statement
    std::optional<double> oursFirst;            // the first run of ours (its caches built)
    std::optional<double> oursStatement;        // ours without the pass over the result
    double goalVsSqlite = 1.0;                  // ours/SQLite at most this at 1,000,000 foods
    std::string check = "ok";                   // "ok", or what differed
    std::string oursError;                      // why ours shows n/a
};

struct Contestants {
    Side* ours = nullptr;           // null when this build has none
    Side* oursStatement = nullptr;  // ours running the statement only (row queries)
    Side* sqlite = nullptr;
    Side* floor = nullptr;
};

Measurement measureRows(const std::string& name, RowQuery query, const RowParams& params,
                        const Contestants& c, int repeats, double goal);

// A sum statement run once per code of `codes`; times are per statement.
using SumRun = std::function<SumsResult(Side&, int code)>;
Measurement measureSums(const std::string& name, const std::vector<int>& codes, const SumRun& run,
                        const Contestants& c, int repeats);

double median(std::vector<double> v);

}  // namespace bench

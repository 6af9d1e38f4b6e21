#include "measure.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include "clock.h"

namespace bench {
namespace {

std::string describe(const RowsResult& r) {
    return "rows " + std::to_string(r.count) + ", code sum " + std::to_string(r.codeSum) +
           (r.ordered ? "" : ", out of order");
}

std::string compareRows(const char* who, const RowsResult& got, const RowsResult& want) {
    if (got.count == want.count && got.codeSum == want.codeSum && got.ordered == want.ordered)
        return {};
    return std::string(who) + " " + describe(got) + " vs floor " + describe(want);
}

bool close(double a, double b) {
    return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

std::string compareSums(const char* who, int code, const SumsResult& got, const SumsResult& want) {
    for (std::size_t k = 0; k < want.values.size(); ++k) {
        const bool same =
            got.nulls[k] == want.nulls[k] && (got.nulls[k] || close(got.values[k], want.values[k]));
        if (!same)
            return std::string(who) + " code " + std::to_string(code) + " N" +
                   std::to_string(k + kFirstNutrient) + " " +
                   (got.nulls[k] ? "null" : std::to_string(got.values[k])) + " vs floor " +
                   (want.nulls[k] ? "null" : std::to_string(want.values[k]));
    }
    return {};
}

void addCheck(Measurement& m, const std::string& problem) {
    if (problem.empty()) return;
    m.check = m.check == "ok" ? problem : m.check + "; " + problem;
}

// Runs `once` on each side `repeats` times, the sides taking turns so that a busy moment
// of the machine hits all three alike.
void timeTurns(Measurement& m, const Contestants& c, int repeats, double perRun,
               const std::function<void(Side&)>& once) {
    std::vector<double> ours, statement, sqlite, floor;
    for (int i = 0; i < repeats; ++i) {
        auto timed = [&](Side& s) {
            const double t0 = nowMs();
            once(s);
            return (nowMs() - t0) / perRun;
        };
        if (c.ours && m.oursError.empty()) {
            try {
                ours.push_back(timed(*c.ours));
                if (c.oursStatement) statement.push_back(timed(*c.oursStatement));
            } catch (const std::exception& e) {
                m.oursError = e.what();
            }
        }
        sqlite.push_back(timed(*c.sqlite));
        floor.push_back(timed(*c.floor));
    }
    if (!ours.empty() && m.oursError.empty()) m.ours = median(ours);
    if (!statement.empty() && m.oursError.empty()) m.oursStatement = median(statement);
    m.sqlite = median(sqlite);
    m.floor = median(floor);
}

}  // namespace

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

Measurement measureRows(const std::string& name, RowQuery query, const RowParams& params,
                        const Contestants& c, int repeats, double goal) {
    Measurement m;
    m.name = name;
    m.goalVsSqlite = goal;
    const RowsResult want = c.floor->rows(query, params);
    m.rows = want.count;
    addCheck(m, compareRows("SQLite", c.sqlite->rows(query, params), want));
    if (!c.ours) {
        m.oursError = "this build has no query engine";
    } else {
        try {
            const double t0 = nowMs();
            const RowsResult got = c.ours->rows(query, params);
            m.oursFirst = nowMs() - t0;
            addCheck(m, compareRows("ours", got, want));
        } catch (const std::exception& e) {
            m.oursError = e.what();
        }
    }
    timeTurns(m, c, repeats, 1.0, [&](Side& s) {
        RowsResult r = s.rows(query, params);
        benchmark::DoNotOptimize(r);
    });
    return m;
}

Measurement measureSums(const std::string& name, const std::vector<int>& codes, const SumRun& run,
                        const Contestants& all, int repeats) {
    Contestants c = all;
    c.oursStatement = nullptr;  // a sum's result is one row: nothing to walk
    Measurement m;
    m.name = name;
    m.rows = 1;
    m.goalVsSqlite = 1.0;  // no slower than SQLite
    bool oursOk = c.ours != nullptr;
    if (!c.ours) m.oursError = "this build has no query engine";
    for (const int code : codes) {
        const SumsResult want = run(*c.floor, code);
        if (m.check == "ok") addCheck(m, compareSums("SQLite", code, run(*c.sqlite, code), want));
        if (!oursOk) continue;
        try {
            const double t0 = nowMs();
            const SumsResult got = run(*c.ours, code);
            if (!m.oursFirst) m.oursFirst = nowMs() - t0;
            if (m.check == "ok") addCheck(m, compareSums("ours", code, got, want));
        } catch (const std::exception& e) {
            m.oursError = e.what();
            oursOk = false;
        }
    }
    timeTurns(m, c, repeats, static_cast<double>(codes.size()), [&](Side& s) {
        for (const int code : codes) {
            SumsResult r = run(s, code);
            benchmark::DoNotOptimize(r);
        }
    });
    return m;
}

}  // namespace bench

// bench_dbf: our table engine against SQLite and a hand-written floor on generated food
// tables of several sizes. Prints one table per size.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "bench_data.h"
#include "clock.h"
#include "dbf/number_text.h"
#include "measure.h"
#include "report.h"
#include "sides.h"

namespace {

using namespace bench;

struct Options {
    std::vector<std::size_t> sizes{7413, 100000, 1000000};
    std::filesystem::path dataRoot = defaultDataRoot();
    int repeats = 0;  // 0: by size
    bool quick = false;
    std::string profile;  // run only ours on this operation, for a profiler
};

void usage() {
    std::printf(
        "Usage: bench_dbf [--sizes=N,N,...] [--repeat=K] [--clock=wall|cpu] [--data=DIR] "
        "[--quick]\n"
        "Times our table engine, SQLite (:memory:) and a plain in-memory loop on generated\n"
        "FOODS tables (default sizes 7413,100000,1000000), CONTENTS of 10,000 and RECAL of\n"
        "100,000 rows. The tables are written once to DIR (default $HALVORA_BENCH_DATA or\n"
        "/tmp/halvora-bench-data) and reused. --repeat sets the runs per median (default 5 at\n"
        "1,000,000 foods, 11 at 100,000, 21 below); --quick runs 7413 foods three times.\n"
        "--profile=OP runs only our engine on one operation (listing, name, farsi, range,\n"
        "ranking, recipe, recall) --repeat times (default 50), for a profiler.\n"
        "--clock=cpu times by the CPU time of the process instead of the wall clock, for a\n"
        "machine shared with other work.\n");
}

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--sizes=", 0) == 0) {
            o.sizes.clear();
            std::size_t pos = 8;
            while (pos < a.size()) {
                const std::size_t comma = std::min(a.find(',', pos), a.size());
                o.sizes.push_back(std::stoul(a.substr(pos, comma - pos)));
                pos = comma + 1;
            }
        } else if (a.rfind("--repeat=", 0) == 0) {
            o.repeats = std::stoi(a.substr(9));
        } else if (a.rfind("--data=", 0) == 0) {
            o.dataRoot = a.substr(7);
        } else if (a == "--clock=cpu" || a == "--clock=wall") {
            clockKind() = a == "--clock=cpu" ? ClockKind::Cpu : ClockKind::Wall;
        } else if (a.rfind("--profile=", 0) == 0) {
            o.profile = a.substr(10);
        } else if (a == "--quick") {
            o.quick = true;
            o.sizes = {7413};
            o.repeats = 3;
        } else if (a == "--help" || a == "-h") {
            usage();
            std::exit(0);
        } else {
            std::fprintf(stderr, "bench_dbf: unknown argument %s\n", a.c_str());
            usage();
            std::exit(2);
        }
    }
    return o;
}

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

std::string cpuModel() {
    std::ifstream in("/proc/cpuinfo");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    return "unknown CPU";
}

// Recipes spread over all codes, each with the divisor text of its weight.
std::vector<int> pickRecipes(const ContentsData& c, std::map<int, std::string>& divisors,
                             int count) {
    std::map<int, double> weight;
    for (std::size_t i = 0; i < c.size(); ++i) weight[c.recipe[i]] += c.weight[i];
    std::vector<int> codes;
    for (int i = 0; i < count; ++i) {
        const int code = 1 + static_cast<int>(static_cast<long long>(i) * c.recipeCount / count);
        codes.push_back(code);
        divisors[code] = dbf::formatGeneral(weight[code] / 100);
    }
    return codes;
}

std::vector<int> pickSubjects(const RecallData& r, int count) {
    std::vector<int> codes;
    for (int i = 0; i < count; ++i)
        codes.push_back(
            r.subject[static_cast<std::size_t>(i) * r.size() / static_cast<std::size_t>(count)]);
    return codes;
}

OpenTiming timeFreshOpens(const std::filesystem::path& dir, int runs) {
    OpenTiming t;
    if (!oursAvailable()) {
        t.error = "this build has no query engine";
        return t;
    }
    std::vector<double> all;
    for (int i = 0; i < runs; ++i) {
        try {
            const double t0 = nowMs();
            auto ours = makeOursSide(dir);  // a new store: the previous side released it
            ours->rows(RowQuery::Listing, {});
            all.push_back(nowMs() - t0);
        } catch (const std::exception& e) {
            t.error = e.what();
            return t;
        }
    }
    t.firstMs = all.front();
    t.medianMs = median(all);
    t.runs = runs;
    return t;
}

void profileOurs(const Options& o, const std::filesystem::path& dir, const BenchData& data) {
    static const std::map<std::string, RowQuery> rowOps{{"listing", RowQuery::Listing},
                                                        {"name", RowQuery::NameEnglish},
                                                        {"farsi", RowQuery::NameFarsi},
                                                        {"range", RowQuery::Range},
                                                        {"ranking", RowQuery::Ranking}};
    auto ours = makeOursSide(dir);
    std::map<int, std::string> divisors;
    const auto recipes = pickRecipes(data.contents, divisors, 64);
    const auto subjects = pickSubjects(data.recall, 64);
    std::function<void()> once;
    if (const auto it = rowOps.find(o.profile); it != rowOps.end()) {
        once = [&, q = it->second] { ours->rows(q, {}); };
    } else if (o.profile == "recipe") {
        once = [&] {
            for (const int r : recipes) ours->recipeSum(r, divisors[r]);
        };
    } else if (o.profile == "recall") {
        once = [&] {
            for (const int s : subjects) ours->recallSum(s);
        };
    } else {
        throw std::runtime_error("unknown operation to profile: " + o.profile);
    }
    once();  // caches built
    std::vector<double> times;
    for (int i = 0; i < (o.repeats > 0 ? o.repeats : 50); ++i) {
        const double t0 = nowMs();
        once();
        times.push_back(nowMs() - t0);
    }
    std::printf("ours %s: median %.3f ms per run\n", o.profile.c_str(), median(times));
}

void runSize(const Options& o, std::size_t foods) {
    const int repeats = o.repeats > 0      ? o.repeats
                        : foods >= 1000000 ? 5
                        : foods >= 100000  ? 11
                                           : 21;
    const int codesPerRun = o.quick ? 16 : 64;

    auto t0 = std::chrono::steady_clock::now();
    const BenchData data = generate(foods);
    std::printf("[%zu] generated in %.1f s\n", foods, seconds(t0));
    t0 = std::chrono::steady_clock::now();
    bool written = false;
    const auto dir = ensureTables(o.dataRoot, data, &written);
    std::printf("[%zu] tables %s %s in %.1f s\n", foods, written ? "written to" : "found in",
                dir.c_str(), seconds(t0));
    std::fflush(stdout);

    if (!o.profile.empty()) {
        profileOurs(o, dir, data);
        return;
    }

    // Before anything else of ours touches the tables: the open of a fresh process.
    const OpenTiming open = timeFreshOpens(dir, 3);

    t0 = std::chrono::steady_clock::now();
    auto sqlite = makeSqliteSide(data);
    std::printf("[%zu] SQLite filled and indexed in %.1f s\n", foods, seconds(t0));
    auto floor = makeFloorSide(data);
    std::unique_ptr<Side> ours, oursStatement;
    std::string oursError;
    if (oursAvailable()) {
        try {
            ours = makeOursSide(dir);
            oursStatement = makeOursSide(dir, false);
        } catch (const std::exception& e) {
            oursError = e.what();
        }
    }
    std::fflush(stdout);

    const Contestants c{ours.get(), oursStatement.get(), sqlite.get(), floor.get()};
    const RowParams p;
    std::vector<Measurement> results;
    results.push_back(measureRows("listing N1>0", RowQuery::Listing, p, c, repeats, 0.2));
    results.push_back(
        measureRows("name N2 LIKE %chicken%", RowQuery::NameEnglish, p, c, repeats, 0.1));
    results.push_back(measureRows("name N3 LIKE %مرغ%", RowQuery::NameFarsi, p, c, repeats, 0.1));
    results.push_back(measureRows("range N45 10..12 DESC", RowQuery::Range, p, c, repeats, 0.1));
    results.push_back(measureRows("ranking N45 DESC", RowQuery::Ranking, p, c, repeats, 0.1));

    std::map<int, std::string> divisors;
    const auto recipes = pickRecipes(data.contents, divisors, codesPerRun);
    const auto subjects = pickSubjects(data.recall, codesPerRun);
    const SumRun recipeSum = [&](Side& s, int code) { return s.recipeSum(code, divisors[code]); };
    const SumRun recallSum = [](Side& s, int code) { return s.recallSum(code); };
    results.push_back(measureSums("recipe per 100 g sums", recipes, recipeSum, c, repeats));
    results.push_back(measureSums("recall total sums", subjects, recallSum, c, repeats));
    // Each statement of the program is a new text, so above SQLite prepares every one as
    // we parse every one; here SQLite keeps one prepared statement and binds the code.
    auto bound = makeSqliteBoundSums(*sqlite);
    const Contestants cb{ours.get(), nullptr, bound.get(), floor.get()};
    results.push_back(measureSums("recipe sums, SQL bound", recipes, recipeSum, cb, repeats));
    results.push_back(measureSums("recall sums, SQL bound", subjects, recallSum, cb, repeats));
    if (!oursError.empty())
        for (auto& m : results) m.oursError = oursError;

    printTable(stdout, foods, repeats, results, open);
    std::printf("SQLite plans:\n%s", sqlitePlans(*sqlite).c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = parse(argc, argv);
    std::printf("bench_dbf: %u cores, %s; data in %s; timed by %s\n",
                std::thread::hardware_concurrency(), cpuModel().c_str(), o.dataRoot.c_str(),
                clockName());
    try {
        std::filesystem::create_directories(o.dataRoot);
        for (const std::size_t n : o.sizes) runSize(o, n);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_dbf: %s\n", e.what());
        return 1;
    }
    return 0;
}

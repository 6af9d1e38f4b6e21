// bench_foods: the food catalogue's handlers as the user triggers them, on generated food
// tables of several sizes, each beside the engine's own time for the statement it sends.
// A handler's time runs from the call to the rows of the first screen read as the food
// result grid reads them (40 rows of code and two names, converted for display).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/recall.h"
#include "analysis/recipe_analysis.h"
#include "app_directory.h"
#include "bench_data.h"
#include "clock.h"
#include "core/main_form.h"
#include "core/nutrient_grid.h"
#include "core/run_handler.h"
#include "core/startup.h"
#include "core/text_boundary.h"
#include "dbf/codepage1256.h"
#include "foods/food_export.h"
#include "foods/food_search.h"
#include "foods/nutrient_ranking.h"

namespace {

using namespace bench;

// The program's dialogs, answered at once: a file name for the exports, errors printed.
class AnsweringDialogs : public core::Dialogs {
  public:
    std::string exportFile;
    void showMessage(const std::string& text) override { messages.push_back(text); }
    bool askYesNo(const std::string&) override { return true; }
    std::optional<std::string> saveFileName(const core::SaveFileRequest&) override {
        return exportFile;
    }
    void showError(const std::string& text) override {
        std::fprintf(stderr, "error: %s\n", text.c_str());
    }
    void showModal(const std::string&) override {}
    std::vector<std::string> messages;
};

class NoDisplayModes : public core::DisplayModes {
  public:
    bool changeResolution(int, int, int) override { return false; }
};

// What the food result grid reads for its first screen.
void readFirstScreen(core::MainForm& form) {
    const core::DataSource* source = form.foodProcessor.DBGrid2.source();
    const dbf::DataSet& shown = *source->dataSet();
    const auto rows = std::min<std::int64_t>(40, shown.recordCount());
    std::size_t bytes = 0;
    for (std::int64_t r = 0; r < rows; ++r)
        for (const char* column : {"N1", "N3", "N2"})
            bytes +=
                core::controlText(shown.peek(static_cast<std::size_t>(r), shown.fieldIndex(column)))
                    .size();
    if (bytes == 0 && rows > 0) std::fprintf(stderr, "empty first screen\n");
}

double medianOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The median time of `run` over `repeats` runs, after one run to warm the caches; `setUp`
// runs before each, untimed.
double timeMs(int repeats, const std::function<void()>& run,
              const std::function<void()>& setUp = {}) {
    if (setUp) setUp();
    run();
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        if (setUp) setUp();
        const double start = nowMs();
        run();
        times.push_back(nowMs() - start);
    }
    return medianOf(times);
}

// What a handler's time is set beside: the last statement it sent through Query1 or
// Query2 run alone, the recall filter it applies applied alone, or nothing.
enum class Peer { Query1, Query2, RecallFilter, None };

struct Operation {
    const char* name;
    std::function<void(core::MainForm&)> prepare;  // sets the controls, not timed
    void (*handler)(core::MainForm&);
    bool showsGrid;  // the grid's first screen is part of the time
    Peer peer = Peer::Query1;
    const char* goal = "< 100 ms, ≤ 1.5 × statement";
};

void runSize(const std::filesystem::path& root, std::size_t foods, int repeats) {
    std::fprintf(stderr, "generating %zu foods...\n", foods);
    const BenchData data = generate(foods);
    bool written = false;
    const auto tables = ensureTables(root, data, &written);
    const auto app = ensureAppDirectory(root, tables, foods);
    AnsweringDialogs dialogs;
    dialogs.exportFile = (app / "ranking.TXT").string();
    NoDisplayModes display;
    core::MainForm form(app, dialogs, display);
    core::runHandler(form, core::Form1create);

    // A word of a Farsi and of an English name in the middle of the table.
    const std::string farsi = dbf::cp1256::toUtf8Farsi(data.foods.nameFa[foods / 2].substr(0, 6));
    const std::string english = data.foods.nameEn[foods / 2].substr(0, 5);
    const std::int64_t lateCode = data.foods.code[foods - 10];

    // A nutrient with amounts in the tens or more, and integer bounds around its middle
    // tenth of foods, for the range search.
    int rangeNutrient = 0;  // 0 is N8
    double lowerBound = 0, upperBound = 1;
    for (int k = 0; k < kNutrientCount; ++k) {
        std::vector<double> values;
        const NumberColumn& column = data.foods.nutrients[static_cast<std::size_t>(k)];
        for (std::size_t i = 0; i < column.values.size(); ++i)
            if (!column.nulls[i]) values.push_back(column.values[i]);
        if (values.size() < foods / 2) continue;
        std::sort(values.begin(), values.end());
        const double p45 = values[values.size() * 45 / 100], p55 = values[values.size() * 55 / 100];
        if (p45 < 20) continue;
        rangeNutrient = k;
        lowerBound = std::floor(p45);
        upperBound = std::ceil(p55);
        break;
    }
    const int rangePair = rangeNutrient / 29, rangeRow = rangeNutrient % 29 + 1;

    // The analysis works on recipe 1 and subject 1, on a day of that subject's recall.
    for (std::size_t i = 0; i < data.recall.size(); ++i)
        if (data.recall.subject[i] == 1) {
            form.foodAnalysis.TodayLabel.setCaption(data.recall.date[i]);
            break;
        }
    form.DBF3.first();
    form.DBF9.first();
    constexpr const char* kAnalysisGoal = "< 5 ms, ≤ 1.5 × statement";

    auto& tab = form.foodProcessor;
    const std::vector<Operation> ops = {
        {"listing (Refresh)", {}, foods::Button3Click, true},
        {"name search, English",
         [&](core::MainForm&) {
             tab.ENGLISH.setChecked(true);
             tab.Edit4.setText(english);
         },
         foods::SEARCHClick, true},
        {"name search, Farsi",
         [&](core::MainForm&) {
             tab.FARSI.setChecked(true);
             tab.Edit4.setText(farsi);
         },
         foods::SEARCHClick, true},
        {"Find Record (a code near the end)",
         [&](core::MainForm& f) {
             foods::Button3Click(f);
             tab.Edit4.setText(std::to_string(lateCode));
         },
         foods::FindRecordClick, true, Peer::None},
        {"range search (Find)",
         [&](core::MainForm&) {
             tab.DBF.setChecked(true);
             tab.StringGrid1.setCurrentCell(2 * rangePair + 1, rangeRow);
             tab.AZ.setText(std::to_string(static_cast<long long>(lowerBound)));
             tab.TA.setText(std::to_string(static_cast<long long>(upperBound)));
         },
         foods::AZTASEarchClick, true},
        {"Highest", [&](core::MainForm&) { tab.StringGrid1.setCurrentCell(1, 2); },
         foods::HighestClick, true},
        {"Lowest", {}, foods::LowestClick, true},
        {"double-click display",
         [&](core::MainForm& f) {
             foods::Button3Click(f);
             f.Query1.moveBy(static_cast<std::int64_t>(foods / 2));
         },
         foods::DBGrid2DblClick, false, Peer::None},
        {"Save to Text (full ranking)", [&](core::MainForm& f) { foods::HighestClick(f); },
         foods::SaveFIleClick, false, Peer::None, "< 2000 ms"},
        // The recipe book and the recall, on CONTENTS of 10,000 and RECAL of 100,000 rows.
        {"recipe analysis", {}, analysis::ANALSISClick, false, Peer::Query2, kAnalysisGoal},
        {"ingredient display", [&](core::MainForm& f) { f.DBF4.first(); }, analysis::EACHFOODClick,
         false, Peer::None, "< 5 ms"},
        {"add a recipe to the recall",
         {},
         analysis::ADDRECEPClick,
         false,
         Peer::Query2,
         kAnalysisGoal},
        {"UP DATE", {}, analysis::UpDateButtonClick, false, Peer::RecallFilter, kAnalysisGoal},
    };

    std::printf("\n%s foods (%s, median of %d runs, ms)\n", std::to_string(foods).c_str(),
                clockName(), repeats);
    std::printf("| handler | handler ms | statement ms | handler/statement | goal | rows |\n");
    std::printf("|---|---|---|---|---|---|\n");
    dbf::Query engine;
    engine.setDirectory(form.Query1.directory());
    for (const Operation& op : ops) {
        const auto setUp = [&] {
            if (op.prepare) op.prepare(form);
        };
        const double ownMs = timeMs(
            repeats,
            [&] {
                core::runHandler(form, op.handler);
                if (op.showsGrid) readFirstScreen(form);
            },
            setUp);
        std::string statementText = "n/a", ratioText = "n/a", rowsText = "-";
        double peerMs = -1;
        if (op.peer == Peer::Query1 || op.peer == Peer::Query2) {
            // The last statement the handler sent, run alone on a query of its own.
            setUp();
            core::runHandler(form, op.handler);
            const auto lines = (op.peer == Peer::Query1 ? form.Query1 : form.Query2).sql();
            peerMs = timeMs(repeats, [&] {
                engine.close();
                engine.setSql(lines);
                engine.setRequestLive(true);
                engine.prepare();
                engine.open();
            });
            if (op.peer == Peer::Query1) rowsText = std::to_string(form.Query1.recordCount());
        } else if (op.peer == Peer::RecallFilter) {
            setUp();
            core::runHandler(form, op.handler);
            dbf::Table recall;
            recall.setDirectory(form.DBF8.directory());
            recall.setTableName(form.DBF8.tableName());
            recall.open();
            const std::string filter = form.DBF8.filter();
            peerMs = timeMs(repeats, [&] {
                recall.setFiltered(false);
                recall.setFilter(filter);
                recall.setFiltered(true);
                recall.first();
            });
            rowsText = std::to_string(form.DBF8.recordCount());
        }
        if (peerMs >= 0) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.3f", peerMs);
            statementText = buf;
            std::snprintf(buf, sizeof buf, "%.2f", peerMs > 0 ? ownMs / peerMs : 0.0);
            ratioText = buf;
        }
        std::printf("| %s | %.3f | %s | %s | %s | %s |\n", op.name, ownMs, statementText.c_str(),
                    ratioText.c_str(), op.goal, rowsText.c_str());
    }
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::size_t> sizes{7413, 100000, 1000000};
    std::filesystem::path root = defaultDataRoot();
    int repeats = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--sizes=", 0) == 0) {
            sizes.clear();
            for (std::size_t pos = 8; pos < a.size();) {
                const std::size_t comma = std::min(a.find(',', pos), a.size());
                sizes.push_back(std::stoul(a.substr(pos, comma - pos)));
                pos = comma + 1;
            }
        } else if (a.rfind("--repeat=", 0) == 0) {
            repeats = std::stoi(a.substr(9));
        } else if (a == "--clock=cpu") {
            clockKind() = ClockKind::Cpu;
        } else if (a.rfind("--data=", 0) == 0) {
            root = a.substr(7);
        } else {
            std::printf(
                "Usage: bench_foods [--sizes=N,N,...] [--repeat=K] [--clock=cpu] [--data=DIR]\n"
                "Times the food catalogue's handlers (listing, searches, Find Record, range\n"
                "search, Highest/Lowest, the double-click display, Save to Text of a full\n"
                "ranking) on generated tables of 7413, 100000 and 1000000 foods, each beside\n"
                "the engine's own time for the statement it sends. Tables are written once\n"
                "to DIR (default $HALVORA_BENCH_DATA or /tmp/halvora-bench-data) and reused.\n");
            return a == "--help" ? 0 : 2;
        }
    }
    for (std::size_t n : sizes)
        runSize(root, n, repeats > 0 ? repeats : (n >= 1000000 ? 5 : n >= 100000 ? 11 : 21));
    return 0;
}

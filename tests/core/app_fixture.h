#pragma once
// A temporary application directory with the nine tables, a scripted dialog layer that
// records what was shown, and a display that records the modes asked of it.
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/dialogs.h"
#include "core/main_form.h"
#include "core/paths.h"
#include "core/platform.h"
#include "core/run_handler.h"
#include "dbf/fixture.h"

namespace core::testing {

using dbf::testing::F;
using dbf::testing::I;
using dbf::testing::M;
using dbf::testing::Null;
using dbf::testing::Row;
using dbf::testing::S;

class RecordingDialogs : public Dialogs {
  public:
    void showMessage(const std::string& text) override { messages.push_back(text); }
    bool askYesNo(const std::string& text) override {
        questions.push_back(text);
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> saveFileName(const SaveFileRequest& request) override {
        saveRequests.push_back(request);
        return fileName;
    }
    void showError(const std::string& text) override { errors.push_back(text); }
    void showModal(const std::string& windowName) override { windows.push_back(windowName); }

    std::vector<std::string> messages, questions, errors, windows;
    std::vector<SaveFileRequest> saveRequests;
    std::deque<bool> answers;
    std::optional<std::string> fileName;
};

class RecordingDisplay : public DisplayModes {
  public:
    bool changeResolution(int width, int height, int bitsPerPixel) override {
        requests.emplace_back(width, height, bitsPerPixel);
        return switches;
    }
    std::vector<std::tuple<int, int, int>> requests;
    bool switches = true;
};

// What goes into the nine tables of a data directory.
struct DataContent {
    int nutrientRows = 113;
    std::vector<Row> foods = {{I(1), S("Apple"), S("sib")},
                              {I(0), S("Placeholder"), S("x")},
                              {I(2), S("Bread"), S("nan")}};
    std::vector<Row> recipes = {{I(4), S("Lunch"), S("Soup"), M("hot")},
                                {I(5), S("Dinner"), S("Stew"), M("")}};
    std::vector<Row> contents = {{I(4), I(1), S("sib"), F(100)},
                                 {I(5), I(2), S("nan"), F(50)},
                                 {I(4), I(2), S("nan"), F(20)}};
    std::vector<Row> weekly = {{I(3), S("Week A")}, {I(1), S("Week B")}};
    std::vector<Row> list = {{I(1), S("sib"), I(1)}};
    // D1 plan, D2 day, D3 meal, D4 kind, D5 code, D6 name, D7 amount, D8 description
    std::vector<Row> koram = {{I(3), I(0), I(3), I(2), I(1), S("sib"), F(1), M(" ")},
                              {I(3), I(0), I(0), I(2), I(2), S("nan"), F(1), M(" ")},
                              {I(1), I(0), I(3), I(2), I(2), S("nan"), F(1), M(" ")}};
    // R kind, R1 subject, R2 code, R3 name, R4 amount, R5 meal, R6 date
    std::vector<Row> recall = {{I(2), I(7), I(1), S("sib"), F(100), I(1), S("11/7/9")},
                               {I(2), I(8), I(2), S("nan"), F(50), I(2), S("11/7/9")},
                               {I(2), I(7), I(2), S("nan"), Null(), I(3), S("11/7/10")}};
    std::vector<Row> subjects = {{I(7), S("Sara")}, {I(8), S("Reza")}};
};

// The name the catalogue gives column N(n + 7): "Nutrient n", padded as stored.
inline std::string nutrientName(int n) { return "Nutrient " + std::to_string(n); }

void writeDataDirectory(const std::filesystem::path& dir, const DataContent& content = {});

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}
inline void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// An application directory (the process's current directory in the program) and a main
// form over it.
class AppTest : public ::testing::Test {
  protected:
    std::filesystem::path app() const { return dir.path(); }
    std::string appStored() const { return storedPath(app()) + "\\"; }
    MainForm& makeForm() {
        form = std::make_unique<MainForm>(app(), dialogs, display);
        return *form;
    }
    // Creates the form and runs the start-up sequence under the default error display.
    MainForm& start();
    // Closes any form and writes app()/data anew with this content, ready for start().
    void replaceDataDirectory(const DataContent& content);
    // Starts the program on a data directory of this content; what start-up said (the
    // first start's BACKUP notice) is cleared from the recorded messages.
    MainForm& startOn(const DataContent& content) {
        replaceDataDirectory(content);
        start();
        dialogs.messages.clear();
        return *form;
    }
    // Runs a handler as a click does: an error it raises is shown, and ends it.
    void click(void (*handler)(MainForm&)) { runHandler(*form, handler); }

    dbf::testing::TempDir dir;
    RecordingDialogs dialogs;
    RecordingDisplay display;
    std::unique_ptr<MainForm> form;
};

}  // namespace core::testing

#pragma once
// Query1 as the food result: what every search and ranking does with it.
#include <string>
#include <vector>

namespace core {
class MainForm;
}

namespace foods {

// DBGrid2 shows Query1.
void showQuery1(core::MainForm& form);
// Runs Query1 on the statement lines as a live result: close, set, prepare, open.
void runQuery1(core::MainForm& form, std::vector<std::string> lines);

}  // namespace foods

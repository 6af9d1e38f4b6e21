#pragma once
// Query1 as the food result: the food result grid shows it.

namespace core {
class MainForm;
}

namespace foods {

// DBGrid2 shows Query1.
void showQuery1(core::MainForm& form);

}  // namespace foods

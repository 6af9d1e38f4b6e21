#pragma once
// Ranking foods by the nutrient chosen in the nutrient grid, over all foods or over the
// foods of the current recipe; the ranking stays in Query1 for "Save to Text".

namespace core {
class MainForm;
}

namespace foods {

// "Highest": the richest foods first.
void HighestClick(core::MainForm& form);
// "Lowest": the poorest foods first.
void LowestClick(core::MainForm& form);
// Double-click on StringGrid1 (and on StringGrid4 of "Food Analysis"): all foods, the
// richest first, by the nutrient chosen in StringGrid1.
void StringGrid1DblClick(core::MainForm& form);

}  // namespace foods

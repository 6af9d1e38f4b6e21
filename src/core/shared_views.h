#pragma once
// Views that several tabs' handlers show the same way: the food listing, the plan and day
// views of KORAM.DBF, the week menu and the contents of the current recipe.
#include <string>
#include <vector>

namespace core {

class MainForm;

// Runs Query1 on the statement lines as a live result: close, set, open. Every listing,
// search and ranking of foods goes through it.
void runQuery1(MainForm& form, std::vector<std::string> lines);
// Query1 holds every food with a positive code (FOODSSQL). The grid's source is kept.
void foodListing(MainForm& form);

// "D1 = plan and D2 = day and D3 = meal" for the current plan, day and meal index.
std::string planViewFilter(const MainForm& form);
// Applies a filter to KORAM.DBF: off, first row, text, on, first row.
void applyKoramView(MainForm& form, const std::string& filterText);
// One meal of one day of the current plan; the meal grids show it.
void applyPlanView(MainForm& form);
// All meals of the current day of the current plan.
void applyDayView(MainForm& form);

// RefreshWeekMenu: empties the totals row of WDIETGRID, re-reads the meal index from the
// meal tabs, applies the plan view and redraws the meal grid of that meal.
void RefreshWeekMenu(MainForm& form);

// RECIPEClick: posts pending edits of Recipe and CONTENTS, then filters CONTENTS to the
// current recipe and records its code; nothing more when there is no current recipe.
void selectRecipe(MainForm& form);

}  // namespace core

#pragma once
// Finding foods on the "Food Processor" tab: the listing, a search by name, a jump to a
// code, a search by a range of one nutrient, a food's amounts in the nutrient grid, and the
// keyboard layout that goes with the search language.

namespace core {
class MainForm;
}

namespace foods {

// "Refresh": all foods with a positive code.
void Button3Click(core::MainForm& form);
// "Search": foods whose Farsi (FARSI) or English (ENGLISH) name contains Edit4's text.
void SEARCHClick(core::MainForm& form);
// "Find Record": the current row of the result moves to the food whose code Edit4 holds.
void FindRecordClick(core::MainForm& form);
// "Find": foods (all, or the current recipe's) whose selected nutrient lies in AZ..TA.
void AZTASEarchClick(core::MainForm& form);
// Double-click on DBGrid2: the food's amounts in the value columns of StringGrid1.
void DBGrid2DblClick(core::MainForm& form);
// A click on ENGLISH / FARSI (and EN_Search / F_Search): the keyboard for that language.
void ENGLISHClick(core::MainForm& form);
void FARSIClick(core::MainForm& form);

}  // namespace foods

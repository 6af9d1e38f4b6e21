#pragma once
// Recording a subject's 24-hour recall on the "Food Analysis" tab (RECAL.DBF): finding
// foods, adding foods and recipes with a snapshot of their nutrients per 100 g, deleting
// entries and choosing which entries the recall grid shows.

namespace core {
class MainForm;
}

namespace analysis {

// "Search": foods whose Farsi or English name contains Edit2's text, in DBGrid5.
void SerachClick(core::MainForm& form);
// "Code Search": the food whose code Food_Code holds, in DBGrid5.
void BitBtn2Click(core::MainForm& form);
// "REFRESH FOOD LIST": DBGrid5 shows the short list again.
void Image22Click(core::MainForm& form);
// "Add>>>" by the foods: the food DBGrid5 shows into the current subject's recall.
void Button22Click(core::MainForm& form);
// "Add>>>" by the recipes: the current recipe (per 100 g) into the recall.
void ADDRECEPClick(core::MainForm& form);
// "Delete": the current entry goes, at once.
void DelRecalClick(core::MainForm& form);
// "USER Refresh" and a double-click on the subject list: the subject's whole recall.
void Button11Click(core::MainForm& form);
// "UP DATE": entries of no subject and no date purged; the subject's recall of the day.
void UpDateButtonClick(core::MainForm& form);
// "FILTER" / "UNFILTER": the recipe list by the meal chosen in ComboBox4, or all recipes.
void FilterButtonClick(core::MainForm& form);
void UNFILTERButtonClick(core::MainForm& form);

}  // namespace analysis

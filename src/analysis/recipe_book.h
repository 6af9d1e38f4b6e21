#pragma once
// The recipe book on the "Food Processor" tab: recipes (Recipe) made of foods with weights
// (CONTENTS), grouped by meal. The current recipe is the current row of Recipe; the shown
// recipe is the one whose contents the filter of CONTENTS selects.

namespace core {
class MainForm;
}

namespace analysis {

// Double-click on GhazahaGrid: the contents of the current recipe.
void RECIPEClick(core::MainForm& form);
// "ADD": a new recipe with the next code and the meal shown in ComboBox1.
void ADDRECIPEClick(core::MainForm& form);
// "Add to Recipe": the current food of the food result grid into the current recipe.
void ADDFOODClick(core::MainForm& form);
// "DEL": the current food of the shown recipe's contents goes.
void RecepeiDelClick(core::MainForm& form);
// "Change Vade": the current recipe gets the meal shown in ComboBox1.
void Button1Click(core::MainForm& form);
// A meal chosen in ComboBox1: the recipe list shows the recipes of that meal.
void ComboBox1Change(core::MainForm& form);
// "UNFILTER": all recipes again.
void Button4Click(core::MainForm& form);
// Into the description box: the Farsi keyboard.
void DBMemo1Click(core::MainForm& form);

}  // namespace analysis

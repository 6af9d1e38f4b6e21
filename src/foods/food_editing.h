#pragma once
// The "Edit Food Database" tab: a food's amounts loaded into StringGrid3, a food found by
// code, added and deleted, and the typed amounts saved into the food.

namespace core {
class MainForm;
}

namespace foods {

// Double-click on DBGrid8: the current food becomes the food being edited.
void DBGrid8DblClick(core::MainForm& form);
// "Search": the food whose code Edit1 holds is found and loaded.
void FindFoodClick(core::MainForm& form);
// "ADD NEW FOOD": a food with the next code and blank amounts.
void Button12Click(core::MainForm& form);
// "Delete": the current food goes, at once.
void Button13Click(core::MainForm& form);
// Save (BitBtn3): the amounts typed into StringGrid3 go into the food being edited.
void BitBtn3Click(core::MainForm& form);

}  // namespace foods

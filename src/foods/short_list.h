#pragma once
// The short list of favourite foods (LIST.DBF), offered for quick choice in recalls and
// plans: foods added from "Edit Food Database" and "Food Processor", removed on "Food
// Analysis". A food is on the list at most once.

namespace core {
class MainForm;
}

namespace foods {

// "Add to Foods List": the current food of FOODS, with the meal of ComboBox3.
void AddSnacksClick(core::MainForm& form);
// "ADD to LIST": the current food of the food result grid, with the meal of ComboBox1.
void Button5Click(core::MainForm& form);
// "Delete" on "Food Analysis": the current food of the list, after asking.
void ListDelClick(core::MainForm& form);

}  // namespace foods

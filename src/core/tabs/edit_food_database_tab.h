#pragma once
// The "Edit Food Database" tab (TabSheet3): editing foods, their codes, names and nutrient
// amounts, and adding foods to the short list.
#include "core/controls.h"
#include "core/nutrient_grid.h"

namespace core {

struct EditFoodDatabaseTab : ControlOwner<EditFoodDatabaseTab> {
    static constexpr const char* name = "TabSheet3";
    static constexpr const char* caption = "Edit Food Database";

    DataGrid DBGrid8{
        "DBGrid8"};  // FOODS: N1 "CODE", N3 "FOOD NAME [FARSI]", N2 "FOOD NAME [ENGLISH]"
    NutrientGrid StringGrid3{"StringGrid3"};  // value cells editable
    Edit Edit1{"Edit1"};                      // code to find
    Button FindFood{"FindFood", "Search"};
    Button Button12{"Button12", "ADD NEW FOOD"};
    Button Button13{"Button13", "Delete"};
    Button AddSnacks{"AddSnacks", "Add to Foods List"};
    ComboBox ComboBox3{"ComboBox3"};  // meal of a food added to the short list
    Button BitBtn3{"BitBtn3"};        // saves the amounts

    EditFoodDatabaseTab();
};

}  // namespace core

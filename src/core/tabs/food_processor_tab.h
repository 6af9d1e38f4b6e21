#pragma once
// The "Food Processor" tab (TabSheet5): food listing and search, nutrient ranking, adding
// foods to the short list, the two text exports, the recipe book and the recipe analysis.
#include "core/controls.h"
#include "core/nutrient_grid.h"

namespace core {

struct FoodProcessorTab : ControlOwner<FoodProcessorTab> {
    static constexpr const char* name = "TabSheet5";
    static constexpr const char* caption = "Food Processor";

    // Food search.
    Edit Edit4{"Edit4"};
    RadioGroup language;
    RadioButton FARSI{"FARSI", "FARSI", language};
    RadioButton ENGLISH{"ENGLISH", "ENGLISH", language};
    Button FSEARCH{"FSEARCH", "Search"};
    Button FindRecord{"FindRecord", "Find Record"};
    Button Button3{"Button3", "Refresh"};
    Label COUNTER{"COUNTER", "********"};
    DataGrid DBGrid2{"DBGrid2"};  // Query1 (or FOODS): N1 "Code", N3 "Farsi Name", N2 "NAME"

    // Range search and ranking by the nutrient selected in StringGrid1.
    Label FromLabel{"FromLabel", "From"};
    Edit AZ{"AZ"};
    Label ToLabel{"ToLabel", "To"};
    Edit TA{"TA"};
    RadioGroup scope;
    RadioButton DBF{"DBF", "FOODS", scope};
    RadioButton Recipes{"Recipes", "Recipes", scope};
    Button AZTASEarch{"AZTASEarch", "Find"};
    Button Highest{"Highest", "Highest"};
    Button Lowest{"Lowest", "Lowest"};
    NutrientGrid StringGrid1{"StringGrid1"};

    // Short list and exports.
    Button Button5{"Button5", "ADD to LIST"};
    Button SaveFIle{"SaveFIle", "Save to Text"};
    Button Export{"Export", "Food Analysis Exp."};

    // Recipe book.
    Label RecipeLabel{"RecipeLabel", "RECIPE"};
    DataGrid GhazahaGrid{"GhazahaGrid"};  // Recipe: GHAZ1 "Code", GHAZ2 "Vade", GHAZ3 "Food"
    Memo DBMemo1{"DBMemo1"};              // GHAZ5 of the current recipe
    ComboBox ComboBox1{"ComboBox1"};      // the recipe's meal
    Button TAB3Add{"TAB3Add", "ADD"};
    Button Button1{"Button1", "Change Vade"};
    Button Button4{"Button4", "UNFILTER"};
    DataGrid DBGrid1{"DBGrid1"};  // CONTENTS: CON4 "Weight (gr.)", CON3 "Food Name", CON2 "Code"
    Button ADDFOOD{"ADDFOOD", "Add to Recipe"};
    Button RecepeiDel{"RecepeiDel", "DEL"};
    Picture Image1{"Image1"};  // recipe analysis

    FoodProcessorTab();
};

}  // namespace core

#pragma once
// The "Food Analysis" tab (TabSheet6): the 24-hour recall of a subject (choosing foods and
// recipes, entering amounts, showing entries), the recall analysis with the nutrient
// displays and the daily chart, removing foods from the short list, and the recall report.
#include "core/controls.h"
#include "core/nutrient_grid.h"

namespace core {

struct FoodAnalysisTab : ControlOwner<FoodAnalysisTab> {
    static constexpr const char* name = "TabSheet6";
    static constexpr const char* caption = "Food Analysis";

    // Subject list.
    DataGrid DBGrid10{"DBGrid10"};  // SUBJECTS.DBF: SU1 "CODE", SU2 "Name"

    // Foods: the short list, or a search result.
    DataGrid DBGrid5{"DBGrid5"};  // LIST.DBF: L1 "Code", L2 "Farsi Name"
    Edit Edit2{"Edit2"};
    RadioGroup language;
    RadioButton F_Search{"F_Search", "FARSI", language};
    RadioButton EN_Search{"EN_Search", "ENGLISH", language};
    Button Serach{"Serach", "Search"};
    Label Label6{"Label6"};  // number of foods found
    Edit Food_Code{"Food_Code"};
    Button BitBtn2{"BitBtn2", "Code Search"};
    Picture Image22{"Image22", "refresh_food_list.jpg"};
    Button Button22{"Button22", "Add>>>"};
    Button ListDel{"ListDel", "Delete"};

    // Recipes.
    DataGrid DBGridRES24{"DBGridRES24"};  // Recipe: GHAZ1 "Code", GHAZ2 "VADEH", GHAZ3 "NAME"
    ComboBox ComboBox4{"ComboBox4"};      // meal of new entries and of the recipe filter
    Button FilterButton{"FilterButton", "FILTER"};
    Button UNFILTERButton{"UNFILTERButton", "UNFILTER"};
    Button ADDRECEP{"ADDRECEP", "Add>>>"};

    // The recall.
    DataGrid DBGrid9{"DBGrid9"};  // RECAL.DBF: R1 "NO", R2 "Food Code", R3 "Food Name", R4 "Amount"
    Button DelRecal{"DelRecal", "Delete"};
    Button Button11{"Button11", "USER Refresh"};
    Button UpDateButton{"UpDateButton", "UP DATE"};
    Label DateCaption{"DateCaption", "Date:"};
    Label TodayLabel{"TodayLabel"};  // the working date in the short date format

    // Analysis, chart, report.
    NutrientGrid StringGrid4{"StringGrid4"};
    Picture Image10{"Image10"};         // recall analysis
    Button RecallGraph{"RecallGraph"};  // enabled by an analysis
    Button SmallPrint{"SmallPrint", "Report"};

    FoodAnalysisTab();
};

}  // namespace core

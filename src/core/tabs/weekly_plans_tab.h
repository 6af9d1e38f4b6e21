#pragma once
// The weekly plans tab (TabSheet2): the plan catalogue and day/meal navigation, plan
// composition from the recipe list and the food short list, the meal and day analyses,
// the copy of a plan day into a recall, and the weekly plan report.
#include <array>

#include "core/controls.h"

namespace core {

struct WeeklyPlansTab : ControlOwner<WeeklyPlansTab> {
    static constexpr const char* name = "TabSheet2";
    static constexpr const char* caption = "Weekly Diet Plans";
    static constexpr const char* farsiCaption = "برنامه غذایی هفتگی";

    // Plan catalogue (panel at the top right).
    DataGrid DBGrid3{"DBGrid3"};  // WEEKLY: W1 "Code", W2 "Name", editable
    Button AddWDiet{"AddWDiet", "ADD"};
    Button DelWDiet{"DelWDiet", "Delete"};  // drawn in red
    Button BitBtn4{"BitBtn4"};              // deletes a plan item; hint "Delete"

    // Days: narrow radio buttons beside pictures of the day names, index 0 Saturday.
    RadioGroup days;
    RadioButton Saturday{"Saturday", "", days};
    RadioButton Sunday{"Sunday", "", days};
    RadioButton Monday{"Monday", "", days};
    RadioButton Tuesday{"Tuesday", "", days};
    RadioButton Wednesday{"Wednesday", "", days};
    RadioButton Thursday{"Thursday", "", days};
    RadioButton Friday{"Friday", "", days};
    Picture Image3{"Image3"}, Image4{"Image4"}, Image5{"Image5"}, Image6{"Image6"},
        Image7{"Image7"}, Image8{"Image8"}, Image9{"Image9"};

    // Meals: one tab and one grid on KORAM.DBF per meal; the meal index is the tab index.
    PageControl PageControl3{"PageControl3",
                             {{"MealBreakfast", "Breakfast"},
                              {"MealLunch", "LUNCH"},
                              {"MealDinner", "Dinner"},
                              {"MealAfterDinner", "After Dinner"}}};
    DataGrid DBGBreakfast{"DBGBreakfast"};
    DataGrid DBGLunch{"DBGLunch"};
    DataGrid DBGDinner{"DBGDinner"};
    DataGrid DBGSnack{"DBGSnack"};
    Label DescriptionLabel{"DescriptionLabel", "Food/Recipe Description"};
    Memo DBMemo2{"DBMemo2"};  // D8 of the current item

    // Recipe list with its meal filter, and the food short list.
    DataGrid DBGrid4{"DBGrid4"};  // Recipe: GHAZ1 "Code", GHAZ2 "VADEH", GHAZ3 "NAME"
    RadioGroupBox RadioGroup1{"RadioGroup1", "", {"Breakfast", "Lunch", "Dinner", "Snack"}};
    Button Button8{"Button8", "FILTER"};
    Button Button9{"Button9", "UNFILTER"};
    Label FoodListLabel{"FoodListLabel", "Food List"};
    DataGrid SNACKDBGrid{"SNACKDBGrid"};  // LIST.DBF: L1 "Code", L2 "Food"

    // Analyses: the meal (BitBtn1) and the whole day (BitBtn5), with their totals grid.
    Button BitBtn1{"BitBtn1"};
    Button BitBtn5{"BitBtn5"};
    StringGrid WDIETGRID{"WDIETGRID", 7, 5, 1, 0};

    // Subject list, copy into a recall, report.
    DataGrid DBGrid11{"DBGrid11"};  // SUBJECTS.DBF: SU1 "CODE", SU2 "Name"
    Picture Image2{"Image2"};
    Label CopyDietLabel{"CopyDietLabel", "Copy Diet"};
    Picture Report1{"Report1"};
    Label PrintLabel{"PrintLabel", "Print"};

    WeeklyPlansTab();

    std::array<RadioButton*, 7> dayButtons() {
        return {&Saturday, &Sunday, &Monday, &Tuesday, &Wednesday, &Thursday, &Friday};
    }
    std::array<DataGrid*, 4> mealGrids() {
        return {&DBGBreakfast, &DBGLunch, &DBGDinner, &DBGSnack};
    }
};

}  // namespace core

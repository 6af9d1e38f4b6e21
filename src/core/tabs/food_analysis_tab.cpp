#include "food_analysis_tab.h"

namespace core {

FoodAnalysisTab::FoodAnalysisTab() {
    DBGrid10.setColumns(gridColumns({{"SU1", "CODE"}, {"SU2", "Name"}}, true));
    DBGrid10.setReadOnly(true);
    DBGrid5.setColumns(gridColumns({{"L1", "Code"}, {"L2", "Farsi Name"}}, true));
    DBGrid5.setReadOnly(true);
    F_Search.setChecked(true);
    Image22.setHint("REFRESH FOOD LIST");
    Button22.setHint("ADD to the List");

    DBGridRES24.setColumns(
        gridColumns({{"GHAZ1", "Code"}, {"GHAZ2", "VADEH"}, {"GHAZ3", "NAME"}}, true));
    DBGridRES24.setReadOnly(true);
    // Shows "Breakfast" without an item being chosen: new entries get meal number 0.
    ComboBox4.setItems({"Breakfast", "Lunch", "Dinner", "Snack", ""});
    ComboBox4.setText("Breakfast");
    ADDRECEP.setHint("ADD to the List");

    DBGrid9.setColumns(
        gridColumns({{"R1", "NO"}, {"R2", "Food Code"}, {"R3", "Food Name"}, {"R4", "Amount"}}));
    Button11.setHint("Refresh for User");
    UpDateButton.setHint("Refresh for User and Date");

    Image10.setHint("RECIPE ANALYSIS");
    RecallGraph.setHint("DAILY CHART");
    RecallGraph.setEnabled(false);
}

}  // namespace core

#include "food_processor_tab.h"

namespace core {

FoodProcessorTab::FoodProcessorTab() {
    FARSI.setChecked(true);
    // The open sequence enables FARSI once the tables are open.
    FARSI.setEnabled(false);
    DBF.setChecked(true);
    AZTASEarch.setDefault(true);

    DBGrid2.setColumns(gridColumns({{"N1", "Code"}, {"N3", "Farsi Name"}, {"N2", "NAME"}}, true));
    DBGrid2.setReadOnly(true);
    DBGrid2.setVisible(false);

    GhazahaGrid.setColumns(gridColumns({{"GHAZ1", "Code"}, {"GHAZ2", "Vade"}, {"GHAZ3", "Food"}}));
    GhazahaGrid.setVisible(false);
    DBGrid1.setColumns(
        gridColumns({{"CON4", "Weight (gr.)"}, {"CON3", "Food Name"}, {"CON2", "Code"}}));
    DBGrid1.column(2).readOnly = true;
    DBGrid1.setVisible(false);

    Image1.setHint("RECIPE ANALYSIS");
}

}  // namespace core

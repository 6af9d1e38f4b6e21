#include "edit_food_database_tab.h"

namespace core {

EditFoodDatabaseTab::EditFoodDatabaseTab() {
    DBGrid8.setColumns(
        gridColumns({{"N1", "CODE"}, {"N3", "FOOD NAME [FARSI]"}, {"N2", "FOOD NAME [ENGLISH]"}}));
    DBGrid8.setVisible(false);
    StringGrid3.editable = true;
    ComboBox3.setItems({"Breakfast", "Lunch", "Dinner", "Snack", ""});
    BitBtn3.setHint("Save");
}

}  // namespace core

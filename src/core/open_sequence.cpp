#include "open_sequence.h"

#include "dbf/codepage1256.h"
#include "main_form.h"
#include "paths.h"
#include "shared_views.h"
#include "text_boundary.h"

namespace core {
namespace {

constexpr const char* tableFiles[] = {"nutrients.DBF", "Foods.DBF",  "Recipe.DBF",
                                      "CONTENTS.DBF",  "WEEKLY.DBF", "LIST.DBF",
                                      "KORAM.DBF",     "RECAL.DBF",  "SUBJECTS.DBF"};

}  // namespace

void fillNutrientNames(MainForm& form) {
    dbf::Table& nutrients = form.DBF1;
    StringGrid* grids[] = {&form.foodProcessor.StringGrid1, &form.editFoodDatabase.StringGrid3,
                           &form.foodAnalysis.StringGrid4};
    auto writeCurrentName = [&](int col, int row) {
        const std::string name =
            dbf::cp1256::toUtf8Farsi(trimmed(nutrients.value("AN5").asString()));
        for (StringGrid* grid : grids) grid->setCell(col, row, name);
        nutrients.next();  // past the end it stays on the last row
    };
    nutrients.first();
    for (int col : {0, 2, 4})
        for (int row = 1; row <= 29; ++row) writeCurrentName(col, row);
    // The last column ends with the catalogue: a short one leaves the column empty.
    for (int row = 1; row <= 27; ++row) {
        if (nutrients.eof()) return;
        writeCurrentName(6, row);
    }
}

void OpenDBF(MainForm& form) {
    AppState& state = form.state;
    const auto tableDir = nativePath(state.tableDirectory());
    auto tables = form.tables();
    for (std::size_t i = 0; i < tables.size(); ++i) {
        // A table opens in natural order and unfiltered, whatever order or filter it had
        // before it was closed; what the sequence sets below, it sets anew.
        tables[i]->setFiltered(false);
        tables[i]->setFilter("");
        tables[i]->setIndexFieldNames("");
        tables[i]->setDirectory(tableDir);
        tables[i]->setTableName(tableFiles[i]);
        tables[i]->open();
    }
    form.Query1.setDirectory(tableDir);
    form.Query2.setDirectory(tableDir);

    // The recall of the first subject.
    const dbf::Value subjectCode = form.DBF9.value("SU1");
    if (!subjectCode.isNull()) {
        form.DBF8.setFilter("R1 = " + std::to_string(subjectCode.asInteger()));
        form.DBF8.setFiltered(true);
        form.foodAnalysis.DBGrid9.redraw();
    }

    form.DBF5.first();
    if (!form.DBF5.isEmpty()) state.currentPlanCode = form.DBF5.value("W1").asInteger();

    StringGrid& totals = form.weeklyPlans.WDIETGRID;
    const char* titles[] = {"Energy", "Protein", "CHO", "FAT", "Cacium", "Iron"};
    for (int j = 0; j < 6; ++j) totals.setCell(j + 1, 0, titles[j]);

    ComboBox& meals = form.foodProcessor.ComboBox1;
    meals.setSorted(false);
    meals.setItems({"Breakfast", "Lunch", "Dinner", "Snack"});

    state.currentDayIndex = 0;
    form.weeklyPlans.Saturday.setEnabled(true);
    form.weeklyPlans.Saturday.setChecked(true);
    RefreshWeekMenu(form);

    foodListing(form);

    form.foodProcessor.GhazahaGrid.setFontName("Arial");
    DataGrid* shown[] = {&form.foodProcessor.GhazahaGrid, &form.foodProcessor.DBGrid1,
                         &form.foodProcessor.DBGrid2,     &form.editFoodDatabase.DBGrid8,
                         &form.weeklyPlans.DBGBreakfast,  &form.weeklyPlans.DBGLunch,
                         &form.weeklyPlans.DBGDinner,     &form.weeklyPlans.DBGSnack,
                         &form.weeklyPlans.DBGrid4};
    for (DataGrid* grid : shown) grid->setVisible(true);
    form.weeklyPlans.DBGrid4.setEnabled(true);
    form.foodProcessor.FARSI.setEnabled(true);

    form.DBF3.first();
    selectRecipe(form);

    fillNutrientNames(form);
}

}  // namespace core

#include "shared_views.h"

#include "main_form.h"

namespace core {

void runQuery1(MainForm& form, std::vector<std::string> lines) {
    form.Query1.close();
    form.Query1.setSql(std::move(lines));
    form.Query1.setRequestLive(true);
    form.Query1.open();
}

void foodListing(MainForm& form) {
    runQuery1(form, {"Select N1,N2,N3 ", "FROM FOODS.dbf ", "WHERE N1>0 "});
}

std::string planViewFilter(const MainForm& form) {
    const AppState& s = form.state;
    return "D1 = " + std::to_string(s.currentPlanCode) +
           " and D2 = " + std::to_string(s.currentDayIndex) +
           " and D3 = " + std::to_string(s.currentMealIndex);
}

void applyKoramView(MainForm& form, const std::string& filterText) {
    dbf::Table& koram = form.DBF7;
    koram.setFiltered(false);
    koram.first();
    koram.setFilter(filterText);
    koram.setFiltered(true);
    koram.first();
}

void applyPlanView(MainForm& form) { applyKoramView(form, planViewFilter(form)); }

void applyDayView(MainForm& form) {
    const AppState& s = form.state;
    applyKoramView(form, "D1 = " + std::to_string(s.currentPlanCode) +
                             " and D2 = " + std::to_string(s.currentDayIndex));
}

void RefreshWeekMenu(MainForm& form) {
    StringGrid& totals = form.weeklyPlans.WDIETGRID;
    for (int col = 0; col < totals.colCount(); ++col) totals.setCell(col, 1, "");
    form.state.currentMealIndex = form.weeklyPlans.PageControl3.activeIndex();
    applyPlanView(form);
    form.weeklyPlans.mealGrids()
        .at(static_cast<std::size_t>(form.state.currentMealIndex))
        ->redraw();
}

void selectRecipe(MainForm& form) {
    form.DBF3.refresh();
    form.DBF4.refresh();
    const dbf::Value code = form.DBF3.value("GHAZ1");
    if (code.isNull()) return;
    form.state.currentRecipeCode = code.asInteger();
    form.DBF4.setFilter("CON1 = " + std::to_string(form.state.currentRecipeCode));
    form.DBF4.setFiltered(true);
    form.foodProcessor.DBGrid1.redraw();
}

}  // namespace core

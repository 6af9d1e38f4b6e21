// Rankings by one nutrient. The nutrient column stays in Query1 beside code and names, so
// "Save to Text" can write the amounts; the result grid shows the three named columns.
#include "nutrient_ranking.h"

#include "core/main_form.h"
#include "core/nutrient_grid.h"
#include "core/shared_views.h"
#include "core/text_boundary.h"
#include "query1.h"

namespace foods {

namespace {

// "Highest" (DESC) and "Lowest" (ASC) in the scope the FOODS/Recipes buttons choose.
void rank(core::MainForm& form, const char* order) {
    auto& tab = form.foodProcessor;
    if (tab.DBF.checked()) {
        // (The ranking replaces the full listing it starts from at once.)
        showQuery1(form);
        const std::string col = core::selectedNutrientColumn(tab.StringGrid1);
        core::runQuery1(form, {"Select N1,N2,N3," + col + " ", "FROM FOODS.dbf ",
                               "ORDER BY " + col + " " + order});
    } else {
        showQuery1(form);
        const std::string col = core::selectedNutrientColumn(tab.StringGrid1);
        core::runQuery1(
            form, {"Select N1,N2,N3," + col + " ", "FROM CONTENTS.DBF, FOODS.dbf ",
                   "WHERE CON2 = N1 AND CON1=" + core::codeLiteral(form.state.currentRecipeCode),
                   "ORDER BY " + col + " " + order});
    }
    tab.DBGrid2.redraw();
    tab.SaveFIle.setEnabled(true);
}

}  // namespace

void HighestClick(core::MainForm& form) { rank(form, "DESC"); }

void LowestClick(core::MainForm& form) { rank(form, "ASC"); }

void StringGrid1DblClick(core::MainForm& form) {
    auto& tab = form.foodProcessor;
    tab.DBF.setChecked(true);
    tab.Recipes.setChecked(false);
    showQuery1(form);
    const std::string col = core::selectedNutrientColumn(tab.StringGrid1);
    core::runQuery1(
        form, {"Select N1,N2,N3," + col + " ", "FROM FOODS.dbf ", "ORDER BY " + col + " DESC"});
    tab.DBGrid2.redraw();
}

}  // namespace foods

// The recipe analysis runs the per-100 g nutrient sum query once and fills the grid by
// position from its one row; the ingredient display scales the food's own amounts.
#include "recipe_analysis.h"

#include <optional>

#include "core/formats.h"
#include "core/main_form.h"
#include "core/nutrient_grid.h"
#include "current_recipe.h"
#include "nutrient_sum_query.h"

namespace analysis {

namespace {

// The value cell of nutrient N(k) in a nutrient grid: (column, row).
std::pair<int, int> valueCellOf(int k) {
    const int i = k - 8;
    return {2 * (i / 29) + 1, i % 29 + 1};
}

}  // namespace

void ANALSISClick(core::MainForm& form) {
    const auto recipe = currentRecipe(form);
    if (!recipe) {
        form.dialogs.showMessage(kNoRecipeMessage);
        return;
    }
    const std::int64_t code = *recipe;
    form.state.currentRecipeCode = code;
    form.DBF4.setFilter("CON1 = " + std::to_string(code));
    form.DBF4.setFiltered(true);
    const RecipeWeight weight = recipeWeight(form.DBF4);
    if (weight.missing || !weight.hasContents) {
        form.dialogs.showMessage("Amount is Zero!!!");
        return;
    }
    if (weight.grams == 0) {
        // Dividing by a weight of nothing gives nothing: say why instead.
        form.dialogs.showMessage(kZeroWeightMessage);
        return;
    }
    dbf::Query& sums = form.Query2;
    sums.close();
    sums.setSql(
        nutrientSumQuery(SumVariant::RecipePer100g, code, core::formatGeneral(weight.grams / 100)));
    sums.open();
    core::StringGrid& grid = form.foodProcessor.StringGrid1;
    for (int k = 8; k < 8 + core::nutrientCount; ++k) {
        const dbf::Value sum = sums.value(k - 8);
        const auto [col, row] = valueCellOf(k);
        grid.setCell(col, row, sum.isNull() ? " " : core::formatFixed73(sum.asFloat()));
    }
    for (int col : {1, 3, 5}) grid.setCell(col, 0, "100 gr");
    form.foodProcessor.DBGrid2.setSource(&form.DataSource2);
    form.foodProcessor.DBGrid2.setVisible(true);
    sums.close();
}

void EACHFOODClick(core::MainForm& form) {
    dbf::Table& contents = form.DBF4;
    if (!contents.isOpen() || contents.isEmpty()) {
        form.dialogs.showMessage(
            "Choose a food of the recipe first: the recipe shown has no "
            "contents.");
        return;
    }
    const std::int64_t food = contents.value("CON2").asInteger();
    const dbf::Value w = contents.value("CON4");
    double weight = 0;
    if (w.isNull()) {
        form.dialogs.showMessage(" !!!مقدار صفر قبول نيست");
    } else {
        weight = w.asFloat();
    }
    core::StringGrid& grid = form.foodProcessor.StringGrid1;
    form.DBF2.first();
    if (form.DBF2.locate("N1", dbf::Value::integer(food))) {
        for (int k = 8; k < 8 + core::nutrientCount; ++k) {
            const dbf::Value amount = form.DBF2.value("N" + std::to_string(k));
            const auto [col, row] = valueCellOf(k);
            grid.setCell(
                col, row,
                amount.isNull() ? "" : core::formatGeneral(amount.asFloat() * weight / 100));
        }
    } else {
        form.dialogs.showMessage(" خطاي کد");
    }
    const std::string title = "     in " + core::formatGeneral(weight) + " gr.";
    for (int col : {0, 2, 4}) grid.setCell(col, 0, "                             NUTRIENTS");
    for (int col : {1, 3, 5}) grid.setCell(col, 0, title);
}

}  // namespace analysis

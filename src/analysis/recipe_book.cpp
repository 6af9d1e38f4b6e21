// The recipe book. Codes are written into filters in decimal, meals as quoted texts; both
// come from core/text_boundary.h. Where an operation needs a recipe, a food or a contents
// row that is not there, it writes nothing and says what is missing.
#include "recipe_book.h"

#include <optional>

#include "core/main_form.h"
#include "core/row_writes.h"
#include "core/shared_views.h"
#include "core/text_boundary.h"
#include "current_recipe.h"

namespace analysis {

namespace {

// CONTENTS shows the recipe with this code.
void showContentsOf(core::MainForm& form, std::int64_t code) {
    form.state.currentRecipeCode = code;
    form.DBF4.setFilter("CON1 = " + core::codeLiteral(code));
    form.DBF4.setFiltered(true);
}

// The recipe list shows the recipes of the meal ComboBox1 shows.
void filterByMeal(core::MainForm& form) {
    const std::string meal = core::trimmed(form.foodProcessor.ComboBox1.text());
    form.DBF3.setFilter("GHAZ2 = " + core::textLiteral(meal));
    form.DBF3.setFiltered(true);
}

// The next recipe code: the last recipe's in table order + 1; 1 for an empty table or a
// last recipe without a code.
std::int64_t nextRecipeCode(dbf::Table& recipes) {
    const bool filtered = recipes.filtered();
    recipes.setFiltered(false);
    std::int64_t code = 1;
    if (!recipes.isEmpty()) {
        recipes.last();
        const dbf::Value last = recipes.value("GHAZ1");
        if (!last.isNull()) code = last.asInteger() + 1;
    }
    recipes.setFiltered(filtered);  // the meal filter stays as it was
    return code;
}

}  // namespace

void RECIPEClick(core::MainForm& form) { core::selectRecipe(form); }

void ADDRECIPEClick(core::MainForm& form) {
    dbf::Table& recipes = form.DBF3;
    recipes.refresh();
    form.DBF4.refresh();
    const std::int64_t code = nextRecipeCode(recipes);
    recipes.append();
    recipes.setValue("GHAZ1", dbf::Value::integer(code));
    recipes.setValue("GHAZ2", core::fieldText(core::trimmed(form.foodProcessor.ComboBox1.text())));
    recipes.setValue("GHAZ3", dbf::Value::string(" "));
    recipes.post();
    recipes.refresh();
    form.DBF4.refresh();
    if (const auto current = currentRecipe(form)) showContentsOf(form, *current);
}

void ADDFOODClick(core::MainForm& form) {
    const core::DataSource* source = form.foodProcessor.DBGrid2.source();
    const dbf::DataSet* food = source ? source->dataSet() : nullptr;
    if (!food || !food->isOpen() || food->isEmpty()) {
        form.dialogs.showMessage(kNoFoodMessage);
        return;
    }
    const auto recipe = currentRecipe(form);
    if (!recipe) {
        form.dialogs.showMessage(kNoRecipeMessage);
        return;
    }
    const dbf::Value code = food->value("N1");
    const dbf::Value name = food->value("N3");
    core::appendRow(form.DBF4, [&](dbf::Table& row) {
        row.setValue("CON1", dbf::Value::integer(*recipe));
        row.setValue("CON2", code);
        row.setValue("CON3", name);
        row.setValue("CON4", dbf::Value::integer(1));
    });
    form.foodProcessor.DBGrid1.redraw();
}

void RecepeiDelClick(core::MainForm& form) {
    const auto recipe = currentRecipe(form);
    if (!recipe) {
        form.dialogs.showMessage(kNoRecipeMessage);
        return;
    }
    dbf::Table& contents = form.DBF4;
    if (contents.isEmpty()) {
        form.dialogs.showMessage("The recipe shown has no food to delete.");
        showContentsOf(form, *recipe);
        form.foodProcessor.DBGrid1.redraw();
        return;
    }
    contents.deleteRecord();
    contents.refresh();
    showContentsOf(form, *recipe);
    form.foodProcessor.DBGrid1.redraw();
}

void Button1Click(core::MainForm& form) {
    if (!currentRecipe(form)) {
        form.dialogs.showMessage(kNoRecipeMessage);
        return;
    }
    dbf::Table& recipes = form.DBF3;
    recipes.edit();
    // Stored as the box shows it; the list is filtered by the trimmed meal.
    recipes.setValue("GHAZ2", core::fieldText(form.foodProcessor.ComboBox1.text()));
    recipes.refresh();
    filterByMeal(form);
}

void ComboBox1Change(core::MainForm& form) {
    filterByMeal(form);
    form.DBF3.first();
    form.foodProcessor.GhazahaGrid.redraw();
}

void Button4Click(core::MainForm& form) {
    form.DBF3.setFiltered(false);
    form.DBF3.first();
    form.foodProcessor.GhazahaGrid.redraw();
}

void DBMemo1Click(core::MainForm& form) { form.keyboard.activate(core::persianLayout); }

}  // namespace analysis

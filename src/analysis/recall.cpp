// The 24-hour recall. An entry is a snapshot: its nutrients per 100 g are copied when it is
// added, so later edits of a food or a recipe leave recorded entries as they were. Nothing
// is written for no subject, no food or a food no longer in the table; the user is told.
#include "recall.h"

#include <optional>

#include "core/formats.h"
#include "core/main_form.h"
#include "core/nutrient_grid.h"
#include "core/row_writes.h"
#include "core/shared_views.h"
#include "core/text_boundary.h"
#include "current_recipe.h"
#include "nutrient_sum_query.h"

namespace analysis {

namespace {

constexpr const char* kNoSubject =
    "Choose a subject first: the subject list has no current subject.";

std::optional<std::int64_t> currentSubject(core::MainForm& form) {
    if (!form.DBF9.isOpen() || form.DBF9.isEmpty() || form.DBF9.value("SU1").isNull())
        return std::nullopt;
    return form.DBF9.value("SU1").asInteger();
}

// Runs Query1 on the statement and shows it in DBGrid5 with its code and Farsi name.
void showFoodQuery(core::MainForm& form, std::vector<std::string> lines) {
    core::DataGrid& grid = form.foodAnalysis.DBGrid5;
    grid.setSource(&form.DataQuery1);
    core::runQuery1(form, std::move(lines));
    auto columns = grid.columns();
    columns[0].fieldName = "N1";
    columns[1].fieldName = "N3";
    grid.setColumns(std::move(columns));
    grid.redraw();
}

// The meal number of new entries: the chosen item of ComboBox4 + 1, 0 with none chosen.
int mealNumber(core::MainForm& form) { return form.foodAnalysis.ComboBox4.itemIndex() + 1; }

// Appends an entry with the fields every entry has, then `fill` sets the rest.
template <typename Fill>
void appendEntry(core::MainForm& form, std::int64_t subject, int kind, std::int64_t code,
                 const std::string& name, Fill fill) {
    dbf::Table& recall = form.DBF8;
    core::appendRow(recall, [&](dbf::Table& row) {
        row.setValue("R1", dbf::Value::integer(subject));
        row.setValue("R2", dbf::Value::integer(code));
        row.setValue("R3", dbf::Value::string(name));
        row.setValue("R5", dbf::Value::integer(mealNumber(form)));
        row.setValue("R6", core::fieldText(form.foodAnalysis.TodayLabel.caption()));
        row.setValue("R", dbf::Value::integer(kind));
        fill(row);
    });
    recall.refresh();
    form.foodAnalysis.DBGrid9.redraw();
}

// The recall grid shows the entries the filter selects, from the first.
void showRecall(core::MainForm& form, const std::string& filter) {
    form.DBF8.setFilter(filter);
    form.DBF8.setFiltered(true);
    form.DBF8.first();
    form.foodAnalysis.DBGrid9.redraw();
}

void recallChanged(core::MainForm& form) { form.foodAnalysis.RecallGraph.setEnabled(false); }

void showRecipes(core::MainForm& form) {
    form.DBF3.first();
    form.foodAnalysis.DBGridRES24.redraw();
}

}  // namespace

void SerachClick(core::MainForm& form) {
    auto& tab = form.foodAnalysis;
    const std::string pattern = core::likePattern(core::trimmed(tab.Edit2.text()));
    showFoodQuery(form,
                  {"Select N1,N2,N3 ", "FROM FOODS.dbf ",
                   (tab.EN_Search.checked() ? "WHERE N2 LIKE " : "WHERE N3 LIKE ") + pattern});
    if (!tab.F_Search.checked()) {
        tab.F_Search.setChecked(true);
        form.keyboard.activate(core::persianLayout);
    }
    tab.Label6.setCaption("رکورد " + std::to_string(form.Query1.recordCount()));
}

void BitBtn2Click(core::MainForm& form) {
    // The code goes into the statement, so only a whole number is let through.
    const std::int64_t code = core::integerOf(core::trimmed(form.foodAnalysis.Food_Code.text()));
    showFoodQuery(form,
                  {"Select N1,N2,N3 ", "FROM FOODS.dbf ", "WHERE N1 = " + core::codeLiteral(code)});
}

void Image22Click(core::MainForm& form) {
    core::DataGrid& grid = form.foodAnalysis.DBGrid5;
    grid.setSource(&form.DataSource6);
    auto columns = grid.columns();
    columns[0].fieldName = "L1";
    columns[1].fieldName = "L2";
    grid.setColumns(std::move(columns));
    grid.redraw();
}

void Button22Click(core::MainForm& form) {
    const core::DataSource* source = form.foodAnalysis.DBGrid5.source();
    const dbf::DataSet* foods = source ? source->dataSet() : nullptr;
    if (!foods || !foods->isOpen() || foods->isEmpty()) {
        form.dialogs.showMessage(kNoFoodMessage);
        return;
    }
    const auto subject = currentSubject(form);
    if (!subject) {
        form.dialogs.showMessage(kNoSubject);
        return;
    }
    // The short list's code and name, or those of a search result the grid shows.
    const bool shortList = foods->findField("L1") >= 0;
    const std::int64_t code = foods->value(shortList ? "L1" : "N1").asInteger();
    const std::string name = foods->value(shortList ? "L2" : "N3").asString();
    form.DBF2.first();
    if (!form.DBF2.locate("N1", dbf::Value::integer(code))) {
        form.dialogs.showMessage("The food with code " + std::to_string(code) +
                                 " is no longer in the food table: nothing was added.");
        return;
    }
    appendEntry(form, *subject, 2, code, name, [&](dbf::Table& recall) {
        for (int k = 8; k < 8 + core::nutrientCount; ++k) {
            const std::string n = "N" + std::to_string(k);
            recall.setValue(n, form.DBF2.value(n));
        }
    });
    recallChanged(form);
}

void ADDRECEPClick(core::MainForm& form) {
    const auto recipe = currentRecipe(form);
    if (!recipe) {
        form.dialogs.showMessage(kNoRecipeMessage);
        return;
    }
    const auto subject = currentSubject(form);
    if (!subject) {
        form.dialogs.showMessage(kNoSubject);
        return;
    }
    const std::int64_t code = *recipe;
    const std::string name = core::trimmed(form.DBF3.value("GHAZ3").asString());
    form.state.currentRecipeCode = code;
    dbf::Table& contents = form.DBF4;
    contents.setFilter("CON1 = " + core::codeLiteral(code));
    contents.setFiltered(true);
    const RecipeWeight weight = recipeWeight(contents);
    const bool hasContents = weight.hasContents;
    if (weight.missing && hasContents) {
        form.dialogs.showMessage("Amount is Zero!!!");
        return;
    }
    if (hasContents && weight.grams == 0) {
        form.dialogs.showMessage(std::string(kZeroWeightMessage) + " Nothing was added.");
        return;
    }
    dbf::Query& sums = form.Query2;
    sums.close();
    if (hasContents) {
        sums.setSql(nutrientSumQuery(SumVariant::RecipePer100g, code,
                                     core::formatGeneral(weight.grams / 100)));
        sums.open();
    }
    appendEntry(form, *subject, 1, code, name, [&](dbf::Table& recall) {
        recall.setValue("R4", dbf::Value::integer(0));
        if (!hasContents) return;  // a recipe without contents: no nutrient values
        for (int k = 8; k < 8 + core::nutrientCount; ++k)
            recall.setValue("N" + std::to_string(k), sums.value(k - 8));
    });
    sums.close();
    recallChanged(form);
}

void DelRecalClick(core::MainForm& form) {
    if (!form.DBF8.isEmpty()) form.DBF8.deleteRecord();
    form.DBF8.refresh();
    Button11Click(form);
}

void Button11Click(core::MainForm& form) {
    recallChanged(form);
    const auto subject = currentSubject(form);
    if (!subject) {
        form.dialogs.showMessage(kNoSubject);
        return;
    }
    showRecall(form, "R1 = " + core::codeLiteral(*subject));
}

void UpDateButtonClick(core::MainForm& form) {
    recallChanged(form);
    dbf::Table& recall = form.DBF8;
    recall.setFilter("R1 = 0 and R6 = 0");
    recall.setFiltered(true);
    while (!recall.isEmpty()) {
        recall.first();
        recall.deleteRecord();
    }
    recall.setFiltered(false);
    const auto subject = currentSubject(form);
    if (!subject) {
        form.dialogs.showMessage(kNoSubject);
        return;
    }
    showRecall(form, "R1 = " + core::codeLiteral(*subject) +
                         " and R6 = " + core::textLiteral(form.foodAnalysis.TodayLabel.caption()));
}

void FilterButtonClick(core::MainForm& form) {
    static const char* const meals[] = {"Breakfast", "Lunch", "Dinner", "Snack"};
    const int item = form.foodAnalysis.ComboBox4.itemIndex();
    // The blank item, or none chosen, names no meal: the list shows all recipes.
    if (item < 0 || item > 3) {
        UNFILTERButtonClick(form);
        return;
    }
    form.DBF3.setFilter(std::string("GHAZ2 = ") + core::textLiteral(meals[item]));
    form.DBF3.setFiltered(true);
    showRecipes(form);
}

void UNFILTERButtonClick(core::MainForm& form) {
    form.DBF3.setFiltered(false);
    showRecipes(form);
}

}  // namespace analysis

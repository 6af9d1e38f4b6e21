// Finding foods: every search fills Query1, which the food result grid DBGrid2 shows and
// whose current row is the current food for adding it to a recipe or to the short list.
#include "food_search.h"

#include "core/main_form.h"
#include "core/nutrient_grid.h"
#include "core/shared_views.h"
#include "core/text_boundary.h"
#include "food_amounts.h"
#include "query1.h"

namespace foods {

namespace {

// Checking FARSI while it is not checked runs its click: the keyboard turns Persian.
void checkFarsi(core::MainForm& form) {
    if (form.foodProcessor.FARSI.checked()) return;
    form.foodProcessor.FARSI.setChecked(true);
    FARSIClick(form);
}

void showCounter(core::MainForm& form) {
    form.foodProcessor.COUNTER.setCaption("رکورد " + std::to_string(form.Query1.recordCount()));
}

// A bound of the range search over all foods: the edit's text read as an integer and
// written back in decimal; the conversion error when it is none.
std::string integerBound(core::Edit& edit) {
    const long long bound = core::integerOf(edit.text());
    edit.setText(std::to_string(bound));
    return core::trimmed(edit.text());
}

// A bound of the range search over a recipe: the trimmed text, "0" when empty. It goes into
// the statement as it stands, so only a number is let through.
std::string numberBound(const core::Edit& edit) {
    const std::string text = core::trimmed(edit.text());
    if (text.empty()) return "0";
    core::numberOf(text);                  // the conversion error when it is none
    return core::fieldText(text).bytes();  // Persian digits as the statement reads them
}

}  // namespace

void Button3Click(core::MainForm& form) {
    core::foodListing(form);
    form.foodProcessor.DBGrid2.setVisible(true);
}

void SEARCHClick(core::MainForm& form) {
    auto& tab = form.foodProcessor;
    if (!tab.ENGLISH.checked()) checkFarsi(form);
    showQuery1(form);
    const std::string pattern = core::likePattern(core::trimmed(tab.Edit4.text()));
    const bool farsi = tab.FARSI.checked();
    core::runQuery1(form, {"Select N1,N2,N3 ", "FROM FOODS.dbf ",
                           (farsi ? "WHERE N3 LIKE " : "WHERE N2 LIKE ") + pattern});
    tab.DBGrid2.redraw();
    checkFarsi(form);
    showCounter(form);
}

void FindRecordClick(core::MainForm& form) {
    auto& tab = form.foodProcessor;
    showQuery1(form);
    const dbf::DataSet::Bookmark before = form.Query1.bookmark();
    if (leadingInteger(tab.Edit4.text()) <= 0) {
        form.dialogs.showMessage("لطفا يک عدد وارد کنيد");
        tab.Edit4.setText("");
        return;
    }
    const std::int64_t code = core::integerOf(core::trimmed(tab.Edit4.text()));
    form.Query1.first();
    if (form.Query1.locate("N1", dbf::Value::integer(code))) {
        tab.DBGrid2.redraw();
        checkFarsi(form);
        return;
    }
    form.Query1.gotoBookmark(before);
    tab.DBGrid2.redraw();
    form.dialogs.showMessage("!!کد غذا پيدا نشد");
    tab.Edit4.setText("");
}

void AZTASEarchClick(core::MainForm& form) {
    auto& tab = form.foodProcessor;
    if (tab.DBF.checked()) {
        // The search starts from the full listing, which is all a bound that is no integer
        // leaves in the grid; a valid search replaces it at once, so it is run only then.
        std::string lower, upper;
        try {
            lower = integerBound(tab.AZ);
            upper = integerBound(tab.TA);
        } catch (...) {
            core::foodListing(form);
            throw;
        }
        showQuery1(form);
        const std::string col = core::selectedNutrientColumn(tab.StringGrid1);
        core::runQuery1(form, {"Select N1,N2,N3," + col + " ", "FROM FOODS.dbf ",
                               "WHERE " + col + " BETWEEN " + lower + " AND " + upper,
                               "ORDER BY " + col + " DESC"});
        showCounter(form);
        tab.DBGrid2.redraw();
        return;
    }
    showQuery1(form);
    form.state.currentRecipeCode = form.DBF3.value("GHAZ1").asInteger();
    const std::string col = core::selectedNutrientColumn(tab.StringGrid1);
    const std::string lower = numberBound(tab.AZ);
    const std::string upper = numberBound(tab.TA);
    core::runQuery1(form,
                    {"Select N1,N2,N3," + col + " ", "FROM CONTENTS.DBF, FOODS.dbf ",
                     "WHERE CON2 = N1 AND CON1=" + core::codeLiteral(form.state.currentRecipeCode) +
                         " AND " + col + " BETWEEN " + lower + " AND " + upper,
                     "ORDER BY " + col + " DESC"});
    tab.DBGrid2.redraw();
}

void DBGrid2DblClick(core::MainForm& form) {
    auto& tab = form.foodProcessor;
    const core::DataSource* source = tab.DBGrid2.source();
    if (!source || !source->dataSet()) return;
    const std::int64_t code =
        source->dataSet()->value(tab.DBGrid2.columns().front().fieldName).asInteger();
    form.DataSource2.setEnabled(true);
    form.DBF2.first();
    if (!form.DBF2.locate("N1", dbf::Value::integer(code))) {
        form.dialogs.showMessage("کد غذا پيدا نشد");
        return;
    }
    showAmounts(tab.StringGrid1, form.DBF2);
    writeAmountTitles(tab.StringGrid1, core::nutrientPairs);
}

void ENGLISHClick(core::MainForm& form) { form.keyboard.activate(core::usEnglishLayout); }

void FARSIClick(core::MainForm& form) { form.keyboard.activate(core::persianLayout); }

}  // namespace foods

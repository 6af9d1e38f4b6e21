// Editing foods. Codes and names are edited in place in DBGrid8 (the grid posts them); the
// amounts are typed into the value cells of StringGrid3 and written by Save.
#include "food_editing.h"

#include <algorithm>

#include "core/main_form.h"
#include "core/nutrient_grid.h"
#include "core/row_writes.h"
#include "core/shared_views.h"
#include "core/text_boundary.h"
#include "dbf/errors.h"
#include "food_amounts.h"

namespace foods {

namespace {

// The value cells of StringGrid3 (pair, row), in the order Save writes them.
template <typename F>
void forEachValueCell(F f) {
    for (int pair = 0; pair < core::nutrientPairs; ++pair)
        for (int row = 1; row <= core::nutrientRowsInPair(pair); ++row) f(pair, row);
}

bool blank(const std::string& text) { return core::trimmed(text).empty(); }

// The current FOODS row's amounts into StringGrid3, with the titles of its first three
// pairs.
void loadCurrentFood(core::MainForm& form) {
    auto& grid = form.editFoodDatabase.StringGrid3;
    showAmounts(grid, form.DBF2);
    writeAmountTitles(grid, 3);
}

// Stands FOODS on the food with this code; false (cursor unchanged) when there is none.
bool findFood(core::MainForm& form, std::int64_t code) {
    form.DBF2.first();
    return form.DBF2.locate("N1", dbf::Value::integer(code));
}

// After a food was added or deleted: the lists that show foods are read again.
void showFoodsAgain(core::MainForm& form) {
    core::foodListing(form);
    form.foodProcessor.DBGrid2.setVisible(true);
}

// One more than the last food's code; one more than the highest when that code is taken
// (codes typed out of order), 1 for an empty table: two foods never share a code.
std::int64_t nextFoodCode(dbf::Table& foods) {
    if (foods.isEmpty()) return 1;
    foods.last();
    const std::int64_t next = foods.value("N1").asInteger() + 1;
    const int n1 = foods.fieldIndex("N1");
    std::int64_t highest = next - 1;
    bool taken = false;
    for (std::size_t pos = 0; pos < static_cast<std::size_t>(foods.recordCount()); ++pos) {
        const dbf::Value code = foods.peek(pos, n1);
        if (code.isNull()) continue;
        const std::int64_t value = code.asInteger();
        taken = taken || value == next;
        highest = std::max(highest, value);
    }
    return taken ? highest + 1 : next;
}

// Every non-blank value cell as a number, before anything is written: a cell that is no
// number stops Save with the conversion error, naming the cell's text and its nutrient.
std::vector<std::pair<std::string, double>> typedAmounts(const core::StringGrid& grid) {
    std::vector<std::pair<std::string, double>> amounts;
    forEachValueCell([&](int pair, int row) {
        const std::string& text = grid.cell(2 * pair + 1, row);
        if (blank(text)) return;
        try {
            amounts.emplace_back(core::nutrientColumn(pair, row),
                                 core::numberOf(core::trimmed(text)));
        } catch (const dbf::ConversionError&) {
            throw dbf::ConversionError("'" + text + "' is not a valid floating point value (" +
                                       core::trimmed(grid.cell(2 * pair, row)) + ")");
        }
    });
    return amounts;
}

}  // namespace

void DBGrid8DblClick(core::MainForm& form) {
    const std::int64_t code = form.DBF2.value("N1").asInteger();
    form.state.editedFoodCode = code;
    if (findFood(form, code)) loadCurrentFood(form);
}

void FindFoodClick(core::MainForm& form) {
    auto& tab = form.editFoodDatabase;
    if (leadingInteger(tab.Edit1.text()) <= 0) {
        form.dialogs.showMessage("لطفا يک عدد وارد کنيد");
        return;
    }
    const std::int64_t code = core::integerOf(core::trimmed(tab.Edit1.text()));
    if (!findFood(form, code)) {
        form.dialogs.showMessage("!!کد غذا پيدا نشد");
        tab.Edit1.setText("");
        return;
    }
    DBGrid8DblClick(form);
    form.foodProcessor.DBGrid2.setVisible(true);
}

void Button12Click(core::MainForm& form) {
    auto& grid = form.editFoodDatabase.StringGrid3;
    const std::int64_t code = nextFoodCode(form.DBF2);
    form.DBF2.append();
    form.DBF2.setValue("N1", dbf::Value::integer(code));
    form.DBF2.post();
    form.state.editedFoodCode = code;
    forEachValueCell([&](int pair, int row) { grid.setCell(2 * pair + 1, row, " "); });
    form.editFoodDatabase.DBGrid8.redraw();
    showFoodsAgain(form);
}

void Button13Click(core::MainForm& form) {
    form.DBF2.deleteRecord();
    form.editFoodDatabase.DBGrid8.redraw();
    if (!form.DBF2.isEmpty()) DBGrid8DblClick(form);
    showFoodsAgain(form);
}

void BitBtn3Click(core::MainForm& form) {
    auto& grid = form.editFoodDatabase.StringGrid3;
    if (!form.dialogs.askYesNo(" آيا از ذخيره اطلاعات غذايي مطمئن هستيد؟ (Y/N) ")) {
        if (findFood(form, form.state.editedFoodCode)) loadCurrentFood(form);
        return;
    }
    const auto amounts = typedAmounts(grid);
    if (!findFood(form, form.state.editedFoodCode)) return;
    // An amount the field cannot hold stops Save with nothing written and nothing pending.
    core::editRow(form.DBF2, [&](dbf::Table& row) {
        for (const auto& [column, amount] : amounts) row.setValue(column, dbf::Value::real(amount));
        writeAmountTitles(grid, 3);
    });
    core::foodListing(form);
}

}  // namespace foods

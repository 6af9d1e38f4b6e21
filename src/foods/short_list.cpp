// The short list: LIST.DBF rows of code (L1), Farsi name (L2) and meal number (L3, the
// meal box's entry + 1, 0 when none is chosen).
#include "short_list.h"

#include "core/main_form.h"
#include "core/row_writes.h"
#include "core/text_boundary.h"

namespace foods {

namespace {

// Appends the food unless the list has it already (then says so and adds nothing). The
// name is read before anything is written: a food without a Farsi name adds nothing.
void addToList(core::MainForm& form, const dbf::DataSet& food, bool trimName, int mealIndex) {
    const std::int64_t code = food.value("N1").asInteger();
    dbf::Table& list = form.DBF6;
    list.setFiltered(false);
    list.first();
    if (list.locate("L1", dbf::Value::integer(code))) {
        form.dialogs.showMessage(" This food is doublicated !!!. Select another food");
        return;
    }
    // The list shows foods by their Farsi names: an empty one reads as no name at all.
    const std::string name = core::requiredText(food.value("N3"));
    core::appendRow(list, [&](dbf::Table& row) {
        row.setValue("L1", dbf::Value::integer(code));
        row.setValue("L2", dbf::Value::string(trimName ? core::trimmed(name) : name));
        row.setValue("L3", dbf::Value::integer(mealIndex + 1));
    });
}

}  // namespace

void AddSnacksClick(core::MainForm& form) {
    addToList(form, form.DBF2, true, form.editFoodDatabase.ComboBox3.itemIndex());
}

void Button5Click(core::MainForm& form) {
    const core::DataSource* source = form.foodProcessor.DBGrid2.source();
    if (!source || !source->dataSet()) return;
    addToList(form, *source->dataSet(), false, form.foodProcessor.ComboBox1.itemIndex());
}

void ListDelClick(core::MainForm& form) {
    if (!form.dialogs.askYesNo(" Are You Sure!!?? (Y/N) ")) return;
    form.DBF6.deleteRecord();
    form.DBF6.refresh();
}

}  // namespace foods

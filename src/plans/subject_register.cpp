// The subject register. Rows the program creates carry a code, sex 0 and the working date;
// the user types the rest into the grid.
#include "subject_register.h"

#include <algorithm>

#include "core/main_form.h"
#include "core/row_writes.h"
#include "dbf/text_compare.h"

namespace plans {

namespace {

// The working date, as the calendar shows it now.
double workingDate(core::MainForm& form) {
    form.state.workingDate = form.setup.MonthCalendar1.date();
    return form.state.workingDate;
}

// One higher than the highest code in the table, whatever order the grid shows; 1 for an
// empty table.
std::int64_t nextSubjectCode(dbf::Table& subjects) {
    std::int64_t highest = 0;
    const int su1 = subjects.fieldIndex("SU1");
    for (std::int64_t r = 0; r < subjects.recordCount(); ++r) {
        const dbf::Value code = subjects.peek(static_cast<std::size_t>(r), su1);
        if (!code.isNull()) highest = std::max(highest, code.asInteger());
    }
    return highest + 1;
}

// Appends and posts a visit row.
void appendVisit(core::MainForm& form, std::int64_t code, const dbf::Value& name) {
    dbf::Table& subjects = form.DBF9;
    const double date = workingDate(form);
    core::appendRow(subjects, [&](dbf::Table& row) {
        row.setValue("SU1", dbf::Value::integer(code));
        if (!name.isNull()) row.setValue("SU2", name);
        row.setValue("SU6", dbf::Value::integer(0));
        row.setValue("SU7", dbf::Value::date(date));
    });
    subjects.refresh();
    form.subject.DBGrid7.redraw();
}

}  // namespace

void AddSubjClick(core::MainForm& form) {
    appendVisit(form, nextSubjectCode(form.DBF9), dbf::Value::null());
}

void Button46Click(core::MainForm& form) {
    dbf::Table& subjects = form.DBF9;
    std::int64_t code = 1;
    dbf::Value name;
    if (!subjects.isEmpty()) {
        const dbf::Value current = subjects.value("SU1");
        if (!current.isNull()) code = current.asInteger();
        name = subjects.value("SU2");
    }
    appendVisit(form, code, name);
}

void DelSubjectButtonClick(core::MainForm& form) {
    if (form.DBF9.isEmpty()) return;
    form.DBF9.deleteRecord();
    form.subject.DBGrid7.redraw();
}

void Button49Click(core::MainForm& form) {
    if (form.DBF9.isEmpty()) return;
    // The grid has handed its typed values to the row; a row without changes is not written.
    form.DBF9.refresh();
    form.subject.DBGrid7.redraw();
}

void DBGrid7TitleClick(core::MainForm& form) {
    core::DataGrid& grid = form.subject.DBGrid7;
    const int column = grid.clickedColumn();
    if (column < 0 || column >= static_cast<int>(grid.columns().size())) return;
    const std::string field = grid.columns()[static_cast<std::size_t>(column)].fieldName;
    dbf::Table& subjects = form.DBF9;
    subjects.refreshIndexDefs();
    const auto& tags = subjects.indexDefs();
    const auto tag = std::find_if(tags.begin(), tags.end(), [&](const dbf::IndexTag& t) {
        return dbf::equalsNoCase(t.name, field);
    });
    if (tag == tags.end() || tag == tags.begin()) return;
    // The current subject stays the current row in the new order.
    const auto current = subjects.bookmark();
    subjects.setIndexFieldNames(field);
    subjects.gotoBookmark(current);
    auto columns = grid.columns();
    for (std::size_t i = 0; i < columns.size(); ++i)
        columns[i].titleBold = static_cast<int>(i) == column;
    grid.setColumns(std::move(columns));
}

}  // namespace plans

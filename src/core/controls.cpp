#include "controls.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace core {

namespace {
// The sets of the models under construction or alive on this thread. A model lives and
// dies on the thread that made it (the user-interface thread).
thread_local std::vector<ControlSet*> liveSets;
}  // namespace

Control::Control(std::string name) : m_name(std::move(name)) { ControlSet::enrol(*this); }

ControlSet::ControlSet(const void* storage, std::size_t size)
    : m_begin(static_cast<const char*>(storage)), m_size(size) {
    liveSets.push_back(this);
}

ControlSet::~ControlSet() { std::erase(liveSets, this); }

void ControlSet::enrol(Control& control) {
    const auto at = reinterpret_cast<std::uintptr_t>(&control);
    for (ControlSet* set : liveSets) {
        const auto begin = reinterpret_cast<std::uintptr_t>(set->m_begin);
        if (at >= begin && at < begin + set->m_size) set->m_controls.push_back(&control);
    }
}

RadioButton* RadioGroup::checkedButton() const {
    for (RadioButton* b : m_buttons)
        if (b->checked()) return b;
    return nullptr;
}

void RadioButton::setChecked(bool on) {
    if (on)
        for (RadioButton* other : m_group->buttons())
            if (other != this) other->setChecked(false);
    set(m_checked, on);
}

void ComboBox::setItems(std::vector<std::string> items) {
    m_items = std::move(items);
    m_itemIndex = -1;
    changed.emit();
}

void ComboBox::setItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(m_items.size())) index = -1;
    m_itemIndex = index;
    if (index >= 0) m_text = m_items[static_cast<std::size_t>(index)];
    changed.emit();
}

std::vector<GridColumn> gridColumns(
    std::initializer_list<std::pair<const char*, const char*>> fieldsAndTitles, bool readOnly) {
    std::vector<GridColumn> columns;
    for (const auto& [field, title] : fieldsAndTitles) {
        GridColumn column;
        column.fieldName = field;
        column.title = title;
        column.readOnly = readOnly;
        columns.push_back(std::move(column));
    }
    return columns;
}

StringGrid::StringGrid(std::string name, int cols, int rows, int fixedRows, int fixedCols)
    : Control(std::move(name)),
      m_cols(cols),
      m_rows(rows),
      m_fixedRows(fixedRows),
      m_fixedCols(fixedCols),
      m_row(fixedRows),
      m_cells(static_cast<std::size_t>(cols * rows)),
      m_bold(static_cast<std::size_t>(cols * rows), 0) {}

const std::string& StringGrid::cell(int col, int row) const {
    if (col < 0 || col >= m_cols || row < 0 || row >= m_rows)
        throw std::out_of_range(name() + ": no cell (" + std::to_string(col) + "," +
                                std::to_string(row) + ")");
    return m_cells[static_cast<std::size_t>(row * m_cols + col)];
}

void StringGrid::setCell(int col, int row, std::string text) {
    cell(col, row);
    auto& slot = m_cells[static_cast<std::size_t>(row * m_cols + col)];
    if (slot == text) return;
    slot = std::move(text);
    changed.emit();
}

void StringGrid::setCurrentCell(int col, int row) {
    if (col < 0 || col >= m_cols || row < 0 || row >= m_rows) return;
    m_col = col;
    m_row = row;
    changed.emit();
}

bool StringGrid::bold(int col, int row) const {
    cell(col, row);
    return m_bold[static_cast<std::size_t>(row * m_cols + col)] != 0;
}

void StringGrid::setBold(int col, int row, bool on) {
    cell(col, row);
    m_bold[static_cast<std::size_t>(row * m_cols + col)] = on ? 1 : 0;
    changed.emit();
}

}  // namespace core

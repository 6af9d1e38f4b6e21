#include "table.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "errors.h"
#include "field_info.h"
#include "notices.h"
#include "number_text.h"
#include "text_compare.h"

namespace dbf {
namespace {

// Orders null below every value; numbers numerically, text by its bytes.
int compareCells(const Column& c, std::uint32_t a, std::uint32_t b) {
    const bool na = c.isNull(a), nb = c.isNull(b);
    if (na || nb) return na == nb ? 0 : (na ? -1 : 1);
    if (c.kind == Column::Kind::Number) {
        const double x = c.numbers[a], y = c.numbers[b];
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (c.kind == Column::Kind::Text) {
        const auto x = c.textAt(a), y = c.textAt(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return 0;
}

std::vector<std::string> splitFieldNames(const std::string& names) {
    std::vector<std::string> out;
    std::string current;
    for (const char ch : names + ";") {
        if (ch == ';') {
            const auto trimmed = trimBlanks(current);
            if (!trimmed.empty()) out.emplace_back(trimmed);
            current.clear();
        } else {
            current += ch;
        }
    }
    return out;
}

}  // namespace

Table::~Table() = default;

void Table::open() {
    if (isOpen()) return;
    m_store = TableStore::open(m_dir, m_tableName);
    m_state = State::Browse;
    m_filter.reset();
    if (!m_filterText.empty()) m_filter = compileFilter(m_filterText, *m_store);
    rebuildRows();
    setOpenState(true, fieldInfos());
}

void Table::close() {
    if (!isOpen()) return;
    m_state = State::Browse;
    m_buffer.clear();
    m_rows.clear();
    m_filter.reset();
    m_store.reset();
    setOpenState(false, {});
}

TableStore& Table::store() {
    requireOpen();
    return *m_store;
}

std::vector<FieldInfo> Table::fieldInfos() const {
    std::vector<FieldInfo> infos;
    for (const auto& f : m_store->fields()) infos.push_back(fieldInfoFor(f));
    return infos;
}

void Table::rebuildRows() {
    const auto live = m_store->liveRows();
    if (m_filtered && m_filter) {
        m_rows = m_filter->select(*m_store, *live);
    } else {
        m_rows = *live;
    }
    const auto names = splitFieldNames(m_indexFieldNames);
    if (!names.empty()) {
        std::vector<std::shared_ptr<const Column>> keys;
        for (const auto& name : names) {
            const int index = m_store->fieldIndex(name);
            if (index < 0) throw DbfError("Field '" + name + "' not found");
            keys.push_back(m_store->column(index));
        }
        std::stable_sort(m_rows.begin(), m_rows.end(), [&](std::uint32_t a, std::uint32_t b) {
            for (const auto& key : keys)
                if (const int c = compareCells(*key, a, b); c != 0) return c < 0;
            return false;
        });
    }
    m_seenVersion = m_store->version();
}

void Table::standOnRow(std::uint32_t row, std::size_t fallbackPosition) {
    if (const auto pos = positionOfRowId(row)) {
        setPosition(*pos);
    } else {
        setPosition(fallbackPosition);
    }
}

void Table::syncIfChanged() {
    m_store->syncWithDisk();
    if (m_store->version() == m_seenVersion) return;
    const std::uint32_t current = m_rows.empty() ? 0 : m_rows[position()];
    const std::size_t oldPosition = position();
    rebuildRows();
    standOnRow(current, oldPosition);
    notify(DataSetEvent::RowsChanged);
}

void Table::setFilter(std::string text) {
    if (isOpen()) {
        beforeMove();
        auto compiled = trimBlanks(text).empty() ? nullptr : compileFilter(text, *m_store);
        m_filter = std::move(compiled);
    }
    m_filterText = std::move(text);
    if (isOpen() && m_filtered) {
        rebuildRows();
        resetCursor();
        notify(DataSetEvent::RowsChanged);
    }
}

void Table::setFiltered(bool on) {
    if (m_filtered == on) return;
    if (isOpen()) beforeMove();
    m_filtered = on;
    if (isOpen()) {
        rebuildRows();
        resetCursor();
        notify(DataSetEvent::RowsChanged);
    }
}

bool Table::locate(std::string_view fieldName, const Value& wanted) {
    requireOpen();
    const int index = m_store->fieldIndex(fieldName);
    if (index < 0) throw DbfError("Field '" + std::string(fieldName) + "' not found");
    beforeMove();
    const auto col = m_store->column(index);
    std::optional<double> number;
    if (col->kind == Column::Kind::Number && !wanted.isNull()) {
        if (wanted.isText()) {
            number = parseFloat(wanted.bytes());
            if (!number) return false;  // text that is no number matches no number
        } else {
            number = wanted.asFloat();
        }
    }
    for (std::size_t pos = 0; pos < m_rows.size(); ++pos) {
        const std::uint32_t row = m_rows[pos];
        bool match = false;
        if (wanted.isNull()) {
            match = col->isNull(row);
        } else if (col->isNull(row)) {
            match = false;
        } else if (col->kind == Column::Kind::Number) {
            match = col->numbers[row] == *number;
        } else if (col->kind == Column::Kind::Text) {
            match = col->textAt(row) == (wanted.isText() ? wanted.bytes() : wanted.asString());
        } else {
            match = col->value(row).bytes() == wanted.bytes();
        }
        if (match) return gotoBookmark(row);
    }
    return false;
}

void Table::edit() {
    requireOpen();
    if (m_state != State::Browse) return;
    if (m_rows.empty()) {
        append();  // editing an empty table starts a new row
        return;
    }
    m_editRow = m_rows[position()];
    m_buffer = m_store->recordBytes(m_editRow);
    m_state = State::Edit;
    m_modified = false;
}

void Table::append() {
    requireOpen();
    beforeMove();
    m_buffer = m_store->blankRecord();
    m_state = State::Insert;
    m_modified = false;
    notify(DataSetEvent::CurrentChanged);
}

void Table::setValue(int fieldIndex, const Value& value) {
    requireOpen();
    if (m_state == State::Browse) throw DbfError("Dataset not in edit or insert mode");
    field(fieldIndex);
    std::string updated = m_buffer;
    m_store->encode(updated, fieldIndex, value);
    if (updated != m_buffer) {
        m_buffer = std::move(updated);
        m_modified = true;
        notify(DataSetEvent::RecordEdited);
    }
}

void Table::post() {
    requireOpen();
    if (m_state == State::Browse) return;
    std::uint32_t row = m_editRow;
    const std::size_t oldPosition = position();
    if (m_state == State::Edit) {
        m_store->writeRecord(m_editRow, m_buffer);
    } else {
        row = m_store->appendRecord(m_buffer);
    }
    m_state = State::Browse;
    m_modified = false;
    m_buffer.clear();
    rebuildRows();
    standOnRow(row, oldPosition);
    notify(DataSetEvent::RowsChanged);
}

void Table::cancel() {
    if (m_state == State::Browse) return;
    m_state = State::Browse;
    m_modified = false;
    m_buffer.clear();
    notify(DataSetEvent::CurrentChanged);
}

void Table::deleteRecord() {
    requireOpen();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    m_state = State::Browse;
    m_buffer.clear();
    if (m_rows.empty()) throw DbfError("Cannot perform this operation on an empty dataset");
    const std::size_t oldPosition = position();
    m_store->markDeleted(m_rows[oldPosition]);
    rebuildRows();
    setPosition(oldPosition);
    notify(DataSetEvent::RowsChanged);
}

void Table::refresh() {
    requireOpen();
    beforeMove();
    const std::uint32_t current = m_rows.empty() ? 0 : m_rows[position()];
    const std::size_t oldPosition = position();
    m_store->syncWithDisk();
    rebuildRows();
    standOnRow(current, oldPosition);
    notify(DataSetEvent::RowsChanged);
}

void Table::beforeMove() {
    if (m_state == State::Browse) return;
    if (m_modified) {
        post();
    } else {
        cancel();
    }
}

Value Table::value(int fieldIndex) const {
    requireOpen();
    if (m_state != State::Browse) {
        field(fieldIndex);
        return m_store->file().decode(m_buffer,
                                      m_store->fields()[static_cast<std::size_t>(fieldIndex)]);
    }
    return DataSet::value(fieldIndex);
}

Value Table::valueAt(std::size_t position, int fieldIndex) const {
    return m_store->cursorValue(m_rows[position], fieldIndex);
}

std::optional<std::size_t> Table::positionOfRowId(std::uint64_t id) const {
    if (m_indexFieldNames.empty()) {
        const auto it = std::lower_bound(m_rows.begin(), m_rows.end(), id);
        if (it != m_rows.end() && *it == id) return static_cast<std::size_t>(it - m_rows.begin());
        return std::nullopt;
    }
    const auto it = std::find(m_rows.begin(), m_rows.end(), id);
    if (it == m_rows.end()) return std::nullopt;
    return static_cast<std::size_t>(it - m_rows.begin());
}

std::uint32_t Table::physicalRecNo() const {
    requireOpen();
    if (m_state == State::Insert || m_rows.empty()) return 0;
    return m_rows[position()] + 1;
}

void Table::refreshIndexDefs() {
    requireOpen();
    m_indexDefs.clear();
    auto path = m_store->path();
    const auto cdx = findFileNoCase(path.parent_path(), path.stem().string() + ".CDX");
    if (!cdx) return;
    try {
        m_indexDefs = readCdxTags(*cdx);
    } catch (const DbfError& e) {
        // A damaged index costs its orders, not the table: the rows keep their own order.
        m_indexDefs.clear();
        if (!m_damagedIndexNoticeGiven)
            notice(std::string(e.what()) +
                   ". The table is shown in its own order; rebuild the index in FoxPro "
                   "(REINDEX).");
        m_damagedIndexNoticeGiven = true;
    }
}

void Table::setIndexFieldNames(std::string names) {
    if (isOpen()) beforeMove();
    m_indexFieldNames = std::move(names);
    if (!isOpen()) return;
    const std::uint32_t current = m_rows.empty() ? 0 : m_rows[position()];
    rebuildRows();
    standOnRow(current, 0);
    notify(DataSetEvent::RowsChanged);
}

}  // namespace dbf

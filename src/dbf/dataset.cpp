#include "dataset.h"

#include <algorithm>

#include "errors.h"
#include "number_text.h"
#include "text_compare.h"

namespace dbf {

void DataSet::requireOpen() const {
    if (!m_open) throw DbfError("Cannot perform this operation on a closed dataset");
}

std::int64_t DataSet::recordCount() const {
    requireOpen();
    return static_cast<std::int64_t>(rowCount());
}

void DataSet::resetCursor() {
    m_position = 0;
    m_bof = true;
    m_eof = rowCount() == 0;
}

void DataSet::setPosition(std::size_t position) {
    const std::size_t count = rowCount();
    m_position = count == 0 ? 0 : std::min(position, count - 1);
}

void DataSet::first() {
    requireOpen();
    beforeMove();
    resetCursor();
    notify(DataSetEvent::CurrentChanged);
}

void DataSet::last() {
    requireOpen();
    beforeMove();
    const std::size_t count = rowCount();
    m_position = count == 0 ? 0 : count - 1;
    m_eof = true;
    m_bof = count == 0;
    notify(DataSetEvent::CurrentChanged);
}

void DataSet::next() { moveBy(1); }
void DataSet::prior() { moveBy(-1); }

void DataSet::moveBy(std::int64_t distance) {
    requireOpen();
    beforeMove();
    const auto count = static_cast<std::int64_t>(rowCount());
    if (count == 0) {
        m_bof = m_eof = true;
        return;
    }
    const std::int64_t target = static_cast<std::int64_t>(m_position) + distance;
    m_bof = m_eof = false;
    if (target < 0) {
        m_position = 0;
        m_bof = true;
    } else if (target >= count) {
        m_position = static_cast<std::size_t>(count - 1);
        m_eof = true;
    } else {
        m_position = static_cast<std::size_t>(target);
    }
    if (distance != 0) notify(DataSetEvent::CurrentChanged);
}

std::int64_t DataSet::recNo() const {
    requireOpen();
    return rowCount() == 0 ? 0 : static_cast<std::int64_t>(m_position) + 1;
}

DataSet::Bookmark DataSet::bookmark() const {
    requireOpen();
    if (rowCount() == 0) return std::nullopt;
    return rowIdAt(m_position);
}

bool DataSet::gotoBookmark(const Bookmark& mark) {
    requireOpen();
    if (!mark) return false;
    const auto pos = positionOfRowId(*mark);
    if (!pos) return false;
    beforeMove();
    m_position = *pos;
    m_bof = m_eof = false;
    notify(DataSetEvent::CurrentChanged);
    return true;
}

std::optional<std::size_t> DataSet::positionOfRowId(std::uint64_t id) const {
    if (id < rowCount()) return static_cast<std::size_t>(id);
    return std::nullopt;
}

const FieldInfo& DataSet::field(int index) const {
    if (index < 0 || index >= fieldCount())
        throw DbfError("Field index out of range: " + std::to_string(index));
    return m_fields[static_cast<std::size_t>(index)];
}

int DataSet::findField(std::string_view name) const {
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (equalsNoCase(m_fields[i].name, name)) return static_cast<int>(i);
    return -1;
}

int DataSet::fieldIndex(std::string_view name) const {
    const int index = findField(name);
    if (index < 0) throw DbfError("Field '" + std::string(name) + "' not found");
    return index;
}

void DataSet::setDisplayLabel(int index, std::string label) {
    field(index);
    m_fields[static_cast<std::size_t>(index)].displayLabel = std::move(label);
}

Value DataSet::value(int fieldIndex) const {
    requireOpen();
    field(fieldIndex);
    if (rowCount() == 0) return Value::null();
    return valueAt(m_position, fieldIndex);
}

namespace {

// A value as a number for locate: numbers as they are, texts when they read as one.
std::optional<double> numberOf(const Value& v) {
    if (v.isNull()) return std::nullopt;
    if (v.isText()) return parseFloat(v.bytes());
    try {
        return v.asFloat();
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

bool sameValue(const Value& found, const Value& wanted) {
    if (found.isNull() || wanted.isNull()) return found.isNull() && wanted.isNull();
    if (found.isText() && wanted.isText()) return found.bytes() == wanted.bytes();
    const auto a = numberOf(found), b = numberOf(wanted);
    return a && b && *a == *b;
}

}  // namespace

bool DataSet::locate(std::string_view fieldName, const Value& wanted) {
    requireOpen();
    const int index = fieldIndex(fieldName);
    const std::size_t count = rowCount();
    for (std::size_t pos = 0; pos < count; ++pos) {
        if (!sameValue(valueAt(pos, index), wanted)) continue;
        beforeMove();
        m_position = pos;
        m_bof = m_eof = false;
        notify(DataSetEvent::CurrentChanged);
        return true;
    }
    return false;
}

Value DataSet::peek(std::size_t position, int fieldIndex) const {
    requireOpen();
    field(fieldIndex);
    if (position >= rowCount()) return Value::null();
    return valueAt(position, fieldIndex);
}

void DataSet::setOpenState(bool open, std::vector<FieldInfo> fields) {
    m_open = open;
    m_fields = std::move(fields);
    if (open) {
        resetCursor();
    } else {
        m_position = 0;
        m_bof = m_eof = true;
    }
    notify(open ? DataSetEvent::Opened : DataSetEvent::Closed);
}

void DataSet::enableControls() {
    if (m_disableCount > 0 && --m_disableCount == 0 && m_noticePending) {
        m_noticePending = false;
        notify(DataSetEvent::RowsChanged);
    }
}

int DataSet::addListener(Listener listener) {
    m_listeners.emplace_back(m_nextListenerId, std::move(listener));
    return m_nextListenerId++;
}

void DataSet::removeListener(int id) {
    std::erase_if(m_listeners, [id](const auto& entry) { return entry.first == id; });
}

void DataSet::notify(DataSetEvent event) {
    if (m_disableCount > 0) {
        m_noticePending = true;
        return;
    }
    if (m_listeners.empty()) return;
    const auto listeners = m_listeners;  // a listener may remove itself
    for (const auto& [id, listener] : listeners) listener(event);
}

}  // namespace dbf

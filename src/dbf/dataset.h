#pragma once
// The one cursor abstraction the program reads: a table, or the result of a query.
// Rows are numbered 1..recordCount(); the cursor stands on one of them.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "value.h"

namespace dbf {

enum class DataType { String, Integer, Float, Currency, Boolean, Date, DateTime, Memo, Blob };

struct FieldInfo {
    std::string name;
    DataType type = DataType::String;
    std::string displayLabel;  // the name unless a caller set a title
    int displayWidth = 0;      // characters
    int size = 0;              // bytes a value takes in the record
    int decimals = 0;
};

// What listeners (grids) are told.
enum class DataSetEvent {
    Opened,  // fields and rows are new
    Closed,
    RowsChanged,     // rows added, removed, re-read or re-filtered
    CurrentChanged,  // the cursor moved
    RecordEdited,    // a value of the current (pending) record changed
};

class DataSet {
  public:
    virtual ~DataSet() = default;
    DataSet() = default;
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    bool isOpen() const { return m_open; }

    // Navigation. A closed data set raises DbfError ("Cannot perform this operation on a closed
    // dataset").
    std::int64_t recordCount() const;
    void first();
    void last();
    void next();
    void prior();
    void moveBy(std::int64_t distance);
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    bool isEmpty() const { return recordCount() == 0; }
    std::int64_t recNo() const;  // 1-based position of the current row, 0 when there is none

    // A bookmark names a row, not a position: it survives filtering and ordering.
    using Bookmark = std::optional<std::uint64_t>;
    Bookmark bookmark() const;
    bool gotoBookmark(const Bookmark& mark);  // false (cursor unchanged) when the row is gone
    void freeBookmark(Bookmark& mark) const { mark.reset(); }

    // Fields, by position or by name without regard to case.
    int fieldCount() const { return static_cast<int>(m_fields.size()); }
    const FieldInfo& field(int index) const;
    int findField(std::string_view name) const;   // -1 when missing
    int fieldIndex(std::string_view name) const;  // raises "Field 'X' not found"
    void setDisplayLabel(int index, std::string label);

    // Values of the current row; a data set without a current row gives nulls.
    virtual Value value(int fieldIndex) const;
    Value value(std::string_view fieldName) const { return value(fieldIndex(fieldName)); }
    bool isNull(std::string_view fieldName) const { return value(fieldName).isNull(); }
    // A value of any row (position from 0) without moving the cursor, for grids.
    Value peek(std::size_t position, int fieldIndex) const;

    // Exact search of the visible rows from the first: true and on the first match, or
    // false with the cursor unchanged. Numbers compare as numbers (a text that is no number
    // matches none), texts byte for byte, and a null matches only a null.
    virtual bool locate(std::string_view fieldName, const Value& value);

    // Attached controls: while disabled, no notices are sent; enabling sends one.
    void disableControls() { ++m_disableCount; }
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }
    using Listener = std::function<void(DataSetEvent)>;
    int addListener(Listener listener);
    void removeListener(int id);

  protected:
    // What a concrete data set supplies: its visible rows and their values.
    virtual std::size_t rowCount() const = 0;
    virtual Value valueAt(std::size_t position, int fieldIndex) const = 0;
    virtual std::uint64_t rowIdAt(std::size_t position) const { return position; }
    virtual std::optional<std::size_t> positionOfRowId(std::uint64_t id) const;
    // Called before the cursor leaves its row (a table posts or cancels a pending edit here).
    virtual void beforeMove() {}

    void setOpenState(bool open, std::vector<FieldInfo> fields);
    // Puts the cursor on a position (clamped), keeping bof/eof as navigation leaves them.
    void setPosition(std::size_t position);
    std::size_t position() const { return m_position; }
    void resetCursor();  // first row, bof set
    void requireOpen() const;
    void notify(DataSetEvent event);
    const std::vector<FieldInfo>& fieldInfos() const { return m_fields; }

  private:
    bool m_open = false;
    bool m_bof = true;
    bool m_eof = true;
    std::size_t m_position = 0;
    std::vector<FieldInfo> m_fields;
    int m_disableCount = 0;
    bool m_noticePending = false;
    int m_nextListenerId = 1;
    std::vector<std::pair<int, Listener>> m_listeners;
};

}  // namespace dbf

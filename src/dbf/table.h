#pragma once
// A cursor over one table file: navigation, filter, locate, order, and editing of the
// current row with post and refresh.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cdx_index.h"
#include "dataset.h"
#include "filter.h"
#include "table_store.h"

namespace dbf {

class Table : public DataSet {
  public:
    enum class State { Browse, Edit, Insert };

    Table() = default;
    ~Table() override;

    void setDirectory(std::filesystem::path dir) { m_dir = std::move(dir); }
    const std::filesystem::path& directory() const { return m_dir; }
    void setTableName(std::string name) { m_tableName = std::move(name); }
    const std::string& tableName() const { return m_tableName; }

    // Raises DbfError naming the table when it is missing or not a readable table.
    void open();
    void close();

    // Filter text and the filtered flag; only matching rows are visited and shown.
    void setFilter(std::string text);
    const std::string& filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }

    // Exact, case-sensitive search of the visible rows from the first: true and on the
    // first match, or false with the cursor unchanged.
    bool locate(std::string_view fieldName, const Value& value) override;

    // Editing. Moving off a row posts a pending change, or drops a pending row without one.
    State state() const { return m_state; }
    bool modified() const { return m_modified; }
    void edit();
    void append();  // a blank row at the end, current until posted or cancelled
    void setValue(int fieldIndex, const Value& value);
    void setValue(std::string_view fieldName, const Value& value) {
        setValue(fieldIndex(fieldName), value);
    }
    void post();
    void cancel();
    void deleteRecord();
    // Posts a pending edit or append with changes (drops one without), then re-reads.
    void refresh();

    Value value(int fieldIndex) const override;
    using DataSet::value;

    // The structural index's tags, re-read from the file by refreshIndexDefs().
    const std::vector<IndexTag>& indexDefs() const { return m_indexDefs; }
    void refreshIndexDefs();
    // Orders rows by the named fields ("SU2" or "SU2;SU1"); empty gives table order.
    void setIndexFieldNames(std::string names);
    const std::string& indexFieldNames() const { return m_indexFieldNames; }

    // The current row's record number in the file (from 1), 0 when there is none.
    std::uint32_t physicalRecNo() const;
    TableStore& store();

  protected:
    std::size_t rowCount() const override { return m_rows.size(); }
    Value valueAt(std::size_t position, int fieldIndex) const override;
    std::uint64_t rowIdAt(std::size_t position) const override { return m_rows[position]; }
    std::optional<std::size_t> positionOfRowId(std::uint64_t id) const override;
    void beforeMove() override;

  private:
    bool m_damagedIndexNoticeGiven = false;
    void rebuildRows();
    void syncIfChanged();
    std::vector<FieldInfo> fieldInfos() const;
    void standOnRow(std::uint32_t row, std::size_t fallbackPosition);

    std::filesystem::path m_dir;
    std::string m_tableName;
    std::shared_ptr<TableStore> m_store;
    std::uint64_t m_seenVersion = 0;
    std::vector<std::uint32_t> m_rows;  // visible physical rows, in order
    std::string m_filterText;
    bool m_filtered = false;
    std::unique_ptr<RowFilter> m_filter;
    std::string m_indexFieldNames;
    std::vector<IndexTag> m_indexDefs;

    State m_state = State::Browse;
    bool m_modified = false;
    std::string m_buffer;  // the pending record
    std::uint32_t m_editRow = 0;
};

}  // namespace dbf

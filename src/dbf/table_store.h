#pragma once
// One open table file shared by every cursor and query of the process that reads it,
// with a decoded column-wise cache. The cache is built lazily, column by column, and
// dropped on every write of ours and whenever the file changes on disk; readers that
// still hold a column keep their snapshot.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "column.h"
#include "dbf_file.h"

namespace dbf {

class TableStore {
  public:
    // The shared store of `fileName` in `dir`, opened on first use. The name is matched
    // without regard to case, and ".DBF" may be left off. Raises DbfError naming the
    // table when it is missing or unreadable.
    static std::shared_ptr<TableStore> open(const std::filesystem::path& dir,
                                            std::string_view fileName);

    const std::filesystem::path& path() const { return m_file->path(); }
    std::string tableName() const;  // the file name as given by the caller

    // Visible fields in file order (system fields left out).
    const std::vector<FieldDef>& fields() const { return m_fields; }
    int fieldIndex(std::string_view name) const;  // without regard to case; -1 when missing

    // Checks the file on disk (cheap) and drops the cache when another program wrote it.
    void syncWithDisk();

    std::uint32_t recordCount() const { return m_file->recordCount(); }  // deleted included
    // Records not marked deleted, in table order.
    std::shared_ptr<const std::vector<std::uint32_t>> liveRows();
    std::shared_ptr<const Column> column(int fieldIndex);
    // Decodes every listed column not yet held in one pass over the records (a pass over
    // a large table costs far more than decoding a field in it).
    void decodeColumns(const std::vector<int>& fieldIndexes);
    bool hasColumn(int fieldIndex) const {
        return m_columns.at(static_cast<std::size_t>(fieldIndex)) != nullptr;
    }
    // The text column folded for LIKE: Latin letters in lower case, yeh and kaf forms as one.
    std::shared_ptr<const Column> foldedText(int fieldIndex);
    std::shared_ptr<const EqualityIndex> equalityIndex(int fieldIndex);

    // Direct reads and writes of single records (rows count from 0).
    Value value(std::uint32_t row, int fieldIndex) const;
    // For a cursor, which reads long after the table was synced: raises a clear error when
    // another program has cut the file short since (instead of reading past its end).
    Value cursorValue(std::uint32_t row, int fieldIndex) const;
    bool isDeleted(std::uint32_t row) const { return m_file->isDeleted(row); }
    std::string blankRecord() const { return m_file->blankRecord(); }
    std::string recordBytes(std::uint32_t row) const { return std::string(m_file->record(row)); }
    void encode(std::string& record, int fieldIndex, const Value& value);
    void writeRecord(std::uint32_t row, std::string_view record);
    std::uint32_t appendRecord(std::string_view record);
    void markDeleted(std::uint32_t row);

    // Grows on every change of the data (ours or another program's).
    std::uint64_t version() const { return m_version; }

    DbfFile& file() { return *m_file; }

  private:
    void rebuildStaleIndex();
    explicit TableStore(std::unique_ptr<DbfFile> file, std::string name);
    void dropCache();
    // After our own write of one record: the decoded columns nobody else holds take the
    // record's new values in place (a new last record is appended to them); the others,
    // and everything derived from columns, are decoded again when next asked for.
    void keepCacheAfterWrite(std::uint32_t row, std::string_view record, bool appended);
    void decodeInto(Column& column, std::string_view record, std::uint32_t row) const;
    // Rebuilds the structural index after a write, so FoxPro never meets a stale one.
    void maintainIndex();

    std::unique_ptr<DbfFile> m_file;
    std::string m_name;
    std::vector<FieldDef> m_fields;
    std::uint64_t m_version = 1;
    std::shared_ptr<const std::vector<std::uint32_t>> m_liveRows;
    std::vector<std::shared_ptr<const Column>> m_columns;
    std::vector<std::shared_ptr<const Column>> m_folded;
    std::vector<std::shared_ptr<const EqualityIndex>> m_equality;
    bool m_indexNoticeGiven = false;
};

}  // namespace dbf

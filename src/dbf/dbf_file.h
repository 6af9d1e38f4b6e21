#pragma once
// The file layer: one FoxPro / Visual FoxPro table file (.DBF) with its memo file
// (.FPT), read and written in place.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "field_def.h"
#include "value.h"

namespace dbf {

class MemoFile;

struct DbfHeader {
    std::uint8_t version = 0;  // 0x03, 0xF5 (FoxPro 2.x with memo), 0x30/0x31/0x32 (Visual FoxPro)
    std::uint32_t recordCount = 0;
    std::uint16_t headerLength = 0;
    std::uint16_t recordLength = 0;
    std::uint8_t tableFlags = 0;    // 0x01 structural .CDX, 0x02 memo file
    std::uint8_t codePageMark = 0;  // 0x7E: code page 1256

    bool isVisualFoxPro() const { return version == 0x30 || version == 0x31 || version == 0x32; }
};

// Finds `name` in `dir` without regard to case; nullopt when there is no such file.
std::optional<std::filesystem::path> findFileNoCase(const std::filesystem::path& dir,
                                                    std::string_view name);

class DbfFile {
  public:
    // Opens for reading and writing (read-only when the file cannot be written).
    // Raises DbfError for a missing file or one that is not a readable table.
    static std::unique_ptr<DbfFile> open(const std::filesystem::path& path);
    ~DbfFile();

    const std::filesystem::path& path() const { return m_path; }
    const DbfHeader& header() const { return m_header; }
    // All fields in file order, system fields (_NullFlags) included.
    const std::vector<FieldDef>& allFields() const { return m_fields; }
    std::uint32_t recordCount() const { return m_header.recordCount; }
    bool readOnly() const { return m_readOnly; }
    bool hasMemoFile() const { return m_memo != nullptr; }

    // Raw record bytes (deletion flag first); `index` counts from 0. Read through the map:
    // callers make sure the file has not been cut short since it was mapped (a statement
    // syncs first; a cursor reads with checkedRecord).
    std::string_view record(std::uint32_t index) const;
    // The same after checking that the file on disk still holds the record: another
    // program may have cut it (a PACK, a restore), and reading the map past the file's new
    // end would end the process. Raises DbfError naming the table instead.
    std::string_view checkedRecord(std::uint32_t index) const;
    bool isDeleted(std::uint32_t index) const { return record(index)[0] == '*'; }

    // Passes over every record in order, a block of whole records at a time: `visit`
    // gets the index of the block's first record, the bytes and the number of records.
    // Reading blocks is several times faster than touching every record of a large
    // mapped file (each record on its own page means a page walk per record).
    void forEachRecordBlock(const std::function<void(std::uint32_t first, const char* records,
                                                     std::uint32_t count)>& visit) const;

    // Decoding of one field of a raw record.
    Value decode(std::string_view record, const FieldDef& field) const;
    bool isNullIn(std::string_view record, const FieldDef& field) const;

    // A blank record (all blanks, memo pointers empty, nulls where the table allows them).
    std::string blankRecord() const;
    // Encodes `value` into `record` (memo data goes to the memo file first).
    // Raises DbfError when a number does not fit the field's width or a text does not convert.
    void encode(std::string& record, const FieldDef& field, const Value& value);

    // Writes a record in place.
    void writeRecord(std::uint32_t index, std::string_view record);
    // Appends under the table's header lock: re-reads the count, writes the record and
    // the end mark, then the new count. Returns the new record's index.
    std::uint32_t appendRecord(std::string_view record);
    // Runs `work` holding the table's header lock (the lock appends take), after taking up
    // what other programs appended meanwhile; true when the file had changed.
    bool underHeaderLock(const std::function<void()>& work);
    // Appends many records (concatenated) in one locked write, for tools that fill
    // tables in bulk. Returns the index of the first.
    std::uint32_t appendRecords(std::string_view records);

    // Called between the record write and the header write of an append; tests make it
    // throw to stand for a crash at the worst moment.
    void setAppendInterruptForTesting(std::function<void()> hook) {
        m_appendInterrupt = std::move(hook);
    }

    // Re-reads the header when another program changed the file. True when it changed.
    bool reloadIfChanged();
    // A number that changes whenever the file changes on disk (size, time, count).
    std::uint64_t changeStamp() const { return m_stamp; }

  private:
    DbfFile() = default;
    void readHeader();
    void mapFile();
    void unmapFile();
    std::uint64_t statStamp() const;

    std::filesystem::path m_path;
    int m_fd = -1;
    bool m_readOnly = false;
    DbfHeader m_header;
    std::vector<FieldDef> m_fields;
    const char* m_map = nullptr;
    std::size_t m_mapLength = 0;
    std::uint64_t m_stamp = 0;
    std::unique_ptr<MemoFile> m_memo;
    std::function<void()> m_appendInterrupt;
};

// Creation of a new table, for tools and tests (the program itself never creates tables).
struct NewField {
    std::string name;
    char type = 'C';
    int length = 0;  // 0 takes the type's fixed width (I 4, B 8, Y 8, D 8, T 8, L 1, M 10 or 4)
    int decimals = 0;
    bool nullable = false;  // Visual FoxPro tables only
};
struct NewTableOptions {
    std::uint8_t version = 0xF5;  // FoxPro 2.x; 0x03 without memo; 0x30 Visual FoxPro
    std::uint8_t codePageMark = 0x7E;
    std::uint16_t memoBlockSize = 64;
};
// Raises DbfError when the file exists already or a field is malformed.
void createTable(const std::filesystem::path& path, const std::vector<NewField>& fields,
                 const NewTableOptions& options = {});

}  // namespace dbf

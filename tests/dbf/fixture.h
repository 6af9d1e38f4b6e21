#pragma once
// Small tables built in code for the engine's tests.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dbf/cdx_index.h"
#include "dbf/dbf_file.h"
#include "dbf/table_store.h"
#include "dbf/value.h"

namespace dbf::testing {

// A fresh directory under the system's temporary directory, removed afterwards.
class TempDir {
  public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "halvora-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

  private:
    std::filesystem::path m_path;
};

using Row = std::vector<Value>;

// Creates `fileName` in `dir` with the fields and appends the rows (values by position).
inline void makeTable(const std::filesystem::path& dir, const std::string& fileName,
                      const std::vector<NewField>& fields, const std::vector<Row>& rows = {},
                      const NewTableOptions& options = {}) {
    createTable(dir / fileName, fields, options);
    auto file = DbfFile::open(dir / fileName);
    std::vector<const FieldDef*> visible;
    for (const auto& f : file->allFields())
        if (f.type != FieldType::NullFlags) visible.push_back(&f);
    for (const auto& row : rows) {
        std::string rec = file->blankRecord();
        for (std::size_t i = 0; i < row.size() && i < visible.size(); ++i)
            file->encode(rec, *visible[i], row[i]);
        file->appendRecord(rec);
    }
}

// What an index rebuild reads, taken straight from the file.
inline CdxRecordSource cdxSourceOf(DbfFile& file) {
    CdxRecordSource s;
    s.recordCount = file.recordCount();
    s.isDeleted = [&file](std::uint32_t r) { return file.isDeleted(r - 1); };
    s.field = [&file](std::string_view n) -> const FieldDef* {
        for (const auto& f : file.allFields())
            if (f.name == n) return &f;
        return nullptr;
    };
    s.value = [&file](std::uint32_t r, const FieldDef& f) {
        return file.decode(file.record(r - 1), f);
    };
    return s;
}

inline Value I(std::int64_t v) { return Value::integer(v); }
inline Value F(double v) { return Value::real(v); }
inline Value S(std::string v) { return Value::string(std::move(v)); }
inline Value M(std::string v) { return Value::memo(std::move(v)); }
inline Value Null() { return Value::null(); }

}  // namespace dbf::testing

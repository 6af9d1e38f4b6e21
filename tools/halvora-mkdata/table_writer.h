#pragma once
// Appends rows to a new table: fields set by name, values checked against their field, texts
// converted to code page 1256, all rows written at once.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "dbf/dbf_file.h"
#include "dbf/value.h"

namespace mkdata {

class TableWriter {
  public:
    explicit TableWriter(const std::filesystem::path& path);
    ~TableWriter();

    // Starts a blank row; `what` names it in error messages ("food USDA 01001").
    void begin(std::string what);
    // Raises MkdataError naming the table, the row and the field when the value does not fit.
    void set(std::string_view field, const dbf::Value& value);
    // A UTF-8 text, converted to code page 1256 (raises when it cannot be).
    void setText(std::string_view field, std::string_view utf8);
    void setNumber(std::string_view field, double value) { set(field, dbf::Value::real(value)); }
    // Ends the row; rows are kept until flush().
    void end();
    void flush();

    dbf::DbfFile& file() { return *m_file; }

  private:
    const dbf::FieldDef& field(std::string_view name) const;

    std::unique_ptr<dbf::DbfFile> m_file;
    std::string m_row;
    std::string m_what;
    std::string m_pending;
};

}  // namespace mkdata

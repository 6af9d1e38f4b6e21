#include "table_writer.h"

#include "cp1256_text.h"
#include "dbf/errors.h"
#include "dbf/text_compare.h"
#include "errors.h"

namespace mkdata {

TableWriter::TableWriter(const std::filesystem::path& path) : m_file(dbf::DbfFile::open(path)) {}

TableWriter::~TableWriter() = default;

const dbf::FieldDef& TableWriter::field(std::string_view name) const {
    for (const dbf::FieldDef& f : m_file->allFields())
        if (dbf::equalsNoCase(f.name, name)) return f;
    throw MkdataError(m_file->path().filename().string() + " has no field " + std::string(name));
}

void TableWriter::begin(std::string what) {
    m_row = m_file->blankRecord();
    m_what = std::move(what);
}

void TableWriter::set(std::string_view name, const dbf::Value& value) {
    try {
        m_file->encode(m_row, field(name), value);
    } catch (const dbf::DbfError& e) {
        throw MkdataError(m_file->path().filename().string() + ", " + m_what + ": " + e.what());
    }
}

void TableWriter::setText(std::string_view name, std::string_view utf8) {
    const std::string what =
        m_file->path().filename().string() + ", " + m_what + ", field " + std::string(name);
    const dbf::FieldDef& f = field(name);
    const dbf::Value value = f.type == dbf::FieldType::Memo
                                 ? dbf::Value::memo(toCp1256(utf8, what))
                                 : dbf::Value::string(toCp1256(utf8, what));
    set(name, value);
}

void TableWriter::end() { m_pending += m_row; }

void TableWriter::flush() {
    if (m_pending.empty()) return;
    try {
        m_file->appendRecords(m_pending);
    } catch (const dbf::DbfError& e) {
        throw MkdataError(e.what());
    }
    m_pending.clear();
}

}  // namespace mkdata

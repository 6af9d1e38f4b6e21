#include "subjects_index.h"

#include <fstream>

#include "dbf/cdx_index.h"
#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "dbf/text_compare.h"
#include "errors.h"
#include "table_layouts.h"

namespace mkdata {

void markStructuralIndex(const std::filesystem::path& dbfPath) {
    constexpr std::streamoff kTableFlags = 28;
    std::fstream file(dbfPath, std::ios::in | std::ios::out | std::ios::binary);
    char flags = 0;
    if (file) {
        file.seekg(kTableFlags);
        file.get(flags);
        file.seekp(kTableFlags);
        file.put(static_cast<char>(flags | 0x01));
    }
    if (!file) throw MkdataError("Cannot mark the index of " + dbfPath.string());
}

void writeSubjectsIndex(const std::filesystem::path& dbfPath) {
    try {
        const auto table = dbf::DbfFile::open(dbfPath);
        dbf::CdxRecordSource source;
        source.recordCount = table->recordCount();
        source.isDeleted = [&](std::uint32_t recno) { return table->isDeleted(recno - 1); };
        source.field = [&](std::string_view name) -> const dbf::FieldDef* {
            for (const dbf::FieldDef& f : table->allFields())
                if (dbf::equalsNoCase(f.name, name)) return &f;
            return nullptr;
        };
        source.value = [&](std::uint32_t recno, const dbf::FieldDef& field) {
            return table->decode(table->record(recno - 1), field);
        };
        std::vector<dbf::IndexTag> tags;
        for (const char* name : {"SU1", "SU2", "SU7"}) {
            dbf::IndexTag tag;
            tag.name = name;
            tag.keyExpression = name;
            tag.collation = "MACHINE";
            tags.push_back(tag);
        }
        dbf::writeCdx(dbfPath.parent_path() / kSubjectsIndexFile, tags, source);
    } catch (const dbf::DbfError& e) {
        throw MkdataError(e.what());
    }
}

}  // namespace mkdata

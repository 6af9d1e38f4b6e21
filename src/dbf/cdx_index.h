#pragma once
// The structural compound index (.CDX) of a FoxPro table: its tag list, the keys of a tag, and
// a complete rewrite of the file from the table's records.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "field_def.h"
#include "value.h"

namespace dbf {

struct IndexTag {
    std::string name;           // tag name as stored, e.g. "SU1"
    std::string keyExpression;  // e.g. "SU1" or "UPPER(SU2)"
    std::string forExpression;  // empty when none
    bool descending = false;
    bool unique = false;
    std::string collation;        // "MACHINE", "GENERAL", ... (empty when the file gives none)
    std::uint16_t keyLength = 0;  // key bytes as stored; 0 for a tag not read from a file
};

// The tags of a structural .CDX in the file's own order (the order FoxPro lists them).
// A missing, truncated or malformed file raises DbfError naming the file and what is wrong.
std::vector<IndexTag> readCdxTags(const std::filesystem::path& cdxPath);

// One leaf entry of a tag: the key bytes (full key length) and the record number.
struct CdxKey {
    std::string key;
    std::uint32_t recno = 0;
    bool operator==(const CdxKey&) const = default;
};

// The entries of one tag (name compared without regard to case) in stored order, which is
// ascending key order also for a descending tag. FoxPro trims trailing blanks from character
// keys and trailing zero bytes from the others; `pad` is the byte that restores them.
std::vector<CdxKey> readCdxKeys(const std::filesystem::path& cdxPath, std::string_view tagName,
                                char pad = ' ');

// What a rebuild reads from the table: record count, deletion flags, field definitions and values.
struct CdxRecordSource {
    std::uint32_t recordCount = 0;
    std::function<bool(std::uint32_t recno)> isDeleted;                // recno from 1
    std::function<const FieldDef*(std::string_view fieldName)> field;  // nullptr when unknown
    std::function<Value(std::uint32_t recno, const FieldDef&)> value;
};

// True when the tag's key is one plain field name (SU1) with MACHINE collation (or none) and no
// FOR clause, so that its key bytes can be reproduced exactly; such tags can be rebuilt.
bool canRebuild(const IndexTag& tag, const CdxRecordSource& source);

// Writes a complete structural .CDX with the given tags (in that order) and the keys of every
// record (deleted ones too, as FoxPro keeps them), into a temporary file beside cdxPath that is
// then renamed over it. Raises DbfError on a tag that cannot be rebuilt.
void writeCdx(const std::filesystem::path& cdxPath, const std::vector<IndexTag>& tags,
              const CdxRecordSource& source);

// Removes the temporary files of rebuilds whose program stopped before renaming them.
void removeAbandonedTemporaries(const std::filesystem::path& cdxPath);

}  // namespace dbf

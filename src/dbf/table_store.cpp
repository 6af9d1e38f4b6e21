#include "table_store.h"

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "cdx_index.h"
#include "codepage1256.h"
#include "errors.h"
#include "notices.h"
#include "text_compare.h"

namespace dbf {
namespace {

std::map<std::string, std::weak_ptr<TableStore>>& registry() {
    static std::map<std::string, std::weak_ptr<TableStore>> stores;
    return stores;
}

Column::Kind kindOf(const FieldDef& f) {
    if (f.type == FieldType::Character) return Column::Kind::Text;
    if (f.isMemoLike()) return Column::Kind::Other;
    return Column::Kind::Number;
}

}  // namespace

std::shared_ptr<TableStore> TableStore::open(const std::filesystem::path& dir,
                                             std::string_view fileName) {
    // A name written in a statement arrives in code page 1256, while the file system spells
    // names in UTF-8: such a name is looked up (and reported) as the file system spells it.
    // The yeh of a converted statement may be written either way in the file's name.
    std::vector<std::string> candidates{std::string(fileName)};
    if (!cp1256::isUtf8(fileName))
        candidates = {cp1256::toUtf8(fileName), cp1256::toUtf8Farsi(fileName)};
    std::optional<std::filesystem::path> found;
    for (const std::string& candidate : candidates) {
        found = findFileNoCase(dir, candidate);
        if (!found &&
            !(candidate.size() > 4 && equalsNoCase(candidate.substr(candidate.size() - 4), ".DBF")))
            found = findFileNoCase(dir, candidate + ".DBF");
        if (found) break;
    }
    const std::string name = candidates.front();
    if (!found) throw DbfError("Table does not exist: " + (dir / name).string());

    std::error_code ec;
    auto canonical = std::filesystem::weakly_canonical(*found, ec);
    const std::string key = (ec ? *found : canonical).string();
    auto& stores = registry();
    if (auto it = stores.find(key); it != stores.end()) {
        if (auto store = it->second.lock()) {
            store->syncWithDisk();
            return store;
        }
    }
    std::shared_ptr<TableStore> store(new TableStore(DbfFile::open(*found), name));
    stores[key] = store;
    store->rebuildStaleIndex();
    return store;
}

TableStore::TableStore(std::unique_ptr<DbfFile> file, std::string name)
    : m_file(std::move(file)), m_name(std::move(name)) {
    dropCache();
}

std::string TableStore::tableName() const { return m_name; }

void TableStore::dropCache() {
    m_fields.clear();
    for (const auto& f : m_file->allFields())
        if (!f.isSystem() && f.type != FieldType::NullFlags) m_fields.push_back(f);
    m_liveRows.reset();
    m_columns.assign(m_fields.size(), nullptr);
    m_folded.assign(m_fields.size(), nullptr);
    m_equality.assign(m_fields.size(), nullptr);
    ++m_version;
}

int TableStore::fieldIndex(std::string_view name) const {
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (equalsNoCase(m_fields[i].name, name)) return static_cast<int>(i);
    return -1;
}

void TableStore::syncWithDisk() {
    if (m_file->reloadIfChanged()) dropCache();
}

std::shared_ptr<const std::vector<std::uint32_t>> TableStore::liveRows() {
    if (!m_liveRows) {
        auto rows = std::make_shared<std::vector<std::uint32_t>>();
        rows->reserve(m_file->recordCount());
        const std::uint32_t length = m_file->header().recordLength;
        m_file->forEachRecordBlock([&](std::uint32_t first, const char* records, std::uint32_t n) {
            for (std::uint32_t i = 0; i < n; ++i)
                if (records[std::size_t{i} * length] != '*') rows->push_back(first + i);
        });
        m_liveRows = std::move(rows);
    }
    return m_liveRows;
}

std::shared_ptr<const Column> TableStore::column(int fieldIndex) {
    auto& slot = m_columns.at(static_cast<std::size_t>(fieldIndex));
    if (!slot) decodeColumns({fieldIndex});
    return slot;
}

void TableStore::decodeColumns(const std::vector<int>& fieldIndexes) {
    std::vector<int> wanted;
    for (const int i : fieldIndexes)
        if (!m_columns.at(static_cast<std::size_t>(i)) &&
            std::find(wanted.begin(), wanted.end(), i) == wanted.end())
            wanted.push_back(i);
    if (wanted.empty()) return;
    const std::uint32_t count = m_file->recordCount();
    std::vector<std::shared_ptr<Column>> cols;
    for (const int i : wanted) {
        const FieldDef& f = m_fields[static_cast<std::size_t>(i)];
        auto col = std::make_shared<Column>();
        col->kind = kindOf(f);
        col->field = f;
        col->nulls.assign(count, 0);
        switch (col->kind) {
            case Column::Kind::Number:
                col->numbers.assign(count, 0.0);
                break;
            case Column::Kind::Text:
                col->offsets.reserve(std::size_t{count} + 1);
                col->offsets.push_back(0);
                col->text.reserve(std::size_t{count} * std::min<std::size_t>(f.length, 32));
                break;
            case Column::Kind::Other:
                col->values.resize(count);
                break;
        }
        cols.push_back(std::move(col));
    }
    // The live rows come along in the same pass when nobody asked for them yet.
    std::shared_ptr<std::vector<std::uint32_t>> live;
    if (!m_liveRows) {
        live = std::make_shared<std::vector<std::uint32_t>>();
        live->reserve(count);
    }
    const std::uint32_t length = m_file->header().recordLength;
    m_file->forEachRecordBlock([&](std::uint32_t first, const char* records, std::uint32_t n) {
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::string_view rec(records + std::size_t{i} * length, length);
            if (live && rec[0] != '*') live->push_back(first + i);
            for (auto& col : cols) decodeInto(*col, rec, first + i);
        }
    });
    if (live) m_liveRows = std::move(live);
    for (std::size_t k = 0; k < wanted.size(); ++k)
        m_columns[static_cast<std::size_t>(wanted[k])] = std::move(cols[k]);
}

void TableStore::decodeInto(Column& col, std::string_view rec, std::uint32_t r) const {
    const FieldDef& f = col.field;
    if (col.kind == Column::Kind::Text) {
        if (m_file->isNullIn(rec, f)) {
            col.nulls[r] = 1;
        } else {
            std::string_view raw = rec.substr(f.offset, f.length);
            while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\0')) raw.remove_suffix(1);
            col.text.append(raw);
        }
        col.offsets.push_back(static_cast<std::uint32_t>(col.text.size()));
        return;
    }
    Value v;
    try {
        v = m_file->decode(rec, f);
    } catch (const DbfError&) {
        v = Value::null();  // a damaged memo reads as empty in bulk reads
    }
    if (v.isNull()) {
        col.nulls[r] = 1;
    } else if (col.kind == Column::Kind::Number) {
        col.numbers[r] = v.kind() == Value::Kind::Boolean ? (v.asBoolean() ? 1 : 0) : v.number();
    } else {
        col.values[r] = std::move(v);
    }
}

std::shared_ptr<const Column> TableStore::foldedText(int fieldIndex) {
    auto& slot = m_folded.at(static_cast<std::size_t>(fieldIndex));
    if (slot) return slot;
    auto base = column(fieldIndex);
    auto folded = std::make_shared<Column>(*base);
    if (folded->kind == Column::Kind::Text) cp1256::foldForSearch(folded->text);
    slot = std::move(folded);
    return slot;
}

std::shared_ptr<const EqualityIndex> TableStore::equalityIndex(int fieldIndex) {
    auto& slot = m_equality.at(static_cast<std::size_t>(fieldIndex));
    if (slot) return slot;
    auto col = column(fieldIndex);
    auto index = std::make_shared<EqualityIndex>(*col, *liveRows());
    slot = std::move(index);
    return slot;
}

Value TableStore::value(std::uint32_t row, int fieldIndex) const {
    return m_file->decode(m_file->record(row), m_fields.at(static_cast<std::size_t>(fieldIndex)));
}

Value TableStore::cursorValue(std::uint32_t row, int fieldIndex) const {
    return m_file->decode(m_file->checkedRecord(row),
                          m_fields.at(static_cast<std::size_t>(fieldIndex)));
}

void TableStore::encode(std::string& record, int fieldIndex, const Value& value) {
    m_file->encode(record, m_fields.at(static_cast<std::size_t>(fieldIndex)), value);
}

void TableStore::writeRecord(std::uint32_t row, std::string_view record) {
    syncWithDisk();
    const bool wasDeleted = m_file->isDeleted(row);
    m_file->writeRecord(row, record);
    auto live = m_liveRows;
    keepCacheAfterWrite(row, record, false);
    if (live && wasDeleted == (record[0] == '*')) m_liveRows = std::move(live);
    maintainIndex();
}

std::uint32_t TableStore::appendRecord(std::string_view record) {
    syncWithDisk();
    const std::uint32_t before = m_file->recordCount();
    const std::uint32_t row = m_file->appendRecord(record);
    auto live = m_liveRows;
    if (row == before && m_file->recordCount() == before + 1) {
        keepCacheAfterWrite(row, record, true);
    } else {
        dropCache();  // another program appended too: read everything again
    }
    if (live && row == before) {
        auto grown = std::make_shared<std::vector<std::uint32_t>>(*live);
        if (record[0] != '*') grown->push_back(row);
        m_liveRows = std::move(grown);
    }
    maintainIndex();
    return row;
}

void TableStore::keepCacheAfterWrite(std::uint32_t row, std::string_view record, bool appended) {
    auto columns = std::move(m_columns);
    dropCache();
    for (std::size_t i = 0; i < columns.size() && i < m_columns.size(); ++i) {
        auto& cached = columns[i];
        // A column a query or a cursor still holds is theirs as it was: not touched.
        if (!cached || cached.use_count() != 1) continue;
        auto col = std::const_pointer_cast<Column>(cached);
        if (appended) {
            if (col->size() != row) continue;
            col->nulls.push_back(0);
            if (col->kind == Column::Kind::Number) col->numbers.push_back(0.0);
            if (col->kind == Column::Kind::Other) col->values.emplace_back();
        } else {
            // Texts are packed one after another: a changed one moves all after it.
            if (col->kind == Column::Kind::Text || row >= col->size()) continue;
            col->nulls[row] = 0;
            if (col->kind == Column::Kind::Number) col->numbers[row] = 0.0;
            if (col->kind == Column::Kind::Other) col->values[row] = Value();
        }
        decodeInto(*col, record, row);
        m_columns[i] = std::move(col);
    }
}

void TableStore::rebuildStaleIndex() {
    // A writer stopped between its append and its index rebuild (killed, or the machine
    // lost power) leaves an index without the newest rows: every record has a key in a
    // current index, deleted ones too, so a count that differs means a stale one.
    const auto& p = path();
    const auto cdx = findFileNoCase(p.parent_path(), p.stem().string() + ".CDX");
    if (!cdx) return;
    removeAbandonedTemporaries(*cdx);
    try {
        const auto tags = readCdxTags(*cdx);
        if (tags.empty()) return;
        const auto keys = readCdxKeys(*cdx, tags.front().name);
        if (keys.size() == m_file->recordCount()) return;
    } catch (const DbfError&) {
        // A damaged index is rebuilt too, when the table allows it.
    }
    maintainIndex();
}

void TableStore::maintainIndex() {
    const auto& p = path();
    const auto cdx = findFileNoCase(p.parent_path(), p.stem().string() + ".CDX");
    if (!cdx) return;
    const std::string name = cdx->filename().string();
    try {
        // Under the table's lock, with every row other programs appended meanwhile: two
        // writers then rebuild one after the other, each from the whole table.
        const bool changed = m_file->underHeaderLock([&] {
            const auto tags = readCdxTags(*cdx);
            CdxRecordSource source;
            source.recordCount = m_file->recordCount();
            source.isDeleted = [this](std::uint32_t recno) { return m_file->isDeleted(recno - 1); };
            source.field = [this](std::string_view fieldName) -> const FieldDef* {
                for (const auto& f : m_file->allFields())
                    if (equalsNoCase(f.name, fieldName)) return &f;
                return nullptr;
            };
            source.value = [this](std::uint32_t recno, const FieldDef& f) {
                return m_file->decode(m_file->record(recno - 1), f);
            };
            for (const auto& tag : tags) {
                if (!canRebuild(tag, source)) {
                    if (!m_indexNoticeGiven)
                        notice("The index " + name + " has a tag (" + tag.name + ": " +
                               tag.keyExpression +
                               (tag.collation.empty() ? "" : ", collation " + tag.collation) +
                               ") that Halvora cannot keep up to date. The table works as "
                               "before here, but rebuild the index in FoxPro (REINDEX) before "
                               "FoxPro uses the table.");
                    m_indexNoticeGiven = true;
                    return;
                }
            }
            writeCdx(*cdx, tags, source);
        });
        if (changed) dropCache();
    } catch (const DbfError& e) {
        if (!m_indexNoticeGiven)
            notice("The index " + name + " could not be brought up to date: " + e.what() +
                   ". The table works as before here, but rebuild the index in FoxPro (REINDEX) "
                   "before FoxPro uses the table.");
        m_indexNoticeGiven = true;
    }
}

void TableStore::markDeleted(std::uint32_t row) {
    std::string rec = recordBytes(row);
    rec[0] = '*';
    writeRecord(row, rec);
}

}  // namespace dbf

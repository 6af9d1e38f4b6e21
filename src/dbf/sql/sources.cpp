#include "sources.h"

#include "../codepage1256.h"
#include "../table_store.h"

namespace dbf::sql {

bool Sources::columnar(int table, int field, std::size_t rowCount, std::size_t share) const {
    if (m_columns.count({table, field}) || m_folded.count({table, field})) return true;
    return rowCount * share >= store(table).recordCount();
}

std::shared_ptr<const Column> Sources::columnPtr(int table, int field) {
    auto& slot = m_columns[{table, field}];
    if (!slot) slot = store(table).column(field);
    return slot;
}

const Column& Sources::column(int table, int field) { return *columnPtr(table, field); }

const Column& Sources::folded(int table, int field) {
    auto& slot = m_folded[{table, field}];
    if (!slot) slot = store(table).foldedText(field);
    return *slot;
}

void Sources::numbers(int table, int field, const std::uint32_t* rows, std::size_t n, bool columnar,
                      double* out, std::uint8_t* nulls) {
    if (columnar) {
        const Column& c = column(table, field);
        const double* values = c.numbers.data();
        const std::uint8_t* isNull = c.nulls.data();
        for (std::size_t i = 0; i < n; ++i) {
            out[i] = values[rows[i]];
            nulls[i] = isNull[rows[i]];
        }
        return;
    }
    TableStore& s = store(table);
    for (std::size_t i = 0; i < n; ++i) {
        const Value v = s.value(rows[i], field);
        nulls[i] = v.isNull() || v.isText() ? 1 : 0;
        out[i] = nulls[i] ? 0 : v.number();
    }
}

void Sources::texts(int table, int field, const std::uint32_t* rows, std::size_t n, bool columnar,
                    bool foldedText, TextVec& out) {
    out.views.resize(n);
    out.nulls.resize(n);
    if (columnar) {
        const Column& c = foldedText ? folded(table, field) : column(table, field);
        for (std::size_t i = 0; i < n; ++i) {
            out.views[i] = c.textAt(rows[i]);
            out.nulls[i] = c.isNull(rows[i]) || out.views[i].empty() ? 1 : 0;
        }
        return;
    }
    TableStore& s = store(table);
    out.storage.assign(n, std::string());
    for (std::size_t i = 0; i < n; ++i) {
        Value v = s.value(rows[i], field);
        if (!v.isNull()) out.storage[i] = v.bytes();
        if (foldedText) cp1256::foldForSearch(out.storage[i]);
    }
    for (std::size_t i = 0; i < n; ++i) {
        out.views[i] = out.storage[i];
        out.nulls[i] = out.storage[i].empty() ? 1 : 0;
    }
}

}  // namespace dbf::sql

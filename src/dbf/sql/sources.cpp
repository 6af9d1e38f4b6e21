#include "sources.h"

#include "../codepage1256.h"
#include "../dbf_file.h"
#include "../table_store.h"

namespace dbf::sql {
namespace {

// The common case of a numeric field's text ("  12.345", blanks for empty), read without
// building a Value: sums over a recipe's or a recall's rows read thousands of them. Up to
// 15 digits the quotient of two exact doubles is the correctly rounded value, the same
// double a full parse gives; anything else (an exponent, an overflow mark, more digits)
// returns false and goes the general way.
bool readDecimal(std::string_view raw, double& value, bool& isNull) {
    std::size_t i = 0;
    const std::size_t n = raw.size();
    while (i < n && raw[i] == ' ') ++i;
    if (i == n) {
        isNull = true;
        value = 0;
        return true;
    }
    bool negative = false;
    if (raw[i] == '-' || raw[i] == '+') negative = raw[i++] == '-';
    std::uint64_t mantissa = 0;
    int digits = 0, decimals = 0;
    bool point = false, anyDigit = false;
    for (; i < n && raw[i] != ' '; ++i) {
        const char c = raw[i];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            anyDigit = true;
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            if (mantissa != 0) ++digits;
            if (point) ++decimals;
        } else {
            return false;
        }
    }
    while (i < n && raw[i] == ' ') ++i;
    // A sign or a point without a digit ("-") is no number: the general way reads it as
    // empty, as every other path does.
    if (i != n || !anyDigit || digits > 15 || decimals > 15) return false;
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    value = static_cast<double>(mantissa) / kPowers[decimals];
    if (negative) value = -value;
    isNull = false;
    return true;
}

}  // namespace

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
    const FieldDef& def = s.fields()[static_cast<std::size_t>(field)];
    const bool decimalText =
        (def.type == FieldType::Numeric || def.type == FieldType::Float) && def.nullBit < 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (decimalText) {
            const std::string_view rec = s.file().record(rows[i]);
            bool isNull = false;
            if (readDecimal(rec.substr(def.offset, def.length), out[i], isNull)) {
                nulls[i] = isNull ? 1 : 0;
                continue;
            }
        }
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

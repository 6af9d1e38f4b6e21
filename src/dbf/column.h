#pragma once
// The decoded values of one field over all records of a table, held column-wise so
// that searches, rankings and sums run over plain arrays.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "field_def.h"
#include "value.h"

namespace dbf {

struct Column {
    enum class Kind {
        Number,  // numbers, dates (days), logicals (0/1): `numbers`
        Text,    // character fields, trailing blanks removed: `text` + `offsets`
        Other,   // memo and blob fields: `values`
    };
    Kind kind = Kind::Number;
    FieldDef field;
    std::vector<std::uint8_t> nulls;  // 1 where the record's value is null
    std::vector<double> numbers;
    std::string text;
    std::vector<std::uint32_t> offsets;  // record i is text[offsets[i], offsets[i+1])
    std::vector<Value> values;

    std::size_t size() const { return nulls.size(); }
    bool isNull(std::uint32_t row) const { return nulls[row] != 0; }
    double number(std::uint32_t row) const { return numbers[row]; }
    std::string_view textAt(std::uint32_t row) const {
        return std::string_view(text).substr(offsets[row], offsets[row + 1] - offsets[row]);
    }
    // The value as the table hands it out (typed by the field).
    Value value(std::uint32_t row) const;
};

// Rows by the value of one numeric field: equality lookups in constant time. Rows are kept
// grouped by key, each group in table order. Whole-number keys in a compact range (food,
// recipe and subject codes) are found by their offset from the smallest key; any other keys
// through a hash of key to group.
class EqualityIndex {
  public:
    // Builds the index of the non-null values of `column` over `liveRows` (in table order).
    EqualityIndex(const Column& column, const std::vector<std::uint32_t>& liveRows);

    std::span<const std::uint32_t> find(double key) const;

  private:
    std::vector<std::uint32_t> m_rows;
    bool m_dense = false;
    double m_base = 0;
    std::vector<std::uint32_t> m_starts;  // dense: group k is m_rows[m_starts[k], m_starts[k+1])
    std::unordered_map<double, std::pair<std::uint32_t, std::uint32_t>> m_groups;
};

}  // namespace dbf

#pragma once
// The decoded values of one field over all records of a table, held column-wise so
// that searches, rankings and sums run over plain arrays.
#include <cstdint>
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

// Rows by the value of one numeric field: equality lookups in constant time.
struct EqualityIndex {
    std::unordered_map<double, std::vector<std::uint32_t>> rows;  // live rows, in table order
    const std::vector<std::uint32_t>& find(double key) const {
        static const std::vector<std::uint32_t> none;
        const auto it = rows.find(key);
        return it == rows.end() ? none : it->second;
    }
};

}  // namespace dbf

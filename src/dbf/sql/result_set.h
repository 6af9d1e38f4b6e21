#pragma once
// The rows a statement produced. Plain columns of large results refer to the table's
// column snapshot through the row numbers of the result, so building a result copies
// no values; small results and computed columns hold their values.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "../column.h"
#include "../dataset.h"
#include "../value.h"

namespace dbf::sql {

class ResultSet {
  public:
    struct Field {
        enum class Source {
            StoreColumn,  // `column` at row `(*rows)[i]`, or at row i without `rows`
            Values,       // `values[i]`
            Numbers,      // `numbers[i]` unless `nulls[i]`: a computed Float column
            Constant,     // `constant` in every row
        };
        Source source = Source::Values;
        std::shared_ptr<const Column> column;
        std::shared_ptr<const std::vector<std::uint32_t>> rows;
        std::vector<Value> values;
        std::vector<double> numbers;
        std::vector<std::uint8_t> nulls;
        Value constant;
    };

    ResultSet(std::vector<FieldInfo> infos, std::vector<Field> fields, std::size_t rowCount)
        : m_infos(std::move(infos)), m_fields(std::move(fields)), m_rowCount(rowCount) {}

    const std::vector<FieldInfo>& fields() const { return m_infos; }
    std::size_t rowCount() const { return m_rowCount; }

    Value value(std::size_t row, int field) const;

    // Reads without building a Value, for callers that walk many rows.
    bool isNull(std::size_t row, int field) const;
    double number(std::size_t row, int field) const;          // 0 for null and text
    std::string_view text(std::size_t row, int field) const;  // empty for null and numbers

  private:
    std::vector<FieldInfo> m_infos;
    std::vector<Field> m_fields;
    std::size_t m_rowCount = 0;
};

}  // namespace dbf::sql

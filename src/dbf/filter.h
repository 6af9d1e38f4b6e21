#pragma once
// Filter texts of tables: comparisons of a field with a number or a single-quoted
// text (inner quotes doubled), joined by and / or / not and parentheses.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dbf {

class TableStore;

class RowFilter {
  public:
    virtual ~RowFilter() = default;
    // The rows of `candidates` (ascending record indexes) that the filter keeps, in order.
    virtual std::vector<std::uint32_t> select(
        TableStore& store, const std::vector<std::uint32_t>& candidates) const = 0;
};

// Parses and binds a filter text against the table's fields. Raises DbfError naming the
// unknown field, or the offending token and its position.
std::unique_ptr<RowFilter> compileFilter(std::string_view text, const TableStore& store);

}  // namespace dbf

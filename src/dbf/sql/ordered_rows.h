#pragma once
// The live rows of a table in the order of one number field, kept between statements
// until the table's data changes: rankings over all foods and range searches ordered by
// the searched field then read a slice of it instead of filtering and sorting a million
// rows each time. A few such orders are kept, the least recently used dropped first.
#include <cstdint>
#include <memory>
#include <vector>

namespace dbf {
class TableStore;
}

namespace dbf::sql {

struct OrderedRows {
    std::size_t emptyCount = 0;       // rows whose value is empty: they come first
    std::vector<std::uint32_t> rows;  // empty values first, then ascending; ties in table order
    std::vector<double> keys;         // the value of each non-empty row, aligned after them
};

std::shared_ptr<const OrderedRows> orderedRows(const std::shared_ptr<TableStore>& store, int field);

}  // namespace dbf::sql

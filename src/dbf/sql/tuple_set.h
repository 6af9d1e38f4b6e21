#pragma once
// The rows a statement works on between its stages: tuple k joins row (*rows[t])[k] of
// every joined table t. Row lists are shared until a stage changes them, so a scan of a
// whole table starts from the table's own list of live rows without a copy.
#include <cstdint>
#include <memory>
#include <vector>

namespace dbf::sql {

using RowList = std::shared_ptr<const std::vector<std::uint32_t>>;

struct TupleSet {
    std::vector<RowList> rows;  // per table of FROM; null until the table is joined

    std::size_t size() const {
        for (const auto& r : rows)
            if (r) return r->size();
        return 0;
    }

    // Keeps the tuples at `positions` (ascending or any order), in that order.
    void select(const std::vector<std::uint32_t>& positions) {
        for (auto& r : rows) {
            if (!r) continue;
            auto kept = std::make_shared<std::vector<std::uint32_t>>();
            kept->reserve(positions.size());
            for (const std::uint32_t p : positions) kept->push_back((*r)[p]);
            r = std::move(kept);
        }
    }
};

}  // namespace dbf::sql

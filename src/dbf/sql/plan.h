#pragma once
// How a statement reads its tables: which table drives (the one with a `field = constant`
// condition, answered by the table's equality index), how every further table is joined
// (through its equality index on `a = b` where it can), and which conditions are tested
// after which stage, cheapest first.
#include <vector>

#include "binder.h"

namespace dbf::sql {

struct Plan {
    struct Join {
        int table = 0;
        const Bound* outer = nullptr;       // a number column of a table joined before
        const Bound* inner = nullptr;       // the number column of `table` it must equal
        std::vector<const Bound*> filters;  // testable once `table` is joined
    };
    int driving = 0;
    const Bound* lookupColumn = nullptr;  // the driving table's rows come from its index
    double lookupKey = 0;
    std::vector<const Bound*> drivingFilters;
    std::vector<Join> joins;
};

// The plan points into `statement`, which must outlive it.
Plan makePlan(const BoundStatement& statement);

}  // namespace dbf::sql

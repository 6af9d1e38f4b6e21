#pragma once
// ORDER BY: a stable sort of the tuples by their keys, so that ties keep table order.
// Empty values sort below every value: first when ascending, last when descending.
#include <vector>

#include "binder.h"
#include "sources.h"
#include "tuple_set.h"

namespace dbf::sql {

void sortTuples(const std::vector<OrderKey>& keys, Sources& sources, TupleSet& tuples);

// `rows` (ascending) ordered by a number column: empty values first, ties in table order.
std::vector<std::uint32_t> orderByNumber(const Column& column,
                                         const std::vector<std::uint32_t>& rows);

}  // namespace dbf::sql

#pragma once
// ORDER BY: a stable sort of the tuples by their keys, so that ties keep table order.
// Empty values sort below every value: first when ascending, last when descending.
#include <vector>

#include "binder.h"
#include "sources.h"
#include "tuple_set.h"

namespace dbf::sql {

void sortTuples(const std::vector<OrderKey>& keys, Sources& sources, TupleSet& tuples);

}  // namespace dbf::sql

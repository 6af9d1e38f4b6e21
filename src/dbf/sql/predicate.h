#pragma once
// Applies conditions to the tuples of a statement (or to the rows a filter text sees).
// The usual shapes (a field compared with a constant, BETWEEN constants, LIKE, a text
// compared with a quoted text) run as tight loops over the decoded column; everything
// else goes through the column-wise evaluator.
#include <vector>

#include "bound.h"
#include "sources.h"
#include "tuple_set.h"

namespace dbf::sql {

// Keeps the tuples for which `condition` holds, in their order.
void applyCondition(const Bound& condition, Sources& sources, TupleSet& tuples);

// The AND-ed parts of a condition, left to right.
void splitConjuncts(const Bound& condition, std::vector<const Bound*>& out);

// The tables a bound expression reads, as a bit set (bit t for table t).
unsigned tablesOf(const Bound& e);

}  // namespace dbf::sql

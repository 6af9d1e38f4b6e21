#pragma once
// Runs a planned statement: drives, joins, filters, orders, then projects or aggregates.
#include <memory>

#include "binder.h"
#include "plan.h"
#include "result_set.h"

namespace dbf::sql {

std::unique_ptr<ResultSet> execute(const BoundStatement& statement, const Plan& plan);

}  // namespace dbf::sql

#include "plan.h"

#include <algorithm>
#include <bit>

#include "../table_store.h"
#include "predicate.h"

namespace dbf::sql {
namespace {

bool isNumberColumn(const Bound& b) { return b.isColumn() && b.type == ValueType::Number; }

// `column = constant` with a number column: the column, or null.
const Bound* constantLookup(const Bound& c, double& key) {
    if (c.kind != Bound::Kind::Compare || c.compare != CompareOp::Equal) return nullptr;
    for (int side = 0; side < 2; ++side) {
        const Bound& column = *c.args[static_cast<std::size_t>(side)];
        const Bound& constant = *c.args[static_cast<std::size_t>(1 - side)];
        if (isNumberColumn(column) && constant.isConstant() && !constant.isNull &&
            constant.type == ValueType::Number) {
            key = constant.number;
            return &column;
        }
    }
    return nullptr;
}

// Cheap tests first: a number against constants, then texts, then patterns, then the rest.
int cost(const Bound& c) {
    const bool onColumn = !c.args.empty() && c.args[0]->isColumn();
    switch (c.kind) {
        case Bound::Kind::Compare:
        case Bound::Kind::Between:
            if (onColumn && c.args[0]->type == ValueType::Number) return 0;
            return onColumn ? 1 : 3;
        case Bound::Kind::Like:
            return 2;
        default:
            return 3;
    }
}

void orderByCost(std::vector<const Bound*>& filters) {
    std::stable_sort(filters.begin(), filters.end(),
                     [](const Bound* a, const Bound* b) { return cost(*a) < cost(*b); });
}

}  // namespace

Plan makePlan(const BoundStatement& statement) {
    Plan plan;
    const int tableCount = static_cast<int>(statement.tables.size());
    std::vector<const Bound*> pending;
    if (statement.where) splitConjuncts(*statement.where, pending);

    // The driving table: one with `field = constant`, else one with any condition of its
    // own, else the smallest.
    int driving = -1;
    const Bound* lookup = nullptr;
    for (const Bound* c : pending) {
        double key = 0;
        if (const Bound* column = constantLookup(*c, key)) {
            if (driving < 0 || column->table < driving) {
                driving = column->table;
                lookup = c;
                plan.lookupColumn = column;
                plan.lookupKey = key;
            }
        }
    }
    if (driving < 0) {
        for (const Bound* c : pending) {
            const unsigned set = tablesOf(*c);
            if (set != 0 && (set & (set - 1)) == 0) {
                driving = std::countr_zero(set);
                break;
            }
        }
    }
    if (driving < 0) {
        driving = 0;
        for (int t = 1; t < tableCount; ++t)
            if (statement.tables[static_cast<std::size_t>(t)].store->recordCount() <
                statement.tables[static_cast<std::size_t>(driving)].store->recordCount())
                driving = t;
    }
    plan.driving = driving;
    if (lookup) pending.erase(std::find(pending.begin(), pending.end(), lookup));

    unsigned joined = 1u << driving;
    const auto takeTestable = [&](std::vector<const Bound*>& into) {
        for (auto it = pending.begin(); it != pending.end();) {
            if ((tablesOf(**it) & ~joined) == 0) {
                into.push_back(*it);
                it = pending.erase(it);
            } else {
                ++it;
            }
        }
        orderByCost(into);
    };
    takeTestable(plan.drivingFilters);

    for (int step = 1; step < tableCount; ++step) {
        Plan::Join join;
        join.table = -1;
        // Prefer a table tied to the joined ones by `a = b` on number columns.
        for (auto it = pending.begin(); it != pending.end() && join.table < 0; ++it) {
            const Bound& c = **it;
            if (c.kind != Bound::Kind::Compare || c.compare != CompareOp::Equal) continue;
            if (!isNumberColumn(*c.args[0]) || !isNumberColumn(*c.args[1])) continue;
            for (int side = 0; side < 2; ++side) {
                const Bound* outer = c.args[static_cast<std::size_t>(side)].get();
                const Bound* inner = c.args[static_cast<std::size_t>(1 - side)].get();
                if ((joined & (1u << outer->table)) && !(joined & (1u << inner->table))) {
                    join.table = inner->table;
                    join.outer = outer;
                    join.inner = inner;
                    pending.erase(it);
                    break;
                }
            }
            if (join.table >= 0) break;
        }
        if (join.table < 0)
            for (int t = 0; t < tableCount && join.table < 0; ++t)
                if (!(joined & (1u << t))) join.table = t;
        joined |= 1u << join.table;
        takeTestable(join.filters);
        plan.joins.push_back(std::move(join));
    }
    return plan;
}

}  // namespace dbf::sql

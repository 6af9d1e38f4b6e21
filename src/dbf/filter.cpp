#include "filter.h"

#include <algorithm>

#include "sql/binder.h"
#include "sql/parser.h"
#include "sql/predicate.h"
#include "sql/sources.h"
#include "sql/tuple_set.h"
#include "table_store.h"

namespace dbf {
namespace {

class CompiledFilter : public RowFilter {
  public:
    explicit CompiledFilter(sql::BoundPtr condition) : m_condition(std::move(condition)) {
        sql::splitConjuncts(*m_condition, m_conjuncts);
        // `field = number` is answered by the table's equality index.
        for (auto it = m_conjuncts.begin(); it != m_conjuncts.end(); ++it) {
            const sql::Bound& c = **it;
            if (c.kind != sql::Bound::Kind::Compare || c.compare != sql::CompareOp::Equal) continue;
            const sql::Bound& a = *c.args[0];
            const sql::Bound& b = *c.args[1];
            const sql::Bound* column = a.isColumn() ? &a : (b.isColumn() ? &b : nullptr);
            const sql::Bound* constant = a.isConstant() ? &a : (b.isConstant() ? &b : nullptr);
            if (column && constant && column->type == sql::ValueType::Number &&
                constant->type == sql::ValueType::Number && !constant->isNull) {
                m_lookupField = column->field;
                m_lookupKey = constant->number;
                m_conjuncts.erase(it);
                break;
            }
        }
    }

    std::vector<std::uint32_t> select(TableStore& store,
                                      const std::vector<std::uint32_t>& candidates) const override {
        sql::Sources sources({&store});
        sql::TupleSet tuples;
        if (m_lookupField >= 0) {
            const auto index = store.equalityIndex(m_lookupField);
            const auto found = index->find(m_lookupKey);
            auto rows = std::make_shared<std::vector<std::uint32_t>>();
            if (found.size() * 32 < candidates.size()) {
                for (const std::uint32_t r : found)
                    if (std::binary_search(candidates.begin(), candidates.end(), r))
                        rows->push_back(r);
            } else {
                std::set_intersection(found.begin(), found.end(), candidates.begin(),
                                      candidates.end(), std::back_inserter(*rows));
            }
            tuples.rows.push_back(std::move(rows));
        } else {
            // The caller's list, borrowed for the length of this call.
            tuples.rows.push_back(sql::RowList(std::shared_ptr<void>(), &candidates));
        }
        for (const sql::Bound* c : m_conjuncts) {
            if (tuples.size() == 0) break;
            sql::applyCondition(*c, sources, tuples);
        }
        return *tuples.rows[0];
    }

  private:
    sql::BoundPtr m_condition;
    std::vector<const sql::Bound*> m_conjuncts;
    int m_lookupField = -1;
    double m_lookupKey = 0;
};

}  // namespace

std::unique_ptr<RowFilter> compileFilter(std::string_view text, const TableStore& store) {
    const sql::ExprPtr parsed = sql::parseCondition(text);
    return std::make_unique<CompiledFilter>(sql::bindCondition(*parsed, store));
}

}  // namespace dbf

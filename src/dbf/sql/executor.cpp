#include "executor.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "../errors.h"
#include "../table_store.h"
#include "evaluator.h"
#include "ordered_rows.h"
#include "predicate.h"
#include "sort.h"

namespace dbf::sql {
namespace {

// A join without a usable condition pairs every tuple with every row; it runs in blocks
// of about this many pairs, filtered block by block.
constexpr std::size_t kCrossBlock = 1 << 20;
// The most rows a join may give before the statement is refused: a join without a
// condition over the food table would otherwise fill the memory.
constexpr std::size_t kMaxJoinedRows = 50'000'000;

void applyAll(const std::vector<const Bound*>& filters, Sources& sources, TupleSet& tuples) {
    for (const Bound* f : filters) {
        if (tuples.size() == 0) return;
        applyCondition(*f, sources, tuples);
    }
}

void collectFields(const Bound& e, int table, std::vector<int>& fields) {
    if (e.isColumn() && e.table == table) fields.push_back(e.field);
    for (const auto& arg : e.args) collectFields(*arg, table, fields);
}

// A scan of a whole table decodes every field the statement names in one pass.
void decodeNamedFields(const BoundStatement& statement, int table, TableStore& store) {
    std::vector<int> fields;
    for (const auto& c : statement.columns) collectFields(*c.expr, table, fields);
    if (statement.where) collectFields(*statement.where, table, fields);
    for (const auto& k : statement.orderBy) collectFields(*k.expr, table, fields);
    store.decodeColumns(fields);
}

TupleSet drive(const BoundStatement& statement, const Plan& plan, Sources& sources) {
    TupleSet tuples;
    tuples.rows.resize(statement.tables.size());
    TableStore& store = sources.store(plan.driving);
    if (plan.lookupColumn) {
        auto index = store.equalityIndex(plan.lookupColumn->field);
        const auto found = index->find(plan.lookupKey);
        tuples.rows[static_cast<std::size_t>(plan.driving)] =
            std::make_shared<std::vector<std::uint32_t>>(found.begin(), found.end());
    } else {
        decodeNamedFields(statement, plan.driving, store);
        tuples.rows[static_cast<std::size_t>(plan.driving)] = store.liveRows();
    }
    applyAll(plan.drivingFilters, sources, tuples);
    return tuples;
}

void joinByIndex(const Plan::Join& join, Sources& sources, TupleSet& tuples) {
    auto index = sources.store(join.table).equalityIndex(join.inner->field);
    Evaluator eval(sources, tuples);
    const std::size_t n = tuples.size();
    std::vector<std::uint32_t> positions;
    auto inner = std::make_shared<std::vector<std::uint32_t>>();
    NumVec keys;
    for (std::size_t begin = 0; begin < n; begin += Evaluator::kChunk) {
        const std::size_t count = std::min(Evaluator::kChunk, n - begin);
        eval.number(*join.outer, begin, count, keys);
        for (std::size_t i = 0; i < count; ++i) {
            if (keys.nulls[i]) continue;
            for (const std::uint32_t r : index->find(keys.values[i])) {
                positions.push_back(static_cast<std::uint32_t>(begin + i));
                inner->push_back(r);
            }
        }
    }
    tuples.select(positions);
    tuples.rows[static_cast<std::size_t>(join.table)] = std::move(inner);
}

void joinAll(const Plan::Join& join, Sources& sources, TupleSet& tuples) {
    const auto innerRows = sources.store(join.table).liveRows();
    const std::size_t n = tuples.size();
    const std::size_t m = innerRows->size();
    const std::size_t block = std::max<std::size_t>(1, kCrossBlock / std::max<std::size_t>(m, 1));
    TupleSet out;
    out.rows.resize(tuples.rows.size());
    std::vector<std::vector<std::uint32_t>> collected(tuples.rows.size());
    std::size_t total = 0;
    for (std::size_t begin = 0; begin < n; begin += block) {
        const std::size_t count = std::min(block, n - begin);
        std::vector<std::uint32_t> positions;
        auto inner = std::make_shared<std::vector<std::uint32_t>>();
        positions.reserve(count * m);
        inner->reserve(count * m);
        for (std::size_t i = 0; i < count; ++i) {
            for (const std::uint32_t r : *innerRows) {
                positions.push_back(static_cast<std::uint32_t>(begin + i));
                inner->push_back(r);
            }
        }
        TupleSet part = tuples;
        part.select(positions);
        part.rows[static_cast<std::size_t>(join.table)] = std::move(inner);
        applyAll(join.filters, sources, part);
        total += part.size();
        if (total > kMaxJoinedRows)
            throw DbfError(
                "The statement would give more than 50,000,000 rows: join the tables "
                "with a condition (WHERE A.X = B.Y)");
        for (std::size_t t = 0; t < part.rows.size(); ++t)
            if (part.rows[t])
                collected[t].insert(collected[t].end(), part.rows[t]->begin(), part.rows[t]->end());
    }
    for (std::size_t t = 0; t < tuples.rows.size(); ++t)
        if (tuples.rows[t] || static_cast<int>(t) == join.table)
            tuples.rows[t] = std::make_shared<std::vector<std::uint32_t>>(std::move(collected[t]));
}

Value constantValue(const Bound& b) {
    if (b.isNull) return Value::null();
    if (b.type == ValueType::Text) return Value::string(b.text);
    return Value::real(b.number);
}

// Narrows [low, high] by one condition on the ordering field; false for another shape.
struct Interval {
    double low = -std::numeric_limits<double>::infinity();
    double high = std::numeric_limits<double>::infinity();
    bool lowOpen = false;
    bool highOpen = false;

    void atLeast(double v, bool open) {
        if (v > low || (v == low && open)) {
            low = v;
            lowOpen = open;
        }
    }
    void atMost(double v, bool open) {
        if (v < high || (v == high && open)) {
            high = v;
            highOpen = open;
        }
    }
    bool narrow(const Bound& c, const Bound& key) {
        const auto sameField = [&](const Bound& b) {
            return b.isColumn() && b.table == key.table && b.field == key.field;
        };
        const auto number = [](const Bound& b) {
            return b.isConstant() && !b.isNull && b.type == ValueType::Number;
        };
        if (c.kind == Bound::Kind::Between && !c.negated && sameField(*c.args[0]) &&
            number(*c.args[1]) && number(*c.args[2])) {
            atLeast(c.args[1]->number, false);
            atMost(c.args[2]->number, false);
            return true;
        }
        if (c.kind != Bound::Kind::Compare || c.compare == CompareOp::NotEqual) return false;
        CompareOp op = c.compare;
        double v = 0;
        if (sameField(*c.args[0]) && number(*c.args[1])) {
            v = c.args[1]->number;
        } else if (sameField(*c.args[1]) && number(*c.args[0])) {
            v = c.args[0]->number;
            op = op == CompareOp::Less           ? CompareOp::Greater
                 : op == CompareOp::LessEqual    ? CompareOp::GreaterEqual
                 : op == CompareOp::Greater      ? CompareOp::Less
                 : op == CompareOp::GreaterEqual ? CompareOp::LessEqual
                                                 : op;
        } else {
            return false;
        }
        switch (op) {
            case CompareOp::Equal:
                atLeast(v, false);
                atMost(v, false);
                break;
            case CompareOp::Less:
                atMost(v, true);
                break;
            case CompareOp::LessEqual:
                atMost(v, false);
                break;
            case CompareOp::Greater:
                atLeast(v, true);
                break;
            case CompareOp::GreaterEqual:
                atLeast(v, false);
                break;
            case CompareOp::NotEqual:
                return false;
        }
        return true;
    }
};

// One table ordered by one of its number fields, with no condition but ranges of that
// field (the rankings and the range search): a slice of the field's kept order. Null
// when the statement has another shape.
RowList readInOrder(const BoundStatement& statement, const Plan& plan) {
    if (statement.tables.size() != 1 || statement.orderBy.size() != 1 || plan.lookupColumn)
        return nullptr;
    const OrderKey& key = statement.orderBy[0];
    if (!key.expr->isColumn() || key.expr->type != ValueType::Number) return nullptr;
    Interval range;
    for (const Bound* c : plan.drivingFilters)
        if (!range.narrow(*c, *key.expr)) return nullptr;
    const auto order = orderedRows(statement.tables[0].store, key.expr->field);
    const std::vector<double>& keys = order->keys;
    const auto from = range.lowOpen ? std::upper_bound(keys.begin(), keys.end(), range.low)
                                    : std::lower_bound(keys.begin(), keys.end(), range.low);
    const auto to = range.highOpen ? std::lower_bound(keys.begin(), keys.end(), range.high)
                                   : std::upper_bound(keys.begin(), keys.end(), range.high);
    const std::size_t begin = static_cast<std::size_t>(from - keys.begin());
    const std::size_t end = std::max(begin, static_cast<std::size_t>(to - keys.begin()));
    const bool withEmpty = plan.drivingFilters.empty();  // a condition never holds for them
    const std::uint32_t* rows = order->rows.data() + order->emptyCount;
    auto out = std::make_shared<std::vector<std::uint32_t>>();
    out->reserve(end - begin + (withEmpty ? order->emptyCount : 0));
    if (!key.descending) {
        if (withEmpty)
            out->insert(out->end(), order->rows.begin(), order->rows.begin() + order->emptyCount);
        out->insert(out->end(), rows + begin, rows + end);
        return out;
    }
    // Descending: groups of equal values from the top, each group still in table order.
    for (std::size_t j = end; j > begin;) {
        std::size_t g = j - 1;
        while (g > begin && keys[g - 1] == keys[j - 1]) --g;
        out->insert(out->end(), rows + g, rows + j);
        j = g;
    }
    if (withEmpty)
        out->insert(out->end(), order->rows.begin(), order->rows.begin() + order->emptyCount);
    return out;
}

std::unique_ptr<ResultSet> aggregate(const BoundStatement& statement, Sources& sources,
                                     const TupleSet& tuples) {
    struct Accumulator {
        double sum = 0, low = 0, high = 0;
        std::size_t count = 0;
    };
    const std::size_t n = tuples.size();
    std::vector<Accumulator> acc(statement.columns.size());
    Evaluator eval(sources, tuples);
    NumVec v;
    TextVec texts;
    // Run by run, every item: the fields of one run are read once for all the sums.
    for (std::size_t begin = 0; begin < n; begin += Evaluator::kChunk) {
        const std::size_t k = std::min(Evaluator::kChunk, n - begin);
        for (std::size_t c = 0; c < statement.columns.size(); ++c) {
            const Bound& e = *statement.columns[c].expr;
            Accumulator& a = acc[c];
            if (e.isConstant()) continue;
            if (e.args.empty()) {  // COUNT(*)
                a.count += k;
            } else if (e.args[0]->type == ValueType::Text) {
                eval.text(*e.args[0], begin, k, false, texts);
                for (std::size_t i = 0; i < k; ++i) a.count += texts.nulls[i] ? 0 : 1;
            } else {
                eval.number(*e.args[0], begin, k, v);
                for (std::size_t i = 0; i < k; ++i) {
                    if (v.nulls[i]) continue;  // empty values are skipped
                    const double x = v.values[i];
                    if (a.count == 0 || x < a.low) a.low = x;
                    if (a.count == 0 || x > a.high) a.high = x;
                    a.sum += x;
                    ++a.count;
                }
            }
        }
    }
    std::vector<FieldInfo> infos;
    std::vector<ResultSet::Field> fields;
    for (std::size_t c = 0; c < statement.columns.size(); ++c) {
        const Bound& e = *statement.columns[c].expr;
        const Accumulator& a = acc[c];
        infos.push_back(statement.columns[c].info);
        Value result;
        if (e.isConstant()) {
            result = constantValue(e);
        } else if (e.aggregate == AggregateFn::Count) {
            result = Value::integer(static_cast<std::int64_t>(a.count));
        } else if (a.count > 0) {  // otherwise empty: no rows, or only empty values
            switch (e.aggregate) {
                // A sum past the largest double is no number, as other overflow is: empty.
                case AggregateFn::Sum:
                    if (std::isfinite(a.sum)) result = Value::real(a.sum);
                    break;
                case AggregateFn::Avg:
                    if (std::isfinite(a.sum))
                        result = Value::real(a.sum / static_cast<double>(a.count));
                    break;
                case AggregateFn::Min:
                    result = Value::real(a.low);
                    break;
                case AggregateFn::Max:
                    result = Value::real(a.high);
                    break;
                case AggregateFn::Count:
                    break;
            }
        }
        ResultSet::Field field;
        field.values.push_back(std::move(result));
        fields.push_back(std::move(field));
    }
    return std::make_unique<ResultSet>(std::move(infos), std::move(fields), 1);
}

constexpr std::size_t kGatherFrom = 4096;

std::shared_ptr<const Column> gathered(const Column& c, const std::vector<std::uint32_t>& rows) {
    auto out = std::make_shared<Column>();
    out->kind = c.kind;
    out->field = c.field;
    out->numbers.resize(rows.size());
    out->nulls.resize(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        out->numbers[i] = c.numbers[rows[i]];
        out->nulls[i] = c.nulls[rows[i]];
    }
    return out;
}

std::unique_ptr<ResultSet> project(const BoundStatement& statement, Sources& sources,
                                   const TupleSet& tuples) {
    std::vector<FieldInfo> infos;
    std::vector<ResultSet::Field> fields;
    const std::size_t n = tuples.size();
    std::unique_ptr<Evaluator> eval;
    for (const auto& col : statement.columns) {
        infos.push_back(col.info);
        ResultSet::Field field;
        const Bound& e = *col.expr;
        if (e.isColumn()) {
            const RowList& rows = tuples.rows[static_cast<std::size_t>(e.table)];
            // Values of a few rows are copied; larger results refer to the column.
            if (sources.columnar(e.table, e.field, n, 256)) {
                field.source = ResultSet::Field::Source::StoreColumn;
                field.column = sources.columnPtr(e.table, e.field);
                field.rows = rows;
                // Numbers of a large result in another order than the table's are
                // gathered in result order, once: walking the result then reads memory
                // in sequence instead of jumping through the column at every row.
                if (field.column->kind == Column::Kind::Number && n >= kGatherFrom &&
                    !std::is_sorted(rows->begin(), rows->end())) {
                    field.column = gathered(*field.column, *rows);
                    field.rows = nullptr;
                }
            } else {
                field.source = ResultSet::Field::Source::Values;
                field.values.reserve(n);
                TableStore& store = sources.store(e.table);
                for (const std::uint32_t r : *rows) field.values.push_back(store.value(r, e.field));
            }
        } else if (e.isConstant()) {
            field.source = ResultSet::Field::Source::Constant;
            field.constant = constantValue(e);
        } else {
            if (!eval) eval = std::make_unique<Evaluator>(sources, tuples);
            field.source = ResultSet::Field::Source::Numbers;
            field.numbers.reserve(n);
            field.nulls.reserve(n);
            NumVec v;
            for (std::size_t begin = 0; begin < n; begin += Evaluator::kChunk) {
                const std::size_t k = std::min(Evaluator::kChunk, n - begin);
                eval->number(e, begin, k, v);
                field.numbers.insert(field.numbers.end(), v.values.begin(), v.values.begin() + k);
                field.nulls.insert(field.nulls.end(), v.nulls.begin(), v.nulls.begin() + k);
            }
        }
        fields.push_back(std::move(field));
    }
    return std::make_unique<ResultSet>(std::move(infos), std::move(fields), n);
}

}  // namespace

std::unique_ptr<ResultSet> execute(const BoundStatement& statement, const Plan& plan) {
    std::vector<TableStore*> stores;
    for (const auto& t : statement.tables) {
        t.store->syncWithDisk();
        stores.push_back(t.store.get());
    }
    Sources sources(std::move(stores));
    if (!statement.aggregate) {
        if (auto rows = readInOrder(statement, plan)) {
            TupleSet tuples;
            tuples.rows.push_back(std::move(rows));
            return project(statement, sources, tuples);
        }
    }
    TupleSet tuples = drive(statement, plan, sources);
    for (const auto& join : plan.joins) {
        if (join.inner) {
            if (tuples.size() > 0)
                joinByIndex(join, sources, tuples);
            else
                tuples.rows[static_cast<std::size_t>(join.table)] =
                    std::make_shared<std::vector<std::uint32_t>>();
            applyAll(join.filters, sources, tuples);
        } else {
            joinAll(join, sources, tuples);
        }
    }
    if (statement.aggregate) return aggregate(statement, sources, tuples);
    sortTuples(statement.orderBy, sources, tuples);
    return project(statement, sources, tuples);
}

}  // namespace dbf::sql

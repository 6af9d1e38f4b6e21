#include "predicate.h"

#include <string.h>  // memmem

#include <algorithm>
#include <functional>

#include "evaluator.h"

namespace dbf::sql {
namespace {

CompareOp flipped(CompareOp op) {
    switch (op) {
        case CompareOp::Less:
            return CompareOp::Greater;
        case CompareOp::LessEqual:
            return CompareOp::GreaterEqual;
        case CompareOp::Greater:
            return CompareOp::Less;
        case CompareOp::GreaterEqual:
            return CompareOp::LessEqual;
        default:
            return op;
    }
}

std::size_t joinedTables(const TupleSet& tuples) {
    std::size_t joined = 0;
    for (const auto& r : tuples.rows) joined += r ? 1 : 0;
    return joined;
}

// Keeps the tuples at `positions` (ascending). A single table keeps its rows directly.
void keepPositions(TupleSet& tuples, int table, const std::vector<std::uint32_t>& positions) {
    const RowList& rows = tuples.rows[static_cast<std::size_t>(table)];
    if (positions.size() == rows->size()) return;
    if (joinedTables(tuples) > 1) {
        tuples.select(positions);
        return;
    }
    auto out = std::make_shared<std::vector<std::uint32_t>>();
    out->reserve(positions.size());
    for (const std::uint32_t p : positions) out->push_back((*rows)[p]);
    tuples.rows[static_cast<std::size_t>(table)] = std::move(out);
}

// Keeps the tuples whose row of `table` passes `keep(position, row)`. `keep` is asked
// twice per tuple (to count, then to copy), so it must be cheap; when every tuple passes,
// the row lists stay shared and nothing is allocated.
template <typename Keep>
void keepWhere(TupleSet& tuples, int table, Keep keep) {
    const RowList rowList = tuples.rows[static_cast<std::size_t>(table)];
    const std::uint32_t* rows = rowList->data();
    const std::size_t n = rowList->size();
    std::size_t count = 0;
    for (std::size_t i = 0; i < n; ++i) count += keep(i, rows[i]) ? 1 : 0;
    if (count == n) return;
    const bool single = joinedTables(tuples) == 1;
    auto out = std::make_shared<std::vector<std::uint32_t>>();
    out->reserve(count);
    for (std::size_t i = 0; i < n; ++i)
        if (keep(i, rows[i])) out->push_back(single ? rows[i] : static_cast<std::uint32_t>(i));
    if (single)
        tuples.rows[static_cast<std::size_t>(table)] = std::move(out);
    else
        tuples.select(*out);
}

// For tests that cost more than a load and a compare: asked once per tuple.
template <typename Test>
void keepWhereOnce(TupleSet& tuples, int table, Test test) {
    const std::vector<std::uint32_t>& rows = *tuples.rows[static_cast<std::size_t>(table)];
    std::vector<std::uint32_t> positions;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (test(rows[i])) positions.push_back(static_cast<std::uint32_t>(i));
    keepPositions(tuples, table, positions);
}

template <typename Test>
void keepNumbers(TupleSet& tuples, int table, const Column& c, Test test) {
    const double* values = c.numbers.data();
    const std::uint8_t* nulls = c.nulls.data();
    keepWhere(tuples, table,
              [&](std::size_t, std::uint32_t r) { return !nulls[r] && test(values[r]); });
}

void keepCompared(TupleSet& tuples, int table, const Column& c, CompareOp op, double k) {
    switch (op) {
        case CompareOp::Equal:
            keepNumbers(tuples, table, c, [k](double v) { return v == k; });
            break;
        case CompareOp::NotEqual:
            keepNumbers(tuples, table, c, [k](double v) { return v != k; });
            break;
        case CompareOp::Less:
            keepNumbers(tuples, table, c, [k](double v) { return v < k; });
            break;
        case CompareOp::LessEqual:
            keepNumbers(tuples, table, c, [k](double v) { return v <= k; });
            break;
        case CompareOp::Greater:
            keepNumbers(tuples, table, c, [k](double v) { return v > k; });
            break;
        case CompareOp::GreaterEqual:
            keepNumbers(tuples, table, c, [k](double v) { return v >= k; });
            break;
    }
}

// "%needle%" over rows in ascending order: one search through the column's whole text
// buffer, jumping from match to match, instead of one search per row.
void keepContaining(TupleSet& tuples, int table, const Column& folded, std::string_view needle,
                    bool negated) {
    const std::vector<std::uint32_t>& rows = *tuples.rows[static_cast<std::size_t>(table)];
    const std::uint32_t* offsets = folded.offsets.data();
    const char* buffer = folded.text.data();
    const std::size_t total = folded.text.size();
    const std::size_t m = needle.size();
    std::vector<std::uint32_t> hits;  // positions of the rows that hold the needle
    std::size_t pos = 0;
    std::size_t k = 0;
    while (k < rows.size()) {
        pos = std::max<std::size_t>(pos, offsets[rows[k]]);
        if (pos >= total) break;
        const void* found = memmem(buffer + pos, total - pos, needle.data(), m);
        if (!found) break;
        const auto at = static_cast<std::size_t>(static_cast<const char*>(found) - buffer);
        while (k < rows.size() && offsets[rows[k] + 1] < at + m) ++k;
        if (k == rows.size()) break;
        if (offsets[rows[k]] <= at) {  // inside row k
            hits.push_back(static_cast<std::uint32_t>(k));
            pos = offsets[rows[k] + 1];
            ++k;
        } else {  // across a row boundary, or in a row not asked about
            pos = at + 1;
        }
    }
    if (!negated) {
        keepPositions(tuples, table, hits);
        return;
    }
    std::vector<std::uint32_t> others;  // neither holding the needle nor empty
    std::size_t h = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (h < hits.size() && hits[h] == i) {
            ++h;
            continue;
        }
        if (offsets[rows[i]] != offsets[rows[i] + 1])
            others.push_back(static_cast<std::uint32_t>(i));
    }
    keepPositions(tuples, table, others);
}

bool numberColumnAndConstant(const Bound& e, const Bound*& column, const Bound*& constant,
                             bool& swapped) {
    const Bound& a = *e.args[0];
    const Bound& b = *e.args[1];
    swapped = false;
    if (a.isColumn() && a.type == ValueType::Number && b.isConstant() &&
        b.type == ValueType::Number) {
        column = &a;
        constant = &b;
        return true;
    }
    if (b.isColumn() && b.type == ValueType::Number && a.isConstant() &&
        a.type == ValueType::Number) {
        column = &b;
        constant = &a;
        swapped = true;
        return true;
    }
    return false;
}

// The tight loops; false when the condition has another shape.
bool applyFast(const Bound& e, Sources& sources, TupleSet& tuples) {
    if (e.kind == Bound::Kind::Compare && e.args[0]->type == ValueType::Number) {
        const Bound* column = nullptr;
        const Bound* constant = nullptr;
        bool swapped = false;
        if (!numberColumnAndConstant(e, column, constant, swapped)) return false;
        if (!sources.columnar(column->table, column->field, tuples.size())) return false;
        const CompareOp op = swapped ? flipped(e.compare) : e.compare;
        keepCompared(tuples, column->table, sources.column(column->table, column->field), op,
                     constant->number);
        return true;
    }
    if (e.args.empty()) return false;
    const Bound& subject = *e.args[0];
    if (!subject.isColumn() || !sources.columnar(subject.table, subject.field, tuples.size()))
        return false;
    if (e.kind == Bound::Kind::Between && subject.type == ValueType::Number &&
        e.args[1]->isConstant() && e.args[2]->isConstant()) {
        const double lo = e.args[1]->number;
        const double hi = e.args[2]->number;
        const Column& c = sources.column(subject.table, subject.field);
        if (e.negated)
            keepNumbers(tuples, subject.table, c,
                        [lo, hi](double v) { return !(v >= lo && v <= hi); });
        else
            keepNumbers(tuples, subject.table, c,
                        [lo, hi](double v) { return v >= lo && v <= hi; });
        return true;
    }
    if (e.kind == Bound::Kind::Like) {
        const Column& c = sources.folded(subject.table, subject.field);
        const auto& rows = *tuples.rows[static_cast<std::size_t>(subject.table)];
        // The scan walks the text once, so each row may stand in the tuples only once: after
        // a join a row repeats (one tuple per partner) and takes the row-by-row path.
        const bool eachRowOnce =
            std::adjacent_find(rows.begin(), rows.end(), std::greater_equal<>()) == rows.end();
        if (e.like->isSubstring() && eachRowOnce) {
            keepContaining(tuples, subject.table, c, e.like->needle(), e.negated);
            return true;
        }
        const LikePattern& like = *e.like;
        keepWhereOnce(tuples, subject.table, [&](std::uint32_t r) {
            const std::string_view text = c.textAt(r);
            return !c.isNull(r) && !text.empty() && like.matches(text) != e.negated;
        });
        return true;
    }
    if (e.kind == Bound::Kind::Compare && subject.type == ValueType::Text &&
        e.args[1]->isConstant() && e.args[1]->type == ValueType::Text) {
        const Column& c = sources.column(subject.table, subject.field);
        const std::string_view k = e.args[1]->text;
        const CompareOp op = e.compare;
        if (k.empty()) {
            keepPositions(tuples, subject.table, {});
            return true;
        }
        keepWhereOnce(tuples, subject.table, [&](std::uint32_t r) {
            const std::string_view text = c.textAt(r);
            return !c.isNull(r) && !text.empty() && compareHolds(op, text, k);
        });
        return true;
    }
    return false;
}

void applyEvaluated(const Bound& e, Sources& sources, TupleSet& tuples) {
    Evaluator eval(sources, tuples);
    const std::size_t n = tuples.size();
    std::vector<std::uint32_t> kept;
    std::vector<std::uint8_t> mask;
    for (std::size_t begin = 0; begin < n; begin += Evaluator::kChunk) {
        const std::size_t count = std::min(Evaluator::kChunk, n - begin);
        eval.condition(e, begin, count, mask);
        for (std::size_t i = 0; i < count; ++i)
            if (mask[i]) kept.push_back(static_cast<std::uint32_t>(begin + i));
    }
    if (kept.size() != n) tuples.select(kept);  // every tuple passing keeps the lists shared
}

}  // namespace

void splitConjuncts(const Bound& condition, std::vector<const Bound*>& out) {
    if (condition.kind == Bound::Kind::And) {
        for (const auto& arg : condition.args) splitConjuncts(*arg, out);
        return;
    }
    out.push_back(&condition);
}

unsigned tablesOf(const Bound& e) {
    unsigned set = e.isColumn() ? 1u << e.table : 0u;
    for (const auto& arg : e.args) set |= tablesOf(*arg);
    return set;
}

void applyCondition(const Bound& condition, Sources& sources, TupleSet& tuples) {
    if (tuples.size() == 0) return;
    if (condition.isConstant()) {
        if (condition.number == 0 || condition.isNull) tuples.select({});
        return;
    }
    if (applyFast(condition, sources, tuples)) return;
    applyEvaluated(condition, sources, tuples);
}

}  // namespace dbf::sql

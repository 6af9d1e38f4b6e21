#include "evaluator.h"

#include <cmath>

#include "../codepage1256.h"
#include "../number_text.h"
#include "../table_store.h"

namespace dbf::sql {
namespace {

void arithConstant(ArithOp op, double k, std::size_t n, NumVec& out) {
    double* a = out.values.data();
    std::uint8_t* nulls = out.nulls.data();
    switch (op) {
        case ArithOp::Add:
            for (std::size_t i = 0; i < n; ++i) a[i] += k;
            break;
        case ArithOp::Subtract:
            for (std::size_t i = 0; i < n; ++i) a[i] -= k;
            break;
        case ArithOp::Multiply:
            for (std::size_t i = 0; i < n; ++i) a[i] *= k;
            break;
        case ArithOp::Divide:
            if (k == 0) {  // division by zero gives an empty value
                std::fill_n(nulls, n, 1);
                return;
            }
            for (std::size_t i = 0; i < n; ++i) a[i] /= k;
            break;
    }
    for (std::size_t i = 0; i < n; ++i)
        if (!std::isfinite(a[i])) nulls[i] = 1;
}

}  // namespace

NumVec& Evaluator::acquire() {
    if (m_used == m_pool.size()) m_pool.push_back(std::make_unique<NumVec>());
    return *m_pool[m_used++];
}

void Evaluator::column(const Bound& e, std::size_t begin, std::size_t n, NumVec& out) {
    if (columnar(e)) {
        m_sources.numbers(e.table, e.field, rowsOf(e.table, begin), n, true, out.values.data(),
                          out.nulls.data());
        return;
    }
    if (begin != m_decodedBegin || n != m_decodedCount) {
        m_decoded.clear();
        m_decodedBegin = begin;
        m_decodedCount = n;
    }
    for (const Decoded& d : m_decoded) {
        if (d.table == e.table && d.field == e.field) {
            std::copy_n(d.values.values.begin(), n, out.values.begin());
            std::copy_n(d.values.nulls.begin(), n, out.nulls.begin());
            return;
        }
    }
    m_sources.numbers(e.table, e.field, rowsOf(e.table, begin), n, false, out.values.data(),
                      out.nulls.data());
    m_decoded.push_back({e.table, e.field, out});
}

Evaluator::Evaluator(Sources& sources, const TupleSet& tuples)
    : m_sources(sources), m_tuples(tuples) {}

void Evaluator::number(const Bound& e, std::size_t begin, std::size_t n, NumVec& out) {
    out.values.resize(n);
    out.nulls.resize(n);
    switch (e.kind) {
        case Bound::Kind::Constant:
            std::fill_n(out.values.begin(), n, e.number);
            std::fill_n(out.nulls.begin(), n, e.isNull ? 1 : 0);
            return;
        case Bound::Kind::Column:
            column(e, begin, n, out);
            return;
        case Bound::Kind::TextToNumber: {
            TextVec texts;
            text(*e.args[0], begin, n, false, texts);
            for (std::size_t i = 0; i < n; ++i) {
                const auto v = texts.nulls[i] ? std::nullopt : parseFloat(texts.views[i]);
                out.values[i] = v.value_or(0);
                out.nulls[i] = v ? 0 : 1;
            }
            return;
        }
        case Bound::Kind::Negate:
            number(*e.args[0], begin, n, out);
            for (std::size_t i = 0; i < n; ++i) out.values[i] = -out.values[i];
            return;
        case Bound::Kind::Arith: {
            if (e.args[1]->isConstant() && !e.args[1]->isNull) {  // N8*0.01: no array for 0.01
                number(*e.args[0], begin, n, out);
                arithConstant(e.arith, e.args[1]->number, n, out);
                return;
            }
            NumVec& right = acquire();
            number(*e.args[0], begin, n, out);
            number(*e.args[1], begin, n, right);
            double* a = out.values.data();
            const double* b = right.values.data();
            std::uint8_t* nulls = out.nulls.data();
            for (std::size_t i = 0; i < n; ++i) nulls[i] |= right.nulls[i];
            switch (e.arith) {
                case ArithOp::Add:
                    for (std::size_t i = 0; i < n; ++i) a[i] += b[i];
                    break;
                case ArithOp::Subtract:
                    for (std::size_t i = 0; i < n; ++i) a[i] -= b[i];
                    break;
                case ArithOp::Multiply:
                    for (std::size_t i = 0; i < n; ++i) a[i] *= b[i];
                    break;
                case ArithOp::Divide:
                    // Division by zero gives an empty value, never an error or infinity.
                    for (std::size_t i = 0; i < n; ++i) {
                        if (b[i] == 0)
                            nulls[i] = 1;
                        else
                            a[i] /= b[i];
                    }
                    break;
            }
            for (std::size_t i = 0; i < n; ++i)
                if (!std::isfinite(a[i])) nulls[i] = 1;  // an overflow is no number either
            release();
            return;
        }
        default:
            std::fill_n(out.nulls.begin(), n, 1);
            return;
    }
}

void Evaluator::text(const Bound& e, std::size_t begin, std::size_t n, bool folded, TextVec& out) {
    if (e.kind == Bound::Kind::Column) {
        m_sources.texts(e.table, e.field, rowsOf(e.table, begin), n, columnar(e), folded, out);
        return;
    }
    // A quoted text, the same in every row.
    out.storage.assign(1, e.text);
    if (folded) cp1256::foldForSearch(out.storage[0]);
    out.views.assign(n, std::string_view(out.storage[0]));
    out.nulls.assign(n, e.text.empty() ? 1 : 0);
}

void Evaluator::compareNumbers(const Bound& e, std::size_t begin, std::size_t n,
                               std::vector<std::uint8_t>& out) {
    NumVec a, b, c;
    number(*e.args[0], begin, n, a);
    number(*e.args[1], begin, n, b);
    if (e.kind == Bound::Kind::Between) {
        number(*e.args[2], begin, n, c);
        for (std::size_t i = 0; i < n; ++i) {
            const bool inside = a.values[i] >= b.values[i] && a.values[i] <= c.values[i];
            out[i] = !(a.nulls[i] | b.nulls[i] | c.nulls[i]) && inside != e.negated;
        }
        return;
    }
    for (std::size_t i = 0; i < n; ++i)
        out[i] = !(a.nulls[i] | b.nulls[i]) && compareHolds(e.compare, a.values[i], b.values[i]);
}

void Evaluator::compareTexts(const Bound& e, std::size_t begin, std::size_t n,
                             std::vector<std::uint8_t>& out) {
    TextVec a, b, c;
    text(*e.args[0], begin, n, false, a);
    text(*e.args[1], begin, n, false, b);
    if (e.kind == Bound::Kind::Between) {
        text(*e.args[2], begin, n, false, c);
        for (std::size_t i = 0; i < n; ++i) {
            const bool inside = a.views[i] >= b.views[i] && a.views[i] <= c.views[i];
            out[i] = !(a.nulls[i] | b.nulls[i] | c.nulls[i]) && inside != e.negated;
        }
        return;
    }
    for (std::size_t i = 0; i < n; ++i)
        out[i] = !(a.nulls[i] | b.nulls[i]) && compareHolds(e.compare, a.views[i], b.views[i]);
}

void Evaluator::nullTest(const Bound& e, std::size_t begin, std::size_t n,
                         std::vector<std::uint8_t>& out) {
    const Bound& operand = *e.args[0];
    if (operand.type == ValueType::Number) {
        NumVec v;
        number(operand, begin, n, v);
        for (std::size_t i = 0; i < n; ++i) out[i] = (v.nulls[i] != 0) != e.negated;
    } else if (operand.type == ValueType::Text) {
        TextVec v;
        text(operand, begin, n, false, v);
        for (std::size_t i = 0; i < n; ++i) out[i] = (v.nulls[i] != 0) != e.negated;
    } else {  // memo and blob fields
        const std::uint32_t* rows = rowsOf(operand.table, begin);
        const bool byColumn = columnar(operand);
        for (std::size_t i = 0; i < n; ++i) {
            const bool isNull =
                byColumn ? m_sources.column(operand.table, operand.field).isNull(rows[i])
                         : m_sources.store(operand.table).value(rows[i], operand.field).isNull();
            out[i] = isNull != e.negated;
        }
    }
}

void Evaluator::condition(const Bound& e, std::size_t begin, std::size_t n,
                          std::vector<std::uint8_t>& out) {
    out.resize(n);
    switch (e.kind) {
        case Bound::Kind::Constant:
            std::fill_n(out.begin(), n, e.number != 0 && !e.isNull ? 1 : 0);
            return;
        case Bound::Kind::Compare:
        case Bound::Kind::Between:
            if (e.args[0]->type == ValueType::Number)
                compareNumbers(e, begin, n, out);
            else
                compareTexts(e, begin, n, out);
            return;
        case Bound::Kind::Like: {
            TextVec v;
            text(*e.args[0], begin, n, true, v);
            for (std::size_t i = 0; i < n; ++i)
                out[i] = !v.nulls[i] && e.like->matches(v.views[i]) != e.negated;
            return;
        }
        case Bound::Kind::IsNull:
            nullTest(e, begin, n, out);
            return;
        case Bound::Kind::And:
        case Bound::Kind::Or: {
            std::vector<std::uint8_t> right(n);
            condition(*e.args[0], begin, n, out);
            condition(*e.args[1], begin, n, right);
            if (e.kind == Bound::Kind::And)
                for (std::size_t i = 0; i < n; ++i) out[i] &= right[i];
            else
                for (std::size_t i = 0; i < n; ++i) out[i] |= right[i];
            return;
        }
        case Bound::Kind::Not:
            condition(*e.args[0], begin, n, out);
            for (std::size_t i = 0; i < n; ++i) out[i] = !out[i];
            return;
        default:
            std::fill_n(out.begin(), n, 0);
            return;
    }
}

}  // namespace dbf::sql

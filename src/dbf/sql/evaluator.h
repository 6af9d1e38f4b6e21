#pragma once
// Evaluates bound expressions over runs of tuples at a time, column-wise: every node
// yields an array of values (and null flags) for the whole run.
#include <cstdint>
#include <memory>
#include <vector>

#include "bound.h"
#include "sources.h"
#include "tuple_set.h"

namespace dbf::sql {

struct NumVec {
    std::vector<double> values;
    std::vector<std::uint8_t> nulls;
};

class Evaluator {
  public:
    static constexpr std::size_t kChunk = 1024;

    // Reads the fields of `tuples`, through decoded columns or record by record as the
    // sources decide from the number of tuples.
    Evaluator(Sources& sources, const TupleSet& tuples);

    // Values of a number expression for tuples [begin, begin + n).
    void number(const Bound& e, std::size_t begin, std::size_t n, NumVec& out);
    // 1 where a condition holds. Comparisons with an empty value do not hold.
    void condition(const Bound& e, std::size_t begin, std::size_t n,
                   std::vector<std::uint8_t>& out);

    // Texts of a column or a quoted text; `folded` for search.
    void text(const Bound& e, std::size_t begin, std::size_t n, bool folded, TextVec& out);

  private:
    void compareNumbers(const Bound& e, std::size_t begin, std::size_t n,
                        std::vector<std::uint8_t>& out);
    void compareTexts(const Bound& e, std::size_t begin, std::size_t n,
                      std::vector<std::uint8_t>& out);
    void nullTest(const Bound& e, std::size_t begin, std::size_t n, std::vector<std::uint8_t>& out);
    void column(const Bound& e, std::size_t begin, std::size_t n, NumVec& out);
    const std::uint32_t* rowsOf(int table, std::size_t begin) const {
        return m_tuples.rows[static_cast<std::size_t>(table)]->data() + begin;
    }
    // Temporaries of nested nodes, reused from expression to expression (113 sums would
    // otherwise allocate thousands of small arrays).
    NumVec& acquire();
    void release() { --m_used; }

    // Fields read record by record for the current run of tuples: a field that several
    // expressions use (the weight in every sum) is decoded once.
    struct Decoded {
        int table;
        int field;
        NumVec values;
    };

    Sources& m_sources;
    const TupleSet& m_tuples;
    bool columnar(const Bound& column) const {
        return m_sources.columnar(column.table, column.field, m_tuples.size());
    }
    std::vector<std::unique_ptr<NumVec>> m_pool;
    std::size_t m_used = 0;
    std::size_t m_decodedBegin = SIZE_MAX;
    std::size_t m_decodedCount = 0;
    std::vector<Decoded> m_decoded;
};

// Whether `a op b` holds (for three-way comparison results or numbers).
template <typename T>
inline bool compareHolds(CompareOp op, const T& a, const T& b) {
    switch (op) {
        case CompareOp::Equal:
            return a == b;
        case CompareOp::NotEqual:
            return a != b;
        case CompareOp::Less:
            return a < b;
        case CompareOp::LessEqual:
            return a <= b;
        case CompareOp::Greater:
            return a > b;
        case CompareOp::GreaterEqual:
            return a >= b;
    }
    return false;
}

}  // namespace dbf::sql

#pragma once
// Evaluates bound expressions over runs of tuples at a time, column-wise: every node
// yields an array of values (and null flags) for the whole run.
#include <cstdint>
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

    // Reads the fields of `tuples`; whether through decoded columns is decided once for
    // each table from the number of tuples.
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
    const std::uint32_t* rowsOf(int table, std::size_t begin) const {
        return m_tuples.rows[static_cast<std::size_t>(table)]->data() + begin;
    }

    Sources& m_sources;
    const TupleSet& m_tuples;
    std::vector<bool> m_columnar;
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

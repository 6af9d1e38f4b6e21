// The equality index behind `code = n` lookups and joins: dense whole-number codes and
// any other keys give the same answers.
#include <gtest/gtest.h>

#include <cmath>

#include "dbf/column.h"

namespace {

dbf::Column numbers(const std::vector<double>& values) {
    dbf::Column c;
    c.kind = dbf::Column::Kind::Number;
    for (const double v : values) {
        c.nulls.push_back(std::isnan(v) ? 1 : 0);
        c.numbers.push_back(std::isnan(v) ? 0 : v);
    }
    return c;
}

std::vector<std::uint32_t> found(const dbf::EqualityIndex& index, double key) {
    const auto rows = index.find(key);
    return {rows.begin(), rows.end()};
}

TEST(EqualityIndex, FindsEveryRowOfAKeyInTableOrder) {
    const double null = std::nan("");
    struct Case {
        const char* what;
        std::vector<double> keys;
    } cases[] = {
        {"dense codes", {3, 1, 3, null, 2, 3, 7}},
        {"sparse and fractional keys", {3, 1, 3, null, 2.5, 3, 1e12}},
    };
    for (const auto& c : cases) {
        const auto column = numbers(c.keys);
        // Row 5 is deleted: it is not among the live rows.
        const dbf::EqualityIndex index(column, {0, 1, 2, 3, 4, 6});
        EXPECT_EQ(found(index, 3), (std::vector<std::uint32_t>{0, 2})) << c.what;
        EXPECT_EQ(found(index, 1), (std::vector<std::uint32_t>{1})) << c.what;
        EXPECT_TRUE(found(index, 4).empty()) << c.what;
        EXPECT_TRUE(found(index, 3.5).empty()) << c.what;
        EXPECT_TRUE(found(index, -1).empty()) << c.what;
        EXPECT_TRUE(found(index, 0).empty()) << c.what;  // the null is no zero
        EXPECT_EQ(found(index, c.keys[6]), (std::vector<std::uint32_t>{6})) << c.what;
    }
    const dbf::EqualityIndex empty(numbers({}), {});
    EXPECT_TRUE(found(empty, 1).empty());
}

}  // namespace

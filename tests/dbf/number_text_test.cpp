#include "dbf/number_text.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatGeneral, ShortestTextUpToFifteenDigits) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {2.5, "2.5"},         {250, "250"},       {0, "0"},
        {-3.25, "-3.25"},     {0.1 + 0.2, "0.3"}, {1.0 / 3, "0.333333333333333"},
        {0.00001, "0.00001"}, {0.000001, "1E-6"}, {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},       {1.5e20, "1.5E20"}, {100.125, "100.125"},
    };
    for (const auto& c : cases) EXPECT_EQ(dbf::formatGeneral(c.value), c.text) << c.value;
}

TEST(ParseNumbers, WholeTextOnly) {
    EXPECT_EQ(dbf::parseInteger(" 42 "), 42);
    EXPECT_EQ(dbf::parseInteger("-7"), -7);
    EXPECT_FALSE(dbf::parseInteger("4x"));
    EXPECT_FALSE(dbf::parseInteger(""));
    EXPECT_FALSE(dbf::parseInteger("2.5"));
    EXPECT_DOUBLE_EQ(*dbf::parseFloat("2.5"), 2.5);
    EXPECT_DOUBLE_EQ(*dbf::parseFloat(" .5"), 0.5);
    EXPECT_FALSE(dbf::parseFloat("abc"));
    EXPECT_FALSE(dbf::parseFloat("1.2.3"));
}

}  // namespace

// Filter texts of tables: every form the program writes, the general grammar around
// them, and the errors. A text field compared with a number reads its trimmed text as a
// number (text that is no number, or empty, does not match); a number field compared
// with a quoted text needs a text that is a number. Comparisons with an empty value do
// not hold, and NOT of such a comparison does.
#include "dbf/filter.h"

#include "dbf/errors.h"
#include "dbf/table_store.h"
#include "fixture.h"

namespace dbf::testing {
namespace {

using Rows = std::vector<std::uint32_t>;

class FilterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        makeTable(dir.path(), "RECAL.DBF",
                  {{"R1", 'N', 6},
                   {"R6", 'C', 10},
                   {"GHAZ2", 'C', 12},
                   {"D1", 'N', 4},
                   {"D2", 'N', 4},
                   {"D3", 'N', 4},
                   {"N45", 'N', 8, 2}},
                  {
                      {I(7), S("24/3/1"), S("Breakfast"), I(2), I(0), I(1), F(1.5)},
                      {I(7), S("24/3/2"), S("Lunch"), I(2), I(0), I(2), Null()},
                      {I(0), S("0"), S("it's"), I(2), I(1), I(1), F(0)},
                      {I(0), S(""), S("breakfast"), I(1), I(0), I(1), F(-2)},
                      {Null(), S("x1"), S("Dinner"), I(2), I(0), I(1), F(3)},
                      {I(3), S(" 0 "), S("Snack"), I(3), I(0), I(0), F(10)},
                      {I(7), S("24/3/1"), S("Breakfast"), I(2), I(0), I(1), F(1.5)},
                  });
        store = TableStore::open(dir.path(), "RECAL.DBF");
        store->markDeleted(6);
    }
    Rows select(const std::string& text, const Rows* candidates = nullptr) {
        const auto filter = compileFilter(text, *store);
        return filter->select(*store, candidates ? *candidates : *store->liveRows());
    }
    std::string errorOf(const std::string& text) {
        try {
            compileFilter(text, *store);
        } catch (const DbfError& e) {
            return e.what();
        }
        return "no error";
    }

    TempDir dir;
    std::shared_ptr<TableStore> store;
};

TEST_F(FilterTest, FormsAndGrammarSelectTheRightRows) {
    const struct {
        const char* text;
        Rows rows;
    } cases[] = {
        // The forms the program writes.
        {"R1 = 7", {0, 1}},
        {"R1 = 0 and R6 = 0", {2}},
        {"R1 = 7 and R6 = '24/3/1'", {0}},
        {"GHAZ2 = 'Breakfast'", {0}},
        {"GHAZ2 = 'it''s'", {2}},
        {"D1 = 2 and D2 = 0 and D3 = 1", {0, 4}},
        {"D1 = 2 and D2 = 0", {0, 1, 4}},
        // A text field against a number: its trimmed text read as a number.
        {"R6 = 0", {2, 5}},
        {"R6 > 20", {}},
        // A number field against a quoted number.
        {"N45 = '1.5'", {0}},
        // Texts: exact, case-sensitive, trailing blanks of the quoted text ignored, ordered by
        // bytes.
        {"GHAZ2 = 'Breakfast '", {0}},
        {"GHAZ2 <> 'Breakfast'", {1, 2, 3, 4, 5}},
        {"R6 > '24/3/1'", {1, 4}},
        // The general grammar; keywords in any case.
        {"R1 = 7 or D1 = 3", {0, 1, 5}},
        {"not R1 = 7", {2, 3, 4, 5}},
        {"(D1 = 2 OR d1 = 1) And NOT (D3 = 1)", {1}},
        {"N45 > 0", {0, 4, 5}},
        {"N45 >= 0", {0, 2, 4, 5}},
        {"N45 < 0", {3}},
        {"N45 <= 0", {2, 3}},
        {"N45 <> 0", {0, 3, 4, 5}},
        {"N45 = -2", {3}},
        {"R1 = 0", {2, 3}},
        {"N45 between 0 and 3", {0, 2, 4}},
    };
    for (const auto& c : cases) EXPECT_EQ(select(c.text), c.rows) << c.text;
}

TEST_F(FilterTest, KeepsOnlyTheCandidatesItIsGiven) {
    const Rows some = {1, 2, 3};
    EXPECT_EQ(select("R1 = 7", &some), Rows({1}));  // answered by the equality index
    EXPECT_EQ(select("R1 = 0 and R6 = 0", &some), Rows({2}));
    const Rows others = {0, 3};
    EXPECT_EQ(select("N45 > -5", &others), Rows({0, 3}));
    EXPECT_EQ(select("R1 = 7", &others), Rows({0}));
}

TEST_F(FilterTest, ErrorsNameTheFieldOrTheTokenAndItsPosition) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"R1 = 'abc'", "'abc' is not a number and cannot be compared with a number (position 6)"},
        {"R9 = 1", "Field 'R9' not found (position 1)"},
        {"R1 = ", "Syntax error at position 6: unexpected end of text, expected an expression"},
        {"R1 = 7 and",
         "Syntax error at position 11: unexpected end of text, expected an expression"},
        {"R1 = 7 R6 = 0", "Syntax error at position 8: unexpected 'R6'"},
        {"GHAZ2 = 'Breakfast", "Syntax error at position 9: the quote ' is not closed"},
        {"R1 = 7 && R6 = 0", "Syntax error at position 8: unexpected character '&'"},
        {"R1", "A condition is expected here (position 1)"},
        {"", "Syntax error at position 1: unexpected end of text, expected an expression"},
    };
    for (const auto& c : cases) EXPECT_EQ(errorOf(c.text), c.error) << c.text;
}

// In a large table a few candidates are read record by record rather than through the
// decoded columns; the answers must not change.
TEST(FilterOnFewRowsOfALargeTable, ReadsRecordsWithTheSameMeaning) {
    TempDir dir;
    std::vector<Row> rows;
    for (int r = 0; r < 400; ++r)
        rows.push_back(
            {I(r % 10), r % 7 == 0 ? S("") : S(std::to_string(r)), r % 3 ? F(r) : Null()});
    makeTable(dir.path(), "BIG.DBF", {{"R1", 'N', 4}, {"R6", 'C', 10}, {"N45", 'N', 8, 1}}, rows);
    auto store = TableStore::open(dir.path(), "BIG");
    const std::vector<std::uint32_t> few = {5, 14, 15, 37, 42};
    const auto select = [&](const char* text) {
        return compileFilter(text, *store)->select(*store, few);
    };
    EXPECT_EQ(select("R6 = 15"), Rows({15}));
    EXPECT_EQ(select("R6 = '37' or R1 = 5"), Rows({5, 15, 37}));
    EXPECT_EQ(select("R6 > 0"), Rows({5, 15, 37}));  // 14 and 42 are empty
    EXPECT_EQ(select("N45 > 10"), Rows({14, 37}));   // 15 and 42 are empty
    EXPECT_EQ(select("not N45 > 10"), Rows({5, 15, 42}));
}

}  // namespace
}  // namespace dbf::testing

// The halvora-sql command on a small data directory: CSV of statements and filter
// texts, and bad input reported with exit status 2.
#include "sql_tool.h"

#include <gtest/gtest.h>

#include <sstream>

#include "dbf/codepage1256.h"
#include "dbf/fixture.h"

namespace dbf::testing {
namespace {

using halvora::sqltool::csvField;

// UTF-8 text as it comes back from a table: Persian yeh is stored as Arabic yeh.
std::string stored(const std::string& utf8) { return cp1256::toUtf8(cp1256::fromUtf8(utf8)); }

class SqlToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        makeTable(dir.path(), "FOODS.DBF",
                  {{"N1", 'N', 6}, {"N2", 'C', 20}, {"N3", 'C', 20}, {"N45", 'N', 8, 2}},
                  {{I(1), S("Apple"), S(cp1256::fromUtf8("سیب")), F(2.5)},
                   {I(2), S("Tea, \"hot\""), S(""), Null()},
                   {I(3), S("  Bread"), S(cp1256::fromUtf8("نان")), F(250)}});
    }
    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        args.insert(args.begin(), dir.path().string());
        return halvora::sqltool::run(args, out, err);
    }

    TempDir dir;
    std::ostringstream out, err;
};

TEST_F(SqlToolTest, StatementRowsAsCsv) {
    ASSERT_EQ(run({"SELECT N1, N2, N3, N45, N45 * 2 FROM foods ORDER BY N45 DESC"}), 0)
        << err.str();
    EXPECT_EQ(out.str(),
              "N1,N2,N3,N45,N45 * 2\n"
              "3,\"  Bread\",نان,250,500\n"
              "1,Apple," +
                  stored("سیب") +
                  ",2.5,5\n"
                  "2,\"Tea, \"\"hot\"\"\",,,\n");
    EXPECT_EQ(err.str(), "");
}

TEST_F(SqlToolTest, ARowOfOneEmptyFieldIsNoBlankLine) {
    ASSERT_EQ(run({"SELECT N45 FROM foods"}), 0) << err.str();
    EXPECT_EQ(out.str(), "N45\n2.5\n\"\"\n250\n");  // Tea has no N45
}

TEST_F(SqlToolTest, SeveralArgumentsAreTheLinesOfOneStatement) {
    ASSERT_EQ(run({"SELECT SUM(N45)", "FROM FOODS.DBF", "WHERE N1 > 1"}), 0) << err.str();
    EXPECT_EQ(out.str(), "SUM(N45)\n250\n");
}

TEST_F(SqlToolTest, FilterRowsWithAllFields) {
    ASSERT_EQ(run({"--filter", "Foods.dbf", "N1 = 3 or N2 = 'Apple'"}), 0) << err.str();
    EXPECT_EQ(out.str(),
              "N1,N2,N3,N45\n1,Apple," + stored("سیب") + ",2.5\n3,\"  Bread\",نان,250\n");
}

TEST_F(SqlToolTest, BadInputGivesItsErrorAndStatusTwo) {
    EXPECT_EQ(run({"SELECT N1 FROM FOODX.DBF"}), 2);
    EXPECT_NE(err.str().find("Table does not exist"), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "");

    EXPECT_EQ(run({"SELECT N1 FROM FOODS WHERE N3 = سیب"}), 2);
    EXPECT_EQ(err.str(), "Field '" + stored("سیب") + "' not found (position 33)\n");  // in UTF-8

    EXPECT_EQ(run({"--filter", "FOODS", "N1 = "}), 2);
    EXPECT_EQ(err.str(),
              "Syntax error at position 6: unexpected end of text, expected an expression\n");

    EXPECT_EQ(run({"--filter", "FOODS"}), 2);
    EXPECT_NE(err.str().find("Usage:"), std::string::npos);

    std::ostringstream o, e;
    EXPECT_EQ(halvora::sqltool::run({"/nonexistent/halvora", "SELECT N1 FROM FOODS"}, o, e), 2);
    EXPECT_EQ(e.str(), "Not a directory: /nonexistent/halvora\n");
    EXPECT_EQ(halvora::sqltool::run({}, o, e), 2);
}

// Table files named in Farsi, in a directory named in Farsi: looked up as the file system
// spells them (UTF-8), with the Persian or the Arabic yeh, and named so in errors.
TEST(SqlToolFarsiNames, TablesAreFoundAndErrorsReadable) {
    TempDir root;
    const std::filesystem::path dir = root.path() / "داده";
    std::filesystem::create_directories(dir);
    makeTable(dir, "غذا.DBF", {{"N1", 'N', 4}}, {{I(7)}});
    makeTable(dir, "سیب.dbf", {{"N1", 'N', 4}}, {{I(8)}});
    std::ostringstream out, err;
    for (const auto& [statement, value] :
         std::vector<std::pair<std::string, std::string>>{{"SELECT N1 FROM غذا", "7"},
                                                          {"SELECT N1 FROM سیب", "8"},
                                                          {"SELECT N1 FROM سيب", "8"}}) {
        out.str("");
        err.str("");
        ASSERT_EQ(halvora::sqltool::run({dir.string(), statement}, out, err), 0)
            << statement << ": " << err.str();
        EXPECT_EQ(out.str(), "N1\n" + value + "\n");
    }
    err.str("");
    EXPECT_EQ(halvora::sqltool::run({dir.string(), "SELECT N1 FROM نان"}, out, err), 2);
    EXPECT_EQ(err.str(), "Table does not exist: " + (dir / "نان").string() + "\n");
}

TEST_F(SqlToolTest, HelpExplainsBothForms) {
    std::ostringstream o, e;
    EXPECT_EQ(halvora::sqltool::run({"--help"}, o, e), 0);
    EXPECT_NE(o.str().find("DATA_DIR 'STATEMENT'"), std::string::npos);
    EXPECT_NE(o.str().find("--filter TABLE 'FILTER TEXT'"), std::string::npos);
}

TEST(CsvField, QuotesWhereCsvNeedsIt) {
    const struct {
        const char* text;
        const char* field;
    } cases[] = {
        {"plain", "plain"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\r", "\"cr\r\""},
        {" lead", "\" lead\""},
        {"trail ", "\"trail \""},
        {"in side", "in side"},
    };
    for (const auto& c : cases) EXPECT_EQ(csvField(c.text), c.field) << c.text;
}

}  // namespace
}  // namespace dbf::testing

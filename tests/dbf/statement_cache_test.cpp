// A statement answered from the statement cache with other numbers must give exactly
// what parsing it afresh gives: rows, field names and errors.
#include "dbf/sql/statement_cache.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "dbf/errors.h"
#include "dbf/query.h"
#include "dbf/sql/prepared_statement.h"
#include "dbf/sql/result_set.h"
#include "fixture.h"

namespace dbf::testing {
namespace {

using sql::StatementCache;

std::string show(const Value& v) {
    if (v.isNull()) return "NULL";
    if (v.isText()) return v.bytes();
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", v.asFloat());
    return buffer;
}

// The field names and rows of a result, or the error it raised.
std::vector<std::string> dump(const sql::ResultSet& r) {
    std::vector<std::string> out;
    std::string header;
    for (const auto& f : r.fields()) header += f.name + ":" + std::to_string(int(f.type)) + "|";
    out.push_back(header);
    for (std::size_t row = 0; row < r.rowCount(); ++row) {
        std::string line;
        for (int f = 0; f < static_cast<int>(r.fields().size()); ++f)
            line += show(r.value(row, f)) + "|";
        out.push_back(line);
    }
    return out;
}

std::vector<std::string> throughQuery(Query& q, const std::string& text) {
    try {
        q.setSql({text});
        q.open();
        return dump(*q.result());
    } catch (const DbfError& e) {
        return {std::string("error: ") + e.what()};
    }
}

std::vector<std::string> fresh(const std::filesystem::path& dir, const std::string& text) {
    try {
        return dump(*sql::PreparedStatement::prepare(text, dir)->execute());
    } catch (const DbfError& e) {
        return {std::string("error: ") + e.what()};
    }
}

class StatementCacheTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StatementCache::clear();
        makeTable(dir.path(), "FOODS.DBF",
                  {{"N1", 'N', 6, 0}, {"N2", 'C', 20, 0}, {"N3", 'C', 8, 0}, {"N8", 'N', 10, 3}},
                  {{I(1), S("Milk"), S("12"), F(60)},
                   {I(2), S("Bread"), S("-3"), F(250)},
                   {I(3), S("Oil"), S(""), Null()},
                   {I(12), S("Rice 12%"), S("7.5"), F(-130)},
                   {I(-4), S("Milk bread"), S("x"), F(0.5)}});
        makeTable(dir.path(), "CONTENTS.DBF",
                  {{"CON1", 'N', 6, 0}, {"CON2", 'N', 6, 0}, {"CON4", 'N', 10, 3}},
                  {{I(7), I(1), F(200)},
                   {I(7), I(2), F(50)},
                   {I(7), I(3), Null()},
                   {I(8), I(12), F(10)},
                   {I(-1), I(-4), F(3)}});
        // Held open as the main form holds its tables: the cache keeps no table alive.
        held = {TableStore::open(dir.path(), "FOODS.DBF"),
                TableStore::open(dir.path(), "CONTENTS")};
        query.setDirectory(dir.path());
    }

    TempDir dir;
    std::vector<std::shared_ptr<TableStore>> held;
    Query query;
};

// Each case is one statement shape with several sets of numbers, run one after the other
// through one query; `hits` is how many of them come from the cache (a minus sign is a
// token of its own, so "-5" is of another shape than "5").
struct Shape {
    const char* title;
    std::vector<std::string> texts;
    std::size_t hits;
};

TEST_F(StatementCacheTest, OtherNumbersGiveTheRowsOfAFreshParse) {
    const std::vector<Shape> shapes = {
        {"listing",
         {"SELECT N1,N2 FROM FOODS.DBF WHERE N1>0", "SELECT N1,N2 FROM FOODS.DBF WHERE N1>2",
          "SELECT N1,N2 FROM FOODS.DBF WHERE N1>-5"},
         1},
        {"negative numbers",
         {"SELECT N1 FROM FOODS WHERE N1 = -4", "SELECT N1 FROM FOODS WHERE N1 = -1",
          "SELECT N1 FROM FOODS WHERE N1 = - -2", "SELECT N1 FROM FOODS WHERE N1 = -12"},
         2},
        {"between",
         {"SELECT N1 FROM FOODS WHERE N8 BETWEEN 0 AND 100 ORDER BY N1 DESC",
          "SELECT N1 FROM FOODS WHERE N8 BETWEEN 0.5 AND 1e3 ORDER BY N1 DESC",
          "SELECT N1 FROM FOODS WHERE N8 BETWEEN -200 AND 0.5 ORDER BY N1 DESC",
          "SELECT N1 FROM FOODS WHERE N8 BETWEEN -300 AND 0 ORDER BY N1 DESC",
          "SELECT N1 FROM FOODS WHERE N8 NOT BETWEEN 1 AND 1e3 ORDER BY N1 DESC",
          "SELECT N1 FROM FOODS WHERE N8 NOT BETWEEN 0 AND 100 ORDER BY N1 DESC"},
         3},
        {"a number against a text field",
         {"SELECT N1 FROM FOODS WHERE N3 = 12", "SELECT N1 FROM FOODS WHERE N3 = 7.5",
          "SELECT N1 FROM FOODS WHERE N3 = -3", "SELECT N1 FROM FOODS WHERE N3 = -12",
          "SELECT N1 FROM FOODS WHERE 7.5 < N3", "SELECT N1 FROM FOODS WHERE 12 < N3"},
         3},
        {"like with a number beside it",
         {"SELECT N1 FROM FOODS WHERE N2 LIKE '%12%' AND N1 > 0",
          "SELECT N1 FROM FOODS WHERE N2 LIKE '%12%' AND N1 > 20",
          "SELECT N1 FROM FOODS WHERE N2 LIKE '%milk%' AND N1 > 10"},
         1},
        {"recipe sums with a divisor",
         {"SELECT SUM((N8*CON4*0.01)/2.5),SUM(CON4) FROM CONTENTS.DBF A, FOODS.DBF B WHERE CON2 = "
          "N1 AND CON1=7",
          "SELECT SUM((N8*CON4*0.01)/4),SUM(CON4) FROM CONTENTS.DBF A, FOODS.DBF B WHERE CON2 = N1 "
          "AND CON1=8",
          "SELECT SUM((N8*CON4*0.01)/0),SUM(CON4) FROM CONTENTS.DBF A, FOODS.DBF B WHERE CON2 = N1 "
          "AND CON1=-1",
          "SELECT SUM((N8*CON4*0.01)/1),SUM(CON4) FROM CONTENTS.DBF A, FOODS.DBF B WHERE CON2 = N1 "
          "AND CON1=99"},
         2},
        {"aliases and expression items",
         {"SELECT N1*2 AS D, N8+1, 5 FROM FOODS WHERE N1 < 3 ORDER BY D",
          "SELECT N1*3 AS D, N8+0.5, 7 FROM FOODS WHERE N1 < 13 ORDER BY D",
          "SELECT N1*-1 AS D, N8+-1, -7 FROM FOODS WHERE N1 < 0 ORDER BY D"},
         1},
        {"folded arithmetic",
         {"SELECT N1 FROM FOODS WHERE N1 = 2*3-4", "SELECT N1 FROM FOODS WHERE N1 = 3*4-0",
          "SELECT N1 FROM FOODS WHERE N1 = 1/0", "SELECT N1 FROM FOODS WHERE N1 = 6*2-0"},
         0},
        {"order by position",
         {"SELECT N1, N8 FROM FOODS ORDER BY 2", "SELECT N1, N8 FROM FOODS ORDER BY 1",
          "SELECT N1, N8 FROM FOODS ORDER BY 3", "SELECT N1, N8 FROM FOODS ORDER BY 2"},
         0},
        {"or, not, is null",
         {"SELECT N1 FROM FOODS WHERE NOT (N1 = 1 OR N8 > 100) AND N8 IS NOT NULL",
          "SELECT N1 FROM FOODS WHERE NOT (N1 = 12 OR N8 > 0) AND N8 IS NOT NULL",
          "SELECT N1 FROM FOODS WHERE NOT (N1 = 4 OR N8 > 1000) AND N8 IS NOT NULL"},
         2},
        {"count and min/max",
         {"SELECT COUNT(*), MIN(N8*2), MAX(N8), AVG(N1) FROM FOODS WHERE N1 <= 2",
          "SELECT COUNT(*), MIN(N8*-2), MAX(N8), AVG(N1) FROM FOODS WHERE N1 <= 12",
          "SELECT COUNT(*), MIN(N8*0), MAX(N8), AVG(N1) FROM FOODS WHERE N1 <= 100"},
         1},
    };
    for (const auto& shape : shapes) {
        SCOPED_TRACE(shape.title);
        const auto before = StatementCache::counts().hits;
        for (const auto& text : shape.texts) {
            SCOPED_TRACE(text);
            EXPECT_EQ(throughQuery(query, text), fresh(dir.path(), text));
        }
        EXPECT_EQ(StatementCache::counts().hits - before, shape.hits);
    }
}

TEST_F(StatementCacheTest, ABlankOrCaseChangeOfTheItemKeepsItsName) {
    // Same tokens, so the same entry; the column is named by the text as written now.
    EXPECT_EQ(throughQuery(query, "SELECT SUM(N8 / 2) FROM FOODS"),
              fresh(dir.path(), "SELECT SUM(N8 / 2) FROM FOODS"));
    EXPECT_EQ(throughQuery(query, "SELECT SUM(N8  /  4) FROM FOODS"),
              fresh(dir.path(), "SELECT SUM(N8  /  4) FROM FOODS"));
    EXPECT_EQ(query.field(0).name, "SUM(N8  /  4)");
}

TEST_F(StatementCacheTest, AChangedTableFileIsBoundAgain) {
    const std::string text = "SELECT N2, N8 FROM FOODS WHERE N1 = 2";
    throughQuery(query, text);
    // The file written over in place: other fields in another order, one more row.
    TempDir other;
    makeTable(other.path(), "FOODS.DBF",
              {{"N8", 'N', 10, 3}, {"N2", 'C', 30, 0}, {"N1", 'N', 6, 0}},
              {{F(1.5), S("Tea"), I(2)}, {F(2.5), S("Coffee"), I(2)}});
    std::filesystem::copy_file(other / "FOODS.DBF", dir / "FOODS.DBF",
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(throughQuery(query, text), fresh(dir.path(), text));
    EXPECT_EQ(query.recordCount(), 2);

    // Rows appended in place by another writer.
    {
        auto file = DbfFile::open(dir / "FOODS.DBF");
        std::string rec = file->blankRecord();
        file->encode(rec, file->allFields()[0], F(9));
        file->encode(rec, file->allFields()[2], I(2));
        file->appendRecord(rec);
    }
    EXPECT_EQ(throughQuery(query, "SELECT N2, N8 FROM FOODS WHERE N1 = 2"),
              fresh(dir.path(), text));
    EXPECT_EQ(query.recordCount(), 3);

    // A table dropped from the directory.
    std::filesystem::remove(dir / "CONTENTS.DBF");
    const auto gone = throughQuery(query, "SELECT CON1 FROM CONTENTS WHERE CON1 = 7");
    ASSERT_EQ(gone.size(), 1u);
    EXPECT_NE(gone[0].find("Table does not exist"), std::string::npos) << gone[0];
}

TEST_F(StatementCacheTest, ErrorsStillNameTheTokenAndPosition) {
    throughQuery(query, "SELECT N1 FROM FOODS WHERE N1 = 1 ORDER BY 1");
    // The first mistake of the text is reported, not a bad number further on.
    auto e = throughQuery(query, "SELECT FROM FOODS WHERE N1 = 12a");
    ASSERT_EQ(e.size(), 1u);
    EXPECT_NE(e[0].find("'FROM'"), std::string::npos) << e[0];
    EXPECT_NE(e[0].find("position 8"), std::string::npos) << e[0];
    e = throughQuery(query, "SELECT N1 FROM FOODS WHERE N1 = 12a");
    EXPECT_NE(e[0].find("'12a' is not a valid number"), std::string::npos) << e[0];
    // A number the binding reads is checked again with its new value.
    e = throughQuery(query, "SELECT N1 FROM FOODS WHERE N1 = 1 ORDER BY 4");
    EXPECT_NE(e[0].find("ORDER BY 4 names no select item"), std::string::npos) << e[0];
    e = throughQuery(query, "SELECT N9 FROM FOODS WHERE N1 = 1 ORDER BY 1");
    EXPECT_NE(e[0].find("Field 'N9' not found"), std::string::npos) << e[0];
}

TEST_F(StatementCacheTest, TwoQueriesOfOneShapeKeepTheirOwnNumbers) {
    Query other;
    other.setDirectory(dir.path());
    query.setSql({"SELECT N1 FROM FOODS WHERE N1 = 1"});
    query.prepare();
    other.setSql({"SELECT N1 FROM FOODS WHERE N1 = 2"});
    other.prepare();
    query.open();
    other.open();
    EXPECT_EQ(query.value(0).asFloat(), 1);
    EXPECT_EQ(other.value(0).asFloat(), 2);
}

TEST_F(StatementCacheTest, KeepsAtMostItsCapacity) {
    for (int i = 0; i < 40; ++i) {
        std::string items = "N1";
        for (int k = 0; k < i; ++k) items += ",N1";
        throughQuery(query, "SELECT " + items + " FROM FOODS");
    }
    query.setSql({});
    EXPECT_EQ(StatementCache::counts().entries, StatementCache::kCapacity);
}

}  // namespace
}  // namespace dbf::testing

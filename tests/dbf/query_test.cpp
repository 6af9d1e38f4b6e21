// The Query data set: statement lines, prepare/open/close, navigation and values, the
// full 113-column nutrient sums as the program builds them, and reads of a few rows of a
// large table (which go record by record instead of through decoded columns).
#include "dbf/query.h"

#include <cmath>
#include <cstring>
#include <fstream>

#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "dbf/number_text.h"
#include "dbf/sql/result_set.h"
#include "dbf/table.h"
#include "dbf/table_store.h"
#include "fixture.h"

namespace dbf::testing {
namespace {

std::vector<NewField> nutrientFields() {
    std::vector<NewField> fields;
    for (int k = 8; k <= 120; ++k) fields.push_back({"N" + std::to_string(k), 'N', 10, 3});
    return fields;
}

// The amount of nutrient k in 100 g of food f; empty for some, as real data has.
Value amount(int food, int k) { return (food + k) % 5 == 0 ? Null() : F(food * 10 + k * 0.5); }

class QueryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::vector<NewField> foodFields = {{"N1", 'N', 6}, {"N2", 'C', 20}, {"N3", 'C', 20}};
        for (const auto& f : nutrientFields()) foodFields.push_back(f);
        std::vector<Row> foods;
        for (int f = 1; f <= 4; ++f) {
            Row row = {I(f), S("Food " + std::to_string(f)), S("")};
            for (int k = 8; k <= 120; ++k) row.push_back(amount(f, k));
            foods.push_back(row);
        }
        makeTable(dir.path(), "FOODS.DBF", foodFields, foods);
        makeTable(dir.path(), "CONTENTS.DBF",
                  {{"CON1", 'N', 6}, {"CON2", 'N', 6}, {"CON4", 'N', 10, 3}},
                  {{I(7), I(1), F(200)}, {I(7), I(3), F(50)}, {I(8), I(2), F(10)}});
        std::vector<NewField> recallFields = {{"R1", 'N', 6}, {"R4", 'N', 10, 3}};
        for (const auto& f : nutrientFields()) recallFields.push_back(f);
        std::vector<Row> recall;
        for (int f = 1; f <= 3; ++f) {
            Row row = {I(f == 3 ? 4 : 3), F(f * 100.0)};
            for (int k = 8; k <= 120; ++k) row.push_back(amount(f, k));
            recall.push_back(row);
        }
        makeTable(dir.path(), "RECAL.DBF", recallFields, recall);
        query.setDirectory(dir.path());
    }

    // The select list of the nutrient sum query: one item per nutrient, N8 to N120.
    static std::string sumItems(const std::string& before, const std::string& after) {
        std::string items;
        for (int k = 8; k <= 120; ++k)
            items += (k > 8 ? "," : "") + before + "N" + std::to_string(k) + after;
        return items;
    }
    static double expected(const std::vector<std::pair<int, double>>& foodsAndWeights, int k,
                           double divisor, bool& isNull) {
        double sum = 0;
        isNull = true;
        for (const auto& [food, weight] : foodsAndWeights) {
            const Value v = amount(food, k);
            if (v.isNull()) continue;
            sum += v.number() * weight * 0.01 / divisor;
            isNull = false;
        }
        return sum;
    }
    void expectSums(const std::vector<std::pair<int, double>>& foodsAndWeights, double divisor) {
        ASSERT_TRUE(query.isOpen());
        ASSERT_EQ(query.recordCount(), 1);
        ASSERT_EQ(query.fieldCount(), 113);
        for (int i = 0; i < 113; ++i) {
            bool isNull = false;
            const double want = expected(foodsAndWeights, i + 8, divisor, isNull);
            const Value got = query.value(i);
            ASSERT_EQ(got.isNull(), isNull) << "N" << i + 8;
            if (!isNull) {
                EXPECT_NEAR(got.asFloat(), want, 1e-9) << "N" << i + 8;
            }
        }
    }

    TempDir dir;
    Query query;
};

TEST_F(QueryTest, LinesJoinByBlanksAndPrepareOpenClose) {
    query.setSql({"Select N1,N2 ", "FROM FOODS.dbf", "WHERE N1>2"});
    EXPECT_EQ(query.statementText(), "Select N1,N2  FROM FOODS.dbf WHERE N1>2");
    EXPECT_FALSE(query.prepared());
    query.setRequestLive(true);
    query.prepare();
    EXPECT_TRUE(query.prepared());
    EXPECT_FALSE(query.isOpen());
    query.open();
    ASSERT_TRUE(query.isOpen());
    EXPECT_EQ(query.recordCount(), 2);
    EXPECT_EQ(query.value("n1").asInteger(), 3);
    EXPECT_EQ(query.value("N2").asString(), "Food 3");
    query.next();
    EXPECT_EQ(query.recNo(), 2);
    EXPECT_EQ(query.value("N1").asInteger(), 4);
    query.next();
    EXPECT_TRUE(query.eof());
    query.close();
    EXPECT_FALSE(query.isOpen());
    EXPECT_THROW(query.recordCount(), DbfError);
    EXPECT_TRUE(query.prepared());  // closing keeps the statement prepared

    query.open();  // a prepared statement opens again without new lines
    EXPECT_EQ(query.recordCount(), 2);
    query.setSql({"Select N1 FROM FOODS.dbf"});  // new lines close and unprepare
    EXPECT_FALSE(query.isOpen());
    EXPECT_FALSE(query.prepared());
    query.open();
    EXPECT_EQ(query.recordCount(), 4);
}

TEST_F(QueryTest, AResultIsASnapshotUntilOpenedAgain) {
    query.setSql({"Select N1, N2 FROM FOODS.dbf ORDER BY N1 DESC"});
    query.open();
    auto store = TableStore::open(dir.path(), "FOODS.DBF");
    std::string rec = store->blankRecord();
    store->encode(rec, 0, I(9));
    store->encode(rec, 1, S("Late"));
    store->appendRecord(rec);
    store->markDeleted(0);
    EXPECT_EQ(query.recordCount(), 4);
    EXPECT_EQ(query.value("N1").asInteger(), 4);
    query.close();
    query.open();
    EXPECT_EQ(query.recordCount(), 4);  // one appended, one deleted
    EXPECT_EQ(query.value("N1").asInteger(), 9);
    query.last();
    EXPECT_EQ(query.value("N1").asInteger(), 2);
}

// Rankings read an order of the field kept between statements; an edit must renew it.
TEST_F(QueryTest, ARankingFollowsAnEditedValue) {
    query.setSql({"Select N1 FROM FOODS.dbf ORDER BY N8 DESC"});
    query.open();
    EXPECT_EQ(query.value("N1").asInteger(), 4);
    auto store = TableStore::open(dir.path(), "FOODS.DBF");
    std::string rec = store->recordBytes(1);
    store->encode(rec, store->fieldIndex("N8"), F(99999));
    store->writeRecord(1, rec);
    query.close();
    query.open();
    EXPECT_EQ(query.value("N1").asInteger(), 2);
}

TEST_F(QueryTest, EmptyValuesConvertWithTheEngineErrors) {
    query.setSql(
        {"SELECT SUM(N8*CON4*0.01), SUM(CON4) FROM CONTENTS.DBF A, FOODS.DBF B WHERE CON2 = N1 AND "
         "CON1=99"});
    query.open();
    ASSERT_EQ(query.recordCount(), 1);
    EXPECT_TRUE(query.isNull("SUM(N8*CON4*0.01)"));
    EXPECT_EQ(query.field(0).type, DataType::Float);
    try {
        query.value(1).asFloat();
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "Could not convert variant of type (Null) into type (Double)");
    }
}

TEST_F(QueryTest, ErrorsLeaveTheQueryClosedAndUnprepared) {
    query.setSql({"SELECT N1 FROM FOODX.DBF"});
    EXPECT_THROW(query.open(), DbfError);
    EXPECT_FALSE(query.isOpen());
    EXPECT_FALSE(query.prepared());
    query.setSql({"SELECT N1 FROM FOODS.DBF WHERE"});
    EXPECT_THROW(query.prepare(), DbfError);
    EXPECT_FALSE(query.prepared());
    query.setSql({"SELECT N1 FROM FOODS.DBF"});
    query.open();
    EXPECT_EQ(query.recordCount(), 4);
}

TEST_F(QueryTest, RecipeTotalOverAll113Nutrients) {
    query.setSql({"SELECT " + sumItems("SUM(", "*CON4*0.01)") + " ",
                  "FROM CONTENTS.DBF A, FOODS.DBF B", "WHERE CON2 = N1 AND CON1=7"});
    query.open();
    EXPECT_EQ(query.field(0).name, "SUM(N8*CON4*0.01)");
    EXPECT_EQ(query.field(112).name, "SUM(N120*CON4*0.01)");
    expectSums({{1, 200}, {3, 50}}, 1);
}

TEST_F(QueryTest, RecipePer100GramsOverAll113Nutrients) {
    query.setSql({"SELECT " + sumItems("SUM((", "*CON4*0.01)/2.5)") + " ",
                  "FROM CONTENTS.DBF A, FOODS.DBF B", "WHERE CON2 = N1 AND CON1=7"});
    query.open();
    expectSums({{1, 200}, {3, 50}}, 2.5);
}

TEST_F(QueryTest, RecallTotalOverAll113Nutrients) {
    query.setSql({"SELECT " + sumItems("SUM(", "*R4*0.01)") + " ", "FROM RECAL.DBF", "WHERE R1=3"});
    query.open();
    expectSums({{1, 100}, {2, 200}}, 1);
}

TEST_F(QueryTest, FoodScaledByAnAmount) {
    std::string items;
    for (const int k : {9, 10, 11, 12, 21, 23})
        items += (items.empty() ? "" : ",") + ("SUM(N" + std::to_string(k) + "*(150/100))");
    query.setSql({"SELECT " + items, "FROM FOODS.DBF", "WHERE N1=2"});
    query.open();
    ASSERT_EQ(query.fieldCount(), 6);
    EXPECT_EQ(query.value(0).isNull(), amount(2, 9).isNull());
    EXPECT_NEAR(query.value(1).asFloat(), amount(2, 10).number() * 1.5, 1e-9);
}

// Reads of a few rows of a large table go record by record; these answers must equal
// what the decoded columns give.
TEST(QueryOnFewRowsOfALargeTable, ReadsRecordsWithTheSameMeaning) {
    TempDir dir;
    std::vector<Row> foods;
    for (int f = 1; f <= 500; ++f)
        foods.push_back({I(f), S(f % 2 ? "Raw food " + std::to_string(f) : ""),
                         f == 500 ? F(-2.25)
                         : f % 3  ? F(f * 0.5)
                                  : Null(),
                         f % 4 ? F(f) : Null()});
    makeTable(dir.path(), "FOODS.DBF",
              {{"N1", 'N', 6}, {"N2", 'C', 20}, {"N45", 'N', 8, 2}, {"N8", 'N', 8, 1}}, foods);
    makeTable(
        dir.path(), "CONTENTS.DBF", {{"CON1", 'N', 6}, {"CON2", 'N', 6}, {"CON4", 'N', 10, 3}},
        {{I(7), I(10), F(100)}, {I(7), I(9), F(50)}, {I(7), I(12), F(1)}, {I(7), I(11), F(2)}});
    const auto run = [&](const std::string& text) {
        Query q;
        q.setDirectory(dir.path());
        q.setSql({text});
        q.open();
        std::vector<std::string> rows;
        for (q.first(); !q.eof(); q.next()) {
            std::string row;
            for (int f = 0; f < q.fieldCount(); ++f) {
                const Value v = q.value(f);
                row += (f ? "|" : "") + (v.isNull()   ? "NULL"
                                         : v.isText() ? v.bytes()
                                                      : formatGeneral(v.number()));
            }
            rows.push_back(row);
        }
        return rows;
    };
    using Rows = std::vector<std::string>;
    EXPECT_EQ(run("Select N1,N2,N45 FROM CONTENTS.DBF, FOODS.dbf WHERE CON2 = N1 AND CON1=7 AND "
                  "N45 BETWEEN 0 AND 5.5 ORDER BY N45 DESC"),
              Rows({"11|Raw food 11|5.5", "10||5"}));
    EXPECT_EQ(run("Select N1,N2,N45 FROM CONTENTS.DBF, FOODS.dbf WHERE CON2 = N1 AND CON1=7 ORDER "
                  "BY N45"),
              Rows({"9|Raw food 9|NULL", "12||NULL", "10||5", "11|Raw food 11|5.5"}));
    EXPECT_EQ(run("SELECT SUM(N8*CON4*0.01), SUM(N45*CON4*0.01), COUNT(N2) FROM CONTENTS.DBF A, "
                  "FOODS.DBF B WHERE CON2 = N1 AND CON1=7"),
              Rows({"14.72|5.11|2"}));  // N8: 10 + 4.5 + 0.22 (12 is empty); N45: 5 + 0.11
    EXPECT_EQ(
        run("SELECT N1, N2 FROM FOODS.DBF WHERE N1 = 13 AND N2 LIKE \"%RAW%\" AND N45 IS NOT NULL"),
        Rows({"13|Raw food 13"}));
    EXPECT_EQ(run("SELECT N1 FROM FOODS.DBF WHERE N1 = 14 AND N2 IS NULL"), Rows({"14"}));
    EXPECT_EQ(run("SELECT N1, N8 / N45 FROM FOODS.DBF WHERE N1 = 14"), Rows({"14|2"}));
    EXPECT_EQ(run("SELECT N45, N45 * 2 FROM FOODS.DBF WHERE N1 = 500"), Rows({"-2.25|-4.5"}));
}

// A large result in another order than the table's holds its numbers gathered in that
// order; values and types must be those of the table.
TEST(QueryOfALargeSortedResult, GivesTheTablesValuesInResultOrder) {
    TempDir dir;
    std::vector<Row> foods;
    for (int f = 0; f < 5000; ++f)
        foods.push_back({I(f), f % 10 == 3 ? Null() : F((f * 37) % 1000 / 4.0)});
    makeTable(dir.path(), "FOODS.DBF", {{"N1", 'N', 6}, {"N45", 'N', 8, 2}}, foods);
    Query q;
    q.setDirectory(dir.path());
    q.setSql({"Select N1, N45 FROM FOODS.dbf ORDER BY N45 DESC"});
    q.open();
    ASSERT_EQ(q.recordCount(), 5000);
    EXPECT_EQ(q.value("N1").kind(), Value::Kind::Integer);
    double previous = 1e9;
    std::int64_t checked = 0;
    for (q.first(); !q.eof(); q.next()) {
        const std::int64_t code = q.value("N1").asInteger();
        const Value v = q.value("N45");
        ASSERT_EQ(v.isNull(), code % 10 == 3) << code;
        if (v.isNull()) continue;
        EXPECT_DOUBLE_EQ(v.asFloat(), (code * 37) % 1000 / 4.0) << code;
        EXPECT_LE(v.asFloat(), previous);
        previous = v.asFloat();
        ++checked;
    }
    EXPECT_EQ(checked, 4500);
    q.last();
    EXPECT_TRUE(q.value("N45").isNull());  // empty values last when descending
}

TEST_F(QueryTest, ResultReadsMatchTheValues) {
    query.setSql({"SELECT N1, N2, N8, N8 * 2 FROM FOODS.DBF"});
    query.open();
    const sql::ResultSet* result = query.result();
    ASSERT_NE(result, nullptr);
    for (std::size_t row = 0; row < result->rowCount(); ++row) {
        query.moveBy(row == 0 ? 0 : 1);
        for (int f = 0; f < 4; ++f) {
            const Value v = query.value(f);
            EXPECT_EQ(result->isNull(row, f), v.isNull());
            if (v.isText()) {
                EXPECT_EQ(result->text(row, f), v.bytes());
            } else if (!v.isNull()) {
                EXPECT_EQ(result->number(row, f), v.number());
            }
        }
    }
    query.close();
    EXPECT_EQ(query.result(), nullptr);
}

}  // namespace
}  // namespace dbf::testing

namespace dbf {
namespace {

// A numeric field holding only a sign is empty on every path: the table's own reading, a
// whole-column query and the row-by-row sums of a filtered statement.
TEST(NumericText, ASignWithoutDigitsIsEmptyOnEveryPath) {
    testing::TempDir dir;
    // Enough rows that a statement on one of them reads it row by row, not by the column.
    std::vector<testing::Row> rows = {{testing::I(1), testing::F(2)},
                                      {testing::I(2), testing::F(7777.77)}};
    for (int k = 3; k <= 400; ++k) rows.push_back({testing::I(k), testing::Null()});
    testing::makeTable(dir.path(), "T.DBF", {{"K", 'N', 4}, {"A", 'N', 10, 2}}, rows);
    {
        // Patch the second amount to a lone minus sign, as another program may leave it.
        std::fstream f(dir.path() / "T.DBF", std::ios::in | std::ios::out | std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(f)), {});
        const auto at = bytes.find("7777.77");
        ASSERT_NE(at, std::string::npos);
        f.seekp(static_cast<std::streamoff>(at));
        f << "      -";
    }
    Table t;
    t.setDirectory(dir.path());
    t.setTableName("T.DBF");
    t.open();
    t.first();
    t.next();
    EXPECT_TRUE(t.value("A").isNull());
    for (const char* statement : {"SELECT SUM(A) FROM T.DBF WHERE K = 2",
                                  "SELECT A FROM T.DBF WHERE K = 2", "SELECT SUM(A) FROM T.DBF"}) {
        SCOPED_TRACE(statement);
        Query q;
        q.setDirectory(dir.path());
        q.setSql({statement});
        q.open();
        const Value v = q.value(0);
        if (std::string(statement) == "SELECT SUM(A) FROM T.DBF") {
            EXPECT_EQ(v.asFloat(), 2);
        } else {
            EXPECT_TRUE(v.isNull()) << v.asString();
        }
    }
}

}  // namespace
}  // namespace dbf

namespace dbf {
namespace {

// Deep nesting is refused with an error naming the position, in statements and filters
// alike, instead of exhausting the stack; ordinary nesting still works.
TEST(DeepNesting, IsAnErrorNotACrash) {
    testing::TempDir dir;
    testing::makeTable(dir.path(), "T.DBF", {{"K", 'N', 4}}, {{testing::I(1)}});
    auto statement = [&](const std::string& expression) {
        Query q;
        q.setDirectory(dir.path());
        q.setSql({"SELECT K FROM T.DBF WHERE " + expression});
        q.open();
        return q.recordCount();
    };
    const std::string deep = std::string(2300, '(') + "K = 1" + std::string(2300, ')');
    const std::string signs = "K = " + std::string(20000, '-') + "1";
    for (const std::string& text : {deep, signs}) {
        try {
            statement(text);
            ADD_FAILURE() << "ran";
        } catch (const DbfError& e) {
            EXPECT_NE(std::string(e.what()).find("nests too deeply"), std::string::npos);
            EXPECT_EQ(std::string(e.what()).rfind("Syntax error at position ", 0), 0u);
        }
    }
    std::string notChain;
    for (int i = 0; i < 3000; ++i) notChain += "NOT ";
    EXPECT_THROW(statement(notChain + "K = 1"), DbfError);
    Table t;
    t.setDirectory(dir.path());
    t.setTableName("T.DBF");
    t.open();
    EXPECT_THROW(
        {
            t.setFilter(deep);
            t.setFiltered(true);
        },
        DbfError);
    const std::string fifty = std::string(50, '(') + "K = 1" + std::string(50, ')');
    EXPECT_EQ(statement(fifty), 1);
    EXPECT_EQ(statement("K = " + std::string(50, '-') + "1"), 1);
}

}  // namespace
}  // namespace dbf

namespace dbf {
namespace {

// Not a number in a double field reads as empty: equality tests, filters and orders over
// it end, and treat it as they treat an empty value.
TEST(NotANumber, InADoubleFieldReadsAsEmpty) {
    testing::TempDir dir;
    createTable(dir.path() / "N.DBF", {{"ID", 'N', 4}, {"AMT", 'B', 8}}, {.version = 0x30});
    {
        auto file = DbfFile::open(dir.path() / "N.DBF");
        const double nan = std::nan("");
        const double amounts[] = {1, nan, 1, nan, 2};
        std::string rows;
        for (int i = 0; i < 5; ++i) {
            std::string rec = file->blankRecord();
            file->encode(rec, file->allFields()[0], Value::integer(i + 1));
            std::memcpy(rec.data() + file->allFields()[1].offset, &amounts[i], sizeof(double));
            rows += rec;
        }
        file->appendRecords(rows);
    }
    auto ids = [&](const std::string& statement) {
        Query q;
        q.setDirectory(dir.path());
        q.setSql({statement});
        q.open();
        std::vector<std::int64_t> out;
        for (q.first(); !q.eof(); q.next()) out.push_back(q.value(0).asInteger());
        return out;
    };
    EXPECT_EQ(ids("SELECT ID FROM N.DBF WHERE AMT = 1"), (std::vector<std::int64_t>{1, 3}));
    EXPECT_EQ(ids("SELECT ID FROM N.DBF WHERE AMT IS NULL"), (std::vector<std::int64_t>{2, 4}));
    EXPECT_EQ(ids("SELECT ID FROM N.DBF ORDER BY AMT"),
              (std::vector<std::int64_t>{2, 4, 1, 3, 5}));  // nulls first
    Table t;
    t.setDirectory(dir.path());
    t.setTableName("N.DBF");
    t.open();
    t.setFilter("AMT = 1");
    t.setFiltered(true);
    EXPECT_EQ(t.recordCount(), 2);
}

}  // namespace
}  // namespace dbf

namespace dbf::testing {
namespace {

// A join without a condition over three tables of 400 rows would give 64,000,000 rows:
// refused with a clear error instead of exhausting the memory; a smaller one runs.
TEST(QueryLimits, AJoinWithoutConditionIsRefusedPastTheLimit) {
    TempDir dir;
    std::vector<Row> rows;
    for (int i = 0; i < 400; ++i) rows.push_back({I(i)});
    for (const char* name : {"A.DBF", "B.DBF", "C.DBF"})
        makeTable(dir.path(), name, {{"K", 'N', 6}}, rows);
    Query q;
    q.setDirectory(dir.path());
    q.setSql({"SELECT COUNT(*) FROM A, B, C"});
    try {
        q.open();
        FAIL() << "64,000,000 rows were made";
    } catch (const DbfError& e) {
        EXPECT_NE(std::string(e.what()).find("more than 50,000,000 rows"), std::string::npos)
            << e.what();
    }
    EXPECT_FALSE(q.isOpen());
    q.setSql({"SELECT COUNT(*) FROM A, B"});
    q.open();
    EXPECT_EQ(q.value(0).asInteger(), 160000);
}

}  // namespace
}  // namespace dbf::testing

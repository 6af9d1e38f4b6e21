// The table cursor: navigation, bookmarks, locate, fields, editing with post and refresh.
#include "dbf/table.h"

#include <fstream>

#include "dbf/errors.h"
#include "dbf/query.h"
#include "fixture.h"

namespace dbf::testing {
namespace {

class TableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        makeTable(dir.path(), "FOODS.DBF", {{"N1", 'N', 6}, {"N2", 'C', 30}, {"N8", 'N', 10, 3}},
                  {{I(1), S("Apple"), F(52)},
                   {I(2), S("apple"), Null()},
                   {I(3), S("Bread"), F(265)},
                   {I(4), S("Cheese"), F(402)}});
        table.setDirectory(dir.path());
        table.setTableName("Foods.DBF");
        table.open();
    }
    std::int64_t code() const { return table.value("N1").asInteger(); }

    TempDir dir;
    Table table;
};

TEST_F(TableTest, NavigatesWithBeginningAndEndFlags) {
    EXPECT_EQ(table.recordCount(), 4);
    EXPECT_TRUE(table.bof());
    EXPECT_FALSE(table.eof());
    EXPECT_EQ(table.recNo(), 1);
    table.next();
    table.next();
    EXPECT_EQ(code(), 3);
    table.moveBy(5);
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(code(), 4);
    table.prior();
    EXPECT_FALSE(table.eof());
    EXPECT_EQ(table.recNo(), 3);
    table.moveBy(-10);
    EXPECT_TRUE(table.bof());
    EXPECT_EQ(code(), 1);
    table.last();
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(code(), 4);
}

TEST_F(TableTest, FieldsByNameWithoutRegardToCase) {
    EXPECT_EQ(table.fieldCount(), 3);
    EXPECT_EQ(table.fieldIndex("n2"), 1);
    EXPECT_EQ(table.field(1).type, DataType::String);
    EXPECT_EQ(table.field(1).size, 30);
    EXPECT_EQ(table.field(2).type, DataType::Float);
    EXPECT_EQ(table.field(0).type, DataType::Integer);
    EXPECT_EQ(table.field(0).displayLabel, "N1");
    try {
        table.fieldIndex("N99");
        FAIL();
    } catch (const DbfError& e) {
        EXPECT_STREQ(e.what(), "Field 'N99' not found");
    }
}

TEST_F(TableTest, NullReadAsNumberOrTextRaisesTheConversionError) {
    table.locate("N1", I(2));
    try {
        table.value("N8").asInteger();
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "Could not convert variant of type (Null) into type (Integer)");
    }
    EXPECT_THROW(table.value("N8").asString(), ConversionError);
    try {
        table.value("N2").asInteger();
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'apple' is not a valid integer value");
    }
    try {
        table.value("N2").asFloat();
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'apple' is not a valid floating point value");
    }
}

TEST_F(TableTest, LocateIsExactAndCaseSensitive) {
    table.next();
    EXPECT_TRUE(table.locate("N2", S("apple")));
    EXPECT_EQ(code(), 2);
    EXPECT_TRUE(table.locate("n2", S("Apple")));
    EXPECT_EQ(code(), 1);
    table.last();
    EXPECT_FALSE(table.locate("N2", S("APPLE")));
    EXPECT_FALSE(table.locate("N2", S("Appl")));
    EXPECT_EQ(code(), 4);  // unchanged
    EXPECT_TRUE(table.locate("N1", S("3")));
    EXPECT_EQ(code(), 3);
    EXPECT_TRUE(table.locate("N8", F(265)));
    EXPECT_EQ(code(), 3);
}

TEST_F(TableTest, BookmarksNameRowsAcrossReordering) {
    table.locate("N1", I(3));
    auto mark = table.bookmark();
    table.setIndexFieldNames("N8");  // nulls first: 2, 1, 3, 4
    table.first();
    EXPECT_EQ(code(), 2);
    ASSERT_TRUE(table.gotoBookmark(mark));
    EXPECT_EQ(code(), 3);
    EXPECT_EQ(table.recNo(), 3);
    table.freeBookmark(mark);
    EXPECT_FALSE(table.gotoBookmark(mark));
}

TEST_F(TableTest, EditAndPostWriteInPlace) {
    table.locate("N1", I(2));
    table.edit();
    table.setValue("N8", F(57.5));
    EXPECT_EQ(table.value("N8"), F(57.5));  // the pending value
    table.post();
    EXPECT_EQ(table.state(), Table::State::Browse);
    Table other;
    other.setDirectory(dir.path());
    other.setTableName("FOODS");
    other.open();
    ASSERT_TRUE(other.locate("N1", I(2)));
    EXPECT_EQ(other.value("N8"), F(57.5));
    EXPECT_EQ(other.recordCount(), 4);
}

TEST_F(TableTest, RefreshPostsChangedRowsAndDropsUnchangedOnes) {
    table.append();
    table.refresh();  // nothing typed: dropped
    EXPECT_EQ(table.recordCount(), 4);
    table.append();
    table.setValue("N1", I(5));
    table.refresh();
    EXPECT_EQ(table.recordCount(), 5);
    EXPECT_EQ(code(), 5);
    table.first();
    table.edit();
    table.setValue("N2", S("Apple"));  // same value: no change
    table.refresh();
    table.edit();
    table.setValue("N2", S("Green apple"));
    table.next();  // moving off a changed row posts it
    table.first();
    EXPECT_EQ(table.value("N2"), S("Green apple"));
}

TEST_F(TableTest, DeleteHidesTheRowAndTheNextBecomesCurrent) {
    table.locate("N1", I(2));
    table.deleteRecord();
    EXPECT_EQ(table.recordCount(), 3);
    EXPECT_EQ(code(), 3);
    table.close();
    table.open();
    EXPECT_EQ(table.recordCount(), 3);
    EXPECT_FALSE(table.locate("N1", I(2)));
}

TEST_F(TableTest, SetValueOutsideEditModeAndClosedUseAreErrors) {
    EXPECT_THROW(table.setValue("N1", I(9)), DbfError);
    table.close();
    EXPECT_THROW(table.first(), DbfError);
    Table missing;
    missing.setDirectory(dir.path());
    missing.setTableName("RECAL.DBF");
    try {
        missing.open();
        FAIL();
    } catch (const DbfError& e) {
        EXPECT_NE(std::string(e.what()).find("RECAL.DBF"), std::string::npos) << e.what();
    }
}

TEST_F(TableTest, EmptyTableHasBothFlagsAndEditStartsANewRow) {
    makeTable(dir.path(), "E.DBF", {{"A", 'N', 3}});
    Table empty;
    empty.setDirectory(dir.path());
    empty.setTableName("E.DBF");
    empty.open();
    EXPECT_TRUE(empty.bof() && empty.eof());
    EXPECT_EQ(empty.recNo(), 0);
    EXPECT_TRUE(empty.value("A").isNull());
    EXPECT_THROW(empty.deleteRecord(), DbfError);
    empty.edit();
    EXPECT_EQ(empty.state(), Table::State::Insert);
    empty.setValue("A", I(1));
    empty.post();
    EXPECT_EQ(empty.recordCount(), 1);
}

TEST_F(TableTest, ControlsDisabledCollectNoticesIntoOne) {
    int notices = 0;
    table.addListener([&](DataSetEvent) { ++notices; });
    table.disableControls();
    table.next();
    table.next();
    table.enableControls();
    EXPECT_EQ(notices, 1);
    table.next();
    EXPECT_EQ(notices, 2);
}

}  // namespace
}  // namespace dbf::testing

namespace dbf {
namespace {

using testing::F;
using testing::I;
using testing::S;

// Our own writes keep the decoded columns current: filters and queries after an append or
// an edit see the values written, and a query's rows taken before stay as they were.
TEST(TableCacheAfterWrites, FiltersAndQueriesSeeWhatWasWrittenAndSnapshotsStay) {
    testing::TempDir dir;
    testing::makeTable(dir.path(), "RECAL.DBF",
                       {{"R1", 'N', 6}, {"R3", 'C', 20}, {"R4", 'N', 8, 2}},
                       {{I(7), S("sib"), F(100)}, {I(8), S("nan"), F(50)}});
    Table recall;
    recall.setDirectory(dir.path());
    recall.setTableName("RECAL.DBF");
    recall.open();
    recall.setFilter("R1 = 7 and R4 > 10");  // decodes R1 and R4
    recall.setFiltered(true);
    Query before;
    before.setDirectory(dir.path());
    before.setSql({"SELECT R3 FROM RECAL.DBF WHERE R1 = 7"});
    before.open();
    ASSERT_EQ(before.recordCount(), 1);

    recall.append();
    recall.setValue("R1", I(7));
    recall.setValue("R3", S("panir"));
    recall.setValue("R4", F(30));
    recall.post();
    EXPECT_EQ(recall.recordCount(), 2);
    recall.setFiltered(false);
    recall.last();
    recall.edit();
    recall.setValue("R4", F(5));  // now below the filter's bound
    recall.setValue("R3", S("cheese, feta"));
    recall.post();
    recall.setFiltered(true);
    EXPECT_EQ(recall.recordCount(), 1);
    recall.setFilter("R3 = 'cheese, feta'");
    EXPECT_EQ(recall.recordCount(), 1);

    EXPECT_EQ(before.recordCount(), 1);  // taken before the writes
    Query after;
    after.setDirectory(dir.path());
    after.setSql({"SELECT R3 FROM RECAL.DBF WHERE R1 = 7"});
    after.open();
    EXPECT_EQ(after.recordCount(), 2);
    after.last();
    EXPECT_EQ(after.value("R3").asString(), "cheese, feta");
}

}  // namespace
}  // namespace dbf

namespace dbf {
namespace {

// Names the file system refuses give the engine's own errors, not file-system exceptions.
TEST(TableNames, ThatTheFileSystemRefusesAreTheEnginesErrors) {
    testing::TempDir dir;
    std::filesystem::create_symlink(dir.path() / "B.DBF", dir.path() / "A.DBF");
    std::filesystem::create_symlink(dir.path() / "A.DBF", dir.path() / "B.DBF");
    const struct {
        std::string name;
        const char* says;
    } cases[] = {{std::string(300, 'A') + ".DBF", "Table does not exist"},
                 {"A.DBF", "Too many levels of symbolic links"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        Table t;
        t.setDirectory(dir.path());
        t.setTableName(c.name);
        try {
            t.open();
            ADD_FAILURE() << "opened";
        } catch (const DbfError& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace dbf

namespace dbf::testing {
namespace {

// Another program cuts the table short while a cursor stands on its last row (a PACK
// writes the new count and truncates): reading gives a clear error, never a fault of the
// mapped file, and a refresh shows the rows as they now are.
TEST_F(TableTest, ATableCutShortUnderTheCursorIsNoticed) {
    table.last();
    ASSERT_EQ(code(), 4);
    const auto path = dir / "FOODS.DBF";
    const std::uint32_t recordLength = table.store().file().header().recordLength;
    const std::uint32_t headerLength = table.store().file().header().headerLength;
    {
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        const std::uint32_t two = 2;
        f.seekp(4);
        f.write(reinterpret_cast<const char*>(&two), 4);  // little-endian count
    }
    std::filesystem::resize_file(path, headerLength + 2 * recordLength + 1);
    try {
        code();
        FAIL() << "a record past the file's end was read";
    } catch (const DbfError& e) {
        EXPECT_NE(std::string(e.what()).find("was cut short by another program"), std::string::npos)
            << e.what();
    }
    table.refresh();
    EXPECT_EQ(table.recordCount(), 2);
    table.last();
    EXPECT_EQ(code(), 2);
}

}  // namespace
}  // namespace dbf::testing

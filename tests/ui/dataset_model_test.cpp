// The grid model over a data set: rows and columns as the grid shows them, Farsi text
// through code page 1256 both ways, edits of the current row, the appended row, and the
// consistency Qt's model tester asks for while all of this happens.
#include "ui/dataset_model.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "dbf/codepage1256.h"
#include "dbf/fixture.h"
#include "dbf/table.h"

namespace {

using dbf::testing::I;
using dbf::testing::S;

const char* const kSib = "سیب";        // with Persian yeh, stored as Arabic yeh
const char* const kSibStored = "سیب";  // as it reads back from code page 1256, with the Persian yeh

class DataSetModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dbf::testing::makeTable(dir.path(), "FOODS.DBF",
                                {{"N1", 'N', 6}, {"N2", 'C', 20}, {"N3", 'C', 20}},
                                {{I(1), S("Apple"), S(dbf::cp1256::fromUtf8(kSib))},
                                 {I(2), S("Bread"), S(dbf::cp1256::fromUtf8("نان"))},
                                 {I(3), S("Cheese"), S("")}});
        table.setDirectory(dir.path());
        table.setTableName("Foods.DBF");
        table.open();
    }
    // The file as another reader sees it: only what was posted.
    std::string storedName(int recNo) {
        dbf::Table other;
        other.setDirectory(dir.path());
        other.setTableName("FOODS.DBF");
        other.open();
        other.moveBy(recNo - 1);
        return other.value("N2").bytes();
    }
    std::vector<core::GridColumn> columns() {
        auto c = core::gridColumns({{"N1", "Code"}, {"N3", "Farsi Name"}, {"N2", "NAME"}});
        c[0].readOnly = true;
        return c;
    }

    dbf::testing::TempDir dir;
    dbf::Table table;
};

TEST_F(DataSetModelTest, ShowsTheColumnsOverTheRowsWithFarsiInUnicode) {
    ui::DataSetModel model(&table, columns());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Farsi Name");
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), "1");
    EXPECT_EQ(model.data(model.index(0, 1), Qt::DisplayRole).toString(),
              QString::fromUtf8(kSibStored));
    EXPECT_EQ(model.data(model.index(1, 2), Qt::DisplayRole).toString(), "Bread");
    EXPECT_EQ(model.data(model.index(2, 1), Qt::DisplayRole).toString(), "");
    // Farsi cells take the bundled font; Latin ones the grid's.
    EXPECT_TRUE(model.data(model.index(0, 1), Qt::FontRole).isValid());
    EXPECT_FALSE(model.data(model.index(0, 2), Qt::FontRole).isValid());
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
}

TEST_F(DataSetModelTest, FollowsTheDataSetAsItOpensFiltersAndCloses) {
    ui::DataSetModel model(&table, columns());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    table.setFilter("N1 > 1");
    table.setFiltered(true);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0, 2), Qt::DisplayRole).toString(), "Bread");
    table.close();
    EXPECT_EQ(model.rowCount(), 0);
    table.open();
    EXPECT_EQ(model.rowCount(), 2);
    model.setDataSet(nullptr);
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(DataSetModelTest, AnEditChangesTheCurrentRowAndIsPostedWhenTheRowIsLeft) {
    ui::DataSetModel model(&table, columns());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_TRUE(model.setData(model.index(1, 2), "Rye bread", Qt::EditRole));
    // The cursor went to the edited row; the change waits in the row until it is left.
    EXPECT_EQ(model.currentRow(), 1);
    EXPECT_EQ(table.state(), dbf::Table::State::Edit);
    EXPECT_EQ(model.data(model.index(1, 2), Qt::DisplayRole).toString(), "Rye bread");
    EXPECT_EQ(storedName(2), "Bread");
    model.moveToRow(0);
    EXPECT_EQ(table.state(), dbf::Table::State::Browse);
    EXPECT_EQ(storedName(2), "Rye bread");
    EXPECT_EQ(model.currentRow(), 0);
}

TEST_F(DataSetModelTest, TypedFarsiIsStoredInCodePage1256) {
    ui::DataSetModel model(&table, columns());
    ASSERT_TRUE(model.setData(model.index(2, 1), QString::fromUtf8("پنیر"), Qt::EditRole));
    table.post();
    EXPECT_EQ(table.value("N3").bytes().substr(0, 4), dbf::cp1256::fromUtf8("پنیر"));
    EXPECT_EQ(model.data(model.index(2, 1), Qt::DisplayRole).toString(), QString::fromUtf8("پنیر"));
}

TEST_F(DataSetModelTest, RefusesTextANumberFieldCannotTakeAndReportsTheEngineError) {
    auto c = columns();
    c[0].readOnly = false;
    ui::DataSetModel model(&table, c);
    std::vector<std::string> errors;
    model.setErrorHandler([&](const std::string& text) { errors.push_back(text); });
    EXPECT_FALSE(model.setData(model.index(0, 0), "abc", Qt::EditRole));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("abc"), std::string::npos) << errors[0];
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), "1");
}

TEST_F(DataSetModelTest, ShowsTheAppendedRowUntilItIsPostedOrDropped) {
    ui::DataSetModel model(&table, columns());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    table.append();
    ASSERT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.currentRow(), 3);
    EXPECT_EQ(model.headerData(3, Qt::Vertical, Qt::DisplayRole).toString(), "*");
    ASSERT_TRUE(model.setData(model.index(3, 2), "Dates", Qt::EditRole));
    EXPECT_EQ(model.data(model.index(3, 2), Qt::DisplayRole).toString(), "Dates");
    model.moveToRow(0);  // leaving the row posts it
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(table.recordCount(), 4);
    EXPECT_EQ(model.data(model.index(3, 2), Qt::DisplayRole).toString(), "Dates");

    table.append();
    EXPECT_EQ(model.rowCount(), 5);
    model.moveToRow(1);  // an untouched appended row is dropped
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.currentRow(), 1);
}

TEST_F(DataSetModelTest, TellsWhereTheCursorIsAndMovesIt) {
    ui::DataSetModel model(&table, columns());
    QSignalSpy moved(&model, &ui::DataSetModel::currentRowChanged);
    table.last();
    ASSERT_FALSE(moved.isEmpty());
    EXPECT_EQ(moved.last().at(0).toInt(), 2);
    model.moveToRow(1);
    EXPECT_EQ(table.recNo(), 2);
    EXPECT_EQ(moved.last().at(0).toInt(), 1);
}

TEST_F(DataSetModelTest, ReadsLargeTablesWithoutMovingTheCursor) {
    std::vector<dbf::testing::Row> rows;
    for (int i = 1; i <= 20000; ++i) rows.push_back({I(i), S("Food " + std::to_string(i))});
    dbf::testing::makeTable(dir.path(), "BIG.DBF", {{"N1", 'N', 6}, {"N2", 'C', 20}}, rows);
    dbf::Table big;
    big.setDirectory(dir.path());
    big.setTableName("BIG.DBF");
    big.open();
    ui::DataSetModel model(&big, core::gridColumns({{"N1", "Code"}, {"N2", "NAME"}}));
    ASSERT_EQ(model.rowCount(), 20000);
    EXPECT_EQ(model.data(model.index(19999, 1), Qt::DisplayRole).toString(), "Food 20000");
    EXPECT_EQ(big.recNo(), 1);
}

}  // namespace

// The data-bound grid: its current cell and the data set's cursor follow each other, typed
// text edits the current row and is posted when the row is left, and the grid's own keys
// append and delete rows.
#include "ui/data_grid_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "core_fixture.h"
#include "dbf/fixture.h"
#include "dbf/table.h"

namespace {

using dbf::testing::I;
using dbf::testing::S;

class DataGridViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dbf::testing::makeTable(dir.path(), "WEEKLY.DBF", {{"W1", 'N', 6}, {"W2", 'C', 30}},
                                {{I(1), S("Week A")}, {I(2), S("Week B")}, {I(3), S("Week C")}});
        table.setDirectory(dir.path());
        table.setTableName("WEEKLY.DBF");
        table.open();
        control.setSource(&source);
        control.setColumns(core::gridColumns({{"W1", "Code"}, {"W2", "Name"}}));
        view = std::make_unique<ui::DataGridView>(control, &dialogs);
        view->resize(400, 300);
        view->show();
        QApplication::setActiveWindow(view.get());
        view->setFocus();
    }
    std::string storedName(int recNo) {
        dbf::Table other;
        other.setDirectory(dir.path());
        other.setTableName("WEEKLY.DBF");
        other.open();
        other.moveBy(recNo - 1);
        return other.value("W2").bytes();
    }
    // Lets the grid finish moving the cursor, which it does once the event is handled.
    static void settle() { QCoreApplication::processEvents(); }

    dbf::testing::TempDir dir;
    dbf::Table table;
    core::DataSource source{"DataSource5", &table};
    core::DataGrid control{"DBGrid3"};
    ui::testing::RecordingDialogs dialogs;
    std::unique_ptr<ui::DataGridView> view;
};

TEST_F(DataGridViewTest, IsNamedAfterItsControlAndShowsItsColumns) {
    EXPECT_EQ(view->objectName(), "DBGrid3");
    EXPECT_EQ(view->model()->rowCount(), 3);
    EXPECT_EQ(view->model()->headerData(1, Qt::Horizontal).toString(), "Name");
}

TEST_F(DataGridViewTest, MovingInTheGridMovesTheCursorAndBack) {
    view->setCurrentIndex(view->model()->index(2, 1));
    settle();
    EXPECT_EQ(table.recNo(), 3);
    table.first();
    EXPECT_EQ(view->currentIndex().row(), 0);
    EXPECT_EQ(view->currentIndex().column(), 1);  // the column the user was in
}

TEST_F(DataGridViewTest, TypedTextReachesTheTableWhenTheRowIsLeft) {
    view->setCurrentIndex(view->model()->index(1, 1));
    settle();
    QTest::keyClick(view.get(), Qt::Key_F2);
    auto* editor = view->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "Low salt");
    QTest::keyClick(editor, Qt::Key_Return);
    settle();  // the editor hands its text over once the key is handled
    EXPECT_EQ(table.state(), dbf::Table::State::Edit);
    EXPECT_EQ(storedName(2).substr(0, 6), "Week B");
    QTest::keyClick(view.get(), Qt::Key_Down);
    settle();
    EXPECT_EQ(table.state(), dbf::Table::State::Browse);
    EXPECT_EQ(storedName(2).substr(0, 8), "Low salt");
    EXPECT_EQ(table.recNo(), 3);
}

TEST_F(DataGridViewTest, DownOnTheLastRowAppendsARowThatIsDroppedWhenLeftEmpty) {
    view->setCurrentIndex(view->model()->index(2, 0));
    settle();
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(table.state(), dbf::Table::State::Insert);
    EXPECT_EQ(view->model()->rowCount(), 4);
    EXPECT_EQ(view->currentIndex().row(), 3);
    QTest::keyClick(view.get(), Qt::Key_Down);  // no second blank row
    EXPECT_EQ(view->model()->rowCount(), 4);
    QTest::keyClick(view.get(), Qt::Key_Up);
    settle();
    EXPECT_EQ(view->model()->rowCount(), 3);
    EXPECT_EQ(table.recordCount(), 3);
}

TEST_F(DataGridViewTest, CtrlDeleteDeletesTheRowOnlyWhenTheUserAgrees) {
    view->setCurrentIndex(view->model()->index(0, 0));
    settle();
    dialogs.answers = {false, true};
    QTest::keyClick(view.get(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(table.recordCount(), 3);
    QTest::keyClick(view.get(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(table.recordCount(), 2);
    EXPECT_EQ(dialogs.questions, (std::vector<std::string>{"Delete record?", "Delete record?"}));
    EXPECT_EQ(view->model()->data(view->model()->index(0, 1)).toString(), "Week B");
}

TEST_F(DataGridViewTest, AReadOnlyGridTakesNoTextAndAppendsNothing) {
    control.setReadOnly(true);
    view->setCurrentIndex(view->model()->index(2, 1));
    settle();
    QTest::keyClick(view.get(), Qt::Key_Down);
    QTest::keyClicks(view.get(), "x");
    EXPECT_EQ(table.state(), dbf::Table::State::Browse);
    EXPECT_EQ(view->model()->rowCount(), 3);
}

TEST_F(DataGridViewTest, FollowsItsControlToAnotherDataSetAndOtherColumns) {
    dbf::testing::makeTable(dir.path(), "LIST.DBF", {{"L1", 'N', 6}, {"L2", 'C', 30}},
                            {{I(9), S("Tea")}});
    dbf::Table list;
    list.setDirectory(dir.path());
    list.setTableName("LIST.DBF");
    list.open();
    core::DataSource other{"DataSource6", &list};
    control.setColumns(core::gridColumns({{"L2", "Food"}}));
    control.setSource(&other);
    ASSERT_EQ(view->model()->rowCount(), 1);
    EXPECT_EQ(view->model()->columnCount(), 1);
    EXPECT_EQ(view->model()->data(view->model()->index(0, 0)).toString(), "Tea");
    control.setVisible(false);
    EXPECT_TRUE(view->isHidden());
    control.setSource(&source);  // back before `other` goes
}

}  // namespace

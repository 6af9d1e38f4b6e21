// The grid of text cells: the title row as the header, the current cell both ways, typed
// cells back into the control, Qt's model checks throughout.
#include "ui/string_grid_view.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "core/nutrient_grid.h"

namespace {

class StringGridViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        grid.setCell(0, 0, "NUTRIENTS");
        grid.setCell(0, 1, "Water");
        grid.setCell(2, 1, "Retinol");
        view = std::make_unique<ui::StringGridView>(grid);
        tester = std::make_unique<QAbstractItemModelTester>(
            view->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        view->show();
        QApplication::setActiveWindow(view.get());
        view->setFocus();
    }

    core::NutrientGrid grid{"StringGrid3"};
    std::unique_ptr<ui::StringGridView> view;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(StringGridViewTest, ShowsTheTitleRowAsHeaderAndTheOtherRowsAsCells) {
    QAbstractItemModel* model = view->model();
    EXPECT_EQ(view->objectName(), "StringGrid3");
    EXPECT_EQ(model->rowCount(), 29);
    EXPECT_EQ(model->columnCount(), 8);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "NUTRIENTS");
    EXPECT_EQ(model->data(model->index(0, 0)).toString(), "Water");
    grid.setCell(1, 0, "in 100 gr.");
    grid.setCell(1, 1, "12.5");
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "in 100 gr.");
    EXPECT_EQ(model->data(model->index(0, 1)).toString(), "12.5");
}

TEST_F(StringGridViewTest, TheCurrentCellFollowsTheControlAndTheUser) {
    grid.setCurrentCell(6, 28);
    EXPECT_EQ(view->currentIndex().row(), 27);
    EXPECT_EQ(view->currentIndex().column(), 6);
    view->setCurrentIndex(view->model()->index(0, 3));
    EXPECT_EQ(grid.col(), 3);
    EXPECT_EQ(grid.row(), 1);
}

TEST_F(StringGridViewTest, TypedTextGoesIntoTheCellOfAnEditableGrid) {
    grid.editable = true;
    tester.reset();
    view = std::make_unique<ui::StringGridView>(grid);
    view->show();
    QApplication::setActiveWindow(view.get());
    view->setFocus();
    view->setCurrentIndex(view->model()->index(0, 1));
    QTest::keyClick(view.get(), Qt::Key_F2);
    auto* editor = view->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "12.5");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.cell(1, 1), "12.5");
}

TEST_F(StringGridViewTest, AGridThatIsNotEditableKeepsItsCells) {
    view->setCurrentIndex(view->model()->index(0, 1));
    QTest::keyClicks(view.get(), "7");
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.cell(1, 1), "");
}

}  // namespace

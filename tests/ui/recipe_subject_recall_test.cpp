// A user builds a recipe, analyses it, registers a subject and records a recall, with keys
// and clicks on the three tabs.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "main_window_fixture.h"
#include "ui/data_grid_view.h"
#include "ui/picture_button.h"
#include "ui/string_grid_view.h"

namespace {

using ui::testing::MainWindowTest;

void clickCell(QAbstractItemView* view, int row, int column) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(row, column)).center());
    QCoreApplication::processEvents();
}

TEST_F(MainWindowTest, AUserBuildsARecipeAnalysesItRegistersASubjectAndRecordsARecall) {
    open();
    dialogs.messages.clear();  // the first start's BACKUP notice
    auto show = [this](int tab) {
        window->tabs()->setCurrentIndex(tab);
        QCoreApplication::processEvents();
    };
    // A breakfast recipe of the first food.
    show(1);
    auto* meal = widget<QComboBox>("ComboBox1");
    meal->setFocus();
    QTest::keyClick(meal, Qt::Key_Down);  // "Breakfast": the list shows that meal only
    EXPECT_EQ(form->DBF3.filter(), "GHAZ2 = 'Breakfast'");
    QTest::mouseClick(widget<QPushButton>("TAB3Add"), Qt::LeftButton);
    auto* recipes = widget<ui::DataGridView>("GhazahaGrid");
    ASSERT_EQ(recipes->model()->rowCount(), 1);
    EXPECT_EQ(recipes->model()->data(recipes->model()->index(0, 0)).toString(), "6");
    clickCell(widget<ui::DataGridView>("DBGrid2"), 0, 2);  // Apple
    QTest::mouseClick(widget<QPushButton>("ADDFOOD"), Qt::LeftButton);
    auto* contents = widget<ui::DataGridView>("DBGrid1");
    ASSERT_EQ(contents->model()->rowCount(), 1);
    EXPECT_EQ(contents->model()->data(contents->model()->index(0, 0)).toString(), "1");

    // Its analysis per 100 g.
    QTest::mouseClick(widget<ui::PictureButton>("Image1"), Qt::LeftButton);
    auto* nutrients = widget<ui::StringGridView>("StringGrid1");
    EXPECT_EQ(nutrients->model()->headerData(1, Qt::Horizontal).toString(), "100 gr");

    // A new subject, then a food of the short list into the subject's recall.
    show(4);
    QTest::mouseClick(widget<QPushButton>("AddSubj"), Qt::LeftButton);
    EXPECT_EQ(form->DBF9.value("SU1").asInteger(), 9);
    show(3);
    clickCell(widget<ui::DataGridView>("DBGrid5"), 0, 1);
    QTest::mouseClick(widget<QPushButton>("Button22"), Qt::LeftButton);
    QTest::mouseClick(widget<QPushButton>("Button11"), Qt::LeftButton);
    auto* recall = widget<ui::DataGridView>("DBGrid9");
    ASSERT_EQ(recall->model()->rowCount(), 1);
    EXPECT_EQ(recall->model()->data(recall->model()->index(0, 0)).toString(), "9");
    EXPECT_EQ(recall->model()->data(recall->model()->index(0, 1)).toString(), "1");
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front();
}

}  // namespace

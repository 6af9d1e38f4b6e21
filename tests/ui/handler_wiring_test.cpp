// Each page's handler table: the user event of every control in it reaches its handler, and
// a user can search, rank and export on the "Food Processor" tab with keys and clicks.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <filesystem>

#include "core/platform.h"
#include "main_window_fixture.h"
#include "ui/data_grid_view.h"
#include "ui/handler_table.h"
#include "ui/string_grid_view.h"

namespace {

using ui::testing::MainWindowTest;

// Presses, checks or double-clicks the widget as a user does.
void trigger(QWidget* widget, ui::UserEvent event) {
    widget->setEnabled(true);
    if (event == ui::UserEvent::TitleClick) {
        auto* view = qobject_cast<QTableView*>(widget);
        ASSERT_NE(view, nullptr);
        QHeaderView* titles = view->horizontalHeader();
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {},
                          QPoint(titles->sectionViewportPosition(1) + 5, titles->height() / 2));
        return;
    }
    if (event == ui::UserEvent::DoubleClick) {
        auto* view = qobject_cast<QAbstractItemView*>(widget);
        ASSERT_NE(view, nullptr);
        const QRect cell = view->visualRect(view->model()->index(0, 0));
        // QTest's double-click counts as one only after a first press on the cell.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        return;
    }
    if (event == ui::UserEvent::Chosen) {
        auto* box = qobject_cast<QComboBox*>(widget);
        ASSERT_NE(box, nullptr);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Down);  // a key chooses the next item
        return;
    }
    if (event == ui::UserEvent::Entered) {
        widget->window()->setFocus();
        QTest::mouseClick(widget, Qt::LeftButton);
        return;
    }
    auto* button = qobject_cast<QAbstractButton*>(widget);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

class HandlerWiringTest : public MainWindowTest {
  protected:
    void TearDown() override { ui::setHandlerDispatch({}); }
};

TEST_F(HandlerWiringTest, EachControlsUserEventReachesItsHandler) {
    std::vector<ui::Handler> reached;
    ui::setHandlerDispatch([&reached](core::MainForm&, ui::Handler h) { reached.push_back(h); });
    open();
    const std::pair<const char*, const ui::HandlerTable*> pages[] = {
        {"TabSheet5", &ui::foodProcessorHandlers()},
        {"TabSheet3", &ui::editFoodDatabaseHandlers()},
        {"TabSheet6", &ui::foodAnalysisHandlers()},
        {"TabSheet21", &ui::setupHandlers()},
        {"TabSheet11", &ui::subjectHandlers()}};
    for (const auto& [name, table] : pages) {
        QWidget* page = widget<QWidget>(name);
        window->tabs()->setCurrentWidget(page);
        QCoreApplication::processEvents();
        for (const ui::HandlerRow& row : *table) {
            SCOPED_TRACE(std::string(name) + " " + row.control);
            QWidget* control = page->findChild<QWidget*>(QString::fromLatin1(row.control));
            ASSERT_NE(control, nullptr);
            control->show();
            QCoreApplication::processEvents();  // laid out before it is clicked
            auto* radio = qobject_cast<QAbstractButton*>(control);
            if (row.event == ui::UserEvent::Checked && radio->isChecked()) {
                // Checked already: another button of its group first.
                for (QAbstractButton* other : radio->group()->buttons())
                    if (other != radio) other->click();
            }
            reached.clear();
            trigger(control, row.event);
            EXPECT_EQ(reached, std::vector<ui::Handler>{row.handler});
        }
    }
}

TEST_F(MainWindowTest, AUserSearchesRanksAndExportsOnTheFoodProcessorTab) {
    core::testing::DataContent content;
    content.foods = {{core::testing::I(1), core::testing::S("Apple"), core::testing::S("sib"),
                      core::testing::F(85)},
                     {core::testing::I(2), core::testing::S("Bread"), core::testing::S("nan"),
                      core::testing::F(36)},
                     {core::testing::I(3), core::testing::S("Pineapple"),
                      core::testing::S("ananas"), core::testing::F(86)}};
    open(content);
    std::filesystem::create_directories(app() / "EXPORT");
    window->tabs()->setCurrentIndex(1);
    QCoreApplication::processEvents();

    // Search in English: the radio button, then the keys, then the button.
    QTest::mouseClick(widget<QAbstractButton>("ENGLISH"), Qt::LeftButton);
    EXPECT_EQ(form->keyboard.activeLayout(), core::usEnglishLayout);
    auto* search = widget<QLineEdit>("Edit4");
    search->setFocus();
    QTest::keyClicks(search, "apple");
    QTest::mouseClick(widget<QPushButton>("FSEARCH"), Qt::LeftButton);
    auto* foods = widget<ui::DataGridView>("DBGrid2");
    EXPECT_EQ(foods->model()->rowCount(), 2);
    EXPECT_EQ(widget<QLabel>("COUNTER")->text(), QString::fromUtf8("رکورد 2"));
    EXPECT_TRUE(widget<QAbstractButton>("FARSI")->isChecked());

    // Rank by the first nutrient, chosen with a click on its value cell.
    auto* nutrients = widget<ui::StringGridView>("StringGrid1");
    QTest::mouseClick(nutrients->viewport(), Qt::LeftButton, {},
                      nutrients->visualRect(nutrients->model()->index(0, 1)).center());
    QTest::mouseClick(widget<QPushButton>("Highest"), Qt::LeftButton);
    ASSERT_EQ(foods->model()->rowCount(), 3);
    EXPECT_EQ(foods->model()->data(foods->model()->index(0, 2)).toString(), "Pineapple");
    auto* save = widget<QPushButton>("SaveFIle");
    EXPECT_TRUE(save->isEnabled());

    dialogs.fileName = (app() / "EXPORT" / "ranking.TXT").string();
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(core::testing::readFile(app() / "EXPORT" / "ranking.TXT"),
              "CODE ; FOOD NAME ; Value in 100 gr; Unit\r\n3;Pineapple;86;g\r\n1;Apple;85;g\r\n"
              "2;Bread;36;g\r\n");

    // The profile of the ingredient chosen in the recipe's contents.
    dialogs.fileName = (app() / "EXPORT" / "profile.TXT").string();
    QTest::mouseClick(widget<QPushButton>("Export"), Qt::LeftButton);
    const std::string profile = core::testing::readFile(app() / "EXPORT" / "profile.TXT");
    EXPECT_EQ(profile.substr(0, profile.find("\r\n")),
              " LIST OF NUTRIENTS in 100 gr of Apple CODE: 1");
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
}

}  // namespace

// The main window over a small application directory: the tabs in their order, the widgets
// of the form model's controls, the grids filled as the open sequence leaves them, edits
// that reach the tables, the Setup tab's handlers and the close sequence.
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "core/app_fixture.h"
#include "core/formats.h"
#include "core/platform.h"
#include "dbf/codepage1256.h"
#include "main_window_fixture.h"
#include "ui/data_grid_view.h"
#include "ui/directory_list_view.h"
#include "ui/picture_button.h"
#include "ui/screen_scale.h"
#include "ui/secondary_windows.h"
#include "ui/string_grid_view.h"

namespace {

using core::testing::DataContent;
using core::testing::I;
using core::testing::S;

using ui::testing::MainWindowTest;

TEST_F(MainWindowTest, ShowsTheSevenTabsRightToLeftOpeningOnHelp) {
    ui::MainWindow& w = open();
    EXPECT_EQ(w.windowTitle(), "Halvora Software");
    QTabWidget* tabs = w.tabs();
    EXPECT_EQ(tabs->objectName(), "PageControl1");
    EXPECT_EQ(tabs->layoutDirection(), Qt::RightToLeft);
    const QStringList captions = {"Weekly Diet Plans",
                                  "Food Processor",
                                  "Edit Food Database",
                                  "Food Analysis",
                                  "Subject",
                                  "Setup",
                                  "Help"};
    const QStringList names = {"TabSheet2",  "TabSheet5",  "TabSheet3", "TabSheet6",
                               "TabSheet11", "TabSheet21", "TabSheet4"};
    ASSERT_EQ(tabs->count(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(tabs->tabText(i), captions[i]);
        EXPECT_EQ(tabs->widget(i)->objectName(), names[i]);
    }
    EXPECT_EQ(tabs->currentIndex(), 6);
    tabs->setCurrentIndex(1);
    EXPECT_EQ(form->PageControl1.activeIndex(), 1);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
}

TEST_F(MainWindowTest, EveryControlHasItsWidgetWithItsCaptionAndState) {
    open();
    EXPECT_EQ(widget<QLabel>("COUNTER")->text(), "********");
    EXPECT_EQ(widget<QPushButton>("SaveFIle")->text(), "Save to Text");
    EXPECT_FALSE(widget<QPushButton>("SaveFIle")->isEnabled());
    EXPECT_EQ(widget<QPushButton>("Button48")->text(), "Change Dispaly Resolution");
    EXPECT_EQ(widget<QPushButton>("CreateDatabases")->text(), "Create Databses");
    EXPECT_EQ(widget<QLabel>("HelpText")->text().section('\n', 0, 0),
              "This program is able to analyze 112 nutrients of more than 5000 foods.");
    EXPECT_FALSE(widget<QLabel>("HelpPicture")->pixmap().isNull());
    EXPECT_FALSE(widget<ui::PictureButton>("Image22")->picture().isNull());
    EXPECT_EQ(widget<QLabel>("Label36")->text(), "data\\");
    for (const char* name : {"Edit4", "Edit1", "Edit2", "Food_Code", "AZ", "TA"})
        widget<QLineEdit>(name);
    for (const char* name :
         {"DBGrid2", "DBGrid8", "GhazahaGrid", "DBGrid1", "DBGrid3", "DBGrid4", "SNACKDBGrid",
          "DBGrid5", "DBGridRES24", "DBGrid9", "DBGrid10", "DBGrid11", "DBGrid7", "DBGBreakfast",
          "DBGLunch", "DBGDinner", "DBGSnack"})
        widget<ui::DataGridView>(name);
    for (const char* name : {"StringGrid1", "StringGrid3", "StringGrid4", "WDIETGRID"})
        widget<ui::StringGridView>(name);
    widget<QCalendarWidget>("MonthCalendar1");
    EXPECT_EQ(widget<QTabWidget>("PageControl3")->tabText(3), "After Dinner");
}

TEST_F(MainWindowTest, GridsShowWhatTheOpenSequenceLeftInTheTables) {
    DataContent content;
    content.foods = {{I(1), S("Apple"), S(dbf::cp1256::fromUtf8("سیب"))},
                     {I(0), S("Placeholder"), S("x")},
                     {I(2), S("Bread"), S(dbf::cp1256::fromUtf8("نان"))}};
    open(content);
    auto* foods = widget<ui::DataGridView>("DBGrid8");
    ASSERT_EQ(foods->model()->rowCount(), 3);
    // Stored with the code page's yeh, shown with the Persian yeh Farsi readers expect.
    EXPECT_EQ(foods->model()->data(foods->model()->index(0, 1)).toString(),
              QString::fromUtf8("سیب"));
    EXPECT_EQ(foods->model()->headerData(1, Qt::Horizontal).toString(), "FOOD NAME [FARSI]");
    // The food listing leaves out codes that are not positive.
    auto* listing = widget<ui::DataGridView>("DBGrid2");
    ASSERT_EQ(listing->model()->rowCount(), 2);
    EXPECT_EQ(listing->model()->data(listing->model()->index(1, 2)).toString(), "Bread");
    // The recall of the first subject (code 7), the contents of the first recipe (code 4).
    EXPECT_EQ(widget<ui::DataGridView>("DBGrid9")->model()->rowCount(), 2);
    EXPECT_EQ(widget<ui::DataGridView>("DBGrid1")->model()->rowCount(), 2);
    EXPECT_EQ(widget<ui::DataGridView>("DBGrid10")->model()->rowCount(), 2);
    auto* nutrients = widget<ui::StringGridView>("StringGrid1");
    EXPECT_EQ(nutrients->model()->data(nutrients->model()->index(0, 0)).toString(), "Nutrient 1");
    EXPECT_EQ(nutrients->model()->data(nutrients->model()->index(0, 2)).toString(), "Nutrient 30");
    EXPECT_EQ(nutrients->model()->rowCount(), 29);
    // Column widths and the row height are the control's, scaled for the screen.
    const int widths[] = {161, 46, 164, 43, 197, 56, 251, 57};
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(nutrients->columnWidth(c), ui::scaled(widths[c], nutrients));
    EXPECT_EQ(nutrients->rowHeight(0), ui::scaled(12, nutrients));
    EXPECT_FALSE(widget<ui::DataGridView>("DBGrid8")->isHidden());  // shown by the open sequence
}

TEST_F(MainWindowTest, AnEditTypedIntoAGridReachesTheTable) {
    open();
    form->keyboard.activate(core::usEnglishLayout);
    window->tabs()->setCurrentIndex(2);
    typeIntoCell(widget<ui::DataGridView>("DBGrid8"), 0, 2, QStringLiteral("Green apple"));
    EXPECT_EQ(stored("FOODS.DBF", "N2", 1).substr(0, 11), "Green apple");
}

TEST_F(MainWindowTest, ADateTheCalendarLacksIsRefusedAndTheRowStaysInEdit) {
    open();
    form->keyboard.activate(core::usEnglishLayout);
    window->tabs()->setCurrentIndex(4);
    auto* grid = widget<ui::DataGridView>("DBGrid7");
    const dbf::Value before = form->DBF9.value("SU7");
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 6));  // "Date"
    QCoreApplication::processEvents();
    QTest::keyClick(grid, Qt::Key_F2);
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "11/2/31");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors.back(), "'11/2/31' is not a valid date");
    EXPECT_EQ(form->DBF9.state(), dbf::Table::State::Edit);
    EXPECT_EQ(form->DBF9.value("SU7").isNull(), before.isNull());
    // The grid shows dates in the short date format.
    form->DBF9.setValue("SU7", dbf::Value::date(core::dateValue(2011, 7, 9)));
    EXPECT_EQ(grid->model()->data(grid->model()->index(0, 6)).toString(), "11/7/9");
}

TEST_F(MainWindowTest, TheRecipeDescriptionIsWrittenIntoTheRecipeWhenTheBoxIsLeft) {
    open();
    form->keyboard.activate(core::usEnglishLayout);
    window->tabs()->setCurrentIndex(1);
    auto* memo = widget<QPlainTextEdit>("DBMemo1");
    EXPECT_EQ(memo->toPlainText(), "hot");  // the first recipe's GHAZ5
    memo->setFocus();
    EXPECT_EQ(form->keyboard.activeLayout(), core::persianLayout);  // the box takes Farsi
    form->keyboard.activate(core::usEnglishLayout);
    memo->selectAll();
    QTest::keyClicks(memo, "served cold");
    widget<QLineEdit>("Edit4")->setFocus();
    EXPECT_EQ(form->DBF3.state(), dbf::Table::State::Edit);
    form->DBF3.next();  // leaving the row posts it
    EXPECT_EQ(stored("RECIPE.DBF", "GHAZ5", 1), "served cold");
    EXPECT_EQ(memo->toPlainText(), "");  // the second recipe has no description
}

TEST_F(MainWindowTest, ThePersianLayoutTypesFarsiLettersInEditsAndGrids) {
    open();
    ASSERT_EQ(form->keyboard.activeLayout(), core::persianLayout);  // as start-up leaves it
    EXPECT_TRUE(window->statusBar()
                    ->findChild<QAbstractButton*>("KeyboardLayout")
                    ->text()
                    .contains("Persian"));
    window->tabs()->setCurrentIndex(1);
    auto* search = widget<QLineEdit>("Edit4");
    search->setFocus();
    QTest::keyClicks(search, "sghl");
    EXPECT_EQ(search->text(), QString::fromUtf8("سلام"));
    EXPECT_EQ(form->foodProcessor.Edit4.text(), "سلام");
    EXPECT_EQ(search->layoutDirection(), Qt::RightToLeft);
    // Digits stay digits, so codes still read as numbers.
    search->clear();
    QTest::keyClicks(search, "12");
    EXPECT_EQ(search->text(), "12");

    window->tabs()->setCurrentIndex(2);
    typeIntoCell(widget<ui::DataGridView>("DBGrid8"), 0, 1, QStringLiteral("khk"));
    EXPECT_EQ(stored("FOODS.DBF", "N3", 1).substr(0, 3), dbf::cp1256::fromUtf8("نان"));

    form->keyboard.activate(core::usEnglishLayout);
    EXPECT_TRUE(window->statusBar()
                    ->findChild<QAbstractButton*>("KeyboardLayout")
                    ->text()
                    .contains("English"));
    search->clear();
    QTest::keyClicks(search, "sghl");
    EXPECT_EQ(search->text(), "sghl");
}

TEST_F(MainWindowTest, TheSetupTabRunsItsHandlers) {
    open();
    window->tabs()->setCurrentIndex(5);
    widget<QCalendarWidget>("MonthCalendar1")->setSelectedDate(QDate(2011, 7, 9));
    EXPECT_EQ(form->setup.MonthCalendar1.date(), core::dateValue(2011, 7, 9));
    widget<QPushButton>("ChangeDate")->click();
    EXPECT_EQ(widget<QLabel>("DateLabel")->text(), "11/7/9");
    EXPECT_EQ(widget<QLabel>("TodayLabel")->text(), "11/7/9");
    EXPECT_EQ(form->state.workingDate, core::dateValue(2011, 7, 9));

    form->setup.ComboBox7.setItemIndex(3);
    display.switches = true;
    widget<QPushButton>("Button48")->click();
    ASSERT_FALSE(display.requests.empty());
    EXPECT_EQ(display.requests.back(), std::make_tuple(1152, 864, 32));
    EXPECT_EQ(dialogs.messages.back(), "Resolution changed to 1152x864!");
}

TEST_F(MainWindowTest, ADayChosenWithTheArrowKeysIsTheWorkingDateAndWhatChangeDateStamps) {
    open();
    window->tabs()->setCurrentIndex(5);
    auto* calendar = widget<QCalendarWidget>("MonthCalendar1");
    calendar->setSelectedDate(QDate(2011, 7, 9));
    const QString shown = widget<QLabel>("DateLabel")->text();
    auto* days = calendar->findChild<QAbstractItemView*>();
    ASSERT_NE(days, nullptr);
    days->setFocus();
    QTest::keyClick(days, Qt::Key_Down);  // a week later
    EXPECT_EQ(form->state.workingDate, core::dateValue(2011, 7, 16));
    EXPECT_EQ(widget<QLabel>("DateLabel")->text(), shown);  // until "Change Date"
    QTest::mouseClick(widget<QPushButton>("ChangeDate"), Qt::LeftButton);
    EXPECT_EQ(widget<QLabel>("DateLabel")->text(), "11/7/16");
    EXPECT_EQ(form->DBF9.value("SU7").asDate(), core::dateValue(2011, 7, 16));
}

TEST_F(MainWindowTest, TheDirectoryListSwitchesToAnotherDataDirectoryAndBack) {
    DataContent other;
    other.foods = {{I(11), S("Dates"), S("x")}};
    core::testing::writeDataDirectory(app() / "demo", other);
    open();
    window->tabs()->setCurrentIndex(5);
    auto* list = widget<ui::DirectoryListView>("DirectoryListBox1");
    auto clickFolder = [&](const std::filesystem::path& folder) {
        const QString wanted = QString::fromStdString(folder.string());
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->data(Qt::UserRole).toString() != wanted) continue;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(i)).center());
            QCoreApplication::processEvents();
            return;
        }
        ADD_FAILURE() << "no folder " << folder;
    };
    auto* foods = widget<ui::DataGridView>("DBGrid8");
    ASSERT_EQ(foods->model()->rowCount(), 3);
    clickFolder(app());
    clickFolder(app() / "demo");
    widget<QPushButton>("Button50")->click();
    EXPECT_EQ(widget<QLabel>("Label36")->text(), "demo\\");
    ASSERT_EQ(foods->model()->rowCount(), 1);
    EXPECT_EQ(foods->model()->data(foods->model()->index(0, 2)).toString(), "Dates");

    clickFolder(app());
    clickFolder(app() / "data");
    widget<QPushButton>("Button50")->click();
    EXPECT_EQ(widget<QLabel>("Label36")->text(), "data\\");
    EXPECT_EQ(foods->model()->rowCount(), 3);
}

TEST_F(MainWindowTest, ClosingRunsTheCloseSequenceAndClosesTheOtherWindows) {
    open();
    ui::ResultDialog form2(form->Form2, &dialogs, window.get());
    ui::EnergyChartDialog form3(form->Form3, &dialogs, window.get());
    ui::FoodAnalysisChartDialog form4(form->Form4, &dialogs, window.get());
    for (QDialog* d : std::initializer_list<QDialog*>{&form2, &form3, &form4}) d->show();
    window->close();
    EXPECT_TRUE(form->terminated());
    EXPECT_FALSE(form->DBF2.isOpen());
    EXPECT_FALSE(form->Query1.isOpen());
    EXPECT_FALSE(form2.isVisible());
    EXPECT_FALSE(form3.isVisible());
    EXPECT_FALSE(form4.isVisible());
    EXPECT_EQ(form2.objectName(), "TForm2");
}

}  // namespace

// The binders carry what the user does to a widget into its control, however it is done:
// keys, clicks, a program or a screen reader setting the widget's state. Each case drives
// the widget the way the failing path did and reads the control model.
#include "ui/bindings.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>
#include <functional>

#include "core/controls.h"
#include "ui/picture_button.h"

namespace {

// Shows a widget as the active window, as the user sees it.
void showActive(QWidget& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    QCoreApplication::processEvents();
}

QAccessible::Role roleOf(QObject* object) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->role() : QAccessible::NoRole;
}

// The Setup tab's display modes.
std::vector<std::string> modes() {
    return {"960x600",  "1024x768", "1088x612", "1152x720",
            "1280x768", "1280x800", "1360x768", "1440x900"};
}

TEST(ComboBoxBinding, AChosenItemIsChosenHoweverItIsChosen) {
    const struct {
        const char* how;
        std::function<void(QComboBox&)> choose;
        int index;
        const char* text;
    } cases[] = {
        {"Down", [](QComboBox& box) { QTest::keyClick(&box, Qt::Key_Down); }, 2, "1088x612"},
        {"Up", [](QComboBox& box) { QTest::keyClick(&box, Qt::Key_Up); }, 0, "960x600"},
        {"setCurrentIndex", [](QComboBox& box) { box.setCurrentIndex(3); }, 3, "1152x720"},
        {"a click on an item of the open list",
         [](QComboBox& box) {
             box.showPopup();
             QAbstractItemView* list = box.view();
             QCoreApplication::processEvents();
             const QRect item = list->visualRect(list->model()->index(6, 0));
             QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
         },
         6, "1360x768"},
        {"typed text that equals an item",
         [](QComboBox& box) {
             box.lineEdit()->selectAll();
             QTest::keyClick(box.lineEdit(), Qt::Key_Delete);
             QTest::keyClicks(box.lineEdit(), "1280x800");
         },
         5, "1280x800"},
        {"a screen reader's toggle of an item of the closed list",
         [](QComboBox& box) {
             QAccessibleInterface* list = QAccessible::queryAccessibleInterface(box.view());
             ASSERT_NE(list, nullptr);
             QAccessibleInterface* item = list->child(4);
             ASSERT_NE(item, nullptr);
             ASSERT_NE(item->actionInterface(), nullptr);
             item->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
         },
         4, "1280x768"},
        {"text set into the box's edit",
         [](QComboBox& box) { box.lineEdit()->setText("1440x900"); }, 7, "1440x900"},
        {"other typed text",
         [](QComboBox& box) {
             box.lineEdit()->selectAll();
             QTest::keyClicks(box.lineEdit(), "800x600");
         },
         -1, "800x600"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        core::ComboBox control("ComboBox7");
        control.setItems(modes());
        control.setItemIndex(1);
        QComboBox box;
        ui::bindComboBox(&box, control);
        showActive(box);
        box.setFocus();
        c.choose(box);
        QCoreApplication::processEvents();
        EXPECT_EQ(control.itemIndex(), c.index);
        EXPECT_EQ(control.text(), c.text);
        EXPECT_EQ(box.currentText(), QString::fromLatin1(c.text));
    }
}

TEST(ComboBoxBinding, ShowsWhatTheModelChoosesAndATextWithoutAnItem) {
    core::ComboBox control("ComboBox4");
    control.setItems({"Breakfast", "Lunch", "Dinner", "Snack", ""});
    control.setText("Breakfast");  // shown, yet no item chosen
    QComboBox box;
    ui::bindComboBox(&box, control);
    EXPECT_EQ(box.currentText(), "Breakfast");
    EXPECT_EQ(control.itemIndex(), -1);
    control.setItemIndex(2);
    EXPECT_EQ(box.currentIndex(), 2);
    EXPECT_EQ(box.currentText(), "Dinner");
    control.setItemIndex(-1);
    control.setText("Late snack");
    EXPECT_EQ(box.currentText(), "Late snack");
    EXPECT_EQ(control.itemIndex(), -1);
}

TEST(ComboBoxBinding, AnItemChosenByTypingIsWhereTheKeysGoOnFrom) {
    core::ComboBox control("ComboBox7");
    control.setItems(modes());
    control.setItemIndex(1);
    QWidget page;
    auto* box = new QComboBox(&page);
    auto* other = new QLineEdit(&page);
    auto* column = new QVBoxLayout(&page);
    column->addWidget(box);
    column->addWidget(other);
    ui::bindComboBox(box, control);
    showActive(page);
    box->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), "1280x800");
    other->setFocus();  // the typing is done
    EXPECT_EQ(box->currentIndex(), 5);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(control.itemIndex(), 6);
    EXPECT_EQ(control.text(), "1360x768");
}

TEST(EditBinding, TypingInTheMiddleOfTheTextKeepsTheCursorThere) {
    core::Edit control("Edit4");
    control.setMaxLength(40);
    QLineEdit edit;
    ui::bindEdit(&edit, control);
    control.setText("apple");
    showActive(edit);
    edit.setFocus();
    edit.setCursorPosition(0);
    QTest::keyClicks(&edit, "xy");
    EXPECT_EQ(edit.text(), "xyapple");
    EXPECT_EQ(control.text(), "xyapple");
    EXPECT_EQ(edit.cursorPosition(), 2);
}

TEST(EditBinding, TextSetOtherThanByTypingReachesTheModel) {
    core::Edit control("Edit4");
    QLineEdit edit;
    ui::bindEdit(&edit, control);
    edit.setText("apple");  // as an input method or a screen reader sets it
    EXPECT_EQ(control.text(), "apple");
    edit.insert(" pie");  // as a paste does
    EXPECT_EQ(control.text(), "apple pie");
    control.setText("bread");
    EXPECT_EQ(edit.text(), "bread");
    edit.clear();
    EXPECT_EQ(control.text(), "");
}

class RadioGroupBoxBinding : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::bindRadioGroupBox(&box, control);
        showActive(box);
    }
    QRadioButton* item(int i) {
        return box.findChild<QRadioButton*>("RadioGroup1" + QString::number(i));
    }
    core::RadioGroupBox control{"RadioGroup1", "", {"Breakfast", "Lunch", "Dinner", "Snack"}};
    QGroupBox box;
};

TEST_F(RadioGroupBoxBinding, FollowsTheCheckedItemByKeysAndByToggle) {
    QTest::mouseClick(item(0), Qt::LeftButton);
    EXPECT_EQ(control.itemIndex(), 0);
    item(0)->setFocus();
    QTest::keyClick(item(0), Qt::Key_Down);  // the next item of the group, below-left
    EXPECT_NE(control.itemIndex(), 0);
    EXPECT_TRUE(item(control.itemIndex())->isChecked());
    item(3)->toggle();  // a screen reader's toggle
    EXPECT_EQ(control.itemIndex(), 3);
    EXPECT_FALSE(item(0)->isChecked());
    QTest::mouseClick(item(3), Qt::LeftButton);  // the chosen item stays chosen
    EXPECT_TRUE(item(3)->isChecked());
    EXPECT_EQ(control.itemIndex(), 3);
    EXPECT_EQ(roleOf(item(1)), QAccessible::RadioButton);
}

TEST_F(RadioGroupBoxBinding, ANoneChosenModelUnchecksEveryItem) {
    control.setItemIndex(1);
    EXPECT_TRUE(item(1)->isChecked());
    control.setItemIndex(-1);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(item(i)->isChecked()) << i;
}

TEST(RadioButtonBinding, EachModelGroupIsExclusiveOnItsOwnAndFollowsTheCheckedState) {
    // Two groups side by side on one page, as FARSI/ENGLISH and FOODS/Recipes are.
    core::RadioGroup language, scope;
    core::RadioButton farsi("FARSI", "FARSI", language), english("ENGLISH", "ENGLISH", language);
    core::RadioButton foods("DBF", "FOODS", scope), recipes("Recipes", "Recipes", scope);
    farsi.setChecked(true);
    foods.setChecked(true);
    QWidget page;
    auto* column = new QVBoxLayout(&page);
    QRadioButton* widgets[4];
    core::RadioButton* controls[4] = {&farsi, &english, &foods, &recipes};
    for (int i = 0; i < 4; ++i) {
        widgets[i] = new QRadioButton(&page);
        ui::bindRadioButton(widgets[i], *controls[i]);
        column->addWidget(widgets[i]);
    }
    showActive(page);
    widgets[1]->toggle();  // a screen reader toggles ENGLISH
    EXPECT_TRUE(english.checked());
    EXPECT_FALSE(farsi.checked());
    EXPECT_FALSE(widgets[0]->isChecked());
    EXPECT_TRUE(foods.checked());  // the other group keeps its choice
    EXPECT_TRUE(widgets[2]->isChecked());

    widgets[2]->setFocus();
    QTest::keyClick(widgets[2], Qt::Key_Down);  // the arrow keys move within a group
    EXPECT_TRUE(recipes.checked());
    EXPECT_TRUE(english.checked());

    farsi.setChecked(true);  // a handler checks FARSI
    EXPECT_TRUE(widgets[0]->isChecked());
    EXPECT_FALSE(widgets[1]->isChecked());
    farsi.setChecked(false);  // and leaves none checked
    EXPECT_FALSE(widgets[0]->isChecked());
    QTest::mouseClick(widgets[3], Qt::LeftButton);  // a click on the checked one keeps it
    EXPECT_TRUE(recipes.checked());
    EXPECT_EQ(roleOf(widgets[0]), QAccessible::RadioButton);
}

TEST(CalendarBinding, ADayChosenWithTheArrowKeysIsTaken) {
    core::Calendar control("MonthCalendar1");
    control.setDate(ui::dateValueOf(QDate(2011, 7, 9)));
    QCalendarWidget calendar;
    ui::bindCalendar(&calendar, control);
    showActive(calendar);
    auto* days = calendar.findChild<QTableView*>();
    ASSERT_NE(days, nullptr);
    days->setFocus();
    QTest::keyClick(days, Qt::Key_Right);
    QTest::keyClick(days, Qt::Key_Down);
    EXPECT_EQ(ui::dateOf(control.date()), QDate(2011, 7, 17));
    calendar.setSelectedDate(QDate(2012, 1, 2));  // the selection set by any other way
    EXPECT_EQ(ui::dateOf(control.date()), QDate(2012, 1, 2));
}

TEST(CalendarBinding, ADayToggledByAScreenReaderIsTaken) {
    core::Calendar control("MonthCalendar1");
    control.setDate(ui::dateValueOf(QDate(2011, 7, 9)));
    QCalendarWidget calendar;
    calendar.setFirstDayOfWeek(Qt::Saturday);
    ui::bindCalendar(&calendar, control);
    showActive(calendar);
    auto* days = calendar.findChild<QTableView*>();
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(days);
    ASSERT_NE(table, nullptr);
    ASSERT_NE(table->tableInterface(), nullptr);
    // Toggles the cell that shows `day` in `row` of the table (row 0 holds the day titles).
    auto toggle = [&](int row, const QString& day) {
        for (int col = 0; col < table->tableInterface()->columnCount(); ++col) {
            QAccessibleInterface* cell = table->tableInterface()->cellAt(row, col);
            if (cell && cell->text(QAccessible::Name) == day) {
                cell->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
                QCoreApplication::processEvents();
                return;
            }
        }
        ADD_FAILURE() << "no day " << day.toStdString() << " in row " << row;
    };
    toggle(3, "13");
    EXPECT_EQ(ui::dateOf(control.date()), QDate(2011, 7, 13));
    toggle(6, "3");  // the last week shown ends with the first days of August
    EXPECT_EQ(ui::dateOf(control.date()), QDate(2011, 8, 3));
    toggle(1, "30");  // August's page begins with the end of July
    EXPECT_EQ(ui::dateOf(control.date()), QDate(2011, 7, 30));
}

TEST(PictureButton, IsAButtonReachedWithTabPressedWithKeysAndKnownByItsHint) {
    core::Picture control("Image10");
    control.setHint("RECIPE ANALYSIS");
    QWidget page;
    auto* before = new QLineEdit(&page);
    auto* picture = new ui::PictureButton(&page);
    ui::bindPicture(picture, control);
    int clicks = 0;
    QObject::connect(picture, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    showActive(page);
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    EXPECT_TRUE(picture->hasFocus());
    QTest::keyClick(picture, Qt::Key_Space);
    QTest::keyClick(picture, Qt::Key_Return);
    QTest::qWait(300);  // Enter animates the press
    EXPECT_EQ(clicks, 2);

    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(picture);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Button);
    EXPECT_EQ(iface->text(QAccessible::Name), "RECIPE ANALYSIS");
    EXPECT_EQ(picture->toolTip(), "RECIPE ANALYSIS");
    ASSERT_NE(iface->actionInterface(), nullptr);
    iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTest::qWait(300);
    EXPECT_EQ(clicks, 3);

    control.setEnabled(false);  // a disabled picture is not pressed
    picture->click();
    EXPECT_EQ(clicks, 3);
}

}  // namespace

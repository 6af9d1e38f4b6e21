// Every control of the form model, on every tab and secondary window, as assistive
// technology sees it: a widget with a name no other control of its page has, and the role
// of its kind. And the keyboard switch a user can reach from anywhere.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <map>

#include "core/chart.h"
#include "core/platform.h"
#include "main_window_fixture.h"
#include "ui/secondary_windows.h"

namespace {

using ui::testing::MainWindowTest;

QAccessibleInterface* accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

// The role a control's kind has for assistive technology.
QAccessible::Role roleOf(const core::Control& control) {
    if (auto* picture = dynamic_cast<const core::Picture*>(&control))
        return picture->clickable() ? QAccessible::Button : QAccessible::Graphic;
    if (dynamic_cast<const core::Label*>(&control)) return QAccessible::StaticText;
    if (dynamic_cast<const core::Button*>(&control)) return QAccessible::Button;
    if (dynamic_cast<const core::CheckBox*>(&control)) return QAccessible::CheckBox;
    if (dynamic_cast<const core::RadioButton*>(&control)) return QAccessible::RadioButton;
    if (dynamic_cast<const core::RadioGroupBox*>(&control)) return QAccessible::Grouping;
    if (dynamic_cast<const core::Edit*>(&control) || dynamic_cast<const core::Memo*>(&control))
        return QAccessible::EditableText;
    if (dynamic_cast<const core::ComboBox*>(&control)) return QAccessible::ComboBox;
    if (dynamic_cast<const core::StringGrid*>(&control) ||
        dynamic_cast<const core::DataGrid*>(&control))
        return QAccessible::Table;
    if (dynamic_cast<const core::DirectoryList*>(&control)) return QAccessible::List;
    if (dynamic_cast<const core::PageControl*>(&control)) return QAccessible::PageTabList;
    if (dynamic_cast<const core::Chart*>(&control)) return QAccessible::Chart;
    if (dynamic_cast<const core::Calendar*>(&control)) return QAccessible::Table;
    ADD_FAILURE() << control.name() << ": a kind of control this test does not know";
    return QAccessible::NoRole;
}

// The object assistive technology meets for a control's widget: a tab control is met as
// its tab bar, a calendar as its table of days.
QObject* accessibleObjectOf(const core::Control& control, QWidget* widget) {
    if (dynamic_cast<const core::PageControl*>(&control)) return widget->findChild<QTabBar*>();
    if (dynamic_cast<const core::Calendar*>(&control))
        return widget->findChild<QAbstractItemView*>();
    return widget;
}

// Checks every control of `model` on `page`; `names` gets the name of each control.
void checkPage(QWidget* page, const core::ControlSet& model,
               std::map<std::string, QString>& names) {
    std::map<QString, std::string> owners;
    EXPECT_FALSE(model.controls().empty());
    for (const core::Control* control : model.controls()) {
        SCOPED_TRACE(page->objectName().toStdString() + " " + control->name());
        const QList<QWidget*> found =
            page->findChildren<QWidget*>(QString::fromStdString(control->name()));
        ASSERT_EQ(found.size(), 1) << "widgets of that name";
        QObject* object = accessibleObjectOf(*control, found.front());
        ASSERT_NE(object, nullptr);
        QAccessibleInterface* iface = accessible(object);
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->role(), roleOf(*control));
        // A combo box is named by its text on this desktop, and by the label that labels it.
        const bool combo = iface->role() == QAccessible::ComboBox;
        const QString name =
            combo ? found.front()->accessibleName() : iface->text(QAccessible::Name);
        if (combo) {
            EXPECT_FALSE(iface->relations(QAccessible::Label).isEmpty()) << "no label";
        }
        EXPECT_FALSE(name.trimmed().isEmpty());
        const auto [at, added] = owners.emplace(name, control->name());
        EXPECT_TRUE(added) << "the name \"" << name.toStdString() << "\" also names " << at->second;
        if (!control->hint().empty()) {
            EXPECT_EQ(iface->text(QAccessible::Description).toStdString(), control->hint());
        }
        names[control->name()] = name;
    }
}

// The table of src/ui/README.md: page (tab caption, or window name first), control, name.
std::map<std::pair<QString, QString>, QString> documentedNames() {
    QFile file(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../../src/ui/README.md"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << "src/ui/README.md";
    std::map<std::pair<QString, QString>, QString> rows;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QStringList cells = line.split(QLatin1Char('|'));
        if (cells.size() != 6 || !cells[2].trimmed().startsWith(QLatin1Char('`'))) continue;
        const QString page = cells[1].trimmed().section(QLatin1Char(' '), 0, 0);
        const QString control = cells[2].trimmed().remove(QLatin1Char('`'));
        const QString key = page.startsWith(QLatin1String("TForm")) ? page : cells[1].trimmed();
        rows[{key, control}] = cells[3].trimmed();
    }
    return rows;
}

// Checks the README's table against the names the controls have: every control has its
// row, and a row names it as the program does (rows that describe a changing name in
// words, "Records found: *the counter*", only need to be there).
void checkDocumented(const QString& page, const std::map<std::string, QString>& names) {
    static const auto rows = documentedNames();
    for (const auto& [control, name] : names) {
        SCOPED_TRACE(page.toStdString() + " " + control);
        const auto row = rows.find({page, QString::fromStdString(control)});
        ASSERT_NE(row, rows.end()) << "no row in src/ui/README.md";
        const QString& documented = row->second;
        const bool inWords = documented.contains(QLatin1Char('*')) ||
                             documented.contains(QLatin1Char('(')) ||
                             documented.contains(QLatin1Char(';')) || documented.startsWith("the ");
        if (!inWords) {
            EXPECT_EQ(name, documented);
        }
    }
}

TEST_F(MainWindowTest, EveryControlOfEveryPageHasAUniqueNameAndTheRoleOfItsKind) {
    open();
    const std::pair<const char*, const core::ControlSet*> tabs[] = {
        {"TabSheet2", &form->weeklyPlans},
        {"TabSheet5", &form->foodProcessor},
        {"TabSheet3", &form->editFoodDatabase},
        {"TabSheet6", &form->foodAnalysis},
        {"TabSheet11", &form->subject},
        {"TabSheet21", &form->setup},
        {"TabSheet4", &form->help}};
    for (const auto& [name, model] : tabs) {
        QWidget* page = widget<QWidget>(name);
        std::map<std::string, QString> names;
        checkPage(page, *model, names);
        checkDocumented(window->tabs()->tabText(window->tabs()->indexOf(page)), names);
    }

    ui::ResultDialog form2(form->Form2, &dialogs, window.get());
    ui::EnergyChartDialog form3(form->Form3, &dialogs, window.get());
    ui::FoodAnalysisChartDialog form4(form->Form4, &dialogs, window.get());
    const std::pair<QDialog*, const core::ControlSet*> windows[] = {
        {&form2, &form->Form2}, {&form3, &form->Form3}, {&form4, &form->Form4}};
    for (const auto& [dialog, model] : windows) {
        std::map<std::string, QString> names;
        checkPage(dialog, *model, names);
        checkDocumented(dialog->objectName(), names);
        if (dialog == &form4) {
            EXPECT_EQ(names.at("BitBtn5"), "Print");  // mnemonic and blank are not read
        }
    }

    // The main tab control: a list of page tabs named by their captions.
    QAccessibleInterface* bar = accessible(window->tabs()->findChild<QTabBar*>());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->role(), QAccessible::PageTabList);
    QStringList pages;  // the bar's other children are its scroll buttons
    for (int i = 0; i < bar->childCount(); ++i)
        if (bar->child(i)->role() == QAccessible::PageTab)
            pages << bar->child(i)->text(QAccessible::Name);
    EXPECT_EQ(pages.size(), 7);
    EXPECT_EQ(pages.value(1), "Food Processor");
}

TEST_F(MainWindowTest, NamesFollowTheCaptionsAndValuesTheyStandFor) {
    open();
    auto nameOf = [this](const char* control) {
        return accessible(widget<QWidget>(control))->text(QAccessible::Name);
    };
    EXPECT_EQ(nameOf("Edit4"), "Food name or code");
    EXPECT_EQ(nameOf("AZ"), "From");
    EXPECT_EQ(nameOf("StringGrid1"), "Nutrients");
    EXPECT_EQ(nameOf("Image3"), QString::fromUtf8("شنبه"));
    EXPECT_EQ(nameOf("Saturday"), "Saturday");
    EXPECT_EQ(accessible(widget<QWidget>("Saturday"))->text(QAccessible::Description),
              QString::fromUtf8("شنبه"));
    EXPECT_EQ(nameOf("Label36"), "Data directory: data\\");
    form->foodProcessor.COUNTER.setCaption("12");
    EXPECT_EQ(nameOf("COUNTER"), "Records found: 12");
    form->foodAnalysis.Label6.setCaption("");
    EXPECT_EQ(nameOf("Label6"), "Foods found");
    form->foodProcessor.Button3.setCaption("Refresh all");
    EXPECT_EQ(nameOf("Button3"), "Refresh all");
}

TEST_F(MainWindowTest, LeftAltShiftAndTheIndicatorSwitchTheKeyboardAnywhere) {
    open();
    ASSERT_EQ(form->keyboard.activeLayout(), core::persianLayout);
    window->tabs()->setCurrentIndex(1);
    auto* search = widget<QLineEdit>("Edit4");
    search->setFocus();
    QTest::keyClicks(search, "apple");
    EXPECT_EQ(search->text(), QString::fromUtf8("شححمث"));

    // Alt down, Shift down, both up: the switch, whichever is let go first.
    QTest::keyPress(search, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyPress(search, Qt::Key_Shift, Qt::AltModifier | Qt::ShiftModifier);
    QTest::keyRelease(search, Qt::Key_Shift, Qt::AltModifier | Qt::ShiftModifier);
    QTest::keyRelease(search, Qt::Key_Alt, Qt::AltModifier);
    EXPECT_EQ(form->keyboard.activeLayout(), core::usEnglishLayout);
    auto* indicator = window->statusBar()->findChild<QAbstractButton*>("KeyboardLayout");
    ASSERT_NE(indicator, nullptr);
    EXPECT_TRUE(indicator->text().contains("English"));
    search->clear();
    QTest::keyClicks(search, "apple");
    EXPECT_EQ(search->text(), "apple");

    // Alt+Shift+Tab is some other shortcut, not the switch.
    QTest::keyPress(search, Qt::Key_Shift, Qt::ShiftModifier);
    QTest::keyPress(search, Qt::Key_Alt, Qt::AltModifier | Qt::ShiftModifier);
    QTest::keyClick(search, Qt::Key_Tab, Qt::AltModifier | Qt::ShiftModifier);
    QTest::keyRelease(search, Qt::Key_Alt, Qt::AltModifier | Qt::ShiftModifier);
    QTest::keyRelease(search, Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_EQ(form->keyboard.activeLayout(), core::usEnglishLayout);

    // The keys as X11 names them: Right Alt (or AltGr) with Shift is no switch; Left Alt
    // pressed after Shift comes as Meta and is one.
    auto key = [search](QEvent::Type type, int code, Qt::KeyboardModifiers mods, quint32 sym) {
        QKeyEvent event(type, code, mods, 0, sym, 0);
        QApplication::sendEvent(search, &event);
    };
    const auto both = Qt::AltModifier | Qt::ShiftModifier;
    for (quint32 rightAlt : {0xffeaU /* Alt_R */, 0xfe03U /* ISO_Level3_Shift */}) {
        key(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier, rightAlt);
        key(QEvent::KeyPress, Qt::Key_Shift, both, 0xffe1 /* Shift_L */);
        key(QEvent::KeyRelease, Qt::Key_Shift, both, 0xffe1);
        key(QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier, rightAlt);
        EXPECT_EQ(form->keyboard.activeLayout(), core::usEnglishLayout) << rightAlt;
    }
    key(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, 0xffe1);
    key(QEvent::KeyPress, Qt::Key_Meta, both | Qt::MetaModifier, 0xffe7 /* Meta_L */);
    key(QEvent::KeyRelease, Qt::Key_Meta, both | Qt::MetaModifier, 0xffe7);
    key(QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier, 0xffe1);
    EXPECT_EQ(form->keyboard.activeLayout(), core::persianLayout);
    form->keyboard.activate(core::usEnglishLayout);

    // The indicator is a button: a click, or a screen reader's press, switches back.
    QTest::mouseClick(indicator, Qt::LeftButton);
    EXPECT_EQ(form->keyboard.activeLayout(), core::persianLayout);
    EXPECT_TRUE(accessible(indicator)->text(QAccessible::Name).contains("Persian"));
    EXPECT_EQ(accessible(indicator)->role(), QAccessible::Button);
    EXPECT_TRUE(search->hasFocus());  // the click left the focus where the user types
}

}  // namespace

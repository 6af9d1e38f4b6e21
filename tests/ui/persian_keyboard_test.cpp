// The Persian standard layout over the keys of a US layout.
#include "ui/persian_keyboard.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "core/platform.h"

namespace {

TEST(PersianKeys, MapTheLettersOfTheStandardLayout) {
    const struct {
        const char* typed;
        const char* persian;
    } cases[] = {
        {"sghl", "سلام"},        // salam
        {"hdvhk", "ایران"},      // Iran, with Persian yeh
        {";dg' l]", "کیلگ مچ"},  // kaf, gaf and che on ; ' ]
        {"Hf", "آب"},            // shift+h is alef with madda
        {"C", "ژ"},              // zhe on shift+c
        {"m,", "پو"},            // pe on m, vav on the comma
        {"12.5", "12.5"},        // digits and the point stay
    };
    for (const auto& c : cases)
        EXPECT_EQ(ui::persianText(QString::fromLatin1(c.typed)), QString::fromUtf8(c.persian))
            << c.typed;
}

TEST(PersianKeyboard, MapsOnlyWhileThePersianLayoutIsActive) {
    core::KeyboardLayout layout;
    ui::PersianKeyboard keyboard(layout);
    QLineEdit edit;
    QTest::keyClicks(&edit, "sghl");
    EXPECT_EQ(edit.text(), "sghl");
    layout.activate(core::persianLayout);
    EXPECT_TRUE(keyboard.active());
    edit.clear();
    QTest::keyClicks(&edit, "sghl");
    EXPECT_EQ(edit.text(), QString::fromUtf8("سلام"));
    // Text that already is Farsi passes as typed; shortcuts are left alone.
    QKeyEvent beh(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("ب"));
    QTest::keyClicks(&edit, " ");
    QApplication::sendEvent(&edit, &beh);
    EXPECT_EQ(edit.text(), QString::fromUtf8("سلام ب"));
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(edit.selectedText(), edit.text());
}

}  // namespace

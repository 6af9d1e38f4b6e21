// The Qt tests run without a screen: one application object for all of them, the bundled
// font loaded as the program loads it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

#include "ui/fonts.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("HALVORA"));
    ui::loadApplicationFonts();
    QApplication::setFont(QFont(ui::farsiFamily(), 9));
    return RUN_ALL_TESTS();
}

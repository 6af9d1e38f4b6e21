// The program: the main window over the tables of the data directory below the current
// directory (the application directory), and the three windows beside it.
#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QStyleFactory>
#include <filesystem>
#include <memory>

#include "core/desktop_viewer.h"
#include "core/main_form.h"
#include "ui/display_modes.h"
#include "ui/fonts.h"
#include "ui/main_window.h"
#include "ui/qt_dialogs.h"
#include "ui/screenshots.h"
#include "ui/secondary_windows.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(core::MainForm::applicationTitle));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The bundled font draws Latin and Farsi alike, so every machine shows the same letters.
    ui::loadApplicationFonts();
    QApplication::setFont(QFont(ui::farsiFamily(), 9));
    // The current cell of a grid that has no focus is marked, not shouted.
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, QColor(0xcf, 0xe2, 0xf7));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
    QApplication::setPalette(palette);

    const QString screenshots = ui::screenshotDirectory();
    ui::QtDialogs boxes;
    ui::LoggingDialogs logged;
    core::Dialogs& dialogs = screenshots.isEmpty() ? static_cast<core::Dialogs&>(boxes) : logged;
    ui::XrandrDisplayModes displayModes;

    core::MainForm form(std::filesystem::current_path(), dialogs, displayModes);
    core::DesktopViewer desktopViewer;
    form.documentViewer = &desktopViewer;
    ui::MainWindow window(form);
    boxes.setParent(&window);
    // Created after the main window, as the program always did; they live as long.
    ui::ResultDialog form2(form.Form2, &dialogs, &window);
    ui::EnergyChartDialog form3(form.Form3, &dialogs, &window);
    ui::FoodAnalysisChartDialog form4(form.Form4, &dialogs, &window);
    boxes.addWindow(core::ResultWindow::name, &form2);
    boxes.addWindow(core::EnergyChartWindow::name, &form3);
    boxes.addWindow(core::FoodAnalysisChartWindow::name, &form4);

    window.showMaximized();
    if (!screenshots.isEmpty()) ui::takeScreenshots(window, {&form2, &form3, &form4}, screenshots);
    return QApplication::exec();
}

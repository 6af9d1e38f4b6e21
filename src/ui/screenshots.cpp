#include "screenshots.h"

#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "main_window.h"

namespace ui {

QString screenshotDirectory() { return qEnvironmentVariable("HALVORA_SCREENSHOT_DIR"); }

void LoggingDialogs::showMessage(const std::string& text) {
    std::fprintf(stderr, "message: %s\n", text.c_str());
}

bool LoggingDialogs::askYesNo(const std::string& text) {
    std::fprintf(stderr, "question (answered No): %s\n", text.c_str());
    return false;
}

std::optional<std::string> LoggingDialogs::saveFileName(const core::SaveFileRequest& request) {
    std::fprintf(stderr, "save dialog (cancelled): %s\n", request.title.c_str());
    return std::nullopt;
}

void LoggingDialogs::showError(const std::string& text) {
    std::fprintf(stderr, "error: %s\n", text.c_str());
}

void LoggingDialogs::showModal(const std::string& windowName) {
    std::fprintf(stderr, "window not shown: %s\n", windowName.c_str());
}

namespace {

void settle(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(QWidget* widget, const QString& path) {
    const bool ok = widget->grab().save(path);
    std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

}  // namespace

void takeScreenshots(MainWindow& window, const QList<QDialog*>& windows, const QString& directory) {
    QTimer::singleShot(0, &window, [&window, windows, directory] {
        QDir().mkpath(directory);
        // Without a window manager nothing maximises the window: give it the screen.
        if (const QScreen* screen = window.screen())
            window.setGeometry(screen->availableGeometry());
        settle(600);
        QTabWidget* tabs = window.tabs();
        int number = 1;
        for (int i = 0; i < tabs->count(); ++i, ++number) {
            tabs->setCurrentIndex(i);
            settle(300);
            save(&window, QStringLiteral("%1/%2-%3.png")
                              .arg(directory)
                              .arg(number, 2, 10, QLatin1Char('0'))
                              .arg(tabs->widget(i)->objectName()));
        }
        for (QDialog* dialog : windows) {
            dialog->show();
            settle(300);
            save(dialog, QStringLiteral("%1/%2-%3.png")
                             .arg(directory)
                             .arg(number++, 2, 10, QLatin1Char('0'))
                             .arg(dialog->objectName()));
            dialog->hide();
        }
        window.close();
    });
}

}  // namespace ui

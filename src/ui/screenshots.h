#pragma once
// A developer's switch for looking at the window without a screen: with the environment
// variable HALVORA_SCREENSHOT_DIR set, the program writes a PNG of every tab and of the
// three secondary windows into that directory and ends. Messages go to the error stream
// instead of boxes, so nothing waits for a click.
#include <QList>
#include <QString>

#include "core/dialogs.h"

class QDialog;

namespace ui {

class MainWindow;

// The directory screenshots go to, or empty when the switch is off.
QString screenshotDirectory();

class LoggingDialogs : public core::Dialogs {
  public:
    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    std::optional<std::string> saveFileName(const core::SaveFileRequest& request) override;
    void showError(const std::string& text) override;
    void showModal(const std::string& windowName) override;
};

// Once the event loop runs: one PNG per tab ("01-TabSheet2.png" ...) and per window, then
// the main window is closed.
void takeScreenshots(MainWindow& window, const QList<QDialog*>& windows, const QString& directory);

}  // namespace ui

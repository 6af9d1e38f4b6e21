#pragma once
// The dialog interface with Qt's message boxes and file dialog. Texts are shown exactly as
// given, right to left when they are Farsi; the secondary windows are shown modally by name.
#include <QPointer>
#include <QString>
#include <map>

#include "core/dialogs.h"

class QDialog;
class QWidget;

namespace ui {

class QtDialogs : public core::Dialogs {
  public:
    // Boxes are centred on `parent` once it is set (the main window).
    void setParent(QWidget* parent) { m_parent = parent; }
    // The window showModal shows under that name ("TForm2", ...).
    void addWindow(const std::string& name, QDialog* window);

    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    std::optional<std::string> saveFileName(const core::SaveFileRequest& request) override;
    void showError(const std::string& text) override;
    void showModal(const std::string& windowName) override;

  private:
    QPointer<QWidget> m_parent;
    std::map<std::string, QPointer<QDialog>> m_windows;
};

// The caption of every message box: the application's title.
QString messageBoxTitle();

}  // namespace ui

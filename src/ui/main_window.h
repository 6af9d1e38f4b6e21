#pragma once
// The main window: one tab control, right to left, with the seven tab pages built from the
// form model, and the status bar with the active keyboard layout. Creating it runs the
// start-up sequence; closing it runs the close sequence.
#include <QMainWindow>

class QToolButton;
class QTabWidget;

namespace core {
class MainForm;
}

namespace ui {

class PersianKeyboard;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(core::MainForm& form, QWidget* parent = nullptr);
    ~MainWindow() override;

    QTabWidget* tabs() const { return m_tabs; }
    PersianKeyboard* keyboard() const { return m_keyboard; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void setupTabs();
    void setupStatusBar();
    void showKeyboardLayout();

    core::MainForm& m_form;
    QTabWidget* m_tabs = nullptr;
    QToolButton* m_layoutButton = nullptr;
    PersianKeyboard* m_keyboard = nullptr;
    int m_terminateId = 0;
    bool m_closing = false;
};

}  // namespace ui

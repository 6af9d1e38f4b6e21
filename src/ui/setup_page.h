#pragma once
// The "Setup" tab: the data directory, the working date and the display mode, with their
// handlers connected.
#include "tab_page.h"

namespace core {
class MainForm;
}

namespace ui {

class SetupPage : public TabPage {
    Q_OBJECT
  public:
    SetupPage(core::MainForm& form, QWidget* parent = nullptr);

  private:
    QWidget* setupDirectory();
    QWidget* setupDate();
    QWidget* setupDisplay();

    core::MainForm& m_form;
};

}  // namespace ui

#pragma once
// The "Help" tab: what the program does, and a picture.
#include "tab_page.h"

namespace core {
class MainForm;
}

namespace ui {

class HelpPage : public TabPage {
    Q_OBJECT
  public:
    HelpPage(core::MainForm& form, QWidget* parent = nullptr);
};

}  // namespace ui

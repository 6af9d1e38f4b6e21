#pragma once
// The "Subject" tab: the register of subjects and their recommended intakes.
#include "tab_page.h"

namespace core {
class MainForm;
}

namespace ui {

class SubjectPage : public TabPage {
    Q_OBJECT
  public:
    SubjectPage(core::MainForm& form, QWidget* parent = nullptr);
};

}  // namespace ui

#pragma once
// The "Edit Food Database" tab: foods with their codes and names, the nutrient amounts of
// the food being edited, and adding foods to the short list.
#include "tab_page.h"

namespace core {
class MainForm;
}

namespace ui {

class EditFoodDatabasePage : public TabPage {
    Q_OBJECT
  public:
    EditFoodDatabasePage(core::MainForm& form, QWidget* parent = nullptr);

  private:
    QWidget* setupFoods();
    QWidget* setupAmounts();

    core::MainForm& m_form;
};

}  // namespace ui

#pragma once
// The "Food Processor" tab: food search and listing, nutrient ranking over the nutrient
// grid, the short list and text exports, and the recipe book with its analysis.
#include "tab_page.h"

namespace core {
class MainForm;
}

namespace ui {

class FoodProcessorPage : public TabPage {
    Q_OBJECT
  public:
    FoodProcessorPage(core::MainForm& form, QWidget* parent = nullptr);

  private:
    QWidget* setupFoods();
    QWidget* setupRecipes();
    QWidget* setupNutrients();

    core::MainForm& m_form;
};

}  // namespace ui

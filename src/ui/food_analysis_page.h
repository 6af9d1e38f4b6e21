#pragma once
// The "Food Analysis" tab: the 24-hour recall of a subject, from the subject list, the food
// short list (or a search) and the recipe list, with its analysis in the nutrient grid,
// the daily chart and the report.
#include "tab_page.h"

namespace core {
class MainForm;
}

namespace ui {

class FoodAnalysisPage : public TabPage {
    Q_OBJECT
  public:
    FoodAnalysisPage(core::MainForm& form, QWidget* parent = nullptr);

  private:
    QWidget* setupSubjects();
    QWidget* setupFoods();
    QWidget* setupRecipes();
    QWidget* setupRecall();
    QWidget* setupAnalysis();

    core::MainForm& m_form;
};

}  // namespace ui

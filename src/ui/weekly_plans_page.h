#pragma once
// The weekly plans tab: the plan catalogue, the day and meal of the plan view, the meal
// grids with the item description, the recipe list and food short list the plan is
// composed from, the meal and day analyses, and copying a day into a subject's recall.
#include "tab_page.h"

namespace core {
class MainForm;
}

namespace ui {

class WeeklyPlansPage : public TabPage {
    Q_OBJECT
  public:
    WeeklyPlansPage(core::MainForm& form, QWidget* parent = nullptr);

  private:
    QWidget* setupPlans();
    QWidget* setupDays();
    QWidget* setupSubjects();
    QWidget* setupMeals();
    QWidget* setupRecipes();
    QWidget* setupFoodList();

    core::MainForm& m_form;
};

}  // namespace ui

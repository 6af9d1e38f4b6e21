#include "food_analysis_page.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>

#include "analysis/recall.h"
#include "core/main_form.h"
#include "data_grid_view.h"
#include "foods/food_search.h"
#include "foods/nutrient_ranking.h"
#include "foods/short_list.h"
#include "handler_table.h"
#include "icons.h"
#include "page_builder.h"
#include "picture_button.h"
#include "string_grid_view.h"

namespace ui {

// Subjects and foods on the left; the recipes and the recall above the nutrient grid on
// the right, so that the "Add>>>" buttons point at the recall.
FoodAnalysisPage::FoodAnalysisPage(core::MainForm& form, QWidget* parent)
    : TabPage(core::FoodAnalysisTab::name, parent), m_form(form) {
    auto* left = splitter(Qt::Vertical, this, {{setupSubjects(), 2}, {setupFoods(), 3}});
    auto* top = splitter(Qt::Horizontal, this, {{setupRecipes(), 2}, {setupRecall(), 3}});
    auto* right = splitter(Qt::Vertical, this, {{top, 1}, {setupAnalysis(), 0}});
    auto* split = splitter(Qt::Horizontal, this, {{left, 1}, {right, 0}});
    auto* layout = new QVBoxLayout;
    layout->addWidget(split);
    setBodyLayout(layout);
    wireHandlers(this, form, foodAnalysisHandlers());
}

const HandlerTable& foodAnalysisHandlers() {
    using E = UserEvent;
    static const HandlerTable table = {
        {"EN_Search", E::Checked, foods::ENGLISHClick},
        {"F_Search", E::Checked, foods::FARSIClick},
        {"ListDel", E::Click, foods::ListDelClick},
        {"StringGrid4", E::DoubleClick, foods::StringGrid1DblClick},
        {"Serach", E::Click, analysis::SerachClick},
        {"BitBtn2", E::Click, analysis::BitBtn2Click},
        {"Image22", E::Click, analysis::Image22Click},
        {"Button22", E::Click, analysis::Button22Click},
        {"ADDRECEP", E::Click, analysis::ADDRECEPClick},
        {"DelRecal", E::Click, analysis::DelRecalClick},
        {"Button11", E::Click, analysis::Button11Click},
        {"DBGrid10", E::DoubleClick, analysis::Button11Click},
        {"UpDateButton", E::Click, analysis::UpDateButtonClick},
        {"FilterButton", E::Click, analysis::FilterButtonClick},
        {"UNFILTERButton", E::Click, analysis::UNFILTERButtonClick},
    };
    return table;
}

QWidget* FoodAnalysisPage::setupSubjects() {
    PageBuilder b(this, &m_form.dialogs);
    auto* layout = new QVBoxLayout;
    layout->addWidget(b.grid(m_form.foodAnalysis.DBGrid10, QStringLiteral("Subjects")), 1);
    return titledGroup(QStringLiteral("Subjects"), layout, this);
}

QWidget* FoodAnalysisPage::setupFoods() {
    auto& tab = m_form.foodAnalysis;
    PageBuilder b(this, &m_form.dialogs);
    QLineEdit* name = b.edit(tab.Edit2, QStringLiteral("Food name"));
    name->setPlaceholderText(QStringLiteral("food name"));
    QLineEdit* code = b.edit(tab.Food_Code, QStringLiteral("Food code"));
    code->setPlaceholderText(QStringLiteral("code"));
    code->setMaximumWidth(90);
    auto* byName = row({name, b.button(tab.Serach)});
    auto* language = row({b.radio(tab.F_Search), b.radio(tab.EN_Search), nullptr,
                          b.label(tab.Label6, QStringLiteral("Foods found: %1"))});
    auto* byCode = row({code, b.button(tab.BitBtn2), nullptr});
    auto* actions = row({b.picture(tab.Image22),
                         b.button(tab.ListDel, QStringLiteral("Delete food from the list")),
                         nullptr, b.button(tab.Button22, QStringLiteral("Add>>> food"))});
    auto* layout = new QVBoxLayout;
    layout->addLayout(byName);
    layout->addLayout(language);
    layout->addLayout(byCode);
    layout->addWidget(b.grid(tab.DBGrid5, QStringLiteral("Foods")), 1);
    layout->addLayout(actions);
    return titledGroup(QStringLiteral("Foods"), layout, this);
}

QWidget* FoodAnalysisPage::setupRecipes() {
    auto& tab = m_form.foodAnalysis;
    PageBuilder b(this, &m_form.dialogs);
    QComboBox* meal = b.comboBox(tab.ComboBox4, QStringLiteral("Meal"));
    meal->setMinimumWidth(100);
    auto* filter = row({captionFor(QStringLiteral("Meal:"), meal, this), meal,
                        b.button(tab.FilterButton), b.button(tab.UNFILTERButton)});
    auto* actions = row({nullptr, b.button(tab.ADDRECEP, QStringLiteral("Add>>> recipe"))});
    auto* layout = new QVBoxLayout;
    layout->addLayout(filter);
    layout->addWidget(b.grid(tab.DBGridRES24, QStringLiteral("Recipes")), 1);
    layout->addLayout(actions);
    return titledGroup(QStringLiteral("Recipes"), layout, this);
}

QWidget* FoodAnalysisPage::setupRecall() {
    auto& tab = m_form.foodAnalysis;
    PageBuilder b(this, &m_form.dialogs);
    QLabel* date = b.label(tab.TodayLabel, QStringLiteral("Working date: %1"));
    QFont bold = date->font();
    bold.setBold(true);
    date->setFont(bold);
    auto* dateRow = row({b.label(tab.DateCaption), date, nullptr, b.button(tab.Button11),
                         b.button(tab.UpDateButton)});
    auto* actions = row({b.button(tab.DelRecal, QStringLiteral("Delete recall entry")), nullptr});
    auto* layout = new QVBoxLayout;
    layout->addLayout(dateRow);
    layout->addWidget(b.grid(tab.DBGrid9, QStringLiteral("24-hour recall")), 1);
    layout->addLayout(actions);
    return titledGroup(QStringLiteral("24-hour recall"), layout, this);
}

QWidget* FoodAnalysisPage::setupAnalysis() {
    auto& tab = m_form.foodAnalysis;
    PageBuilder b(this, &m_form.dialogs);
    StringGridView* nutrients = b.grid(tab.StringGrid4, QStringLiteral("Nutrients"));
    PictureButton* analysis = b.picture(tab.Image10);
    QPushButton* chart = b.button(tab.RecallGraph);
    chart->setIcon(chartIcon());
    QPushButton* report = b.button(tab.SmallPrint);
    report->setIcon(printIcon());
    auto* actions = row({nullptr, analysis, chart, report});
    auto* layout = new QVBoxLayout;
    layout->addWidget(nutrients, 1);
    QWidget* group = titledGroup(QStringLiteral("Nutrients"), layout, this, actions);
    nutrients->setMinimumSize(nutrients->contentWidth(), nutrients->contentHeight());
    return group;
}

}  // namespace ui

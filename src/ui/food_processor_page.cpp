#include "food_processor_page.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>

#include "analysis/recipe_analysis.h"
#include "analysis/recipe_book.h"
#include "core/main_form.h"
#include "data_grid_view.h"
#include "foods/food_export.h"
#include "foods/food_search.h"
#include "foods/nutrient_ranking.h"
#include "foods/short_list.h"
#include "handler_table.h"
#include "page_builder.h"
#include "picture_button.h"
#include "string_grid_view.h"

namespace ui {

// Foods and the nutrient grid one above the other; the recipe book beside them, at full
// height.
FoodProcessorPage::FoodProcessorPage(core::MainForm& form, QWidget* parent)
    : TabPage(core::FoodProcessorTab::name, parent), m_form(form) {
    auto* left = splitter(Qt::Vertical, this, {{setupFoods(), 1}, {setupNutrients(), 0}});
    auto* split = splitter(Qt::Horizontal, this, {{left, 0}, {setupRecipes(), 1}});
    auto* layout = new QVBoxLayout;
    layout->addWidget(split);
    setBodyLayout(layout);
    wireHandlers(this, form, foodProcessorHandlers());
}

const HandlerTable& foodProcessorHandlers() {
    using E = UserEvent;
    static const HandlerTable table = {
        {"Button3", E::Click, foods::Button3Click},
        {"FSEARCH", E::Click, foods::SEARCHClick},
        {"FindRecord", E::Click, foods::FindRecordClick},
        {"AZTASEarch", E::Click, foods::AZTASEarchClick},
        {"DBGrid2", E::DoubleClick, foods::DBGrid2DblClick},
        {"ENGLISH", E::Checked, foods::ENGLISHClick},
        {"FARSI", E::Checked, foods::FARSIClick},
        {"Highest", E::Click, foods::HighestClick},
        {"Lowest", E::Click, foods::LowestClick},
        {"StringGrid1", E::DoubleClick, foods::StringGrid1DblClick},
        {"Button5", E::Click, foods::Button5Click},
        {"SaveFIle", E::Click, foods::SaveFIleClick},
        {"Export", E::Click, foods::ExportClick},
        {"GhazahaGrid", E::DoubleClick, analysis::RECIPEClick},
        {"TAB3Add", E::Click, analysis::ADDRECIPEClick},
        {"ADDFOOD", E::Click, analysis::ADDFOODClick},
        {"RecepeiDel", E::Click, analysis::RecepeiDelClick},
        {"Button1", E::Click, analysis::Button1Click},
        {"ComboBox1", E::Chosen, analysis::ComboBox1Change},
        {"Button4", E::Click, analysis::Button4Click},
        {"DBMemo1", E::Entered, analysis::DBMemo1Click},
        {"Image1", E::Click, analysis::ANALSISClick},
        {"DBGrid1", E::DoubleClick, analysis::EACHFOODClick},
    };
    return table;
}

QWidget* FoodProcessorPage::setupFoods() {
    auto& tab = m_form.foodProcessor;
    PageBuilder b(this, &m_form.dialogs);
    QLineEdit* search = b.edit(tab.Edit4, QStringLiteral("Food name or code"));
    search->setPlaceholderText(QStringLiteral("name or code"));
    search->setMinimumWidth(160);
    QLabel* counter = b.label(tab.COUNTER, QStringLiteral("Records found: %1"));
    counter->setMinimumWidth(90);
    auto* searchRow = row({search, b.radio(tab.FARSI), b.radio(tab.ENGLISH), b.button(tab.FSEARCH),
                           b.button(tab.FindRecord), b.button(tab.Button3), nullptr, counter});
    // What is done with the food chosen in the list sits beside the list.
    auto* actions = column({b.button(tab.ADDFOOD), b.button(tab.Button5), nullptr});
    auto* list = new QHBoxLayout;
    list->addWidget(b.grid(tab.DBGrid2, QStringLiteral("Foods")), 1);
    list->addLayout(actions);
    auto* layout = new QVBoxLayout;
    layout->addLayout(searchRow);
    layout->addLayout(list, 1);
    return titledGroup(QStringLiteral("Foods"), layout, this);
}

QWidget* FoodProcessorPage::setupRecipes() {
    auto& tab = m_form.foodProcessor;
    PageBuilder b(this, &m_form.dialogs);
    QLabel* heading = b.label(tab.RecipeLabel);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    QComboBox* meal = b.comboBox(tab.ComboBox1, QStringLiteral("Meal of the recipe"));
    meal->setMinimumWidth(110);
    QPlainTextEdit* description = b.memo(tab.DBMemo1, QStringLiteral("Recipe description"));
    description->setMaximumHeight(64);
    description->setPlaceholderText(QStringLiteral("Recipe description"));
    auto* recipes = new QVBoxLayout;
    recipes->addWidget(heading);
    recipes->addWidget(b.grid(tab.GhazahaGrid, QStringLiteral("Recipe book")), 3);
    recipes->addLayout(row(
        {captionFor(QStringLiteral("Meal:"), meal, this), meal, b.button(tab.TAB3Add), nullptr}));
    recipes->addLayout(row({b.button(tab.Button1), b.button(tab.Button4), nullptr}));
    recipes->addWidget(description, 1);
    auto* contents = new QVBoxLayout;
    contents->addWidget(b.grid(tab.DBGrid1, QStringLiteral("Contents of the recipe")), 1);
    contents->addLayout(row({b.button(tab.RecepeiDel), b.button(tab.Export), nullptr}));
    contents->addWidget(b.picture(tab.Image1), 0, Qt::AlignRight);

    auto* split =
        splitter(Qt::Vertical, this,
                 {{titledGroup(QStringLiteral("Recipes"), recipes, this), 0},
                  {titledGroup(QStringLiteral("Contents of the recipe"), contents, this), 0}});
    return split;
}

QWidget* FoodProcessorPage::setupNutrients() {
    auto& tab = m_form.foodProcessor;
    PageBuilder b(this, &m_form.dialogs);
    QLineEdit* from = b.edit(tab.AZ, QStringLiteral("From"));
    QLineEdit* to = b.edit(tab.TA, QStringLiteral("To"));
    // The edits carry the labels' words; the labels say what they are.
    QLabel* fromLabel = b.label(tab.FromLabel, QStringLiteral("From label"));
    QLabel* toLabel = b.label(tab.ToLabel, QStringLiteral("To label"));
    fromLabel->setBuddy(from);
    toLabel->setBuddy(to);
    from->setMaximumWidth(70);
    to->setMaximumWidth(70);
    // Rankings and the range search use the nutrient chosen in the grid.
    auto* ranking = row({b.radio(tab.DBF), b.radio(tab.Recipes), b.button(tab.Highest),
                         b.button(tab.Lowest), b.button(tab.SaveFIle), nullptr, fromLabel, from,
                         toLabel, to, b.button(tab.AZTASEarch)});
    StringGridView* nutrients = b.grid(tab.StringGrid1, QStringLiteral("Nutrients"));
    auto* layout = new QVBoxLayout;
    layout->addWidget(nutrients, 1);
    QWidget* group = titledGroup(QStringLiteral("Nutrients"), layout, this, ranking);
    nutrients->setMinimumSize(nutrients->contentWidth(), nutrients->contentHeight());
    return group;
}

}  // namespace ui

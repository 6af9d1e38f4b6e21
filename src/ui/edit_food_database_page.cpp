#include "edit_food_database_page.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>

#include "core/main_form.h"
#include "data_grid_view.h"
#include "foods/food_editing.h"
#include "foods/short_list.h"
#include "handler_table.h"
#include "icons.h"
#include "page_builder.h"
#include "string_grid_view.h"

namespace ui {

EditFoodDatabasePage::EditFoodDatabasePage(core::MainForm& form, QWidget* parent)
    : TabPage(core::EditFoodDatabaseTab::name, parent), m_form(form) {
    auto* split = splitter(Qt::Vertical, this, {{setupFoods(), 1}, {setupAmounts(), 0}});
    auto* layout = new QVBoxLayout;
    layout->addWidget(split);
    setBodyLayout(layout);
    wireHandlers(this, form, editFoodDatabaseHandlers());
}

const HandlerTable& editFoodDatabaseHandlers() {
    using E = UserEvent;
    static const HandlerTable table = {
        {"DBGrid8", E::DoubleClick, foods::DBGrid8DblClick},
        {"FindFood", E::Click, foods::FindFoodClick},
        {"Button12", E::Click, foods::Button12Click},
        {"Button13", E::Click, foods::Button13Click},
        {"BitBtn3", E::Click, foods::BitBtn3Click},
        {"AddSnacks", E::Click, foods::AddSnacksClick},
    };
    return table;
}

QWidget* EditFoodDatabasePage::setupFoods() {
    auto& tab = m_form.editFoodDatabase;
    PageBuilder b(this, &m_form.dialogs);
    QLineEdit* code = b.edit(tab.Edit1, QStringLiteral("Food code"));
    code->setMaximumWidth(120);
    auto* findRow =
        row({captionFor(QStringLiteral("Food code:"), code, this), code, b.button(tab.FindFood),
             nullptr, b.button(tab.Button12), b.button(tab.Button13)});
    auto* foods = new QVBoxLayout;
    foods->addLayout(findRow);
    foods->addWidget(b.grid(tab.DBGrid8, QStringLiteral("Foods")), 1);

    QComboBox* meal = b.comboBox(tab.ComboBox3, QStringLiteral("Meal"));
    meal->setMinimumWidth(110);
    auto* list = column(
        {captionFor(QStringLiteral("Meal:"), meal, this), meal, b.button(tab.AddSnacks), nullptr});
    auto* top = new QHBoxLayout;
    top->addWidget(titledGroup(QStringLiteral("Foods"), foods, this), 1);
    top->addWidget(titledGroup(QStringLiteral("Short list of foods"), list, this));
    auto* holder = new QWidget(this);
    holder->setLayout(top);
    top->setContentsMargins(0, 0, 0, 0);
    return holder;
}

QWidget* EditFoodDatabasePage::setupAmounts() {
    auto& tab = m_form.editFoodDatabase;
    PageBuilder b(this, &m_form.dialogs);
    QPushButton* save = b.button(tab.BitBtn3);
    save->setIcon(saveIcon());
    StringGridView* amounts = b.grid(tab.StringGrid3, QStringLiteral("Nutrient amounts"));
    auto* header =
        row({new QLabel(QStringLiteral("amounts in 100 g, typed into the value columns"), this),
             nullptr, save});
    auto* layout = new QVBoxLayout;
    layout->addWidget(amounts, 1);
    QWidget* group =
        titledGroup(QStringLiteral("Nutrient amounts of the food"), layout, this, header);
    amounts->setMinimumSize(amounts->contentWidth(), amounts->contentHeight());
    return group;
}

}  // namespace ui

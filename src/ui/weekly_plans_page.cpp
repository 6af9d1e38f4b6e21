#include "weekly_plans_page.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTabWidget>

#include "bindings.h"
#include "core/main_form.h"
#include "data_grid_view.h"
#include "icons.h"
#include "page_builder.h"
#include "picture_button.h"
#include "string_grid_view.h"

namespace ui {

WeeklyPlansPage::WeeklyPlansPage(core::MainForm& form, QWidget* parent)
    : TabPage(core::WeeklyPlansTab::name, parent), m_form(form) {
    // The plan panel sits at the top right, beside the days and the subjects.
    auto* top = new QHBoxLayout;
    top->addWidget(setupSubjects(), 2);
    top->addWidget(setupDays(), 3);
    top->addWidget(setupPlans(), 2);
    auto* topHolder = new QWidget(this);
    topHolder->setLayout(top);
    top->setContentsMargins(0, 0, 0, 0);

    auto* bottom = splitter(Qt::Horizontal, this,
                            {{setupMeals(), 3}, {setupRecipes(), 3}, {setupFoodList(), 3}});

    auto* split = splitter(Qt::Vertical, this, {{topHolder, 2}, {bottom, 5}});
    auto* layout = new QVBoxLayout;
    layout->addWidget(split);
    setBodyLayout(layout);
}

QWidget* WeeklyPlansPage::setupPlans() {
    auto& tab = m_form.weeklyPlans;
    PageBuilder b(this, &m_form.dialogs);
    QPushButton* remove = b.button(tab.DelWDiet, QStringLiteral("Delete plan"));
    auto* layout = new QVBoxLayout;
    layout->addWidget(b.grid(tab.DBGrid3, QStringLiteral("Weekly plans")), 1);
    layout->addLayout(row({b.button(tab.AddWDiet), remove, nullptr}));
    return titledGroup(QStringLiteral("Weekly plans"), layout, this);
}

QWidget* WeeklyPlansPage::setupDays() {
    auto& tab = m_form.weeklyPlans;
    PageBuilder b(this, &m_form.dialogs);
    core::Picture* pictures[] = {&tab.Image3, &tab.Image4, &tab.Image5, &tab.Image6,
                                 &tab.Image7, &tab.Image8, &tab.Image9};
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    const auto buttons = tab.dayButtons();
    for (int i = 0; i < 7; ++i) {
        // The picture shows the day's Farsi name and is known by it; the radio button under
        // it by the day's English name (its control's name), each described by the other.
        core::RadioButton& day = *buttons[static_cast<std::size_t>(i)];
        const QString english = qtext(day.name());
        const QString farsi = qtext(pictures[i]->caption());
        PictureButton* picture = b.picture(*pictures[i]);
        picture->setAccessibleDescription(english);
        QRadioButton* radio = b.radio(day, english);
        radio->setAccessibleDescription(farsi);
        // A click on the day's name chooses the day, as a click on its button does.
        connect(picture, &PictureButton::clicked, radio, [radio] {
            if (!radio->isChecked() && radio->isEnabled()) radio->click();
        });
        grid->addWidget(picture, 0, i, Qt::AlignCenter);
        grid->addWidget(radio, 1, i, Qt::AlignCenter);
    }
    grid->setRowStretch(2, 1);
    auto* holder = new QWidget(this);
    // Saturday, the first day of the week, on the right.
    holder->setLayoutDirection(Qt::RightToLeft);
    holder->setLayout(grid);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* layout = new QVBoxLayout;
    layout->addWidget(holder);
    layout->addStretch(1);
    return titledGroup(QStringLiteral("Day of the week"), layout, this);
}

QWidget* WeeklyPlansPage::setupSubjects() {
    auto& tab = m_form.weeklyPlans;
    PageBuilder b(this, &m_form.dialogs);
    PictureButton* copyPicture = b.picture(tab.Image2);
    copyPicture->setPictureIcon(copyIcon(), 40);
    PictureButton* printPicture = b.picture(tab.Report1);
    printPicture->setPictureIcon(printIcon(), 40);
    auto* copy = column({copyPicture, b.label(tab.CopyDietLabel)});
    auto* print = column({printPicture, b.label(tab.PrintLabel)});
    for (QBoxLayout* l : {copy, print})
        for (int i = 0; i < l->count(); ++i) l->itemAt(i)->setAlignment(Qt::AlignHCenter);
    auto* actions = new QVBoxLayout;
    actions->addLayout(copy);
    actions->addLayout(print);
    actions->addStretch(1);
    auto* layout = new QHBoxLayout;
    layout->addWidget(b.grid(tab.DBGrid11, QStringLiteral("Subjects")), 1);
    layout->addLayout(actions);
    return titledGroup(QStringLiteral("Subject"), layout, this);
}

QWidget* WeeklyPlansPage::setupMeals() {
    auto& tab = m_form.weeklyPlans;
    PageBuilder b(this, &m_form.dialogs);
    auto* meals = new QTabWidget(this);
    meals->setDocumentMode(true);
    const auto& pages = tab.PageControl3.pages();
    const auto grids = tab.mealGrids();
    for (std::size_t i = 0; i < grids.size(); ++i) {
        auto* page = new QWidget(meals);
        page->setObjectName(qtext(pages[i].name));
        auto* pageLayout = new QVBoxLayout(page);
        pageLayout->setContentsMargins(0, 2, 0, 0);
        pageLayout->addWidget(
            b.grid(*grids[i], QStringLiteral("Plan items: %1").arg(qtext(pages[i].caption))));
        meals->addTab(page, qtext(pages[i].caption));
    }
    setAccessibleTitle(meals, QStringLiteral("Meals"));
    bindPageControl(meals, tab.PageControl3);

    QPushButton* removeItem = b.button(tab.BitBtn4, QStringLiteral("Delete item"));
    removeItem->setIcon(deleteIcon());
    QPushButton* mealAnalysis = b.button(tab.BitBtn1, QStringLiteral("Meal analysis"));
    mealAnalysis->setIcon(chartIcon());
    mealAnalysis->setIconSize(QSize(22, 22));
    QPushButton* dayChart = b.button(tab.BitBtn5);
    dayChart->setIcon(chartIcon());
    StringGridView* totals = b.grid(tab.WDIETGRID, QStringLiteral("Totals"));
    totals->setFixedHeight(totals->contentHeight());
    QPlainTextEdit* description = b.memo(tab.DBMemo2, qtext(tab.DescriptionLabel.caption()));
    QLabel* descriptionLabel =
        b.label(tab.DescriptionLabel, qtext(tab.DescriptionLabel.caption()) + " label");
    descriptionLabel->setBuddy(description);
    description->setMaximumHeight(64);

    auto* layout = new QVBoxLayout;
    layout->addWidget(meals, 1);
    layout->addLayout(row({removeItem, nullptr, mealAnalysis, dayChart}));
    layout->addWidget(totals);
    layout->addWidget(descriptionLabel);
    layout->addWidget(description);
    return titledGroup(QStringLiteral("Meals of the day"), layout, this);
}

QWidget* WeeklyPlansPage::setupRecipes() {
    auto& tab = m_form.weeklyPlans;
    PageBuilder b(this, &m_form.dialogs);
    QGroupBox* meal = b.radioGroup(tab.RadioGroup1, QStringLiteral("Meal filter"));
    auto* filter = new QHBoxLayout;
    filter->addWidget(meal, 1);
    filter->addLayout(column({b.button(tab.Button8), b.button(tab.Button9), nullptr}));
    auto* layout = new QVBoxLayout;
    layout->addLayout(filter);
    layout->addWidget(b.grid(tab.DBGrid4, QStringLiteral("Recipes")), 1);
    return titledGroup(QStringLiteral("Recipes"), layout, this);
}

QWidget* WeeklyPlansPage::setupFoodList() {
    auto& tab = m_form.weeklyPlans;
    PageBuilder b(this, &m_form.dialogs);
    QLabel* heading = b.label(tab.FoodListLabel);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto* layout = new QVBoxLayout;
    layout->addWidget(heading);
    layout->addWidget(b.grid(tab.SNACKDBGrid, QStringLiteral("Foods")), 1);
    return titledGroup(QStringLiteral("Foods"), layout, this);
}

}  // namespace ui

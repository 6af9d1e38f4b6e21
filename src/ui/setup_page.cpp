#include "setup_page.h"

#include <QBoxLayout>
#include <QCalendarWidget>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCharFormat>

#include "core/main_form.h"
#include "core/run_handler.h"
#include "core/setup_handlers.h"
#include "directory_list_view.h"
#include "handler_table.h"
#include "page_builder.h"

namespace ui {

namespace {

QLabel* emphasised(QLabel* label) {
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

}  // namespace

SetupPage::SetupPage(core::MainForm& form, QWidget* parent)
    : TabPage(core::SetupTab::name, parent), m_form(form) {
    auto* right = new QVBoxLayout;
    right->addWidget(setupDate());
    right->addWidget(setupDisplay());
    right->addStretch(1);
    auto* layout = new QHBoxLayout;
    layout->addWidget(setupDirectory(), 1);
    layout->addLayout(right, 1);
    setBodyLayout(layout);
    wireHandlers(this, form, setupHandlers());
}

const HandlerTable& setupHandlers() {
    using E = UserEvent;
    static const HandlerTable table = {
        {"Button50", E::Click, core::Button50Click},
        {"ChangeDate", E::Click, core::ChangeDateClick},
        {"Button48", E::Click, core::ButtonNEWClick},
    };
    return table;
}

QWidget* SetupPage::setupDirectory() {
    auto& tab = m_form.setup;
    PageBuilder b(this, &m_form.dialogs);
    QPushButton* open = b.button(tab.Button50);
    auto* layout = new QVBoxLayout;
    layout->addLayout(
        row({b.label(tab.DataDirectoryCaption),
             emphasised(b.label(tab.Label36, QStringLiteral("Data directory: %1"))), nullptr}));
    layout->addWidget(b.directoryList(tab.DirectoryListBox1, QStringLiteral("Folders")), 1);
    layout->addLayout(row({nullptr, open}));
    return titledGroup(QStringLiteral("Data directory"), layout, this);
}

QWidget* SetupPage::setupDate() {
    auto& tab = m_form.setup;
    PageBuilder b(this, &m_form.dialogs);
    QCalendarWidget* calendar = b.calendar(tab.MonthCalendar1, QStringLiteral("Calendar"));
    calendar->setMaximumSize(420, 260);
    // The week starts on Saturday, and Friday is the day of rest.
    calendar->setFirstDayOfWeek(Qt::Saturday);
    QTextCharFormat workday = calendar->weekdayTextFormat(Qt::Monday);
    QTextCharFormat rest = calendar->weekdayTextFormat(Qt::Sunday);
    calendar->setWeekdayTextFormat(Qt::Saturday, workday);
    calendar->setWeekdayTextFormat(Qt::Sunday, workday);
    calendar->setWeekdayTextFormat(Qt::Friday, rest);
    // A day chosen in any way (click, arrow keys, assistive technology) is taken; a click
    // on the chosen day takes it again. The binding has already written it into the model.
    auto click = [this] { core::runHandler(m_form, core::MonthCalendar1Click); };
    connect(calendar, &QCalendarWidget::selectionChanged, this, click);
    connect(calendar, &QCalendarWidget::clicked, this, click);
    QPushButton* change = b.button(tab.ChangeDate);
    auto* layout = new QVBoxLayout;
    layout->addWidget(calendar);
    layout->addLayout(row({b.label(tab.DateCaption),
                           emphasised(b.label(tab.DateLabel, QStringLiteral("Working date: %1"))),
                           nullptr, change}));
    return titledGroup(QStringLiteral("Working date"), layout, this);
}

QWidget* SetupPage::setupDisplay() {
    auto& tab = m_form.setup;
    PageBuilder b(this, &m_form.dialogs);
    QComboBox* modes = b.comboBox(tab.ComboBox7, QStringLiteral("Display resolution"));
    modes->setMinimumWidth(120);
    QPushButton* change = b.button(tab.Button48);
    auto* layout = new QVBoxLayout;
    QLabel* caption = b.label(tab.ResolutionCaption);
    caption->setBuddy(modes);
    layout->addLayout(row({caption, modes, nullptr, change}));
    return titledGroup(QStringLiteral("Display"), layout, this);
}

}  // namespace ui

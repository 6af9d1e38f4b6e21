#include "page_builder.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QVBoxLayout>

#include "bindings.h"
#include "data_grid_view.h"
#include "directory_list_view.h"
#include "picture_button.h"
#include "string_grid_view.h"

namespace ui {

QLabel* PageBuilder::label(core::Label& control) {
    auto* w = new QLabel(m_page);
    bindLabel(w, control);
    return w;
}

QPushButton* PageBuilder::button(core::Button& control) {
    auto* w = new QPushButton(m_page);
    w->setAutoDefault(false);
    bindButton(w, control);
    return w;
}

QCheckBox* PageBuilder::checkBox(core::CheckBox& control) {
    auto* w = new QCheckBox(m_page);
    bindCheckBox(w, control);
    return w;
}

QRadioButton* PageBuilder::radio(core::RadioButton& control) {
    auto* w = new QRadioButton(m_page);
    bindRadioButton(w, control);
    return w;
}

QGroupBox* PageBuilder::radioGroup(core::RadioGroupBox& control) {
    auto* w = new QGroupBox(m_page);
    bindRadioGroupBox(w, control);
    return w;
}

QLineEdit* PageBuilder::edit(core::Edit& control) {
    auto* w = new QLineEdit(m_page);
    bindEdit(w, control);
    return w;
}

QPlainTextEdit* PageBuilder::memo(core::Memo& control) {
    auto* w = new QPlainTextEdit(m_page);
    bindMemo(w, control);
    return w;
}

QComboBox* PageBuilder::comboBox(core::ComboBox& control) {
    auto* w = new QComboBox(m_page);
    bindComboBox(w, control);
    return w;
}

QCalendarWidget* PageBuilder::calendar(core::Calendar& control) {
    auto* w = new QCalendarWidget(m_page);
    bindCalendar(w, control);
    return w;
}

DirectoryListView* PageBuilder::directoryList(core::DirectoryList& control) {
    auto* w = new DirectoryListView(m_page);
    bindDirectoryList(w, control);
    return w;
}

PictureButton* PageBuilder::picture(core::Picture& control) {
    auto* w = new PictureButton(m_page);
    bindPicture(w, control);
    return w;
}

DataGridView* PageBuilder::grid(core::DataGrid& control) {
    return new DataGridView(control, m_dialogs, m_page);
}

StringGridView* PageBuilder::grid(core::StringGrid& control) {
    return new StringGridView(control, m_page);
}

QGroupBox* titledGroup(const QString& title, QLayout* layout, QWidget* parent, QLayout* beside) {
    // The heading is a bold label of its own, so the box's contents keep the page's font.
    auto* box = new QGroupBox(parent);
    auto* outer = new QVBoxLayout(box);
    outer->setContentsMargins(6, 4, 6, 6);
    outer->setSpacing(3);
    auto* heading = new QLabel(title, box);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setStyleSheet(QStringLiteral("color: #1f4e79;"));
    if (title.isRightToLeft()) heading->setLayoutDirection(Qt::RightToLeft);
    if (beside) {
        auto* line = new QHBoxLayout;
        line->addWidget(heading);
        line->addSpacing(12);
        line->addLayout(beside, 1);
        outer->addLayout(line);
    } else {
        outer->addWidget(heading);
    }
    outer->addLayout(layout, 1);
    return box;
}

namespace {

QBoxLayout* fill(QBoxLayout* layout, std::initializer_list<QWidget*> widgets) {
    layout->setSpacing(6);
    for (QWidget* w : widgets) {
        if (w) {
            layout->addWidget(w);
        } else {
            layout->addStretch(1);
        }
    }
    return layout;
}

}  // namespace

QBoxLayout* row(std::initializer_list<QWidget*> widgets) { return fill(new QHBoxLayout, widgets); }

QBoxLayout* column(std::initializer_list<QWidget*> widgets) {
    return fill(new QVBoxLayout, widgets);
}

QSplitter* splitter(Qt::Orientation orientation, QWidget* parent,
                    std::initializer_list<SplitPane> panes) {
    auto* split = new QSplitter(orientation, parent);
    int index = 0;
    for (const SplitPane& pane : panes) {
        split->addWidget(pane.widget);
        split->setStretchFactor(index++, pane.stretch);
    }
    split->setChildrenCollapsible(false);
    return split;
}

}  // namespace ui

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

namespace {

// Makes a widget of the page, titled before its binder names it.
template <typename W>
W* made(QWidget* page, const QString& title) {
    auto* w = new W(page);
    if (!title.isEmpty()) setAccessibleTitle(w, title);
    return w;
}

}  // namespace

QLabel* PageBuilder::label(core::Label& control, const QString& title) {
    auto* w = made<QLabel>(m_page, title);
    bindLabel(w, control);
    return w;
}

QPushButton* PageBuilder::button(core::Button& control, const QString& title) {
    auto* w = made<QPushButton>(m_page, title);
    w->setAutoDefault(false);
    bindButton(w, control);
    return w;
}

QCheckBox* PageBuilder::checkBox(core::CheckBox& control, const QString& title) {
    auto* w = made<QCheckBox>(m_page, title);
    bindCheckBox(w, control);
    return w;
}

QRadioButton* PageBuilder::radio(core::RadioButton& control, const QString& title) {
    auto* w = made<QRadioButton>(m_page, title);
    bindRadioButton(w, control);
    return w;
}

QGroupBox* PageBuilder::radioGroup(core::RadioGroupBox& control, const QString& title) {
    auto* w = made<QGroupBox>(m_page, title);
    bindRadioGroupBox(w, control);
    return w;
}

QLineEdit* PageBuilder::edit(core::Edit& control, const QString& title) {
    auto* w = made<QLineEdit>(m_page, title);
    bindEdit(w, control);
    return w;
}

QPlainTextEdit* PageBuilder::memo(core::Memo& control, const QString& title) {
    auto* w = made<QPlainTextEdit>(m_page, title);
    bindMemo(w, control);
    return w;
}

QComboBox* PageBuilder::comboBox(core::ComboBox& control, const QString& title) {
    auto* w = made<QComboBox>(m_page, title);
    bindComboBox(w, control);
    return w;
}

QCalendarWidget* PageBuilder::calendar(core::Calendar& control, const QString& title) {
    auto* w = made<QCalendarWidget>(m_page, title);
    bindCalendar(w, control);
    return w;
}

DirectoryListView* PageBuilder::directoryList(core::DirectoryList& control, const QString& title) {
    auto* w = made<DirectoryListView>(m_page, title);
    bindDirectoryList(w, control);
    return w;
}

PictureButton* PageBuilder::picture(core::Picture& control, const QString& title) {
    auto* w = made<PictureButton>(m_page, title);
    bindPicture(w, control);
    return w;
}

QLabel* PageBuilder::image(core::Picture& control, const QString& title) {
    auto* w = made<QLabel>(m_page, title);
    bindImage(w, control);
    return w;
}

DataGridView* PageBuilder::grid(core::DataGrid& control, const QString& title) {
    auto* w = new DataGridView(control, m_dialogs, m_page);
    setAccessibleTitle(w, title);
    return w;
}

StringGridView* PageBuilder::grid(core::StringGrid& control, const QString& title) {
    auto* w = new StringGridView(control, m_page);
    setAccessibleTitle(w, title);
    return w;
}

QLabel* captionFor(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QGroupBox* titledGroup(const QString& title, QLayout* layout, QWidget* parent, QLayout* beside) {
    // The heading is a bold label of its own, so the box's contents keep the page's font.
    auto* box = new QGroupBox(parent);
    box->setAccessibleName(title);
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

#pragma once
// Makes the widget of each control of a tab, bound to the control, as a child of the page;
// and the titled groups the pages arrange them in.
#include <QString>

#include "core/controls.h"

class QSplitter;

class QBoxLayout;
class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace core {
class Dialogs;
}

namespace ui {

class DataGridView;
class DirectoryListView;
class PictureButton;
class StringGridView;

class PageBuilder {
  public:
    PageBuilder(QWidget* page, core::Dialogs* dialogs) : m_page(page), m_dialogs(dialogs) {}

    QLabel* label(core::Label& control);
    QPushButton* button(core::Button& control);
    QCheckBox* checkBox(core::CheckBox& control);
    QRadioButton* radio(core::RadioButton& control);
    QGroupBox* radioGroup(core::RadioGroupBox& control);
    QLineEdit* edit(core::Edit& control);
    QPlainTextEdit* memo(core::Memo& control);
    QComboBox* comboBox(core::ComboBox& control);
    QCalendarWidget* calendar(core::Calendar& control);
    DirectoryListView* directoryList(core::DirectoryList& control);
    PictureButton* picture(core::Picture& control);
    DataGridView* grid(core::DataGrid& control);
    StringGridView* grid(core::StringGrid& control);

    QWidget* page() const { return m_page; }

  private:
    QWidget* m_page;
    core::Dialogs* m_dialogs;
};

// A group box with a bold title around the layout; `beside` (when given) sits on the
// title's line, to the right of it.
QGroupBox* titledGroup(const QString& title, QLayout* layout, QWidget* parent,
                       QLayout* beside = nullptr);
// A row of widgets (nullptr adds stretch) with small spacing.
QBoxLayout* row(std::initializer_list<QWidget*> widgets);

// One pane of a splitter and its stretch factor.
struct SplitPane {
    QWidget* widget;
    int stretch = 0;
};
// A splitter of the panes in order; panes never collapse below their minimum size.
QSplitter* splitter(Qt::Orientation orientation, QWidget* parent,
                    std::initializer_list<SplitPane> panes);
QBoxLayout* column(std::initializer_list<QWidget*> widgets);

}  // namespace ui

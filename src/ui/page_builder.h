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

// Each method makes the control's widget and binds it. `title` is its accessible name where
// the caption does not serve (see setAccessibleTitle): edits, grids and lists are named after
// their visible label or group, a control that shares its caption on the page gets its own.
class PageBuilder {
  public:
    PageBuilder(QWidget* page, core::Dialogs* dialogs) : m_page(page), m_dialogs(dialogs) {}

    QLabel* label(core::Label& control, const QString& title = {});
    QPushButton* button(core::Button& control, const QString& title = {});
    QCheckBox* checkBox(core::CheckBox& control, const QString& title = {});
    QRadioButton* radio(core::RadioButton& control, const QString& title = {});
    QGroupBox* radioGroup(core::RadioGroupBox& control, const QString& title = {});
    QLineEdit* edit(core::Edit& control, const QString& title);
    QPlainTextEdit* memo(core::Memo& control, const QString& title);
    QComboBox* comboBox(core::ComboBox& control, const QString& title);
    QCalendarWidget* calendar(core::Calendar& control, const QString& title);
    DirectoryListView* directoryList(core::DirectoryList& control, const QString& title);
    PictureButton* picture(core::Picture& control, const QString& title = {});
    // A picture that only decorates the page.
    QLabel* image(core::Picture& control, const QString& title = {});
    DataGridView* grid(core::DataGrid& control, const QString& title);
    StringGridView* grid(core::StringGrid& control, const QString& title);

    QWidget* page() const { return m_page; }

  private:
    QWidget* m_page;
    core::Dialogs* m_dialogs;
};

// A group box with a bold title around the layout; `beside` (when given) sits on the
// title's line, to the right of it. Assistive technology knows the group by its title.
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
// A plain label for the page's own text beside a control; it labels `buddy` for assistive
// technology.
QLabel* captionFor(const QString& text, QWidget* buddy, QWidget* parent);

}  // namespace ui

#pragma once
// Binders between Qt widgets and the form model's controls: one per kind of control. Each
// sets the widget's objectName to the control's name, shows the control's state, keeps
// it current when the control changes and, for controls the user changes, writes the
// user's change back into the control. A control must outlive the widget bound to it.
#include <QString>

#include "core/controls.h"

class QAbstractButton;
class QCalendarWidget;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QCheckBox;
class QDate;
class QTabWidget;
class QWidget;

namespace ui {

class DirectoryListView;
class PictureButton;

// The name assistive technology gives a control's widget, where the control's caption
// does not serve: an edit or grid is named after its visible label or group title, a
// control whose caption another control of its page shares gets a name of its own. A %1 in
// the title stands for the control's text (a label that shows a value: "Records found: %1").
// Set before binding; without it the name is the caption, or the hint in its place.
void setAccessibleTitle(QWidget* widget, const QString& title);

// The control's own font and text colour, where it has them.
void applyControlFont(QWidget* widget, const core::Font& font);
// Shows or hides a child widget as its control says.
void applyVisible(QWidget* widget, bool visible);

// Enabled, visible, hint and font: what every control has.
void bindControl(QWidget* widget, core::Control& control);

void bindLabel(QLabel* label, core::Label& control);
void bindButton(QAbstractButton* button, core::Button& control);
void bindCheckBox(QCheckBox* box, core::CheckBox& control);
void bindRadioButton(QRadioButton* button, core::RadioButton& control);
// The group box gets one radio button per item, named control name + index.
void bindRadioGroupBox(QGroupBox* box, core::RadioGroupBox& control);
void bindEdit(QLineEdit* edit, core::Edit& control);
// A memo bound to a data set's field shows the current row's value and writes what the
// user typed into that field when it loses focus; otherwise it edits the control's text.
void bindMemo(QPlainTextEdit* memo, core::Memo& control);
void bindComboBox(QComboBox* box, core::ComboBox& control);
void bindCalendar(QCalendarWidget* calendar, core::Calendar& control);
// A clickable picture: named by its hint, or by its caption when it has no hint.
void bindPicture(PictureButton* picture, core::Picture& control);
// A picture that only decorates its page.
void bindImage(QLabel* image, core::Picture& control);
void bindDirectoryList(DirectoryListView* list, core::DirectoryList& control);
// Tab captions, the active tab both ways, and the direction of the tab bar.
void bindPageControl(QTabWidget* tabs, core::PageControl& control);

// The Qt text of a control's UTF-8 text.
inline QString qtext(const std::string& text) { return QString::fromStdString(text); }

// Calendar dates to date values (days since 30 December 1899) and back.
double dateValueOf(const QDate& date);
QDate dateOf(double dateValue);

}  // namespace ui

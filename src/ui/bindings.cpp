#include "bindings.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextCharFormat>
#include <QVBoxLayout>
#include <cmath>

#include "core/paths.h"
#include "dataset_model.h"
#include "dbf/codepage1256.h"
#include "dbf/table.h"
#include "directory_list_view.h"
#include "fonts.h"
#include "picture_button.h"
#include "text_direction.h"

namespace ui {

namespace {

// Runs `apply` now and whenever the control changes, until the widget is destroyed.
void follow(QWidget* widget, core::Control& control, std::function<void()> apply) {
    apply();
    const int id = control.changed.connect(std::move(apply));
    QObject::connect(widget, &QObject::destroyed,
                     [&control, id] { control.changed.disconnect(id); });
}

// The dynamic property that holds a widget's accessible title (setAccessibleTitle).
constexpr const char* kTitleProperty = "halvoraAccessibleTitle";

// A caption without its mnemonic marks ("&Print " reads "Print").
QString withoutMnemonic(const QString& caption) {
    QString text = caption;
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return text.trimmed();
}

// The name for a widget whose control shows `text` (caption, or hint in its place): the
// title the page gave it, with the text in place of %1, or else the text itself.
QString accessibleNameFor(const QWidget* widget, const QString& text) {
    const QString title = widget->property(kTitleProperty).toString();
    if (title.isEmpty()) return withoutMnemonic(text);
    const qsizetype mark = title.indexOf(QStringLiteral("%1"));
    if (mark < 0) return title;
    // Without a text, a value label is named by its title alone ("Records found").
    if (text.isEmpty()) {
        QString name = title.left(mark).trimmed();
        while (name.endsWith(QLatin1Char(':'))) name.chop(1);
        return name;
    }
    return QString(title).replace(QStringLiteral("%1"), text);
}

// Whether a widget holding this text reads right to left.
Qt::LayoutDirection directionOf(const QString& text, Qt::LayoutDirection otherwise) {
    return text.isRightToLeft() ? Qt::RightToLeft : otherwise;
}

}  // namespace

void applyControlFont(QWidget* widget, const core::Font& font) {
    if (!font.family.empty() || font.pointSize > 0 || font.bold) {
        QFont f =
            font.family.empty() ? widget->font() : namedFont(qtext(font.family), widget->font());
        if (font.pointSize > 0) f.setPointSize(font.pointSize);
        if (font.bold) f.setBold(true);
        widget->setFont(f);
    }
    if (font.color != 0) {
        QPalette palette = widget->palette();
        const QColor color(QRgb(0xFF000000u | font.color));
        palette.setColor(QPalette::WindowText, color);
        palette.setColor(QPalette::ButtonText, color);
        palette.setColor(QPalette::Text, color);
        widget->setPalette(palette);
    }
}

void applyVisible(QWidget* widget, bool visible) {
    // A widget not yet placed in a window is never shown as a window of its own.
    if (!visible) {
        if (!widget->isHidden()) widget->hide();
    } else if (widget->isHidden() && widget->parentWidget()) {
        widget->show();
    }
}

void setAccessibleTitle(QWidget* widget, const QString& title) {
    widget->setProperty(kTitleProperty, title);
    if (!title.contains(QStringLiteral("%1"))) widget->setAccessibleName(title);
}

double dateValueOf(const QDate& date) {
    return static_cast<double>(QDate(1899, 12, 30).daysTo(date));
}

QDate dateOf(double dateValue) {
    return QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(dateValue)));
}

void bindControl(QWidget* widget, core::Control& control) {
    widget->setObjectName(qtext(control.name()));
    applyControlFont(widget, control.font);
    follow(widget, control, [widget, &control] {
        widget->setEnabled(control.enabled());
        applyVisible(widget, control.visible());
        widget->setToolTip(qtext(control.hint()));
        // A control without a hint keeps whatever description its page gave it.
        if (!control.hint().empty()) widget->setAccessibleDescription(qtext(control.hint()));
    });
}

void bindLabel(QLabel* label, core::Label& control) {
    bindControl(label, control);
    const Qt::LayoutDirection base = label->layoutDirection();
    follow(label, control, [label, &control, base] {
        const QString text = qtext(control.caption());
        label->setText(text);
        label->setAccessibleName(accessibleNameFor(label, text));
        label->setLayoutDirection(directionOf(text, base));
    });
}

void bindButton(QAbstractButton* button, core::Button& control) {
    bindControl(button, control);
    follow(button, control, [button, &control] {
        // A button without a caption shows its hint, as its picture did.
        const QString caption = qtext(control.caption());
        const QString text = caption.isEmpty() ? qtext(control.hint()) : caption;
        button->setText(text);
        button->setAccessibleName(accessibleNameFor(button, text));
        if (auto* push = qobject_cast<QPushButton*>(button)) push->setDefault(control.isDefault());
    });
}

void bindCheckBox(QCheckBox* box, core::CheckBox& control) {
    bindControl(box, control);
    follow(box, control, [box, &control] {
        box->setText(qtext(control.caption()));
        box->setAccessibleName(accessibleNameFor(box, box->text()));
        if (box->isChecked() != control.checked()) box->setChecked(control.checked());
    });
    QObject::connect(box, &QCheckBox::toggled, box,
                     [&control](bool on) { control.setChecked(on); });
}

namespace {

// The exclusive Qt group of the page's buttons that stand for one model group; made with
// the first of them. Buttons built for the same page share their parent widget.
QButtonGroup* buttonGroupOf(QAbstractButton* button, const core::RadioGroup& group) {
    const auto key = QVariant::fromValue(reinterpret_cast<quintptr>(&group));
    QObject* scope = button->parent() ? button->parent() : button;
    for (QButtonGroup* found : scope->findChildren<QButtonGroup*>(Qt::FindDirectChildrenOnly))
        if (found->property("halvoraRadioGroup") == key) return found;
    auto* created = new QButtonGroup(scope);
    created->setProperty("halvoraRadioGroup", key);
    return created;
}

// Checks or unchecks one button of an exclusive group; unchecking the checked button (the
// model chose none) lifts the exclusion for that moment.
void setCheckedInGroup(QAbstractButton* button, QButtonGroup* group, bool on) {
    if (on || !group->exclusive()) {
        button->setChecked(on);
        return;
    }
    group->setExclusive(false);
    button->setChecked(false);
    group->setExclusive(true);
}

}  // namespace

void bindRadioButton(QRadioButton* button, core::RadioButton& control) {
    bindControl(button, control);
    // The model's group and an exclusive Qt group agree: a click on the checked button
    // leaves it checked, arrow keys move the choice within the group, and assistive
    // technology announces radio buttons.
    QPointer<QButtonGroup> group = buttonGroupOf(button, control.group());
    group->addButton(button);
    follow(button, control, [button, group, &control] {
        button->setText(qtext(control.caption()));
        button->setAccessibleName(accessibleNameFor(button, button->text()));
        if (group && button->isChecked() != control.checked()) {
            const QSignalBlocker quiet(button);
            setCheckedInGroup(button, group, control.checked());
        }
    });
    // The checked state, however it came: a click, a key, or a toggle by a screen reader.
    QObject::connect(button, &QRadioButton::toggled, button, [&control](bool on) {
        if (on) control.setChecked(true);
    });
}

void bindRadioGroupBox(QGroupBox* box, core::RadioGroupBox& control) {
    bindControl(box, control);
    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(2);
    auto* group = new QButtonGroup(box);
    for (std::size_t i = 0; i < control.items().size(); ++i) {
        auto* item = new QRadioButton(qtext(control.items()[i]), box);
        item->setObjectName(qtext(control.name()) + QString::number(i));
        group->addButton(item, static_cast<int>(i));
        // Two columns of items keep the box low.
        layout->addWidget(item, static_cast<int>(i / 2), static_cast<int>(i % 2));
    }
    follow(box, control, [box, group, &control] {
        box->setTitle(qtext(control.caption()));
        box->setAccessibleName(accessibleNameFor(box, box->title()));
        for (QAbstractButton* item : group->buttons()) {
            const bool chosen = group->id(item) == control.itemIndex();
            if (item->isChecked() == chosen) continue;
            const QSignalBlocker quiet(item);
            setCheckedInGroup(item, group, chosen);
        }
    });
    QObject::connect(group, &QButtonGroup::idToggled, box, [&control](int id, bool on) {
        if (on) control.setItemIndex(id);
    });
}

void bindEdit(QLineEdit* edit, core::Edit& control) {
    bindControl(edit, control);
    followTextDirection(edit);
    auto showing = std::make_shared<bool>(false);
    follow(edit, control, [edit, &control, showing] {
        *showing = true;
        const QString text = qtext(control.text());
        if (edit->text() != text) edit->setText(text);
        // Setting the length sets the text again (cursor to the end, undo lost): only on a
        // change of the length.
        const int maxLength = control.maxLength() > 0 ? control.maxLength() : 32767;
        if (edit->maxLength() != maxLength) edit->setMaxLength(maxLength);
        *showing = false;
    });
    // Every change of the text, typed, pasted, set by an input method or by a screen
    // reader; not the echo of the model's own text shown above.
    QObject::connect(edit, &QLineEdit::textChanged, edit, [&control, showing](const QString& text) {
        if (!*showing) control.setText(text.toStdString());
    });
}

namespace {

// Keeps a memo on the current row's field of its data set.
class MemoFieldBinding : public QObject {
  public:
    MemoFieldBinding(QPlainTextEdit* memo, core::Memo& control)
        : QObject(memo), m_memo(memo), m_control(control) {
        memo->installEventFilter(this);
        rebind();
        m_changedId = control.changed.connect([this] { rebind(); });
    }
    ~MemoFieldBinding() override {
        detach();
        m_control.changed.disconnect(m_changedId);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_memo && event->type() == QEvent::FocusOut) writeBack();
        return QObject::eventFilter(watched, event);
    }

  private:
    void detach() {
        if (m_dataSet && m_listener) m_dataSet->removeListener(m_listener);
        m_listener = 0;
        m_dataSet = nullptr;
    }
    void rebind() {
        if (m_control.dataSet() != m_dataSet) {
            detach();
            m_dataSet = m_control.dataSet();
            if (m_dataSet)
                m_listener = m_dataSet->addListener([this](dbf::DataSetEvent) { show(); });
        }
        show();
    }
    int field() const {
        if (!m_dataSet || !m_dataSet->isOpen()) return -1;
        return m_dataSet->findField(m_control.dataField());
    }
    QString stored() const {
        const int f = field();
        if (f < 0 || m_dataSet->isEmpty()) return {};
        const dbf::Value value = m_dataSet->value(f);
        return value.isText() ? qtext(dbf::cp1256::toUtf8Farsi(value.bytes())) : displayText(value);
    }
    void show() {
        if (m_writing) return;
        QString text;
        try {
            text = stored();
        } catch (const std::exception& e) {
            text = QString::fromUtf8(e.what());
        }
        if (m_memo->toPlainText() != text) {
            const QSignalBlocker quiet(m_memo);
            m_memo->setPlainText(text);
        }
        m_memo->setLayoutDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    }
    void writeBack() {
        auto* table = dynamic_cast<dbf::Table*>(m_dataSet);
        const int f = field();
        if (!table || f < 0 || !m_memo->document()->isModified()) return;
        m_memo->document()->setModified(false);
        const std::string text = m_memo->toPlainText().toStdString();
        try {
            if (stored().toStdString() == text) return;
            m_writing = true;
            if (table->state() == dbf::Table::State::Browse) table->edit();
            table->setValue(f, dbf::Value::memo(dbf::cp1256::fromUtf8(text)));
        } catch (const std::exception&) {
            // The field keeps its value; the memo shows it again below.
        }
        m_writing = false;
        show();
    }

    QPlainTextEdit* m_memo;
    core::Memo& m_control;
    dbf::DataSet* m_dataSet = nullptr;
    int m_listener = 0;
    int m_changedId = 0;
    bool m_writing = false;
};

}  // namespace

void bindMemo(QPlainTextEdit* memo, core::Memo& control) {
    bindControl(memo, control);
    if (control.dataSet()) {
        new MemoFieldBinding(memo, control);
        return;
    }
    follow(memo, control, [memo, &control] {
        const QString text = qtext(control.text());
        if (memo->toPlainText() != text) {
            const QSignalBlocker quiet(memo);
            memo->setPlainText(text);
        }
    });
    QObject::connect(memo, &QPlainTextEdit::textChanged, memo,
                     [memo, &control] { control.setText(memo->toPlainText().toStdString()); });
}

void bindComboBox(QComboBox* box, core::ComboBox& control) {
    bindControl(box, control);
    // The box takes typed text as well as its items; what it shows is its text.
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // `showing`: the model is being shown, the widget's signals are its echo.
    // `taking`: the widget's state is being written into the model, which it already shows.
    auto showing = std::make_shared<bool>(false);
    auto taking = std::make_shared<bool>(false);
    follow(box, control, [box, &control, showing, taking] {
        if (*taking) return;
        *showing = true;
        QStringList items;
        for (const auto& item : control.items()) items << qtext(item);
        QStringList shown;
        for (int i = 0; i < box->count(); ++i) shown << box->itemText(i);
        if (shown != items) {
            box->clear();
            box->addItems(items);
        }
        if (box->currentIndex() != control.itemIndex()) box->setCurrentIndex(control.itemIndex());
        const QString text = qtext(control.text());
        if (box->currentText() != text) box->setEditText(text);
        *showing = false;
    });
    // An item chosen (keys, the list, a program) chooses it; typed text that equals an
    // item chooses that item; other typed text is kept as text with no item chosen. The box
    // reports a chosen item's text before its index, so both signals take the same way.
    auto take = [box, &control, showing, taking] {
        if (*showing) return;
        *taking = true;
        const QString text = box->currentText();
        const int current = box->currentIndex();
        const int index =
            current >= 0 && box->itemText(current) == text ? current : box->findText(text);
        if (index >= 0) {
            control.setItemIndex(index);
        } else {
            control.setItemIndex(-1);
            control.setText(text.toStdString());
        }
        *taking = false;
    };
    QObject::connect(box, &QComboBox::currentIndexChanged, box, take);
    QObject::connect(box, &QComboBox::editTextChanged, box, take);
    // Typed text that chose an item makes it the box's current item once the typing is
    // done (not while typing: that would undo the box's completion of the typed text).
    QObject::connect(box->lineEdit(), &QLineEdit::editingFinished, box, [box, &control, showing] {
        if (control.itemIndex() < 0 || box->currentIndex() == control.itemIndex()) return;
        *showing = true;
        box->setCurrentIndex(control.itemIndex());
        *showing = false;
    });
    // A screen reader chooses an item by toggling it in the box's list while the list is
    // closed; browsing the open list chooses nothing until Enter or a click.
    QAbstractItemView* list = box->view();
    QObject::connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, box,
                     [box, list] {
                         if (list->isVisible()) return;
                         const QModelIndexList chosen = list->selectionModel()->selectedIndexes();
                         if (chosen.size() == 1 && chosen.front().row() != box->currentIndex())
                             box->setCurrentIndex(chosen.front().row());
                     });
}

namespace {

// The date a cell of the calendar's table of days stands for, read from the day it shows.
// The six weeks shown begin with a few days of the month before (first week only, days
// over 20) and end with days of the month after (fifth and sixth weeks, days under 15);
// the shown month's own days under 15 lie in its first three weeks, those over 20 after
// its second. Null for the titles of the week days and the week numbers.
QDate dateOfDayCell(const QCalendarWidget* calendar, const QModelIndex& cell) {
    const bool titles = calendar->horizontalHeaderFormat() != QCalendarWidget::NoHorizontalHeader;
    const int week = cell.row() - (titles ? 1 : 0);
    if (week < 0) return {};
    if (calendar->verticalHeaderFormat() != QCalendarWidget::NoVerticalHeader && cell.column() == 0)
        return {};
    bool isDay = false;
    const int day = cell.data(Qt::DisplayRole).toString().toInt(&isDay);
    if (!isDay || day < 1 || day > 31) return {};
    QDate month(calendar->yearShown(), calendar->monthShown(), 1);
    if (week < 2 && day > 20) month = month.addMonths(-1);
    if (week >= 4 && day < 15) month = month.addMonths(1);
    return QDate(month.year(), month.month(), day);
}

}  // namespace

void bindCalendar(QCalendarWidget* calendar, core::Calendar& control) {
    bindControl(calendar, control);
    calendar->setGridVisible(true);
    // Assistive technology meets the calendar as its table of days, and chooses a day by
    // toggling its cell, which the calendar itself does not follow. The check waits for
    // the calendar to settle: while it moves to another date, its cells pass through
    // states that stand for no date.
    if (auto* days = calendar->findChild<QAbstractItemView*>()) {
        days->setAccessibleName(calendar->accessibleName());
        QObject::connect(
            days->selectionModel(), &QItemSelectionModel::selectionChanged, calendar,
            [calendar, days] {
                const QModelIndexList chosen = days->selectionModel()->selectedIndexes();
                if (chosen.size() != 1) return;
                const QDate date = dateOfDayCell(calendar, chosen.front());
                if (date.isValid() && date != calendar->selectedDate())
                    calendar->setSelectedDate(date);
            },
            Qt::QueuedConnection);
    }
    follow(calendar, control, [calendar, &control] {
        const QDate date = dateOf(control.date());
        if (control.date() != 0 && calendar->selectedDate() != date) {
            const QSignalBlocker quiet(calendar);
            calendar->setSelectedDate(date);
        }
        QTextCharFormat today;
        if (control.markToday()) {
            today.setFontWeight(QFont::Bold);
            today.setForeground(QColor(170, 0, 0));
        }
        calendar->setDateTextFormat(QDate::currentDate(), today);
    });
    QObject::connect(calendar, &QCalendarWidget::selectionChanged, calendar, [calendar, &control] {
        control.setDate(dateValueOf(calendar->selectedDate()));
    });
}

void bindPicture(PictureButton* picture, core::Picture& control) {
    bindControl(picture, control);
    follow(picture, control, [picture, &control] {
        const QString hint = qtext(control.hint());
        const QString caption = qtext(control.caption());
        picture->showPicture(qtext(control.resource()), caption, hint);
        picture->setAccessibleName(accessibleNameFor(picture, hint.isEmpty() ? caption : hint));
    });
}

void bindImage(QLabel* image, core::Picture& control) {
    bindControl(image, control);
    follow(image, control, [image, &control] {
        image->setPixmap(bundledPicture(qtext(control.resource())));
        const QString hint = qtext(control.hint());
        image->setAccessibleName(
            accessibleNameFor(image, hint.isEmpty() ? qtext(control.caption()) : hint));
    });
}

void bindDirectoryList(DirectoryListView* list, core::DirectoryList& control) {
    bindControl(list, control);
    follow(list, control, [list, &control] {
        if (control.directory().empty()) return;
        const QString native =
            QString::fromStdString(core::nativePath(control.directory()).string());
        list->setDirectory(native);
    });
    QObject::connect(
        list, &DirectoryListView::directoryChosen, list, [&control](const QString& path) {
            control.setDirectory(core::storedPath(std::filesystem::path(path.toStdString())));
        });
}

void bindPageControl(QTabWidget* tabs, core::PageControl& control) {
    bindControl(tabs, control);
    follow(tabs, control, [tabs, &control] {
        tabs->setLayoutDirection(control.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        const auto& pages = control.pages();
        for (int i = 0; i < tabs->count() && i < static_cast<int>(pages.size()); ++i) {
            const QString caption = qtext(pages[static_cast<std::size_t>(i)].caption);
            tabs->setTabText(i, caption);
            if (QWidget* page = tabs->widget(i)) {
                if (page->objectName().isEmpty())
                    page->setObjectName(qtext(pages[static_cast<std::size_t>(i)].name));
                page->setAccessibleName(caption);
            }
        }
        if (tabs->currentIndex() != control.activeIndex())
            tabs->setCurrentIndex(control.activeIndex());
    });
    QObject::connect(tabs, &QTabWidget::currentChanged, tabs,
                     [&control](int index) { control.setActiveIndex(index); });
}

}  // namespace ui

#include "bindings.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
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
    });
}

void bindLabel(QLabel* label, core::Label& control) {
    bindControl(label, control);
    const Qt::LayoutDirection base = label->layoutDirection();
    follow(label, control, [label, &control, base] {
        const QString text = qtext(control.caption());
        label->setText(text);
        label->setLayoutDirection(directionOf(text, base));
    });
}

void bindButton(QAbstractButton* button, core::Button& control) {
    bindControl(button, control);
    follow(button, control, [button, &control] {
        // A button without a caption shows its hint, as its picture did.
        const QString caption = qtext(control.caption());
        button->setText(caption.isEmpty() ? qtext(control.hint()) : caption);
        if (auto* push = qobject_cast<QPushButton*>(button)) push->setDefault(control.isDefault());
    });
}

void bindCheckBox(QCheckBox* box, core::CheckBox& control) {
    bindControl(box, control);
    follow(box, control, [box, &control] {
        box->setText(qtext(control.caption()));
        if (box->isChecked() != control.checked()) box->setChecked(control.checked());
    });
    QObject::connect(box, &QCheckBox::toggled, box,
                     [&control](bool on) { control.setChecked(on); });
}

void bindRadioButton(QRadioButton* button, core::RadioButton& control) {
    bindControl(button, control);
    // The control's group keeps the buttons exclusive, wherever the widgets sit.
    button->setAutoExclusive(false);
    follow(button, control, [button, &control] {
        button->setText(qtext(control.caption()));
        if (button->isChecked() != control.checked()) {
            const QSignalBlocker quiet(button);
            button->setChecked(control.checked());
        }
    });
    QObject::connect(button, &QRadioButton::toggled, button, [button, &control](bool on) {
        if (on) {
            control.setChecked(true);
        } else if (control.checked()) {
            // A click on the checked button leaves it checked.
            const QSignalBlocker quiet(button);
            button->setChecked(true);
        }
    });
}

void bindRadioGroupBox(QGroupBox* box, core::RadioGroupBox& control) {
    bindControl(box, control);
    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(2);
    auto* group = new QButtonGroup(box);
    group->setExclusive(false);
    for (std::size_t i = 0; i < control.items().size(); ++i) {
        auto* item = new QRadioButton(qtext(control.items()[i]), box);
        item->setObjectName(qtext(control.name()) + QString::number(i));
        item->setAutoExclusive(false);
        group->addButton(item, static_cast<int>(i));
        // Two columns of items keep the box low.
        layout->addWidget(item, static_cast<int>(i / 2), static_cast<int>(i % 2));
    }
    follow(box, control, [box, group, &control] {
        box->setTitle(qtext(control.caption()));
        for (QAbstractButton* item : group->buttons()) {
            const QSignalBlocker quiet(item);
            item->setChecked(group->id(item) == control.itemIndex());
        }
    });
    QObject::connect(group, &QButtonGroup::idClicked, box, [group, &control](int id) {
        control.setItemIndex(id);
        // Clicking the chosen item leaves it chosen.
        if (QAbstractButton* item = group->button(id)) item->setChecked(true);
    });
}

void bindEdit(QLineEdit* edit, core::Edit& control) {
    bindControl(edit, control);
    followTextDirection(edit);
    follow(edit, control, [edit, &control] {
        const QString text = qtext(control.text());
        if (edit->text() != text) edit->setText(text);
        edit->setMaxLength(control.maxLength() > 0 ? control.maxLength() : 32767);
    });
    QObject::connect(edit, &QLineEdit::textEdited, edit,
                     [&control](const QString& text) { control.setText(text.toStdString()); });
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
    auto updating = std::make_shared<bool>(false);
    follow(box, control, [box, &control, updating] {
        *updating = true;
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
        *updating = false;
    });
    QObject::connect(box, &QComboBox::currentIndexChanged, box, [&control, updating](int index) {
        if (!*updating && index >= 0) control.setItemIndex(index);
    });
    QObject::connect(box, &QComboBox::editTextChanged, box,
                     [box, &control, updating](const QString& text) {
                         if (*updating) return;
                         // Typed text that is no item leaves no item chosen.
                         const int index = box->findText(text);
                         if (index != control.itemIndex() && index < 0) control.setItemIndex(-1);
                         control.setText(text.toStdString());
                     });
}

void bindCalendar(QCalendarWidget* calendar, core::Calendar& control) {
    bindControl(calendar, control);
    calendar->setGridVisible(true);
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
        picture->showPicture(qtext(control.resource()), qtext(control.caption()),
                             qtext(control.hint()));
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
            tabs->setTabText(i, qtext(pages[static_cast<std::size_t>(i)].caption));
            if (QWidget* page = tabs->widget(i))
                if (page->objectName().isEmpty())
                    page->setObjectName(qtext(pages[static_cast<std::size_t>(i)].name));
        }
        if (tabs->currentIndex() != control.activeIndex())
            tabs->setCurrentIndex(control.activeIndex());
    });
    QObject::connect(tabs, &QTabWidget::currentChanged, tabs,
                     [&control](int index) { control.setActiveIndex(index); });
}

}  // namespace ui

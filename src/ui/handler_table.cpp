#include "handler_table.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QWidget>
#include <stdexcept>

#include "core/run_handler.h"
#include "data_grid_view.h"

namespace ui {

namespace {

HandlerDispatch& dispatch() {
    static HandlerDispatch current;
    return current;
}

// Runs its action when the watched widget gets the focus.
class FocusInHandler : public QObject {
  public:
    FocusInHandler(QObject* parent, std::function<void()> action)
        : QObject(parent), m_action(std::move(action)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) m_action();
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> m_action;
};

void run(core::MainForm& form, Handler handler) {
    if (dispatch()) {
        dispatch()(form, handler);
    } else {
        core::runHandler(form, handler);
    }
}

}  // namespace

void setHandlerDispatch(HandlerDispatch d) { dispatch() = std::move(d); }

void wireHandlers(QWidget* page, core::MainForm& form, const HandlerTable& table) {
    for (const HandlerRow& row : table) {
        QWidget* widget = page->findChild<QWidget*>(QString::fromLatin1(row.control));
        if (!widget) throw std::logic_error(std::string("no widget for ") + row.control);
        core::MainForm* f = &form;
        const Handler handler = row.handler;
        if (row.event == UserEvent::TitleClick) {
            auto* view = qobject_cast<DataGridView*>(widget);
            if (!view) throw std::logic_error(std::string(row.control) + " is no data grid");
            QObject::connect(view->horizontalHeader(), &QHeaderView::sectionClicked, view,
                             [view, f, handler](int column) {
                                 view->grid().setClickedColumn(column);
                                 run(*f, handler);
                             });
            continue;
        }
        if (row.event == UserEvent::DoubleClick) {
            auto* view = qobject_cast<QAbstractItemView*>(widget);
            if (!view) throw std::logic_error(std::string(row.control) + " is no grid");
            QObject::connect(view, &QAbstractItemView::doubleClicked, view,
                             [f, handler] { run(*f, handler); });
            continue;
        }
        if (row.event == UserEvent::Chosen) {
            auto* box = qobject_cast<QComboBox*>(widget);
            if (!box) throw std::logic_error(std::string(row.control) + " is no combo box");
            QObject::connect(box, &QComboBox::activated, box, [f, handler] { run(*f, handler); });
            if (QLineEdit* typed = box->lineEdit())
                QObject::connect(typed, &QLineEdit::returnPressed, box,
                                 [f, handler] { run(*f, handler); });
            continue;
        }
        if (row.event == UserEvent::Entered) {
            widget->installEventFilter(
                new FocusInHandler(widget, [f, handler] { run(*f, handler); }));
            continue;
        }
        auto* button = qobject_cast<QAbstractButton*>(widget);
        if (!button) throw std::logic_error(std::string(row.control) + " is no button");
        if (row.event == UserEvent::Checked) {
            QObject::connect(button, &QAbstractButton::toggled, button, [f, handler](bool on) {
                if (on) run(*f, handler);
            });
        } else {
            QObject::connect(button, &QAbstractButton::clicked, button,
                             [f, handler] { run(*f, handler); });
        }
    }
}

}  // namespace ui

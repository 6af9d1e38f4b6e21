#include "handler_table.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QWidget>
#include <stdexcept>

#include "core/run_handler.h"

namespace ui {

namespace {

HandlerDispatch& dispatch() {
    static HandlerDispatch current;
    return current;
}

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
        if (row.event == UserEvent::DoubleClick) {
            auto* view = qobject_cast<QAbstractItemView*>(widget);
            if (!view) throw std::logic_error(std::string(row.control) + " is no grid");
            QObject::connect(view, &QAbstractItemView::doubleClicked, view,
                             [f, handler] { run(*f, handler); });
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

#include "text_direction.h"

#include <QLineEdit>

namespace ui {

namespace {
bool persianTyping = false;
}

void setPersianTyping(bool on) { persianTyping = on; }

void applyTextDirection(QLineEdit* edit) {
    const QString text = edit->text();
    const bool rtl = text.isEmpty() ? persianTyping : text.isRightToLeft();
    const Qt::LayoutDirection wanted = rtl ? Qt::RightToLeft : Qt::LeftToRight;
    if (edit->layoutDirection() != wanted) edit->setLayoutDirection(wanted);
}

void followTextDirection(QLineEdit* edit) {
    applyTextDirection(edit);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit] { applyTextDirection(edit); });
}

}  // namespace ui

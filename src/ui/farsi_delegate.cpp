#include "farsi_delegate.h"

#include <QLineEdit>

#include "text_direction.h"

namespace ui {

void FarsiDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->text.isRightToLeft()) {
        option->direction = Qt::RightToLeft;
        option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter | Qt::AlignAbsolute;
    }
}

QWidget* FarsiDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) followTextDirection(line);
    return editor;
}

void FarsiDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    QStyledItemDelegate::setEditorData(editor, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) applyTextDirection(line);
}

}  // namespace ui

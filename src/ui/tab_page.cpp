#include "tab_page.h"

#include <QLayout>
#include <QScrollArea>
#include <QVBoxLayout>

namespace ui {

TabPage::TabPage(const char* name, QWidget* parent)
    : QWidget(parent), m_scroll(new QScrollArea(this)), m_body(new QWidget(m_scroll)) {
    setObjectName(QString::fromLatin1(name));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_body);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
}

void TabPage::setBodyLayout(QLayout* layout) {
    // A page that set margins of its own keeps them.
    if (layout->contentsMargins().isNull() || layout->contentsMargins() == QMargins(11, 11, 11, 11))
        layout->setContentsMargins(6, 6, 6, 6);
    m_body->setLayout(layout);
}

}  // namespace ui

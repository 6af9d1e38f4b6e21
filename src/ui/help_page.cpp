#include "help_page.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "core/main_form.h"
#include "page_builder.h"

namespace ui {

HelpPage::HelpPage(core::MainForm& form, QWidget* parent) : TabPage(core::HelpTab::name, parent) {
    auto& tab = form.help;
    PageBuilder b(this, &form.dialogs);
    QLabel* text = b.label(tab.HelpText);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont larger = text->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.25);
    text->setFont(larger);
    QLabel* picture =
        b.image(tab.HelpPicture, QStringLiteral("Halvora: a plate of food beside a bar chart"));
    // "Create Databses" has no action.
    QPushButton* create = b.button(tab.CreateDatabases);

    auto* content = new QHBoxLayout;
    content->addWidget(text, 3);
    content->addWidget(picture, 2, Qt::AlignTop);
    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(18, 18, 18, 6);
    layout->addLayout(content);
    layout->addStretch(1);
    layout->addLayout(row({nullptr, create}));
    setBodyLayout(layout);
}

}  // namespace ui

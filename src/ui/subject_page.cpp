#include "subject_page.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "core/main_form.h"
#include "data_grid_view.h"
#include "handler_table.h"
#include "icons.h"
#include "page_builder.h"
#include "plans/subject_register.h"

namespace ui {

SubjectPage::SubjectPage(core::MainForm& form, QWidget* parent)
    : TabPage(core::SubjectTab::name, parent) {
    auto& tab = form.subject;
    PageBuilder b(this, &form.dialogs);
    QLabel* heading = b.label(tab.Label9);
    QFont big = heading->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    heading->setFont(big);
    QPushButton* remove = b.button(tab.DelSubjectButton);
    remove->setIcon(deleteIcon());
    auto* actions = row({b.button(tab.AddSubj), b.button(tab.Button46), remove,
                         b.button(tab.Button49), nullptr, b.label(tab.Label12)});
    auto* grid = new QVBoxLayout;
    grid->addWidget(b.grid(tab.DBGrid7, QStringLiteral("Subjects and recommended intakes")), 1);
    grid->addLayout(actions);
    auto* layout = new QVBoxLayout;
    layout->addWidget(heading);
    layout->addWidget(titledGroup(QStringLiteral("Subjects and recommended intakes"), grid, this),
                      1);
    setBodyLayout(layout);
    wireHandlers(this, form, subjectHandlers());
}

const HandlerTable& subjectHandlers() {
    using E = UserEvent;
    static const HandlerTable table = {
        {"AddSubj", E::Click, plans::AddSubjClick},
        {"Button46", E::Click, plans::Button46Click},
        {"DelSubjectButton", E::Click, plans::DelSubjectButtonClick},
        {"Button49", E::Click, plans::Button49Click},
        {"DBGrid7", E::TitleClick, plans::DBGrid7TitleClick},
    };
    return table;
}

}  // namespace ui

#include "main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include "bindings.h"
#include "core/main_form.h"
#include "core/run_handler.h"
#include "core/startup.h"
#include "edit_food_database_page.h"
#include "food_analysis_page.h"
#include "food_processor_page.h"
#include "help_page.h"
#include "persian_keyboard.h"
#include "setup_page.h"
#include "subject_page.h"
#include "weekly_plans_page.h"

namespace ui {

MainWindow::MainWindow(core::MainForm& form, QWidget* parent) : QMainWindow(parent), m_form(form) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QString::fromLatin1(core::MainForm::caption));
    m_keyboard = new PersianKeyboard(form.keyboard, this);
    setupTabs();
    setupStatusBar();
    m_terminateId = form.terminateRequested.connect([] { QCoreApplication::quit(); });
    // The window's creation runs the start-up sequence; whatever it leaves undone, the
    // window still opens.
    core::runHandler(form, core::Form1create);
}

MainWindow::~MainWindow() { m_form.terminateRequested.disconnect(m_terminateId); }

void MainWindow::setupTabs() {
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(new WeeklyPlansPage(m_form, m_tabs), QString());
    m_tabs->addTab(new FoodProcessorPage(m_form, m_tabs), QString());
    m_tabs->addTab(new EditFoodDatabasePage(m_form, m_tabs), QString());
    m_tabs->addTab(new FoodAnalysisPage(m_form, m_tabs), QString());
    m_tabs->addTab(new SubjectPage(m_form, m_tabs), QString());
    m_tabs->addTab(new SetupPage(m_form, m_tabs), QString());
    m_tabs->addTab(new HelpPage(m_form, m_tabs), QString());
    // The tab bar runs right to left; each page keeps its own direction.
    for (int i = 0; i < m_tabs->count(); ++i)
        m_tabs->widget(i)->setLayoutDirection(Qt::LeftToRight);
    setAccessibleTitle(m_tabs, QStringLiteral("Pages"));
    bindPageControl(m_tabs, m_form.PageControl1);
    QFont tabFont = m_tabs->tabBar()->font();
    tabFont.setBold(true);
    m_tabs->tabBar()->setFont(tabFont);
    setCentralWidget(m_tabs);
}

void MainWindow::setupStatusBar() {
    // The keyboard indicator is also the switch: a click toggles Persian and US English,
    // as Left Alt+Shift does anywhere in the window.
    m_layoutButton = new QToolButton(this);
    m_layoutButton->setObjectName(QStringLiteral("KeyboardLayout"));
    m_layoutButton->setAutoRaise(true);
    m_layoutButton->setFocusPolicy(Qt::TabFocus);  // a click leaves the focus where it was
    const QString how = QStringLiteral("Switches between Persian and US English (Left Alt+Shift)");
    m_layoutButton->setToolTip(how);
    m_layoutButton->setAccessibleDescription(how);
    statusBar()->addPermanentWidget(m_layoutButton);
    connect(m_layoutButton, &QToolButton::clicked, m_keyboard, &PersianKeyboard::toggle);
    connect(m_keyboard, &PersianKeyboard::layoutChanged, this, &MainWindow::showKeyboardLayout);
    showKeyboardLayout();
}

void MainWindow::showKeyboardLayout() {
    m_layoutButton->setText(m_keyboard->statusText());
    m_layoutButton->setAccessibleName(m_keyboard->statusText());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_closing) {
        m_closing = true;
        core::runHandler(m_form, core::FormClose);
    }
    event->accept();
}

}  // namespace ui

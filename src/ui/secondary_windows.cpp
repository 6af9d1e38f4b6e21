#include "secondary_windows.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "chart_view.h"
#include "core/energy_chart_window.h"
#include "core/food_analysis_chart_window.h"
#include "core/result_window.h"
#include "icons.h"
#include "page_builder.h"
#include "picture_button.h"
#include "screen_scale.h"
#include "string_grid_view.h"

namespace ui {

ResultDialog::ResultDialog(core::ResultWindow& window, core::Dialogs* dialogs, QWidget* parent)
    : QDialog(parent), m_window(window) {
    setObjectName(QString::fromLatin1(core::ResultWindow::name));
    setWindowTitle(QString::fromLatin1(core::ResultWindow::title));
    PageBuilder b(this, dialogs);
    QLabel* heading = b.label(window.Label1);
    heading->setAlignment(Qt::AlignCenter);
    StringGridView* grid = b.grid(window.StringGrid4);
    QPushButton* close = b.button(window.Button1);
    connect(close, &QPushButton::clicked, this, [this] { m_window.close(); });
    m_closeId = window.closeRequested.connect([this] { reject(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(grid, 1);
    layout->addLayout(row({nullptr, close}));
    grid->setMinimumSize(grid->contentWidth(), grid->contentHeight());
}

ResultDialog::~ResultDialog() { m_window.closeRequested.disconnect(m_closeId); }

EnergyChartDialog::EnergyChartDialog(core::EnergyChartWindow& window, core::Dialogs* dialogs,
                                     QWidget* parent)
    : QDialog(parent), m_window(window) {
    setObjectName(QString::fromLatin1(core::EnergyChartWindow::name));
    setWindowTitle(QString::fromLatin1(core::EnergyChartWindow::title));
    resize(scaled(core::EnergyChartWindow::width, this),
           scaled(core::EnergyChartWindow::height, this));
    PageBuilder b(this, dialogs);
    auto* chart = new ChartView(window.Chart1, this);
    QPushButton* print = b.button(window.BitBtn5);
    print->setIcon(printIcon());
    QPushButton* exit = b.button(window.BitBtn1);
    connect(exit, &QPushButton::clicked, this, [this] { m_window.close(); });
    m_closeId = window.closeRequested.connect([this] { reject(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chart, 1);
    layout->addLayout(row({b.picture(window.Image11), nullptr, print, exit}));
}

EnergyChartDialog::~EnergyChartDialog() { m_window.closeRequested.disconnect(m_closeId); }

FoodAnalysisChartDialog::FoodAnalysisChartDialog(core::FoodAnalysisChartWindow& window,
                                                 core::Dialogs* dialogs, QWidget* parent)
    : QDialog(parent), m_window(window) {
    setObjectName(QString::fromLatin1(core::FoodAnalysisChartWindow::name));
    setWindowTitle(QString::fromLatin1(core::FoodAnalysisChartWindow::title));
    resize(scaled(core::FoodAnalysisChartWindow::width, this),
           scaled(core::FoodAnalysisChartWindow::height, this));
    PageBuilder b(this, dialogs);
    auto* chart = new ChartView(window.Chart1, this);
    QPushButton* print = b.button(window.BitBtn5);
    print->setIcon(printIcon());
    QPushButton* exit = b.button(window.BitBtn1);
    connect(exit, &QPushButton::clicked, this, [this] { m_window.close(); });
    m_closeId = window.closeRequested.connect([this] { reject(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chart, 1);
    layout->addLayout(
        row({b.button(window.PieChart), b.checkBox(window.MARKS), b.label(window.Label7),
             b.picture(window.Image1), nullptr, print, exit}));
}

FoodAnalysisChartDialog::~FoodAnalysisChartDialog() {
    m_window.closeRequested.disconnect(m_closeId);
}

}  // namespace ui

#include "secondary_windows.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "bindings.h"
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
    StringGridView* grid = b.grid(window.StringGrid4, QStringLiteral("Nutrients"));
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

namespace {

// What both chart windows share: name, title and size from their model, the chart, a
// print button and an exit button that closes the window through its model.
struct ChartParts {
    ChartView* chart;
    QPushButton* print;
    QPushButton* exit;
};

template <typename Window>
ChartParts setupChartWindow(QDialog& dialog, Window& window, PageBuilder& b, int& closeId) {
    dialog.setObjectName(QString::fromLatin1(Window::name));
    dialog.setWindowTitle(QString::fromLatin1(Window::title));
    dialog.resize(scaled(Window::width, &dialog), scaled(Window::height, &dialog));
    ChartParts parts{new ChartView(window.Chart1, &dialog), b.button(window.BitBtn5),
                     b.button(window.BitBtn1)};
    parts.print->setIcon(printIcon());
    QObject::connect(parts.exit, &QPushButton::clicked, &dialog, [&window] { window.close(); });
    closeId = window.closeRequested.connect([&dialog] { dialog.reject(); });
    return parts;
}

}  // namespace

EnergyChartDialog::EnergyChartDialog(core::EnergyChartWindow& window, core::Dialogs* dialogs,
                                     QWidget* parent)
    : QDialog(parent), m_window(window) {
    PageBuilder b(this, dialogs);
    const ChartParts parts = setupChartWindow(*this, window, b, m_closeId);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(parts.chart, 1);
    layout->addLayout(row({b.picture(window.Image11), nullptr, parts.print, parts.exit}));
}

EnergyChartDialog::~EnergyChartDialog() { m_window.closeRequested.disconnect(m_closeId); }

FoodAnalysisChartDialog::FoodAnalysisChartDialog(core::FoodAnalysisChartWindow& window,
                                                 core::Dialogs* dialogs, QWidget* parent)
    : QDialog(parent), m_window(window) {
    PageBuilder b(this, dialogs);
    const ChartParts parts = setupChartWindow(*this, window, b, m_closeId);
    // The check box has no caption of its own; the label beside it gives its words.
    QCheckBox* marks = b.checkBox(window.MARKS, qtext(window.Label7.caption()));
    QLabel* valuesLabel = b.label(window.Label7, qtext(window.Label7.caption()) + " label");
    valuesLabel->setBuddy(marks);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(parts.chart, 1);
    layout->addLayout(row({b.button(window.PieChart), marks, valuesLabel, b.picture(window.Image1),
                           nullptr, parts.print, parts.exit}));
}

FoodAnalysisChartDialog::~FoodAnalysisChartDialog() {
    m_window.closeRequested.disconnect(m_closeId);
}

}  // namespace ui

#pragma once
// Draws a core::Chart: bars of each series side by side, or one series as a pie, with the
// title above and the legend below; redrawn whenever the chart model changes.
#include <QWidget>

#include "core/chart.h"

namespace ui {

class ChartView : public QWidget {
    Q_OBJECT
  public:
    explicit ChartView(core::Chart& chart, QWidget* parent = nullptr);
    ~ChartView() override;

    QSize sizeHint() const override { return {640, 420}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void drawBars(QPainter& p, const QRectF& area);
    void drawPie(QPainter& p, const QRectF& area);
    QRectF drawLegend(QPainter& p, const QRectF& area);

    core::Chart& m_chart;
    int m_changedId = 0;
};

// A 0xRRGGBB colour of the form model as a Qt colour.
QColor modelColor(std::uint32_t rgb);

}  // namespace ui

#include "chart_view.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "bindings.h"
#include "fonts.h"

namespace ui {

QColor modelColor(std::uint32_t rgb) { return QColor(QRgb(0xFF000000u | rgb)); }

namespace {

// Assistive technology sees a chart, not a plain pane.
QAccessibleInterface* chartInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(ChartView::staticMetaObject.className()) &&
        object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Chart);
    return nullptr;
}

// The chart's values in words, for a reader who cannot see the bars.
QString describe(const core::Chart& chart) {
    QStringList parts;
    for (const core::ChartSeries& series : chart.series)
        for (const core::ChartPoint& point : series.points)
            parts << QStringLiteral("%1 %2").arg(
                qtext(point.label.empty() ? series.title : point.label),
                QString::number(point.y, 'g', 6));
    return parts.join(QStringLiteral(", "));
}

}  // namespace

ChartView::ChartView(core::Chart& chart, QWidget* parent) : QWidget(parent), m_chart(chart) {
    static const bool interfaceInstalled = (QAccessible::installFactory(chartInterface), true);
    (void)interfaceInstalled;
    setObjectName(qtext(chart.name()));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    auto describeChart = [this] {
        setAccessibleName(qtext(m_chart.title));
        setAccessibleDescription(describe(m_chart));
    };
    describeChart();
    m_changedId = chart.changed.connect([this, describeChart] {
        describeChart();
        update();
    });
}

ChartView::~ChartView() { m_chart.changed.disconnect(m_changedId); }

void ChartView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF area = QRectF(rect()).adjusted(12, 8, -12, -8);
    QFont title =
        m_chart.font.family.empty() ? font() : namedFont(qtext(m_chart.font.family), font());
    title.setBold(m_chart.font.bold);
    title.setPointSizeF(font().pointSizeF() * 1.4);
    p.setFont(title);
    p.setPen(m_chart.font.color ? modelColor(m_chart.font.color)
                                : palette().color(QPalette::WindowText));
    const qreal titleHeight = QFontMetricsF(title).height() + 6;
    p.drawText(QRectF(area.left(), area.top(), area.width(), titleHeight), Qt::AlignCenter,
               qtext(m_chart.title));
    area.setTop(area.top() + titleHeight);
    p.setFont(font());
    if (m_chart.legendVisible) area = drawLegend(p, area);
    if (m_chart.kind() == core::Chart::Kind::Bar) {
        drawBars(p, area);
    } else {
        drawPie(p, area);
    }
}

QRectF ChartView::drawLegend(QPainter& p, const QRectF& area) {
    const QFontMetricsF metrics(p.font());
    const qreal height = metrics.height() + 8;
    std::vector<std::pair<QString, QColor>> entries;
    if (m_chart.kind() == core::Chart::Kind::Bar) {
        for (const auto& s : m_chart.series)
            entries.emplace_back(qtext(s.title), modelColor(s.color));
    } else if (!m_chart.series.empty()) {
        for (const auto& point : m_chart.series.front().points)
            entries.emplace_back(qtext(point.label), modelColor(point.color));
    }
    qreal width = 0;
    for (const auto& [text, colour] : entries) width += metrics.horizontalAdvance(text) + 34;
    qreal x = area.center().x() - width / 2;
    const qreal y = area.bottom() - height;
    for (const auto& [text, colour] : entries) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawRect(QRectF(x, y + height / 2 - 5, 12, 10));
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QPointF(x + 16, y + height / 2 + metrics.ascent() / 2 - 1), text);
        x += metrics.horizontalAdvance(text) + 34;
    }
    return area.adjusted(0, 0, 0, -height);
}

void ChartView::drawBars(QPainter& p, const QRectF& area) {
    const QRectF plot = area.adjusted(48, 10, -10, -24);
    double top = 0;
    for (const auto& s : m_chart.series)
        for (const auto& point : s.points) top = std::max(top, point.y);
    if (top <= 0) top = 1;
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    p.drawLine(plot.bottomLeft(), plot.topLeft());
    for (int i = 0; i <= 4; ++i) {
        const qreal y = plot.bottom() - plot.height() * i / 4;
        p.setPen(QPen(QColor(225, 225, 225), 1));
        if (i > 0) p.drawLine(QPointF(plot.left() + 1, y), QPointF(plot.right(), y));
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QRectF(area.left(), y - 8, 44, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(top * i / 4, 'g', 4));
    }
    const auto count = static_cast<qreal>(std::max<std::size_t>(1, m_chart.series.size()));
    const qreal slot = plot.width() / count;
    for (std::size_t i = 0; i < m_chart.series.size(); ++i) {
        const auto& s = m_chart.series[i];
        for (const auto& point : s.points) {
            const qreal h = plot.height() * std::max(0.0, point.y) / top;
            const QRectF bar(plot.left() + slot * static_cast<qreal>(i) + slot * 0.2,
                             plot.bottom() - h, slot * 0.6, h);
            p.setPen(Qt::NoPen);
            p.setBrush(modelColor(point.color ? point.color : s.color));
            p.drawRect(bar);
            if (s.marksVisible) {
                p.setPen(palette().color(QPalette::WindowText));
                p.drawText(QRectF(bar.left() - 20, bar.top() - 18, bar.width() + 40, 16),
                           Qt::AlignCenter, QString::number(point.y, 'g', 6));
            }
        }
    }
}

void ChartView::drawPie(QPainter& p, const QRectF& area) {
    if (m_chart.series.empty()) return;
    const auto& s = m_chart.series.front();
    double total = 0;
    for (const auto& point : s.points) total += std::max(0.0, point.y);
    const qreal side = std::min(area.width(), area.height()) - 40;
    if (side <= 0) return;
    const QRectF pie(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
    if (total <= 0) {
        p.setPen(QPen(QColor(200, 200, 200), 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(pie);
        return;
    }
    double start = 90;
    for (const auto& point : s.points) {
        const double span = 360.0 * std::max(0.0, point.y) / total;
        p.setPen(QPen(Qt::white, 1.5));
        p.setBrush(modelColor(point.color));
        p.drawPie(pie, static_cast<int>(start * 16), static_cast<int>(span * 16));
        if (s.marksVisible) {
            const double middle = (start + span / 2) * M_PI / 180;
            const QPointF at(pie.center().x() + std::cos(middle) * side * 0.6,
                             pie.center().y() - std::sin(middle) * side * 0.6);
            p.setPen(palette().color(QPalette::WindowText));
            p.drawText(QRectF(at.x() - 60, at.y() - 9, 120, 18), Qt::AlignCenter,
                       QStringLiteral("%1 %2%")
                           .arg(qtext(point.label))
                           .arg(100 * point.y / total, 0, 'f', 0));
        }
        start += span;
    }
}

}  // namespace ui

#include "icons.h"

#include <QPainter>
#include <QPixmap>

namespace ui {

namespace {

template <typename Draw>
QIcon drawn(Draw draw) {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return QIcon(pixmap);
}

}  // namespace

QIcon chartIcon() {
    return drawn([](QPainter& p) {
        const QColor colours[] = {QColor(220, 60, 60), QColor(60, 120, 210), QColor(240, 180, 40),
                                  QColor(80, 170, 80)};
        const int heights[] = {30, 48, 38, 22};
        p.setPen(QPen(QColor(70, 70, 70), 3));
        p.drawLine(6, 58, 60, 58);
        p.drawLine(6, 58, 6, 4);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 4; ++i) {
            p.setBrush(colours[i]);
            p.drawRect(12 + i * 12, 56 - heights[i], 9, heights[i]);
        }
    });
}

QIcon saveIcon() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(30, 60, 110), 3));
        p.setBrush(QColor(70, 120, 200));
        p.drawRoundedRect(6, 6, 52, 52, 5, 5);
        p.setBrush(QColor(240, 240, 240));
        p.drawRect(16, 8, 32, 18);
        p.setBrush(QColor(220, 230, 245));
        p.drawRect(14, 36, 36, 20);
    });
}

QIcon deleteIcon() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(190, 30, 30), 10, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(14, 14, 50, 50);
        p.drawLine(50, 14, 14, 50);
    });
}

QIcon printIcon() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 3));
        p.setBrush(Qt::white);
        p.drawRect(18, 6, 28, 22);
        p.setBrush(QColor(150, 160, 175));
        p.drawRoundedRect(6, 24, 52, 24, 4, 4);
        p.setBrush(Qt::white);
        p.drawRect(16, 40, 32, 18);
    });
}

QIcon copyIcon() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(90, 90, 90), 2.5));
        p.setBrush(QColor(250, 250, 250));
        p.drawRect(6, 4, 30, 38);
        p.setBrush(QColor(225, 238, 250));
        p.drawRect(26, 22, 30, 38);
        p.setPen(QPen(QColor(30, 140, 60), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(14, 50, 24, 50);
        p.drawLine(14, 50, 14, 40);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 140, 60));
        p.drawPolygon(QPolygon({QPoint(22, 42), QPoint(30, 50), QPoint(22, 58)}));
    });
}

}  // namespace ui

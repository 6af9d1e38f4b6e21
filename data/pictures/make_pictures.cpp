// Draws the two JPEG pictures of the main window: the Help tab's picture and the
// "REFRESH FOOD LIST" picture of the Food Analysis tab. Rebuild them with
//   g++ -std=c++20 -fPIC make_pictures.cpp $(pkg-config --cflags --libs Qt6Gui) -o
//   /tmp/make_pictures QT_QPA_PLATFORM=offscreen /tmp/make_pictures data/pictures
//   data/fonts/Vazirmatn-UI-Bold.ttf
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace {

void drawApple(QPainter& p, QPointF c, double r) {
    QRadialGradient g(c + QPointF(-r / 3, -r / 3), r * 1.4);
    g.setColorAt(0, QColor(255, 120, 110));
    g.setColorAt(1, QColor(170, 20, 30));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    QPainterPath body;
    body.setFillRule(Qt::WindingFill);
    body.addEllipse(c + QPointF(-r * 0.45, 0), r * 0.75, r * 0.9);
    body.addEllipse(c + QPointF(r * 0.45, 0), r * 0.75, r * 0.9);
    p.drawPath(body);
    p.setPen(QPen(QColor(90, 60, 30), r * 0.12, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(0, -r * 0.7), c + QPointF(r * 0.1, -r * 1.1));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 160, 60));
    p.save();
    p.translate(c + QPointF(r * 0.35, -r * 1.0));
    p.rotate(-30);
    p.drawEllipse(QPointF(0, 0), r * 0.35, r * 0.15);
    p.restore();
}

void drawCarrot(QPainter& p, QPointF tip, QPointF top, double w) {
    const QPointF d = top - tip;
    const double len = std::hypot(d.x(), d.y());
    const QPointF n(-d.y() / len * w, d.x() / len * w);
    QPainterPath path;
    path.moveTo(tip);
    path.lineTo(top + n);
    path.quadTo(top + d / len * w * 0.6, top - n);
    path.closeSubpath();
    QLinearGradient g(top + n, top - n);
    g.setColorAt(0, QColor(255, 170, 60));
    g.setColorAt(1, QColor(220, 100, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(path);
    p.setPen(QPen(QColor(60, 150, 50), w * 0.35, Qt::SolidLine, Qt::RoundCap));
    for (int i = -1; i <= 1; ++i) p.drawLine(top, top + d / len * w * 2.2 + n * (i * 0.9));
}

void drawBars(QPainter& p, QRectF area) {
    const double values[] = {0.55, 0.8, 0.65, 0.35, 0.9, 0.5};
    const QColor colours[] = {QColor(220, 60, 60), QColor(60, 120, 210), QColor(240, 180, 40),
                              QColor(80, 170, 80), QColor(150, 90, 190), QColor(90, 190, 200)};
    const double w = area.width() / 6;
    p.setPen(QPen(QColor(90, 90, 90), 2));
    p.drawLine(area.bottomLeft(), area.bottomRight());
    p.drawLine(area.bottomLeft(), area.topLeft());
    for (int i = 0; i < 6; ++i) {
        const double h = area.height() * values[i];
        QRectF bar(area.left() + w * i + w * 0.18, area.bottom() - h, w * 0.64, h);
        p.setPen(Qt::NoPen);
        p.setBrush(colours[i]);
        p.drawRect(bar);
    }
}

QImage helpPicture(const QString& family) {
    QImage img(560, 300, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, img.height());
    sky.setColorAt(0, QColor(235, 246, 236));
    sky.setColorAt(1, QColor(200, 228, 205));
    p.fillRect(img.rect(), sky);
    // The plate.
    p.setPen(QPen(QColor(170, 170, 170), 2));
    p.setBrush(QColor(250, 250, 250));
    p.drawEllipse(QPointF(160, 170), 130, 100);
    p.setBrush(QColor(238, 238, 238));
    p.drawEllipse(QPointF(160, 170), 95, 72);
    drawApple(p, QPointF(122, 165), 34);
    drawCarrot(p, QPointF(262, 222), QPointF(205, 140), 14);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 220, 120));
    p.drawEllipse(QPointF(165, 215), 26, 15);
    drawBars(p, QRectF(330, 70, 200, 170));
    QFont title(family);
    title.setPixelSize(34);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(30, 90, 50));
    p.drawText(QRectF(300, 250, 250, 44), Qt::AlignCenter, QStringLiteral("HALVORA"));
    return img;
}

QImage refreshPicture(const QString& family) {
    QImage img(150, 56, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, img.height());
    bg.setColorAt(0, QColor(250, 252, 255));
    bg.setColorAt(1, QColor(205, 220, 240));
    p.fillRect(img.rect(), bg);
    p.setPen(QPen(QColor(120, 140, 170), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1, 1, img.width() - 2, img.height() - 2), 6, 6);
    // A list sheet.
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(110, 110, 110), 1.5));
    p.drawRect(QRectF(10, 9, 28, 38));
    for (int i = 0; i < 4; ++i) p.drawLine(QPointF(15, 17 + i * 8), QPointF(33, 17 + i * 8));
    // Two arrows going round.
    p.setPen(QPen(QColor(30, 140, 60), 4, Qt::SolidLine, Qt::RoundCap));
    const QRectF ring(36, 18, 24, 24);
    p.drawArc(ring, 30 * 16, 150 * 16);
    p.drawArc(ring, 210 * 16, 150 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 140, 60));
    p.drawPolygon(QPolygonF({QPointF(36, 26), QPointF(44, 30), QPointF(32, 34)}));
    p.drawPolygon(QPolygonF({QPointF(60, 34), QPointF(52, 30), QPointF(64, 26)}));
    QFont f(family);
    f.setPixelSize(13);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(20, 50, 100));
    p.drawText(QRectF(66, 4, 82, 48), Qt::AlignCenter | Qt::TextWordWrap,
               QStringLiteral("REFRESH\nFOOD LIST"));
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 3) return 2;
    const int id = QFontDatabase::addApplicationFont(QString::fromLocal8Bit(argv[2]));
    const QString family =
        id < 0 ? QStringLiteral("Sans") : QFontDatabase::applicationFontFamilies(id).value(0);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const bool ok = helpPicture(family).save(dir + "/help.jpg", "JPG", 90) &&
                    refreshPicture(family).save(dir + "/refresh_food_list.jpg", "JPG", 92);
    return ok ? 0 : 1;
}

#include "picture_button.h"

#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "fonts.h"

namespace ui {

QPixmap bundledPicture(const QString& resource) {
    if (resource.isEmpty()) return {};
    const QString path = QStringLiteral(":/pictures/") + resource;
    if (!QFile::exists(path)) return {};
    return QPixmap(path);
}

namespace {

// A framed tile with a small symbol and the text, in the look of the bundled pictures.
QPixmap drawnTile(const QString& text, const QFont& base, qreal ratio) {
    QFont font = farsiFont(base);
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int width = std::max(64, metrics.horizontalAdvance(text) + 24);
    const int height = metrics.height() + 16;
    QPixmap pixmap(QSize(width, height) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, height);
    bg.setColorAt(0, QColor(250, 252, 255));
    bg.setColorAt(1, QColor(205, 220, 240));
    p.setBrush(bg);
    p.setPen(QPen(QColor(120, 140, 170), 1.5));
    p.drawRoundedRect(QRectF(1, 1, width - 2, height - 2), 5, 5);
    p.setFont(font);
    p.setPen(QColor(20, 50, 100));
    p.drawText(QRectF(0, 0, width, height), Qt::AlignCenter, text);
    return pixmap;
}

}  // namespace

PictureButton::PictureButton(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAlignment(Qt::AlignCenter);
}

void PictureButton::showPicture(const QString& resource, const QString& caption,
                                const QString& hint) {
    m_resource = resource;
    m_caption = caption;
    m_hint = hint;
    const QPixmap picture = bundledPicture(resource);
    if (!picture.isNull()) {
        setPixmap(picture);
        return;
    }
    if (!m_icon.isNull()) {
        setPixmap(m_icon.pixmap(QSize(m_iconSize, m_iconSize), devicePixelRatioF(),
                                isEnabled() ? QIcon::Normal : QIcon::Disabled));
        return;
    }
    const QString text = caption.isEmpty() ? hint : caption;
    setPixmap(drawnTile(text.isEmpty() ? objectName() : text, font(), devicePixelRatioF()));
}

void PictureButton::setIcon(const QIcon& icon, int size) {
    m_icon = icon;
    m_iconSize = size;
    showPicture(m_resource, m_caption, m_hint);
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        isEnabled())
        Q_EMIT clicked();
}

void PictureButton::mouseDoubleClickEvent(QMouseEvent* event) {
    QLabel::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && isEnabled()) Q_EMIT doubleClicked();
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        Q_EMIT clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

}  // namespace ui

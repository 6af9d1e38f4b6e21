#include "picture_button.h"

#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>

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

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureButton::showPicture(const QString& resource, const QString& caption,
                                const QString& hint) {
    m_resource = resource;
    m_caption = caption;
    m_hint = hint;
    const QPixmap bundled = bundledPicture(resource);
    if (!bundled.isNull()) {
        m_picture = bundled;
    } else if (!m_icon.isNull()) {
        m_picture = m_icon.pixmap(QSize(m_iconSize, m_iconSize), devicePixelRatioF());
    } else {
        const QString text = caption.isEmpty() ? hint : caption;
        m_picture = drawnTile(text.isEmpty() ? objectName() : text, font(), devicePixelRatioF());
    }
    updateGeometry();
    update();
}

void PictureButton::setPictureIcon(const QIcon& icon, int size) {
    m_icon = icon;
    m_iconSize = size;
    showPicture(m_resource, m_caption, m_hint);
}

QSize PictureButton::sizeHint() const {
    if (m_picture.isNull()) return {24, 24};
    // Room for the focus frame around the picture.
    return (m_picture.deviceIndependentSize() + QSizeF(4, 4)).toSize();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QPixmap shown = m_picture;
    QStyleOption option;
    option.initFrom(this);
    if (!isEnabled()) shown = style()->generatedIconPixmap(QIcon::Disabled, shown, &option);
    const QSize size = shown.deviceIndependentSize().toSize();
    QPoint at((width() - size.width()) / 2, (height() - size.height()) / 2);
    if (isDown()) at += QPoint(1, 1);
    p.drawPixmap(at, shown);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(0, 0, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    // Space presses any button; Enter presses this one too, as it did the picture.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !event->isAutoRepeat()) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void PictureButton::mouseDoubleClickEvent(QMouseEvent* event) {
    QAbstractButton::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && isEnabled()) Q_EMIT doubleClicked();
}

}  // namespace ui

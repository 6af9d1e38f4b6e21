#pragma once
// A picture that acts as a button: the bundled JPEG pictures, an icon, or a drawn tile for
// the controls that have no picture of their own (a caption or hint shown in a framed tile).
// It is a real button: reached with Tab, pressed with Space or Enter, and pressed by
// assistive technology, which knows it by its accessible name.
#include <QAbstractButton>
#include <QIcon>
#include <QPixmap>

class QKeyEvent;
class QMouseEvent;
class QPaintEvent;

namespace ui {

class PictureButton : public QAbstractButton {
    Q_OBJECT
  public:
    explicit PictureButton(QWidget* parent = nullptr);
    // The bundled picture of that name, or a tile drawn with the caption or hint.
    void showPicture(const QString& resource, const QString& caption, const QString& hint);
    // Draws the icon instead of a tile when there is no bundled picture.
    void setPictureIcon(const QIcon& icon, int size);
    // What the button draws (at the screen's pixel ratio).
    const QPixmap& picture() const { return m_picture; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  Q_SIGNALS:
    void doubleClicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QIcon m_icon;
    int m_iconSize = 0;
    QString m_resource, m_caption, m_hint;
    QPixmap m_picture;
};

// The picture bundled under that name (e.g. "help.jpg"); null when there is none.
QPixmap bundledPicture(const QString& resource);

}  // namespace ui

#pragma once
// A picture that acts as a button: the bundled JPEG pictures, or a drawn picture for the
// controls that have none of their own (a caption or hint shown in a framed tile).
#include <QIcon>
#include <QLabel>

namespace ui {

class PictureButton : public QLabel {
    Q_OBJECT
  public:
    explicit PictureButton(QWidget* parent = nullptr);
    // The bundled picture of that name, or a tile drawn with the caption or hint.
    void showPicture(const QString& resource, const QString& caption, const QString& hint);
    // Draws the icon instead of a tile when there is no bundled picture.
    void setIcon(const QIcon& icon, int size);

  Q_SIGNALS:
    void clicked();
    void doubleClicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QIcon m_icon;
    int m_iconSize = 0;
    QString m_resource, m_caption, m_hint;
};

// The picture bundled under that name (e.g. "help.jpg"); null when there is none.
QPixmap bundledPicture(const QString& resource);

}  // namespace ui

#pragma once
// A tab page whose contents scroll when the screen is smaller than they need, so that no
// control is ever cut off; on a large enough screen there is no scroll bar.
#include <QWidget>

class QLayout;
class QScrollArea;

namespace ui {

class TabPage : public QWidget {
    Q_OBJECT
  public:
    TabPage(const char* name, QWidget* parent);

  protected:
    // The layout of the page's contents.
    void setBodyLayout(QLayout* layout);

  private:
    QScrollArea* m_scroll;
    QWidget* m_body;
};

}  // namespace ui

#pragma once
// Typing Farsi without a Persian keyboard: while the program's active layout is Persian
// ("00000429"), keys typed on a US layout become the letters of the Persian standard layout
// in every text field and grid editor. Digits stay Latin so that codes and amounts read as
// numbers. Nothing is mapped when the system's own layout already types Arabic script.
// Left Alt+Shift, pressed together and released with no other key between, switches
// between Persian and US English anywhere in the program, as the desktop's own switch does.
#include <QObject>
#include <QString>

class QKeyEvent;

namespace core {
class KeyboardLayout;
}

namespace ui {

// The Persian letter on the key that types `us` on a US layout; `us` itself when the key
// types no letter of its own there.
QChar persianKey(QChar us);
// The whole typed text mapped key by key.
QString persianText(const QString& usText);

class PersianKeyboard : public QObject {
    Q_OBJECT
  public:
    // Watches `layout` and installs itself on the application while it lives.
    explicit PersianKeyboard(core::KeyboardLayout& layout, QObject* parent = nullptr);
    ~PersianKeyboard() override;

    bool active() const;
    // A short name of the active layout for the status bar.
    QString statusText() const;

  public Q_SLOTS:
    // Persian becomes US English and any other layout Persian.
    void toggle();

  Q_SIGNALS:
    void layoutChanged();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Follows Left Alt and Shift; true when their release is to switch the layout.
    bool switchKey(const QKeyEvent& key);

    core::KeyboardLayout& m_layout;
    int m_changedId = 0;
    bool m_leftAltDown = false;
    bool m_shiftDown = false;
    bool m_armed = false;  // Left Alt and Shift are down together, nothing else pressed since
};

// True for the widgets the mapping applies to: line edits, text boxes, spin boxes and the
// editors of grids.
bool takesTypedText(const QObject* widget);

}  // namespace ui

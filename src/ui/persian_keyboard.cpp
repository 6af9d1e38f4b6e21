#include "persian_keyboard.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "core/platform.h"
#include "text_direction.h"

namespace ui {

namespace {

struct Key {
    char us;
    char16_t persian;
};

// The Persian standard layout over the keys of a US layout, unshifted and shifted.
constexpr Key kKeys[] = {
    {'q', u'\u0636'},
    {'w', u'\u0635'},
    {'e', u'\u062B'},
    {'r', u'\u0642'},
    {'t', u'\u0641'},
    {'y', u'\u063A'},
    {'u', u'\u0639'},
    {'i', u'\u0647'},
    {'o', u'\u062E'},
    {'p', u'\u062D'},
    {'[', u'\u062C'},
    {']', u'\u0686'},
    {'a', u'\u0634'},
    {'s', u'\u0633'},
    {'d', u'\u06CC'},
    {'f', u'\u0628'},
    {'g', u'\u0644'},
    {'h', u'\u0627'},
    {'j', u'\u062A'},
    {'k', u'\u0646'},
    {'l', u'\u0645'},
    {';', u'\u06A9'},
    {'\'', u'\u06AF'},
    {'z', u'\u0638'},
    {'x', u'\u0637'},
    {'c', u'\u0632'},
    {'v', u'\u0631'},
    {'b', u'\u0630'},
    {'n', u'\u062F'},
    {'m', u'\u067E'},
    {',', u'\u0648'},
    {'`', u'\u200D'},
    // Shifted.
    {'Q', u'\u0652'},
    {'W', u'\u064C'},
    {'E', u'\u064D'},
    {'R', u'\u064B'},
    {'T', u'\u064F'},
    {'Y', u'\u0650'},
    {'U', u'\u064E'},
    {'I', u'\u0651'},
    {'O', u']'},
    {'P', u'['},
    {'{', u'}'},
    {'}', u'{'},
    {'A', u'\u0624'},
    {'S', u'\u0626'},
    {'D', u'\u064A'},
    {'F', u'\u0625'},
    {'G', u'\u0623'},
    {'H', u'\u0622'},
    {'J', u'\u0629'},
    {'K', u'\u00BB'},
    {'L', u'\u00AB'},
    {':', u':'},
    {'"', u'\u061B'},
    {'Z', u'\u0643'},
    {'X', u'\u0653'},
    {'C', u'\u0698'},
    {'V', u'\u0670'},
    {'B', u'\u200C'},
    {'N', u'\u0654'},
    {'M', u'\u0621'},
    {'<', u'>'},
    {'>', u'<'},
    {'?', u'\u061F'},
    {'~', u'\u00F7'},
    {'@', u'\u066C'},
    {'#', u'\u066B'},
    {'$', u'\uFDFC'},
    {'%', u'\u066A'},
    {'^', u'\u00D7'},
    {'&', u'\u060C'},
    {'(', u')'},
    {')', u'('},
    {'_', u'\u0640'},
};

bool systemTypesArabicScript() {
    const QLocale locale = QGuiApplication::inputMethod()->locale();
    return locale.script() == QLocale::ArabicScript;
}

}  // namespace

QChar persianKey(QChar us) {
    for (const Key& key : kKeys)
        if (us == QLatin1Char(key.us)) return QChar(key.persian);
    return us;
}

QString persianText(const QString& usText) {
    QString out;
    out.reserve(usText.size());
    for (QChar c : usText) out.append(persianKey(c));
    return out;
}

bool takesTypedText(const QObject* widget) {
    if (!widget) return false;
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) return !line->isReadOnly();
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(widget)) return !text->isReadOnly();
    if (const auto* rich = qobject_cast<const QTextEdit*>(widget)) return !rich->isReadOnly();
    if (const auto* box = qobject_cast<const QComboBox*>(widget)) return box->isEditable();
    return qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
}

PersianKeyboard::PersianKeyboard(core::KeyboardLayout& layout, QObject* parent)
    : QObject(parent), m_layout(layout) {
    qApp->installEventFilter(this);
    m_changedId = layout.changed.connect([this] {
        setPersianTyping(active());
        Q_EMIT layoutChanged();
    });
    setPersianTyping(active());
}

PersianKeyboard::~PersianKeyboard() {
    m_layout.changed.disconnect(m_changedId);
    if (qApp) qApp->removeEventFilter(this);
}

bool PersianKeyboard::active() const { return m_layout.activeLayout() == core::persianLayout; }

QString PersianKeyboard::statusText() const {
    return active() ? QStringLiteral("Keyboard: Persian (فارسی)")
                    : QStringLiteral("Keyboard: English (US)");
}

void PersianKeyboard::toggle() {
    m_layout.activate(active() ? core::usEnglishLayout : core::persianLayout);
}

namespace {

// X11 key symbols of the keys that are Alt or Meta on the right of the keyboard, or AltGr.
bool isRightAlt(const QKeyEvent& key) {
    const quint32 sym = key.nativeVirtualKey();
    return key.key() == Qt::Key_AltGr || sym == 0xffea /* Alt_R */ || sym == 0xffe8 /* Meta_R */ ||
           sym == 0xfe03 /* ISO_Level3_Shift */;
}

}  // namespace

bool PersianKeyboard::switchKey(const QKeyEvent& key) {
    // One key event reaches this filter once for each widget it passes through, so every
    // step below gives the same state when repeated.
    if (key.isAutoRepeat()) return false;
    // X11 reports Left Alt pressed after Shift as Meta.
    const bool alt = (key.key() == Qt::Key_Alt || key.key() == Qt::Key_Meta) && !isRightAlt(key);
    const bool shift = key.key() == Qt::Key_Shift;
    if (key.type() == QEvent::KeyPress) {
        if (alt) {
            m_leftAltDown = true;
            m_armed = m_shiftDown && (key.modifiers() & Qt::ShiftModifier);
        } else if (shift) {
            m_shiftDown = true;
            m_armed = m_leftAltDown && (key.modifiers() & (Qt::AltModifier | Qt::MetaModifier));
        } else {
            m_armed = false;
        }
        return false;
    }
    const bool fire = m_armed && (alt || shift);
    if (alt || shift) m_armed = false;
    if (alt) m_leftAltDown = false;
    if (shift) m_shiftDown = false;
    return fire;
}

bool PersianKeyboard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        if (switchKey(*static_cast<QKeyEvent*>(event))) toggle();
    } else if (event->type() == QEvent::ApplicationDeactivate) {
        // Keys released in another program never reach us.
        m_leftAltDown = m_shiftDown = m_armed = false;
    }
    if (event->type() != QEvent::KeyPress || !active()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // Only plain typing: shortcuts and keys without text pass as they are.
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = key->text();
    if (text.size() != 1 || text[0].unicode() < 0x21 || text[0].unicode() > 0x7E) return false;
    if (!takesTypedText(watched)) return false;
    const QString mapped = persianText(text);
    if (mapped == text || systemTypesArabicScript()) return false;
    QKeyEvent persian(QEvent::KeyPress, key->key(), key->modifiers(), mapped, key->isAutoRepeat(),
                      static_cast<ushort>(key->count()));
    QCoreApplication::sendEvent(watched, &persian);
    return true;
}

}  // namespace ui

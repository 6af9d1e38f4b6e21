#pragma once
// The bundled Persian font and the small rules for showing Farsi text.
#include <QFont>
#include <QString>

namespace ui {

// Registers the embedded Vazirmatn UI fonts with Qt; safe to call more than once.
// Returns false when the font data could not be read.
bool loadApplicationFonts();

// The family of the bundled font; it covers Latin letters as well.
QString farsiFamily();

// `base` with the bundled font put first, so Farsi never falls back to a font without it.
QFont farsiFont(const QFont& base);

// True when the text's first strongly directional character runs right to left.
inline bool isRightToLeft(const QString& text) { return text.isRightToLeft(); }

// A font by the name a control asks for (e.g. "Arial"), with the bundled font behind it
// for the letters that font lacks.
QFont namedFont(const QString& family, const QFont& base);

}  // namespace ui

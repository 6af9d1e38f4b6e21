#pragma once
// Code page 1256 (Arabic, Windows), the code page of the text in the program's tables.
#include <string>
#include <string_view>

namespace dbf::cp1256 {

// Bytes in code page 1256 to UTF-8.
std::string toUtf8(std::string_view bytes);

// Bytes in code page 1256 to UTF-8 for Farsi readers: the yeh forms (Arabic yeh 0xED,
// alef maksura 0xEC) become the Persian yeh U+06CC that Farsi text means by them. For
// showing text on screen; fromUtf8 maps the Persian yeh back to 0xED.
std::string toUtf8Farsi(std::string_view bytes);

// Whether the bytes are well-formed UTF-8 (plain ASCII is).
bool isUtf8(std::string_view bytes);

// UTF-8 to code page 1256. Persian yeh (U+06CC) becomes Arabic yeh, Persian and
// Arabic-Indic digits become ASCII digits; characters the code page lacks become '?'.
std::string fromUtf8(std::string_view utf8);

// The byte as text searches compare it: ASCII letters in lower case, the yeh
// forms (Arabic yeh, alef maksura) as one letter, the two kaf forms as one.
inline unsigned char foldForSearch(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c == 0xEC) return 0xED;  // alef maksura, often stored for Persian yeh
    if (c == 0x98) return 0xDF;  // Persian kaf -> Arabic kaf
    return c;
}
void foldForSearch(std::string& bytes);

}  // namespace dbf::cp1256

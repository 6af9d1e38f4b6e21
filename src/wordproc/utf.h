#pragma once
// UTF-8 <-> code points, the text XML can hold, and case folding for searches.
#include <string>
#include <string_view>

namespace wordproc {

// Decodes UTF-8; malformed bytes are dropped.
std::u32string toU32(std::string_view utf8);
std::string toUtf8(std::u32string_view text);
void appendUtf8(std::string& out, char32_t c);

// Whether XML 1.0 can hold the character at all.
inline bool xmlCanHold(char32_t c) {
    if (c < 0x20) return c == 0x09 || c == 0x0A || c == 0x0D;
    if (c >= 0xD800 && c <= 0xDFFF) return false;
    return c != 0xFFFE && c != 0xFFFF && c <= 0x10FFFF;
}

// Simple one-to-one lower-case mapping (Latin, Greek, Cyrillic); other scripts
// have no case and come back unchanged.
char32_t foldCase(char32_t c);
std::u32string foldCase(std::u32string_view text);

}  // namespace wordproc

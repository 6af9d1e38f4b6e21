#pragma once
// Comparison of names (tables, fields) without regard to ASCII case.
#include <string>
#include <string_view>

namespace dbf {

inline char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

inline bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiUpper(a[i]) != asciiUpper(b[i])) return false;
    return true;
}

inline std::string upperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = asciiUpper(c);
    return out;
}

}  // namespace dbf

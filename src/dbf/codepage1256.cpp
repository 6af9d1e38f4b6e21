#include "codepage1256.h"

#include <array>
#include <cstdint>
#include <unordered_map>

namespace dbf::cp1256 {
namespace {
// Unicode code points of the bytes 0x80..0xFF, eight to a line.
// clang-format off
constexpr std::array<char16_t, 128> kHigh = {
    0x20AC, 0x067E, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0679, 0x2039, 0x0152, 0x0686, 0x0698, 0x0688,
    0x06AF, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x06A9, 0x2122, 0x0691, 0x203A, 0x0153, 0x200C, 0x200D, 0x06BA,
    0x00A0, 0x060C, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x06BE, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x00B9, 0x061B, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x061F,
    0x06C1, 0x0621, 0x0622, 0x0623, 0x0624, 0x0625, 0x0626, 0x0627,
    0x0628, 0x0629, 0x062A, 0x062B, 0x062C, 0x062D, 0x062E, 0x062F,
    0x0630, 0x0631, 0x0632, 0x0633, 0x0634, 0x0635, 0x0636, 0x00D7,
    0x0637, 0x0638, 0x0639, 0x063A, 0x0640, 0x0641, 0x0642, 0x0643,
    0x00E0, 0x0644, 0x00E2, 0x0645, 0x0646, 0x0647, 0x0648, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x0649, 0x064A, 0x00EE, 0x00EF,
    0x064B, 0x064C, 0x064D, 0x064E, 0x00F4, 0x064F, 0x0650, 0x00F7,
    0x0651, 0x00F9, 0x0652, 0x00FB, 0x00FC, 0x200E, 0x200F, 0x06D2,
};
// clang-format on

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

const std::unordered_map<char32_t, unsigned char>& reverseTable() {
    static const auto table = [] {
        std::unordered_map<char32_t, unsigned char> m;
        for (int i = 0; i < 128; ++i) m.emplace(kHigh[i], static_cast<unsigned char>(0x80 + i));
        m[0x06CC] = 0xED;  // Persian yeh -> Arabic yeh
        m[0x06C0] = 0xC0;  // heh with yeh above -> heh goal with hamza
        for (char32_t d = 0; d < 10; ++d) {
            m[0x06F0 + d] = static_cast<unsigned char>('0' + d);  // Persian digits
            m[0x0660 + d] = static_cast<unsigned char>('0' + d);  // Arabic-Indic digits
        }
        return m;
    }();
    return table;
}

// Decodes one UTF-8 sequence; malformed input gives U+FFFD and moves one byte.
char32_t nextCodePoint(std::string_view s, size_t& i) {
    const auto c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= s.size() + (extra == 0 ? 1 : 0)) {
        ++i;
        return 0xFFFD;
    }
    char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const auto cc = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
        if ((cc & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    i += static_cast<size_t>(extra) + 1;
    return cp;
}
}  // namespace

std::string toUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        appendUtf8(out, c < 0x80 ? c : kHigh[c - 0x80]);
    }
    return out;
}

std::string toUtf8Farsi(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == 0xEC || c == 0xED) {
            appendUtf8(out, 0x06CC);
        } else {
            appendUtf8(out, c < 0x80 ? c : kHigh[c - 0x80]);
        }
    }
    return out;
}

std::string fromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    const auto& reverse = reverseTable();
    for (size_t i = 0; i < utf8.size();) {
        const char32_t cp = nextCodePoint(utf8, i);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (const auto it = reverse.find(cp); it != reverse.end()) {
            out += static_cast<char>(it->second);
        } else {
            out += '?';
        }
    }
    return out;
}

void foldForSearch(std::string& bytes) {
    for (char& c : bytes) c = static_cast<char>(foldForSearch(static_cast<unsigned char>(c)));
}

bool isUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        std::size_t len = b < 0x80         ? 1
                          : (b >> 5) == 6  ? 2
                          : (b >> 4) == 14 ? 3
                          : (b >> 3) == 30 ? 4
                                           : 0;
        if (len == 0 || (len == 2 && b < 0xC2) || i + len > bytes.size()) return false;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

}  // namespace dbf::cp1256

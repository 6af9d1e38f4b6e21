#include "report/text_helpers.h"

#include <cmath>

#include "dbf/codepage1256.h"
#include "dbf/date_value.h"
#include "report/errors.h"
#include "wordproc/utf.h"

namespace report::helpers {

namespace {

// Windows-1252 in 0x80..0x9F (0 where the code page has no character).
constexpr char16_t kCp1252C1[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::string replaceAll(std::string_view text, std::string_view hay, std::string_view needle,
                       std::string_view to) {
    if (needle.empty()) return std::string(text);
    std::string out;
    size_t pos = 0;
    while (true) {
        size_t hit = hay.find(needle, pos);
        if (hit == std::string_view::npos) break;
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + needle.size();
    }
    out.append(text.substr(pos));
    return out;
}

const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

std::string upperKeepingPositions(std::string_view s) {
    std::string out(s);
    size_t i = 0;
    while (i < out.size()) {
        auto b = static_cast<unsigned char>(out[i]);
        if (b < 0x80) {
            if (b >= 'a' && b <= 'z') out[i] = static_cast<char>(b - 32);
            ++i;
            continue;
        }
        size_t len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        if (len == 1 || i + len > out.size()) {
            ++i;
            continue;
        }
        std::u32string one = wordproc::toU32(std::string_view(out).substr(i, len));
        if (one.size() == 1) {
            std::string enc = wordproc::toUtf8(std::u32string(1, wordproc::foldCase(one[0])));
            if (enc.size() == len) out.replace(i, len, enc);
        }
        i += len;
    }
    return out;
}

std::string codePageToUnicode(std::string_view bytes, int codePage) {
    if (bytes.empty()) return {};
    switch (codePage) {
        case 65001:
            return wordproc::toUtf8(wordproc::toU32(bytes));
        case 1256:
            return dbf::cp1256::toUtf8(bytes);
        case 1252:
        case 28591:
            break;
        default:
            throw ReportError("The code page " + std::to_string(codePage) + " is not supported.");
    }
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char ch : bytes) {
        auto b = static_cast<unsigned char>(ch);
        char32_t c = b;
        if (codePage == 1252 && b >= 0x80 && b < 0xA0 && kCp1252C1[b - 0x80])
            c = kCp1252C1[b - 0x80];
        wordproc::appendUtf8(out, c);
    }
    return out;
}

std::string dateText(bool quoted, int year, int month, int day) {
    if (month < 1 || month > 12) throw ReportError("Invalid date.");
    std::string s =
        std::string(kMonths[month - 1]) + " " + std::to_string(day) + " " + std::to_string(year);
    return quoted ? "\"" + s + "\"" : s;
}

std::string dateText(bool quoted, double dateValue) {
    dbf::CivilDate d = dbf::civilFromDays(std::floor(dateValue));
    return dateText(quoted, d.year, d.month, d.day);
}

std::string replaceAllNoCase(std::string_view text, std::string_view from, std::string_view to) {
    std::string hay = upperKeepingPositions(text), needle = upperKeepingPositions(from);
    return replaceAll(text, hay, needle, to);
}

std::string replaceAllExact(std::string_view text, std::string_view from, std::string_view to) {
    return replaceAll(text, text, from, to);
}

std::string textBetween(std::string_view text, std::string_view open, std::string_view close) {
    size_t a = text.find(open);
    if (open.empty() || a == std::string_view::npos) return {};
    a += open.size();
    size_t b = text.find(close, a);
    if (close.empty() || b == std::string_view::npos) return {};
    return std::string(text.substr(a, b - a));
}

Block blockSearch(std::string_view text, std::string_view open, std::string_view close,
                  bool noCase) {
    Block out;
    std::string folded, openF, closeF;
    std::string_view hay = text, o = open, c = close;
    if (noCase) {
        folded = upperKeepingPositions(text);
        openF = upperKeepingPositions(open);
        closeF = upperKeepingPositions(close);
        hay = folded;
        o = openF;
        c = closeF;
    }
    size_t a = o.empty() ? std::string_view::npos : hay.find(o);
    if (a == std::string_view::npos) return out;
    out.position = a + 1;
    size_t inner = a + o.size();
    size_t b = c.empty() ? std::string_view::npos : hay.find(c, inner);
    if (b == std::string_view::npos) return out;
    out.inner = std::string(text.substr(inner, b - inner));
    out.length = b + c.size() - a;
    return out;
}

std::string normalizeLineBreaks(std::string_view text) {
    std::string lf = replaceAllExact(text, "\r\n", "\n");
    return replaceAllExact(lf, "\n", "\r\n");
}

std::string normalizeLineBreaksWide(std::string_view text) {
    std::string lf = replaceAllExact(text, "\r\n", "\n");
    return replaceAllExact(lf, "\r", "\n");
}

std::string trimmed(std::string_view text) {
    size_t a = 0, b = text.size();
    while (a < b && static_cast<unsigned char>(text[a]) <= ' ') ++a;
    while (b > a && static_cast<unsigned char>(text[b - 1]) <= ' ') --b;
    return std::string(text.substr(a, b - a));
}

}  // namespace report::helpers

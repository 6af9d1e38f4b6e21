#include "wordproc/report_helpers.h"

#include <cmath>

#include "wordproc/errors.h"
#include "wordproc/utf.h"

namespace wordproc::helpers {

namespace {

constexpr char16_t kCp1256High[128] = {
    0x20AC, 0x067E, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0679, 0x2039,
    0x0152, 0x0686, 0x0698, 0x0688, 0x06AF, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x06A9, 0x2122, 0x0691, 0x203A, 0x0153, 0x200C, 0x200D, 0x06BA, 0x00A0, 0x060C, 0x00A2, 0x00A3,
    0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x06BE, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x061B, 0x00BB,
    0x00BC, 0x00BD, 0x00BE, 0x061F, 0x06C1, 0x0621, 0x0622, 0x0623, 0x0624, 0x0625, 0x0626, 0x0627,
    0x0628, 0x0629, 0x062A, 0x062B, 0x062C, 0x062D, 0x062E, 0x062F, 0x0630, 0x0631, 0x0632, 0x0633,
    0x0634, 0x0635, 0x0636, 0x00D7, 0x0637, 0x0638, 0x0639, 0x063A, 0x0640, 0x0641, 0x0642, 0x0643,
    0x00E0, 0x0644, 0x00E2, 0x0645, 0x0646, 0x0647, 0x0648, 0x00E7, 0x00E8, 0x00E9, 0x00EA, 0x00EB,
    0x0649, 0x064A, 0x00EE, 0x00EF, 0x064B, 0x064C, 0x064D, 0x064E, 0x00F4, 0x064F, 0x0650, 0x00F7,
    0x0651, 0x00F9, 0x0652, 0x00FB, 0x00FC, 0x200E, 0x200F, 0x06D2};

// Windows-1252 in 0x80..0x9F (0 where the code page has no character).
constexpr char16_t kCp1252C1[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Upper-case fold that keeps byte positions (the folds used keep UTF-8 lengths).
std::string foldBytes(std::string_view s) {
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
        std::u32string one = toU32(std::string_view(out).substr(i, len));
        if (one.size() == 1) {
            std::string enc = toUtf8(std::u32string(1, foldCase(one[0])));
            if (enc.size() == len) out.replace(i, len, enc);
        }
        i += len;
    }
    return out;
}

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

std::string codePageToUnicode(std::string_view bytes, int codePage) {
    if (bytes.empty()) return {};
    if (codePage == 65001) return toUtf8(toU32(bytes));
    if (codePage != 1256 && codePage != 1252 && codePage != 28591)
        throw WordprocError("The code page " + std::to_string(codePage) + " is not supported.");
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char ch : bytes) {
        auto b = static_cast<unsigned char>(ch);
        char32_t c = b;
        if (b >= 0x80) {
            if (codePage == 1256)
                c = kCp1256High[b - 0x80];
            else if (codePage == 1252 && b < 0xA0)
                c = kCp1252C1[b - 0x80] ? kCp1252C1[b - 0x80] : b;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::string dateText(bool quoted, int year, int month, int day) {
    if (month < 1 || month > 12) throw WordprocError("Invalid date.");
    std::string s =
        std::string(kMonths[month - 1]) + " " + std::to_string(day) + " " + std::to_string(year);
    return quoted ? "\"" + s + "\"" : s;
}

std::string dateText(bool quoted, double dateValue) {
    // Days since 30 December 1899 to a civil date (days from 1970-01-01 is value - 25569).
    long long z = static_cast<long long>(std::floor(dateValue)) - 25569 + 719468;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long y = yoe + era * 400;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    long long d = doy - (153 * mp + 2) / 5 + 1;
    long long m = mp < 10 ? mp + 3 : mp - 9;
    return dateText(quoted, static_cast<int>(y + (m <= 2)), static_cast<int>(m),
                    static_cast<int>(d));
}

std::string replaceAllNoCase(std::string_view text, std::string_view from, std::string_view to) {
    std::string hay = foldBytes(text), needle = foldBytes(from);
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

Block blockSearch(std::string_view text, std::string_view open, std::string_view close) {
    Block out;
    size_t a = open.empty() ? std::string_view::npos : text.find(open);
    if (a == std::string_view::npos) return out;
    out.position = a + 1;
    size_t inner = a + open.size();
    size_t b = close.empty() ? std::string_view::npos : text.find(close, inner);
    if (b == std::string_view::npos) return out;
    out.inner = std::string(text.substr(inner, b - inner));
    out.length = b + close.size() - a;
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

}  // namespace wordproc::helpers

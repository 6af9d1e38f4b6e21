#include "date_value.h"

#include <cmath>
#include <cstdio>

namespace dbf {
namespace {
// Howard Hinnant's days-from-civil, counted from 1970-01-01.
long daysFromEpoch(int y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}
CivilDate civilFromEpoch(long z) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long y = static_cast<long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}
constexpr long kEpochFrom1899 = 25569;   // 1970-01-01 as a date value
constexpr long kJulianOf1899 = 2415019;  // Julian day number of 1899-12-30
}  // namespace

double daysFromCivil(int year, int month, int day) {
    return static_cast<double>(
        daysFromEpoch(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
        kEpochFrom1899);
}

CivilDate civilFromDays(double days) {
    return civilFromEpoch(static_cast<long>(std::floor(days)) - kEpochFrom1899);
}

long julianDayFromDays(double days) { return static_cast<long>(std::floor(days)) + kJulianOf1899; }
double daysFromJulianDay(long julianDay) { return static_cast<double>(julianDay - kJulianOf1899); }

std::optional<double> daysFromDbfDate(std::string_view s) {
    if (s.size() != 8) return std::nullopt;
    int parts[3] = {0, 0, 0};
    const int widths[3] = {4, 2, 2};
    size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        for (int k = 0; k < widths[i]; ++k, ++pos) {
            const char c = s[pos];
            if (c < '0' || c > '9') return std::nullopt;
            parts[i] = parts[i] * 10 + (c - '0');
        }
    }
    if (parts[1] < 1 || parts[1] > 12 || parts[2] < 1 || parts[2] > 31) return std::nullopt;
    return daysFromCivil(parts[0], parts[1], parts[2]);
}

std::string dbfDateFromDays(double days) {
    const CivilDate c = civilFromDays(days);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", c.year, c.month, c.day);
    return buf;
}

std::string isoDateText(double days, bool withTime) {
    const CivilDate c = civilFromDays(days);
    char buf[48];
    if (!withTime) {
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", c.year, c.month, c.day);
        return buf;
    }
    long seconds = std::lround((days - std::floor(days)) * 86400.0);
    if (seconds >= 86400) seconds = 86399;
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02ld:%02ld:%02ld", c.year, c.month, c.day,
                  seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buf;
}

}  // namespace dbf

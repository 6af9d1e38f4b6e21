#include "formats.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "dbf/date_value.h"
#include "dbf/errors.h"
#include "dbf/number_text.h"

namespace core {
namespace {
std::string padded(double value, int decimals, int width) {
    char buf[400];
    std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, value);
    return buf;
}
}  // namespace

std::string formatGeneral(double value) { return dbf::formatGeneral(value); }
std::string formatFixed73(double value) { return padded(value, 3, 7); }
std::string formatFixed1(double value) { return padded(value, 1, 3); }

double dateValue(int year, int month, int day) { return dbf::daysFromCivil(year, month, day); }

double today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return dateValue(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::optional<double> dateValueOfText(const std::string& text) {
    std::string_view t = dbf::trimBlanks(text);
    if (t.empty()) return std::nullopt;
    const auto invalid = [&] {
        return dbf::ConversionError("'" + std::string(t) + "' is not a valid date");
    };
    int numbers[3] = {0, 0, 0};
    std::size_t digits[3] = {0, 0, 0};
    std::size_t part = 0;
    for (char c : t) {
        if (c == '/') {
            if (++part > 2) throw invalid();
        } else if (c >= '0' && c <= '9' && digits[part] < 4) {
            numbers[part] = numbers[part] * 10 + (c - '0');
            ++digits[part];
        } else {
            throw invalid();
        }
    }
    if (part != 2 || !digits[0] || !digits[1] || !digits[2]) throw invalid();
    int year = numbers[0];
    if (digits[0] <= 2) year += year < 50 ? 2000 : 1900;
    const int month = numbers[1], day = numbers[2];
    // A day the calendar has comes back as itself; 11/2/31 would come back as 11/3/3.
    if (month < 1 || month > 12 || day < 1) throw invalid();
    const double value = dateValue(year, month, day);
    const dbf::CivilDate back = dbf::civilFromDays(value);
    if (back.year != year || back.month != month || back.day != day) throw invalid();
    return value;
}

std::string shortDate(double days) {
    const dbf::CivilDate d = dbf::civilFromDays(days);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d/%d/%d", ((d.year % 100) + 100) % 100, d.month, d.day);
    return buf;
}

}  // namespace core

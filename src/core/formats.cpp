#include "formats.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "dbf/date_value.h"
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

std::string shortDate(double days) {
    const dbf::CivilDate d = dbf::civilFromDays(days);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d/%d/%d", ((d.year % 100) + 100) % 100, d.month, d.day);
    return buf;
}

}  // namespace core

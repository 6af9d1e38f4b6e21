#pragma once
// Date values: days since 30 December 1899, the time of day as the fraction.
#include <optional>
#include <string>
#include <string_view>

namespace dbf {

struct CivilDate {
    int year;
    int month;
    int day;
};

double daysFromCivil(int year, int month, int day);
CivilDate civilFromDays(double days);  // the date part of a date value

// The Julian day number of a date value's day (DBF T fields store it).
long julianDayFromDays(double days);
double daysFromJulianDay(long julianDay);

// "YYYYMMDD" as DBF D fields store it; nullopt for a malformed text.
std::optional<double> daysFromDbfDate(std::string_view yyyymmdd);
std::string dbfDateFromDays(double days);

// ISO text ("2024-03-01", with " hh:mm:ss" for a date-time) for tools and CSV.
std::string isoDateText(double days, bool withTime);

}  // namespace dbf

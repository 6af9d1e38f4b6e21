#pragma once
// The number and date formats used wherever the program turns values into text.
#include <optional>
#include <string>

namespace core {

// The shortest text with at most 15 significant digits (2.5 gives "2.5", 250 gives "250").
std::string formatGeneral(double value);
// Three decimals, padded on the left with blanks to at least 7 characters ("  2.500").
std::string formatFixed73(double value);
// One decimal, padded on the left with blanks to at least 3 characters ("2.5").
std::string formatFixed1(double value);

// Date values: days since 30 December 1899.
double dateValue(int year, int month, int day);
double today();
// The short date format "yy/m/d": two-digit year, month and day without leading zeros.
std::string shortDate(double dateValue);
// The date value a text in the short date format names (a four-digit year is taken too;
// two-digit years fall in 1950..2049); nothing for an empty text. A text that names no
// day of the calendar (11/2/31, 11/13/1) raises "'11/2/31' is not a valid date".
std::optional<double> dateValueOfText(const std::string& text);

}  // namespace core

#pragma once
// The number and date formats used wherever the program turns values into text.
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

}  // namespace core

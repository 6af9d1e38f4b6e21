#pragma once
// Numbers written with a format of the usual picture language: "0" a digit always
// shown, "#" a digit shown when significant, "," thousands grouping (anywhere in the
// integer part), "." the decimal point, "E+00"/"E-00" an exponent, text in quotes
// copied, up to three sections "positive;negative;zero".
#include <string>
#include <string_view>

namespace report {

// Raises ReportError for a value that is not finite or a format with more than three
// sections; the caller falls back to the general format.
std::string formatNumber(double value, std::string_view format);

}  // namespace report

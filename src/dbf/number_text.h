#pragma once
// Numbers to and from text, the way the program shows and stores them.
#include <optional>
#include <string>
#include <string_view>

namespace dbf {

// The general number format: the shortest text with at most 15 significant
// digits, no trailing zeros, exponent only below 1e-5 or above 15 integer digits.
std::string formatGeneral(double value);

// Fixed-point text with `decimals` decimals, as a DBF N field stores it (no padding).
std::string formatFixed(double value, int decimals);

// Strict parses of a whole (trimmed) text; nullopt when it is not a number.
std::optional<long long> parseInteger(std::string_view text);
std::optional<double> parseFloat(std::string_view text);

std::string_view trimBlanks(std::string_view text);

}  // namespace dbf

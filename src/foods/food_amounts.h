#pragma once
// A food's amounts in the value columns of a nutrient grid: shown after a search, loaded for
// editing, written back on Save.
#include <string>

namespace core {
class StringGrid;
}
namespace dbf {
class DataSet;
}

namespace foods {

// Each value cell of the grid (pair p, rows 1..29, the last pair 1..26) gets the amount of
// the nutrient column it stands for on the current row of `foods`: the general number
// format, nothing for an empty field.
void showAmounts(core::StringGrid& grid, const dbf::DataSet& foods);

// The title row: "NUTRIENTS" over the name columns and "in 100 gr." over the value
// columns of the first `pairs` pairs.
void writeAmountTitles(core::StringGrid& grid, int pairs);

// The leading integer of a text: blanks skipped, an optional sign, then digits up to the
// first other character; 0 when the text does not start with a number.
long long leadingInteger(const std::string& text);

}  // namespace foods

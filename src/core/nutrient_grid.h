#pragma once
// The nutrient grids: 8 columns by 30 rows, row 0 the titles, four (name, value) column
// pairs. Pair p at row r stands for column N(r + 7 + 29p); pair 3 ends at row 26 (N120).
#include <string>

#include "controls.h"

namespace core {

inline constexpr int nutrientGridCols = 8;
inline constexpr int nutrientGridRows = 30;
inline constexpr int nutrientPairs = 4;
inline constexpr int nutrientCount = 113;  // N8 .. N120

// The last row that stands for a nutrient in a pair (29, or 26 for the last pair).
int nutrientRowsInPair(int pair);
// The nutrient number k of column Nk that pair p, row r stands for.
int nutrientNumber(int pair, int row);
// "N" + the nutrient number, for pair p (0..3) and row r (1..29).
std::string nutrientColumn(int pair, int row);

// The column name the current cell of a nutrient grid selects; the last pair selects N120
// from row 27 down, where it has no nutrient of its own.
std::string selectedNutrientColumn(const StringGrid& grid);

class NutrientGrid : public StringGrid {
  public:
    explicit NutrientGrid(std::string name);
};

}  // namespace core

#include "nutrient_grid.h"

namespace core {

int nutrientRowsInPair(int pair) { return pair == nutrientPairs - 1 ? 26 : 29; }

int nutrientNumber(int pair, int row) { return row + 7 + 29 * pair; }

std::string nutrientColumn(int pair, int row) {
    return "N" + std::to_string(nutrientNumber(pair, row));
}

std::string selectedNutrientColumn(const StringGrid& grid) {
    const int pair = grid.col() / 2;
    const int row = grid.row();
    if (pair >= 3) return row >= 27 ? "N120" : nutrientColumn(3, row);
    return nutrientColumn(pair, row);
}

NutrientGrid::NutrientGrid(std::string name)
    : StringGrid(std::move(name), nutrientGridCols, nutrientGridRows, 1, 0) {
    colWidths = {161, 46, 164, 43, 197, 56, 251, 57};
    rowHeight = 12;
}

}  // namespace core

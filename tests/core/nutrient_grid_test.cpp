// The cell of a nutrient grid and the nutrient column it selects.
#include "core/nutrient_grid.h"

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(NutrientGridTest, CurrentCellSelectsItsNutrientColumn) {
    struct Case {
        int col, row;
        const char* column;
    };
    const Case cases[] = {
        {0, 1, "N8"},    {1, 29, "N36"},  {2, 1, "N37"},   {3, 1, "N37"},   {3, 29, "N65"},
        {4, 1, "N66"},   {4, 29, "N94"},  {5, 14, "N79"},  {6, 1, "N95"},   {7, 26, "N120"},
        {6, 27, "N120"}, {6, 28, "N120"}, {7, 28, "N120"}, {7, 29, "N120"}, {2, 3, "N39"},
    };
    NutrientGrid grid("StringGrid1");
    for (const Case& c : cases) {
        grid.setCurrentCell(c.col, c.row);
        EXPECT_EQ(selectedNutrientColumn(grid), c.column) << c.col << "," << c.row;
    }
}

TEST(NutrientGridTest, LayoutOfTheNutrientGrids) {
    NutrientGrid grid("StringGrid4");
    EXPECT_EQ(grid.colCount(), 8);
    EXPECT_EQ(grid.rowCount(), 30);
    EXPECT_EQ(grid.fixedRows(), 1);
    EXPECT_EQ(grid.fixedCols(), 0);
    EXPECT_EQ(grid.colWidths, (std::vector<int>{161, 46, 164, 43, 197, 56, 251, 57}));
    EXPECT_EQ(grid.rowHeight, 12);
    // Each pair stands for a run of columns without gaps or overlaps: N8 .. N120.
    int expected = 8;
    for (int pair = 0; pair < nutrientPairs; ++pair)
        for (int row = 1; row <= nutrientRowsInPair(pair); ++row)
            EXPECT_EQ(nutrientColumn(pair, row), "N" + std::to_string(expected++));
    EXPECT_EQ(expected, 121);
}

}  // namespace
}  // namespace core

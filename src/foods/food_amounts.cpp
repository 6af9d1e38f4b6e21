#include "food_amounts.h"

#include <cctype>

#include "core/nutrient_grid.h"
#include "core/text_boundary.h"
#include "dbf/dataset.h"

namespace foods {

void showAmounts(core::StringGrid& grid, const dbf::DataSet& foods) {
    for (int pair = 0; pair < core::nutrientPairs; ++pair)
        for (int row = 1; row <= core::nutrientRowsInPair(pair); ++row)
            grid.setCell(2 * pair + 1, row,
                         core::controlText(foods.value(core::nutrientColumn(pair, row))));
}

void writeAmountTitles(core::StringGrid& grid, int pairs) {
    for (int pair = 0; pair < pairs; ++pair) {
        grid.setCell(2 * pair, 0, "NUTRIENTS");
        grid.setCell(2 * pair + 1, 0, "in 100 gr.");
    }
}

long long leadingInteger(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        if (value > 100'000'000'000'000'000LL) break;  // far past any code
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

}  // namespace foods

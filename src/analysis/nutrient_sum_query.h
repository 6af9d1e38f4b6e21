#pragma once
// The nutrient sum query: one aggregate statement that returns the sums of all 113 nutrient
// columns in one row, result column i standing for nutrient N(i + 8). Built here only; the
// recipe analysis, the recall and the plans run it through Query2.
#include <cstdint>
#include <string>
#include <vector>

namespace analysis {

enum class SumVariant {
    RecipePer100g,  // SUM((Nk*CON4*0.01)/D) over a recipe's contents
    RecipeTotal,    // SUM(Nk*CON4*0.01) over a recipe's contents
    RecallTotal,    // SUM(Nk*R4*0.01) over a subject's recall
};

// The statement lines. `code` is the recipe or subject code; `divisor` the text D of the
// per-100 g variant (the recipe's weight / 100 with a point), unused by the others.
std::vector<std::string> nutrientSumQuery(SumVariant variant, std::int64_t code,
                                          const std::string& divisor = {});

}  // namespace analysis

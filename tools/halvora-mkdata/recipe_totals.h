#pragma once
// A recipe's nutrients as the program computes them: the whole recipe (the sum of N x CON4 x
// 0.01 over its foods, what a plan item stores) and per 100 g (that sum divided by W / 100,
// what a recall row stores). A nutrient no food of the recipe has stays empty.
#include <optional>
#include <vector>

#include "food_sources.h"

namespace mkdata {

struct Ingredient {
    const Food* food = nullptr;
    double grams = 0;
};

using NutrientValues = std::vector<std::optional<double>>;  // N8..N120

NutrientValues recipeTotals(const std::vector<Ingredient>& ingredients);
NutrientValues recipePer100g(const std::vector<Ingredient>& ingredients);

}  // namespace mkdata

#pragma once
// Writes the demonstration into the (new, empty) user tables of a data directory, with the
// values the program itself would write: names copied from FOODS, nutrient snapshots of foods
// per 100 g, of recipes per 100 g in a recall and as whole-recipe totals in a plan.
#include <filesystem>
#include <vector>

#include "demo_data.h"
#include "food_sources.h"

namespace mkdata {

// `foods` in table order: the food of position i has the code N1 = i + 1. Raises MkdataError
// when the demo names a food, recipe, subject or plan that does not exist, or a food whose
// English name differs from the one written beside it.
void writeDemo(const std::filesystem::path& outDir, const std::vector<Food>& foods,
               const DemoData& demo);

}  // namespace mkdata

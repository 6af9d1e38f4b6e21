#pragma once
// The Farsi food names of data/sources/food-names-fa.tsv (source, code, english, farsi).
#include <filesystem>
#include <vector>

#include "food_sources.h"

namespace mkdata {

// Sets Food::farsi of every food the list names and returns how many foods have no name yet
// (no line, or an empty one). A line for a food the sources lack, or whose English name differs
// from the source's, raises MkdataError: the list no longer matches the sources.
int applyFarsiNames(std::vector<Food>& foods, const std::filesystem::path& tsv);

}  // namespace mkdata

#pragma once
// Builds a data directory: the nine tables from the sources, the user tables empty or, for
// the demonstration, filled from data/demo/.
#include <filesystem>
#include <vector>

#include "food_sources.h"
#include "nutrient_map.h"

namespace mkdata {

struct BuildOptions {
    std::filesystem::path inputDir;  // the project's data/ folder: sources/, nutrients.tsv, demo/
    std::filesystem::path outDir;
    bool demo = false;
    bool requireNames = false;  // a food without a Farsi name is an error, not a fallback
};

struct BuildResult {
    int usdaFoods = 0;
    int ifctFoods = 0;
    int foodsWithoutFarsiName = 0;  // they carry their English name in N3
};

// Everything the tables are built from, read and checked before any file is written.
struct SourceData {
    std::vector<Nutrient> nutrients;
    std::vector<Food> foods;  // in table order: USDA by NDB number, then IFCT by code
    int usdaFoods = 0;
    int foodsWithoutFarsiName = 0;
};
SourceData readSources(const std::filesystem::path& inputDir);

// Raises MkdataError, leaving no file of its own behind, when an input is malformed or any of
// the directory's files exists already (a table is never overwritten).
BuildResult buildDataDirectory(const BuildOptions& options);

}  // namespace mkdata

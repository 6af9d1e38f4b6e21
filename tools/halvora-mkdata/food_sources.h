#pragma once
// The foods of the two sources with their values in our columns and units: USDA SR21 (by NDB
// number) and IFCT 2017 (by food code), read from the extracts under data/sources/.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "nutrient_map.h"

namespace mkdata {

struct Food {
    std::string source;  // "USDA" or "IFCT"
    std::string code;    // the source's own food code ("01001", "A001")
    std::string english;
    std::string group;
    std::string scientificName;
    std::string farsi;  // UTF-8; filled from the name list
    // N8..N120 per 100 g (index = column - 8); nullopt where the source gives no value.
    std::vector<std::optional<double>> values;

    std::optional<double> value(int column) const {
        return values[static_cast<std::size_t>(column - kFirstNutrientColumn)];
    }
    std::string label() const { return source + " " + code; }
};

// USDA: an empty field is a value the source does not give; a written 0 stays 0.
std::vector<Food> readUsdaFoods(const std::filesystem::path& usdaDir,
                                const std::vector<Nutrient>& nutrients);

// IFCT: a 0 is read by the nutrient's IfctZero rule (see nutrient_map.h).
std::vector<Food> readIfctFoods(const std::filesystem::path& ifctDir,
                                const std::vector<Nutrient>& nutrients);

// A converted value rounded as the nutrient asks; raises MkdataError when the result has more
// decimals than the tables keep (a value is never cut).
double convertValue(double sourceValue, const NutrientSource& source, const Nutrient& nutrient,
                    const std::string& where);

}  // namespace mkdata

#pragma once
// The 113 nutrient columns N8..N120: name and unit for the nutrient catalogue, and where each
// column's values come from in the two sources (data/nutrients.tsv).
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace mkdata {

inline constexpr int kFirstNutrientColumn = 8;
inline constexpr int kLastNutrientColumn = 120;
inline constexpr int kNutrientCount = kLastNutrientColumn - kFirstNutrientColumn + 1;

// What an IFCT value of 0 means for a nutrient. IFCT has no missing marker: it writes 0 both
// for a measured zero and for a value it does not give.
enum class IfctZero {
    Zero,       // a measured zero (the proximates the tables always give)
    Null,       // not given
    PlantZero,  // a measured zero in plant foods, not given otherwise (cholesterol)
    Energy,     // a zero only for a food without protein, fat and carbohydrate (IFCT lists its
                // oils with 0 kJ)
};

struct NutrientSource {
    std::vector<std::string> fields;  // source columns, summed when more than one
    double factor = 1;                // source unit -> our unit
    bool mapped() const { return !fields.empty(); }
};

struct Nutrient {
    int column = 0;  // 8..120: the FOODS column N<column>
    std::string name;
    std::string unit;
    std::string group;
    NutrientSource usda;
    NutrientSource ifct;
    IfctZero ifctZero = IfctZero::Null;
    std::optional<int> roundTo;  // decimals a converted value is rounded to (energy in kcal)

    std::string columnName() const { return "N" + std::to_string(column); }
};

// Reads and checks the map: 113 rows N8..N120 in order, the columns the program reads
// (energy N9 .. iron N23) with their fixed meaning and unit, names and units that fit the
// nutrient catalogue. Raises MkdataError naming the file and line.
std::vector<Nutrient> readNutrientMap(const std::filesystem::path& tsv);

}  // namespace mkdata

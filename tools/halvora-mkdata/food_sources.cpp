#include "food_sources.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "errors.h"
#include "table_layouts.h"
#include "tsv_file.h"

namespace mkdata {
namespace {

// IFCT tags milk, paneer, khoa and ghee "vegetarian" (lacto-vegetarian): they are no plant
// foods, and their cholesterol of 0 is a value the tables do not give.
bool isIfctPlantFood(const std::string& code, const std::string& group, const std::string& tags) {
    bool vegetarian = false;
    std::size_t start = 0;
    while (start <= tags.size()) {
        const std::size_t blank = std::min(tags.find(' ', start), tags.size());
        if (tags.compare(start, blank - start, "vegetarian") == 0) vegetarian = true;
        start = blank + 1;
    }
    return vegetarian && group != "Milk and Milk Products" && code != "T013";  // T013 ghee
}

std::vector<std::size_t> columnsOf(const TsvFile& file, const NutrientSource& source) {
    std::vector<std::size_t> columns;
    for (const std::string& field : source.fields) columns.push_back(file.column(field));
    return columns;
}

void sortByCode(std::vector<Food>& foods, const std::string& fileName) {
    std::sort(foods.begin(), foods.end(),
              [](const Food& a, const Food& b) { return a.code < b.code; });
    for (std::size_t i = 1; i < foods.size(); ++i)
        if (foods[i].code == foods[i - 1].code)
            throw MkdataError(fileName + " lists food " + foods[i].code + " twice");
}

}  // namespace

double convertValue(double sourceValue, const NutrientSource& source, const Nutrient& nutrient,
                    const std::string& where) {
    double value = sourceValue * source.factor;
    if (nutrient.roundTo) {
        const double scale = std::pow(10.0, *nutrient.roundTo);
        value = std::round(value * scale) / scale;
    }
    const double scale = std::pow(10.0, kNutrientDecimals);
    if (std::fabs(std::round(value * scale) / scale - value) > 1e-8)
        throw MkdataError(where + ": " + nutrient.columnName() + " (" + nutrient.name +
                          ") has more than " + std::to_string(kNutrientDecimals) + " decimals in " +
                          nutrient.unit + ": the table would cut it");
    return value;
}

std::vector<Food> readUsdaFoods(const std::filesystem::path& usdaDir,
                                const std::vector<Nutrient>& nutrients) {
    const TsvFile groups = TsvFile::read(usdaDir / "food_groups.tsv");
    std::map<std::string, std::string> groupNames;
    for (std::size_t r = 0; r < groups.rowCount(); ++r)
        groupNames[groups.cell(r, "FdGrp_Cd")] = groups.cell(r, "FdGrp_Desc");

    const TsvFile descriptions = TsvFile::read(usdaDir / "food_des.tsv");
    struct Description {
        std::string english, group, scientific;
    };
    std::map<std::string, Description> described;
    for (std::size_t r = 0; r < descriptions.rowCount(); ++r) {
        const auto group = groupNames.find(descriptions.cell(r, "FdGrp_Cd"));
        if (group == groupNames.end())
            throw MkdataError(descriptions.where(r) + ": unknown food group '" +
                              descriptions.cell(r, "FdGrp_Cd") + "'");
        described[descriptions.cell(r, "NDB_No")] = {
            descriptions.cell(r, "Long_Desc"), group->second, descriptions.cell(r, "SciName")};
    }

    const TsvFile abbrev = TsvFile::read(usdaDir / "abbrev.tsv");
    std::vector<std::vector<std::size_t>> columns;
    for (const Nutrient& n : nutrients) columns.push_back(columnsOf(abbrev, n.usda));
    const std::size_t codeColumn = abbrev.column("NDB_No");

    std::vector<Food> foods;
    for (std::size_t r = 0; r < abbrev.rowCount(); ++r) {
        const std::string where = abbrev.where(r);
        Food food;
        food.source = "USDA";
        food.code = abbrev.cell(r, codeColumn);
        const auto description = described.find(food.code);
        if (description == described.end())
            throw MkdataError(where + ": food " + food.code + " is not in food_des.tsv");
        food.english = description->second.english;
        food.group = description->second.group;
        food.scientificName = description->second.scientific;
        for (std::size_t i = 0; i < nutrients.size(); ++i) {
            std::optional<double> sum;
            for (const std::size_t c : columns[i]) {
                const std::string& text = abbrev.cell(r, c);
                if (text.empty()) continue;
                sum = sum.value_or(0) + parseNumber(text, where);
            }
            if (sum) sum = convertValue(*sum, nutrients[i].usda, nutrients[i], where);
            food.values.push_back(sum);
        }
        foods.push_back(std::move(food));
    }
    if (foods.size() != described.size())
        throw MkdataError("abbrev.tsv and food_des.tsv list different foods");
    sortByCode(foods, "abbrev.tsv");
    return foods;
}

std::vector<Food> readIfctFoods(const std::filesystem::path& ifctDir,
                                const std::vector<Nutrient>& nutrients) {
    const TsvFile file = TsvFile::read(ifctDir / "compositions.tsv");
    std::vector<std::vector<std::size_t>> columns;
    for (const Nutrient& n : nutrients) columns.push_back(columnsOf(file, n.ifct));

    std::vector<Food> foods;
    for (std::size_t r = 0; r < file.rowCount(); ++r) {
        const std::string where = file.where(r);
        Food food;
        food.source = "IFCT";
        food.code = file.cell(r, "code");
        food.english = file.cell(r, "name");
        food.group = file.cell(r, "grup");
        food.scientificName = file.cell(r, "scie");
        const bool plant = isIfctPlantFood(food.code, food.group, file.cell(r, "tags"));
        for (std::size_t i = 0; i < nutrients.size(); ++i) {
            const IfctZero rule = nutrients[i].ifctZero;
            const bool zeroIsValue = rule == IfctZero::Zero || rule == IfctZero::Energy ||
                                     (rule == IfctZero::PlantZero && plant);
            std::optional<double> sum;
            for (const std::size_t c : columns[i]) {
                const double v = parseNumber(file.cell(r, c), where);
                if (v == 0 && !zeroIsValue) continue;
                sum = sum.value_or(0) + v;
            }
            if (sum) sum = convertValue(*sum, nutrients[i].ifct, nutrients[i], where);
            food.values.push_back(sum);
        }
        // Energy last: it needs protein, fat and carbohydrate of the same food.
        for (std::size_t i = 0; i < nutrients.size(); ++i) {
            if (nutrients[i].ifctZero != IfctZero::Energy || food.values[i] != 0.0) continue;
            for (const int macro : {10, 11, 12})
                if (food.value(macro).value_or(0) > 0) food.values[i].reset();
        }
        foods.push_back(std::move(food));
    }
    sortByCode(foods, "compositions.tsv");
    return foods;
}

}  // namespace mkdata

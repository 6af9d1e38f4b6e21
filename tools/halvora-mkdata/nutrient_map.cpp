#include "nutrient_map.h"

#include <cmath>

#include "cp1256_text.h"
#include "errors.h"
#include "table_layouts.h"
#include "tsv_file.h"

namespace mkdata {
namespace {

// The columns the rest of the program reads by number (energy chart, plan totals, reports).
struct FixedColumn {
    int column;
    const char* name;
    const char* unit;
};
constexpr FixedColumn kFixedColumns[] = {
    {9, "Energy", "kcal"},  {10, "Protein", "g"},  {11, "Carbohydrate", "g"},
    {12, "Total fat", "g"}, {21, "Calcium", "mg"}, {23, "Iron", "mg"},
};

std::vector<std::string> splitPlus(const std::string& text) {
    std::vector<std::string> parts;
    if (text.empty()) return parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t plus = text.find('+', start);
        parts.push_back(
            trimmed(text.substr(start, plus == std::string::npos ? plus : plus - start)));
        if (plus == std::string::npos) return parts;
        start = plus + 1;
    }
}

// "" is 1, "1000" a factor, "1/4.184" a divisor.
double parseFactor(const std::string& text, const std::string& where) {
    if (text.empty()) return 1;
    double factor = 0;
    if (text.rfind("1/", 0) == 0)
        factor = 1 / parseNumber(text.substr(2), where);
    else
        factor = parseNumber(text, where);
    if (!(factor > 0) || !std::isfinite(factor))
        throw MkdataError(where + ": the factor '" + text + "' is not positive");
    return factor;
}

IfctZero parseZeroRule(const std::string& text, const std::string& where) {
    if (text == "zero") return IfctZero::Zero;
    if (text == "null") return IfctZero::Null;
    if (text == "plant") return IfctZero::PlantZero;
    if (text == "energy") return IfctZero::Energy;
    throw MkdataError(where + ": ifct_zero must be zero, null, plant or energy, not '" + text +
                      "'");
}

void checkFixedColumn(const Nutrient& n, const std::string& where) {
    for (const FixedColumn& fixed : kFixedColumns) {
        if (fixed.column != n.column) continue;
        if (n.name != fixed.name || n.unit != fixed.unit)
            throw MkdataError(where + ": " + n.columnName() + " must be " + fixed.name + " in " +
                              fixed.unit + " (the program reads it by its column)");
        if (!n.usda.mapped() || !n.ifct.mapped())
            throw MkdataError(where + ": " + n.columnName() + " needs a field of both sources");
    }
}

}  // namespace

std::vector<Nutrient> readNutrientMap(const std::filesystem::path& tsv) {
    const TsvFile file = TsvFile::read(tsv);
    std::vector<Nutrient> map;
    for (std::size_t row = 0; row < file.rowCount(); ++row) {
        const std::string where = file.where(row);
        Nutrient n;
        n.column = kFirstNutrientColumn + static_cast<int>(row);
        if (file.cell(row, "column") != n.columnName())
            throw MkdataError(where + ": expected column " + n.columnName() + ", found '" +
                              file.cell(row, "column") + "' (rows must be in column order)");
        n.name = file.cell(row, "name");
        n.unit = file.cell(row, "unit");
        n.group = file.cell(row, "group");
        if (n.name.empty() || n.unit.empty())
            throw MkdataError(where + ": " + n.columnName() + " needs a name and a unit");
        if (toCp1256(n.name, where).size() > static_cast<std::size_t>(kNutrientNameWidth) ||
            toCp1256(n.unit, where).size() > static_cast<std::size_t>(kNutrientUnitWidth))
            throw MkdataError(where + ": the name or unit of " + n.columnName() +
                              " is longer than its field");
        n.usda.fields = splitPlus(file.cell(row, "usda"));
        n.usda.factor = parseFactor(file.cell(row, "usda_factor"), where);
        n.ifct.fields = splitPlus(file.cell(row, "ifct"));
        n.ifct.factor = parseFactor(file.cell(row, "ifct_factor"), where);
        n.ifctZero = parseZeroRule(file.cell(row, "ifct_zero"), where);
        if (const std::string& r = file.cell(row, "round"); !r.empty())
            n.roundTo = parseWholeNumber(r, where);
        if (n.roundTo && (*n.roundTo < 0 || *n.roundTo > kNutrientDecimals))
            throw MkdataError(where + ": round must be 0 to " + std::to_string(kNutrientDecimals));
        checkFixedColumn(n, where);
        map.push_back(std::move(n));
    }
    if (map.size() != static_cast<std::size_t>(kNutrientCount))
        throw MkdataError(tsv.string() + " has " + std::to_string(map.size()) +
                          " nutrients; the tables have " + std::to_string(kNutrientCount) +
                          " columns N8..N120");
    return map;
}

}  // namespace mkdata

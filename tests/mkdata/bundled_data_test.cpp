// The bundled data directory as the program meets it: its files, the nutrient catalogue, the
// foods of both sources and their Farsi names.
#include <algorithm>
#include <iostream>
#include <set>

#include "built_directories.h"
#include "dbf/cdx_index.h"
#include "dbf/codepage1256.h"

namespace mkdata::testing {
namespace {

namespace fs = std::filesystem;

TEST(BundledData, HoldsEveryFoodOfBothSourcesNumberedInTableOrder) {
    Rows foods(bundled() / "Foods.DBF");
    ASSERT_GE(foods.count(), 7900u);
    EXPECT_EQ(foods.count(), 7955u);  // 7,413 USDA SR21 + 542 IFCT 2017
    EXPECT_EQ(builtDirectory(false).result.usdaFoods, 7413);
    for (std::uint32_t i = 0; i < foods.count(); ++i)
        ASSERT_EQ(foods.get(i, "N1").asInteger(), i + 1) << "row " << i;
    EXPECT_EQ(foods.text(0, "N4") + " " + foods.text(0, "N5"), "USDA 01001");
    EXPECT_EQ(foods.text(7412, "N4") + " " + foods.text(7412, "N5"), "USDA 93600");
    EXPECT_EQ(foods.text(7413, "N4") + " " + foods.text(7413, "N5"), "IFCT A001");
    EXPECT_EQ(foods.text(7954, "N4") + " " + foods.text(7954, "N5"), "IFCT T014");
    EXPECT_EQ(foods.text(0, "N2"), "Butter, salted");
    EXPECT_EQ(foods.text(7413, "N6"), "Cereals and Millets");
}

TEST(BundledData, NutrientCatalogueDescribesN8ToN120InColumnOrder) {
    Rows nutrients(bundled() / "nutrients.DBF");
    ASSERT_EQ(nutrients.count(), 113u);
    for (std::uint32_t i = 0; i < 113; ++i) {
        EXPECT_EQ(nutrients.text(i, "N6"), "N" + std::to_string(i + 8));
        EXPECT_FALSE(nutrients.text(i, "AN5").empty()) << "row " << i;
        EXPECT_FALSE(nutrients.text(i, "AN3").empty()) << "row " << i;
    }
    // The columns the energy chart, the plan totals and the reports read by number.
    const std::pair<int, std::string> fixed[] = {{9, "Energy kcal"},     {10, "Protein g"},
                                                 {11, "Carbohydrate g"}, {12, "Total fat g"},
                                                 {21, "Calcium mg"},     {23, "Iron mg"}};
    for (const auto& [column, nameAndUnit] : fixed) {
        const auto row = static_cast<std::uint32_t>(column - 8);
        EXPECT_EQ(nutrients.text(row, "AN5") + " " + nutrients.text(row, "AN3"), nameAndUnit);
    }
}

TEST(BundledData, FilesAreNamedAsTheProgramOpensThem) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(bundled()))
        names.insert(entry.path().filename().string());
    const std::set<std::string> expected = {
        "nutrients.DBF", "Foods.DBF", "Recipe.DBF", "Recipe.FPT", "CONTENTS.DBF", "WEEKLY.DBF",
        "LIST.DBF",      "KORAM.DBF", "KORAM.FPT",  "RECAL.DBF",  "SUBJECTS.DBF", "SUBJECTS.CDX"};
    EXPECT_EQ(names, expected);
    for (const std::string& name : names) {
        if (fs::path(name).extension() != ".DBF") continue;
        Rows table(bundled() / name);
        const bool memo = name == "Recipe.DBF" || name == "KORAM.DBF";
        EXPECT_EQ(table.file().header().version, memo ? 0xF5 : 0x03) << name;
        EXPECT_EQ(table.file().header().codePageMark, 0x7E) << name;
        EXPECT_EQ(table.file().hasMemoFile(), memo) << name;
        EXPECT_EQ(table.file().header().tableFlags & 0x01, name == "SUBJECTS.DBF" ? 1 : 0) << name;
    }
}

TEST(BundledData, SubjectsCarryAStructuralIndexOnCodeNameAndDate) {
    const auto tags = dbf::readCdxTags(bundled() / "SUBJECTS.CDX");
    ASSERT_EQ(tags.size(), 3u);
    EXPECT_EQ(tags[0].name, "SU1");  // first: the natural order needs no title click
    EXPECT_EQ(tags[1].name, "SU2");
    EXPECT_EQ(tags[2].name, "SU7");
    for (const auto& tag : tags) {
        EXPECT_EQ(tag.keyExpression, tag.name);
        EXPECT_EQ(tag.collation, "MACHINE");
        EXPECT_TRUE(tag.forExpression.empty());
    }
}

// Field names in order: what the program reads and writes, nothing less.
TEST(BundledData, UserTablesAreEmptyWithTheFieldsTheProgramUses) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> tables = {
        {"Recipe.DBF", {"GHAZ1", "GHAZ2", "GHAZ3", "GHAZ5"}},
        {"CONTENTS.DBF", {"CON1", "CON2", "CON3", "CON4"}},
        {"WEEKLY.DBF", {"W1", "W2"}},
        {"LIST.DBF", {"L1", "L2", "L3"}},
        {"KORAM.DBF", {"D1", "D2", "D3", "D4", "D5", "D6", "D7", "D8"}},
        {"RECAL.DBF", {"R", "R1", "R2", "R3", "R4", "R5", "R6"}},
        {"SUBJECTS.DBF",
         {"SU1", "SU2", "SU3", "SU4", "SU5", "SU6", "SU7", "SU8", "SU9", "SU10", "SU11"}},
    };
    for (const auto& [name, fields] : tables) {
        Rows table(bundled() / name);
        EXPECT_EQ(table.count(), 0u) << name;
        std::vector<std::string> names;
        for (const auto& f : table.file().allFields()) names.push_back(f.name);
        std::vector<std::string> expected = fields;
        if (name == "KORAM.DBF" || name == "RECAL.DBF")
            for (int n = 8; n <= 120; ++n) expected.push_back("N" + std::to_string(n));
        EXPECT_EQ(names, expected) << name;
    }
}

TEST(FarsiNames, EveryFoodHasANonEmptyName) {
    Rows foods(bundled() / "Foods.DBF");
    for (std::uint32_t i = 0; i < foods.count(); ++i)
        ASSERT_FALSE(foods.text(i, "N3").empty()) << "food " << i + 1;
    // A name of the list, in code page 1256 (Persian yeh stored as Arabic yeh).
    EXPECT_EQ(foods.text(0, "N3"), dbf::cp1256::fromUtf8("کره نمک‌دار"));
}

// Every food has its own Farsi name: none carries its English name in its place.
TEST(FarsiNames, NoFoodCarriesItsEnglishNameInstead) {
    Rows foods(bundled() / "Foods.DBF");
    int fallbacks = 0;
    for (std::uint32_t i = 0; i < foods.count(); ++i)
        if (foods.text(i, "N3") == foods.text(i, "N2")) ++fallbacks;
    EXPECT_EQ(fallbacks, builtDirectory(false).result.foodsWithoutFarsiName);
    ::testing::Test::RecordProperty("foods_without_farsi_name", fallbacks);
    EXPECT_EQ(fallbacks, 0);
}

TEST(FarsiNames, RequireNamesRefusesToBuildWhileANameIsMissing) {
    TempDir dir;
    BuildOptions options{inputDir(), dir.path() / "data", false, true};
    const int missing = builtDirectory(false).result.foodsWithoutFarsiName;
    if (missing == 0) {
        EXPECT_NO_THROW(buildDataDirectory(options));
        return;
    }
    try {
        buildDataDirectory(options);
        FAIL() << "built although names are missing";
    } catch (const MkdataError& e) {
        EXPECT_EQ(std::string(e.what()), std::to_string(missing) + " foods have no Farsi name yet");
    }
    EXPECT_FALSE(fs::exists(dir.path() / "data" / "Foods.DBF"));
}

}  // namespace
}  // namespace mkdata::testing

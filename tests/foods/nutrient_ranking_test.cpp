// Rankings by the nutrient chosen in StringGrid1: the statements, the order of the foods,
// the scope, and the "Save to Text" button they enable.
#include "foods/nutrient_ranking.h"

#include <gtest/gtest.h>

#include "foods_fixture.h"

namespace foods::testing {
namespace {

using Lines = std::vector<std::string>;
using Codes = std::vector<long long>;

TEST_F(FoodsTest, HighestAndLowestRankAllFoodsOrTheRecipesFoods) {
    const struct {
        void (*handler)(core::MainForm&);
        bool recipe;
        int col, row;
        Lines lines;
        Codes codes;
    } cases[] = {
        {HighestClick,
         false,
         1,
         1,
         {"Select N1,N2,N3,N8 ", "FROM FOODS.dbf ", "ORDER BY N8 DESC"},
         {0, 5, 1, 3, 2}},  // a ranking keeps the food with code 0
        {LowestClick,
         false,
         6,
         27,
         {"Select N1,N2,N3,N120 ", "FROM FOODS.dbf ", "ORDER BY N120 ASC"},
         {1, 2, 3, 0, 5}},  // all empty: table order
        {LowestClick,
         true,
         1,
         2,
         {"Select N1,N2,N3,N9 ", "FROM CONTENTS.DBF, FOODS.dbf ", "WHERE CON2 = N1 AND CON1=4",
          "ORDER BY N9 ASC"},
         {1, 3}},
        {HighestClick,
         true,
         1,
         1,
         {"Select N1,N2,N3,N8 ", "FROM CONTENTS.DBF, FOODS.dbf ", "WHERE CON2 = N1 AND CON1=4",
          "ORDER BY N8 DESC"},
         {1, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.back());
        auto& tab = form->foodProcessor;
        (c.recipe ? tab.Recipes : tab.DBF).setChecked(true);
        tab.SaveFIle.setEnabled(false);
        chooseNutrient(c.col, c.row);
        click(c.handler);
        EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.back();
        EXPECT_EQ(statement(), c.lines);
        EXPECT_EQ(codes(), c.codes);
        EXPECT_TRUE(tab.SaveFIle.enabled());
        EXPECT_EQ(tab.DBGrid2.source(), &form->DataQuery1);
    }
}

TEST_F(FoodsTest, ADoubleClickOnANutrientGridRanksAllFoodsByStringGrid1sNutrient) {
    auto& tab = form->foodProcessor;
    tab.Recipes.setChecked(true);
    chooseNutrient(1, 2);
    form->foodAnalysis.StringGrid4.setCurrentCell(5, 5);  // not what ranks
    tab.COUNTER.setCaption("before");
    click(StringGrid1DblClick);
    EXPECT_TRUE(tab.DBF.checked());
    EXPECT_FALSE(tab.Recipes.checked());
    EXPECT_EQ(statement(), (Lines{"Select N1,N2,N3,N9 ", "FROM FOODS.dbf ", "ORDER BY N9 DESC"}));
    EXPECT_EQ(codes(), (Codes{0, 2, 3, 1, 5}));
    EXPECT_FALSE(tab.SaveFIle.enabled());  // left as the start-up left it
    EXPECT_EQ(tab.COUNTER.caption(), "before");
}

}  // namespace
}  // namespace foods::testing

// The nutrient sum query's three variants, the recipe analysis per 100 g and the display of
// one ingredient, with the Parts' worked examples and the checks on weights.
#include "analysis/recipe_analysis.h"

#include <gtest/gtest.h>

#include "analysis/nutrient_sum_query.h"
#include "analysis/recipe_book.h"
#include "core/app_fixture.h"
#include "core/run_handler.h"

namespace analysis {
namespace {

using core::testing::DataContent;
using core::testing::F;
using core::testing::I;
using core::testing::M;
using core::testing::Null;
using core::testing::S;
using Lines = std::vector<std::string>;

TEST(NutrientSumQuery, TheThreeVariantsAsTheEngineReceivesThem) {
    const struct {
        SumVariant variant;
        const char* first;  // the first item
        const char* last;   // the last item with the blank ending the list
        const char* from;
        const char* where;
    } cases[] = {
        {SumVariant::RecipePer100g, "SELECT SUM((N8*CON4*0.01)/2.5),",
         ",SUM((N120*CON4*0.01)/2.5) ", "FROM CONTENTS.DBF A, FOODS.DBF B",
         "WHERE CON2 = N1 AND CON1=12"},
        {SumVariant::RecipeTotal, "SELECT SUM(N8*CON4*0.01),", ",SUM(N120*CON4*0.01) ",
         "FROM CONTENTS.DBF A, FOODS.DBF B", "WHERE CON2 = N1 AND CON1=12"},
        {SumVariant::RecallTotal, "SELECT SUM(N8*R4*0.01),", ",SUM(N120*R4*0.01) ",
         "FROM RECAL.DBF", "WHERE R1=12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        const Lines lines = nutrientSumQuery(c.variant, 12, "2.5");
        ASSERT_EQ(lines.size(), 3u);
        const std::string& select = lines[0];
        EXPECT_EQ(select.rfind(c.first, 0), 0u);
        EXPECT_EQ(select.substr(select.size() - std::string(c.last).size()), c.last);
        EXPECT_EQ(std::count(select.begin(), select.end(), ','), 112);
        EXPECT_EQ(lines[1], c.from);
        EXPECT_EQ(lines[2], c.where);
    }
}

class RecipeAnalysisTest : public core::testing::AppTest {
  protected:
    // Food 1: 10 g protein (N10) and 30 mg calcium (N21); food 2: 2 g protein, no calcium.
    // Recipe 4: 200 g of food 1, 50 g of food 2; recipe 5: food 2 without a weight.
    void SetUp() override {
        DataContent c;
        auto food = [](int code, double protein, dbf::Value calcium) {
            dbf::testing::Row row = {I(code), S("f"), S("f")};
            for (int k = 8; k <= 21; ++k)
                row.push_back(k == 10 ? F(protein) : k == 21 ? calcium : Null());
            return row;
        };
        c.foods = {food(1, 10, F(30)), food(2, 2, Null())};
        c.recipes = {{I(4), S("Lunch"), S("Soup"), M("")}, {I(5), S("Dinner"), S("Stew"), M("")}};
        c.contents = {{I(4), I(1), S("f"), F(200)},
                      {I(4), I(2), S("f"), F(50)},
                      {I(5), I(2), S("f"), Null()}};
        startOn(c);
    }
    core::StringGrid& grid() { return form->foodProcessor.StringGrid1; }
};

TEST_F(RecipeAnalysisTest, AHundredGramsOfTheRecipe) {
    click(ANALSISClick);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.back();
    EXPECT_EQ(grid().cell(1, 3), "  8.400");   // (20 + 1) / 2.5
    EXPECT_EQ(grid().cell(1, 14), " 24.000");  // calcium: 60 / 2.5
    EXPECT_EQ(grid().cell(1, 1), " ");         // a nutrient every food lacks
    EXPECT_EQ(grid().cell(7, 27), "");         // never written
    EXPECT_EQ(grid().cell(1, 0), "100 gr");
    EXPECT_EQ(grid().cell(5, 0), "100 gr");
    EXPECT_EQ(form->DBF4.filter(), "CON1 = 4");  // the contents show the analysed recipe
    EXPECT_EQ(form->state.currentRecipeCode, 4);
    EXPECT_EQ(form->foodProcessor.DBGrid2.source(), &form->DataSource2);
    EXPECT_FALSE(form->Query2.isOpen());
}

TEST_F(RecipeAnalysisTest, AnEmptyWeightOrNoContentsLeavesTheGridAsItWas) {
    grid().setCell(1, 3, "before");
    form->DBF3.last();  // recipe 5: a food without a weight
    click(ANALSISClick);
    EXPECT_EQ(dialogs.messages, Lines{"Amount is Zero!!!"});
    EXPECT_EQ(grid().cell(1, 3), "before");

    form->DBF4.setFiltered(false);  // all weights 0
    for (form->DBF4.first(); !form->DBF4.eof(); form->DBF4.next()) {
        form->DBF4.edit();
        form->DBF4.setValue("CON4", F(0));
        form->DBF4.post();
    }
    form->DBF3.first();
    click(ANALSISClick);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(dialogs.messages[1].find("add up to 0 g"), std::string::npos);
    EXPECT_EQ(grid().cell(1, 3), "before");
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(RecipeAnalysisTest, AnIngredientAtItsWeight) {
    form->DBF4.first();
    form->DBF4.edit();
    form->DBF4.setValue("CON4", F(50));
    form->DBF4.post();
    click(EACHFOODClick);
    EXPECT_EQ(grid().cell(1, 14), "15");  // 30 mg calcium at 50 g
    EXPECT_EQ(grid().cell(1, 3), "5");
    EXPECT_EQ(grid().cell(1, 1), "");  // the food has none
    EXPECT_EQ(grid().cell(0, 0), "                             NUTRIENTS");
    EXPECT_EQ(grid().cell(1, 0), "     in 50 gr.");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(RecipeAnalysisTest, AnIngredientWithoutWeightOrFoodIsSaidSo) {
    form->DBF3.last();
    click(RECIPEClick);  // recipe 5: food 2 without a weight
    click(EACHFOODClick);
    EXPECT_EQ(dialogs.messages, Lines{" !!!مقدار صفر قبول نيست"});
    EXPECT_EQ(grid().cell(1, 3), "0");
    EXPECT_EQ(grid().cell(1, 0), "     in 0 gr.");

    form->DBF4.edit();
    form->DBF4.setValue("CON2", I(99));  // a food no longer in the table
    form->DBF4.setValue("CON4", F(10));
    form->DBF4.post();
    click(EACHFOODClick);
    EXPECT_EQ(dialogs.messages.back(), " خطاي کد");
    EXPECT_EQ(grid().cell(1, 3), "0");  // the values stay
    EXPECT_EQ(grid().cell(1, 0), "     in 10 gr.");

    form->DBF4.setFilter("CON1 = 77");  // no contents row
    click(EACHFOODClick);
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_NE(dialogs.messages[2].find("Choose a food"), std::string::npos);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.back();
}

}  // namespace
}  // namespace analysis

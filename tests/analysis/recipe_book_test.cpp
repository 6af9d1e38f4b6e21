// The recipe book: showing a recipe's contents, new recipes and their codes, foods added and
// removed, the meal of a recipe and the meal filter, and what is said when something is
// missing.
#include "analysis/recipe_book.h"

#include <gtest/gtest.h>

#include "core/app_fixture.h"
#include "core/platform.h"
#include "core/run_handler.h"
#include "core/shared_views.h"

namespace analysis {
namespace {

using core::testing::DataContent;
using core::testing::F;
using core::testing::I;
using core::testing::M;
using core::testing::S;
using Lines = std::vector<std::string>;

class RecipeBookTest : public core::testing::AppTest {
  protected:
    void SetUp() override { startOn({}); }
    // A column of every visible row of a table.
    std::vector<std::string> column(dbf::Table& table, const char* field) {
        std::vector<std::string> out;
        const int f = table.fieldIndex(field);
        for (std::int64_t r = 0; r < table.recordCount(); ++r)
            out.push_back(table.peek(static_cast<std::size_t>(r), f).asString());
        return out;
    }
    void meal(const std::string& text) { form->foodProcessor.ComboBox1.setText(text); }
};

TEST_F(RecipeBookTest, ADoubleClickShowsTheCurrentRecipesContents) {
    form->DBF3.last();  // recipe 5
    click(RECIPEClick);
    EXPECT_EQ(form->DBF4.filter(), "CON1 = 5");
    EXPECT_EQ(column(form->DBF4, "CON2"), Lines{"2"});
    EXPECT_EQ(form->state.currentRecipeCode, 5);
}

TEST_F(RecipeBookTest, ANewRecipeTakesTheLastCodeInTableOrderPlusOneAndKeepsTheMealFilter) {
    meal("Lunch");
    click(ComboBox1Change);  // the list shows recipe 4 only
    meal("  Dinner ");
    click(ADDRECIPEClick);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(form->DBF3.filter(), "GHAZ2 = 'Lunch'");
    EXPECT_TRUE(form->DBF3.filtered());
    EXPECT_EQ(column(form->DBF3, "GHAZ1"), Lines{"4"});
    form->DBF3.setFiltered(false);
    EXPECT_EQ(column(form->DBF3, "GHAZ1"), (Lines{"4", "5", "6"}));
    form->DBF3.last();
    EXPECT_EQ(form->DBF3.value("GHAZ2").asString(), "Dinner");  // trimmed
    EXPECT_EQ(form->DBF3.value("GHAZ3").asString(), "");        // one blank, as stored
}

TEST_F(RecipeBookTest, TheFirstRecipeOfAnEmptyBookGetsCode1) {
    DataContent c;
    c.recipes.clear();
    c.contents.clear();
    startOn(c);
    meal("Breakfast");
    click(ADDRECIPEClick);
    EXPECT_EQ(column(form->DBF3, "GHAZ1"), Lines{"1"});
    EXPECT_EQ(column(form->DBF3, "GHAZ2"), Lines{"Breakfast"});
    EXPECT_EQ(form->DBF4.filter(), "CON1 = 1");
}

TEST_F(RecipeBookTest, AddToRecipeAddsTheCurrentFoodWithWeight1EachTime) {
    core::foodListing(*form);
    form->foodProcessor.DBGrid2.setSource(&form->DataQuery1);
    form->Query1.next();  // Bread
    click(ADDFOODClick);
    click(ADDFOODClick);
    EXPECT_EQ(column(form->DBF4, "CON2"), (Lines{"1", "2", "2", "2"}));
    EXPECT_EQ(column(form->DBF4, "CON4"), (Lines{"100", "20", "1", "1"}));
    EXPECT_EQ(column(form->DBF4, "CON3").back(), "nan");
}

TEST_F(RecipeBookTest, DelRemovesOneFoodAndTheGridStillShowsTheCurrentRecipe) {
    form->DBF4.first();
    click(RecepeiDelClick);
    EXPECT_EQ(column(form->DBF4, "CON2"), Lines{"2"});
    EXPECT_EQ(form->DBF4.filter(), "CON1 = 4");
}

TEST_F(RecipeBookTest, ChangeVadeStoresTheMealAsShownAndFiltersByItTrimmed) {
    meal("  Dinner");
    click(Button1Click);
    form->DBF3.setFiltered(false);
    form->DBF3.first();
    EXPECT_EQ(form->DBF3.value("GHAZ2").asString(), "  Dinner");
    form->DBF3.setFiltered(true);
    EXPECT_EQ(form->DBF3.filter(), "GHAZ2 = 'Dinner'");
    EXPECT_EQ(column(form->DBF3, "GHAZ1"), Lines{"5"});  // recipe 4 stored "  Dinner"
}

TEST_F(RecipeBookTest, TheMealFilterQuotesTheMealAndUnfilterShowsAll) {
    const struct {
        const char* text;
        const char* filter;
        Lines codes;
    } cases[] = {
        {"Lunch", "GHAZ2 = 'Lunch'", {"4"}},
        {" Dinner ", "GHAZ2 = 'Dinner'", {"5"}},
        {"Mom's", "GHAZ2 = 'Mom''s'", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        meal(c.text);
        click(ComboBox1Change);
        EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.back();
        EXPECT_EQ(form->DBF3.filter(), c.filter);
        EXPECT_EQ(column(form->DBF3, "GHAZ1"), c.codes);
    }
    click(Button4Click);
    EXPECT_EQ(column(form->DBF3, "GHAZ1"), (Lines{"4", "5"}));
}

TEST_F(RecipeBookTest, WithoutARecipeOrAFoodNothingIsWrittenAndTheUserIsTold) {
    meal("Snack");
    click(ComboBox1Change);  // no recipe of that meal
    core::foodListing(*form);
    form->foodProcessor.DBGrid2.setSource(&form->DataQuery1);
    const auto rows = form->DBF4.recordCount();
    click(ADDFOODClick);
    click(RecepeiDelClick);
    click(Button1Click);
    EXPECT_EQ(dialogs.messages.size(), 3u);
    EXPECT_NE(dialogs.messages[0].find("Choose a recipe"), std::string::npos);
    EXPECT_EQ(form->DBF4.recordCount(), rows);
    EXPECT_TRUE(dialogs.errors.empty());

    click(Button4Click);
    form->Query1.close();  // no food list
    dialogs.messages.clear();
    click(ADDFOODClick);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find("Choose a food"), std::string::npos);
}

TEST_F(RecipeBookTest, TheDescriptionBoxTakesFarsi) {
    form->keyboard.activate(core::usEnglishLayout);
    click(DBMemo1Click);
    EXPECT_EQ(form->keyboard.activeLayout(), core::persianLayout);
}

}  // namespace
}  // namespace analysis

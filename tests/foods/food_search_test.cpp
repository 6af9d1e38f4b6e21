// Finding foods: the statements the searches send, the rows of Query1, the counter, the
// messages, the language buttons and the keyboard, and a food's amounts in StringGrid1.
#include "foods/food_search.h"

#include <gtest/gtest.h>

#include "core/platform.h"
#include "foods_fixture.h"

namespace foods::testing {
namespace {

using Lines = std::vector<std::string>;

TEST_F(FoodsTest, TheListingHoldsTheFoodsWithAPositiveCode) {
    form->foodProcessor.Edit4.setText("xyz");
    click(SEARCHClick);
    click(Button3Click);
    EXPECT_EQ(statement(), (Lines{"Select N1,N2,N3 ", "FROM FOODS.dbf ", "WHERE N1>0 "}));
    EXPECT_EQ(codes(), (std::vector<long long>{1, 2, 3, 5}));
    EXPECT_TRUE(form->foodProcessor.DBGrid2.visible());
}

TEST_F(FoodsTest, SearchFindsTheTextInTheChosenLanguageAndReturnsToFarsi) {
    const struct {
        const char* text;
        bool english;
        const char* where;  // the last statement line, in UTF-8
        std::vector<long long> codes;
    } cases[] = {
        {"نان", false, "WHERE N3 LIKE \"%نان%\"", {2}},
        {" سیب ", false, "WHERE N3 LIKE \"%سيب%\"", {1}},  // typed with the Persian yeh
        {"cheese", true, "WHERE N2 LIKE \"%cheese%\"", {3}},
        {"", true, "WHERE N2 LIKE \"%%\"", {1, 2, 3, 0, 5}},
        {"\"whole\"", true, "WHERE N2 LIKE \"%\"\"whole\"\"%\"", {5}},  // a quote is text
        {"zzz", false, "WHERE N3 LIKE \"%zzz%\"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto& tab = form->foodProcessor;
        tab.Edit4.setText(c.text);
        (c.english ? tab.ENGLISH : tab.FARSI).setChecked(true);
        form->keyboard.activate(core::usEnglishLayout);
        click(SEARCHClick);
        EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.back();
        const Lines lines = statement();
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0], "Select N1,N2,N3 ");
        EXPECT_EQ(lines[1], "FROM FOODS.dbf ");
        EXPECT_EQ(dbf::cp1256::toUtf8(lines[2]), c.where);
        EXPECT_EQ(codes(), c.codes);
        EXPECT_EQ(tab.COUNTER.caption(), "رکورد " + std::to_string(c.codes.size()));
        EXPECT_TRUE(tab.FARSI.checked());
        EXPECT_FALSE(tab.ENGLISH.checked());
        // Farsi checked again after an English search runs its click: the Persian keyboard.
        EXPECT_EQ(form->keyboard.activeLayout(),
                  c.english ? core::persianLayout : core::usEnglishLayout);
        EXPECT_EQ(tab.DBGrid2.source(), &form->DataQuery1);
    }
}

TEST_F(FoodsTest, FindRecordMovesToTheCodeAmongTheRowsShown) {
    const struct {
        const char* text;
        long long current;  // N1 of the current row after
        const char* message;
        const char* edit;  // Edit4 after
    } cases[] = {
        {"3", 3, nullptr, "3"},
        {" 5", 5, nullptr, " 5"},
        {"0", 2, "لطفا يک عدد وارد کنيد", ""},
        {"abc", 2, "لطفا يک عدد وارد کنيد", ""},
        {"-4", 2, "لطفا يک عدد وارد کنيد", ""},
        {"9", 2, "!!کد غذا پيدا نشد", ""},  // back on the row it stood on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        click(Button3Click);
        form->Query1.next();  // the user stands on Bread
        dialogs.messages.clear();
        form->foodProcessor.Edit4.setText(c.text);
        click(FindRecordClick);
        EXPECT_EQ(form->Query1.value("N1").asInteger(), c.current);
        EXPECT_EQ(dialogs.messages, c.message ? Lines{c.message} : Lines{});
        EXPECT_EQ(form->foodProcessor.Edit4.text(), c.edit);
    }
}

TEST_F(FoodsTest, FindRecordWithANumberFollowedByTextShowsTheConversionError) {
    form->foodProcessor.Edit4.setText("12abc ");
    click(FindRecordClick);
    form->foodProcessor.Edit4.setText("12ب");  // quoted as typed, Farsi and all
    click(FindRecordClick);
    EXPECT_EQ(dialogs.errors, (Lines{"'12abc' is not a valid integer value",
                                     "'12ب' is not a valid integer value"}));
}

TEST_F(FoodsTest, FindRecordSeeksOnlyAmongTheRowsShown) {
    auto& tab = form->foodProcessor;
    tab.ENGLISH.setChecked(true);
    tab.Edit4.setText("cheese");
    click(SEARCHClick);
    tab.Edit4.setText("2");  // Bread: in the table, not in the search result
    click(FindRecordClick);
    EXPECT_EQ(dialogs.messages, Lines{"!!کد غذا پيدا نشد"});
    EXPECT_EQ(form->Query1.value("N1").asInteger(), 3);
}

TEST_F(FoodsTest, AnEmptySearchListsTheFoodsWithANameInThatLanguage) {
    DataContent c = catalogue();
    c.foods.push_back(food(9, "Unnamed in Farsi", ""));
    startOn(c);
    form->foodProcessor.Edit4.setText("");
    click(SEARCHClick);
    EXPECT_EQ(codes(), (std::vector<long long>{1, 2, 3, 0, 5}));
}

TEST_F(FoodsTest, FindOverAllFoodsRanksTheSelectedNutrientWithinTheBounds) {
    auto& tab = form->foodProcessor;
    chooseNutrient(1, 2);  // N9
    tab.AZ.setText(" 050");
    tab.TA.setText("300");
    click(AZTASEarchClick);
    EXPECT_EQ(tab.AZ.text(), "50");  // written back in decimal
    EXPECT_EQ(statement(), (Lines{"Select N1,N2,N3,N9 ", "FROM FOODS.dbf ",
                                  "WHERE N9 BETWEEN 50 AND 300", "ORDER BY N9 DESC"}));
    EXPECT_EQ(codes(), (std::vector<long long>{2, 3, 1}));
    EXPECT_EQ(tab.COUNTER.caption(), "رکورد 3");

    tab.AZ.setText("10");
    tab.TA.setText("5");
    click(AZTASEarchClick);
    EXPECT_TRUE(codes().empty());
    EXPECT_EQ(tab.COUNTER.caption(), "رکورد 0");

    chooseNutrient(7, 28);  // past the last nutrient of the last column: N120
    tab.TA.setText("");
    click(AZTASEarchClick);
    EXPECT_EQ(dialogs.errors, Lines{"'' is not a valid integer value"});
    EXPECT_EQ(statement()[2], "WHERE N1>0 ");  // the listing of the first step stays
}

TEST_F(FoodsTest, FindOverTheRecipeFiltersItsFoodsAndRecordsTheRecipe) {
    auto& tab = form->foodProcessor;
    tab.Recipes.setChecked(true);
    chooseNutrient(2, 3);  // N39
    tab.COUNTER.setCaption("before");
    tab.AZ.setText("");
    tab.TA.setText("0.75");
    click(AZTASEarchClick);
    EXPECT_EQ(statement(), (Lines{"Select N1,N2,N3,N39 ", "FROM CONTENTS.DBF, FOODS.dbf ",
                                  "WHERE CON2 = N1 AND CON1=4 AND N39 BETWEEN 0 AND 0.75",
                                  "ORDER BY N39 DESC"}));
    EXPECT_EQ(form->state.currentRecipeCode, 4);
    EXPECT_EQ(tab.COUNTER.caption(), "before");
    // Persian digits are digits.
    tab.TA.setText("۱");
    click(AZTASEarchClick);
    EXPECT_EQ(statement()[2], "WHERE CON2 = N1 AND CON1=4 AND N39 BETWEEN 0 AND 1");
    // A bound goes into the statement as it stands, so only a number is let through.
    tab.TA.setText("1 OR N1>0");
    click(AZTASEarchClick);
    EXPECT_EQ(dialogs.errors, Lines{"'1 OR N1>0' is not a valid floating point value"});
}

TEST_F(FoodsTest, ADoubleClickShowsTheFoodsAmountsInTheNutrientGrid) {
    click(Button3Click);
    form->Query1.moveBy(2);  // Cheese
    click(DBGrid2DblClick);
    const auto& grid = form->foodProcessor.StringGrid1;
    EXPECT_EQ(grid.cell(1, 1), "55.2");  // N8
    EXPECT_EQ(grid.cell(1, 2), "264");   // N9
    EXPECT_EQ(grid.cell(1, 3), "");      // N10 empty
    EXPECT_EQ(grid.cell(1, 4), "0.5");   // N11
    EXPECT_EQ(grid.cell(3, 14), "");     // N50
    EXPECT_EQ(grid.cell(0, 0), "NUTRIENTS");
    EXPECT_EQ(grid.cell(7, 0), "in 100 gr.");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(FoodsTest, TheLanguageButtonsSwitchTheKeyboard) {
    ENGLISHClick(*form);
    EXPECT_EQ(form->keyboard.activeLayout(), core::usEnglishLayout);
    FARSIClick(*form);
    EXPECT_EQ(form->keyboard.activeLayout(), core::persianLayout);
}

}  // namespace
}  // namespace foods::testing

// The two text exports: the files byte for byte (code page 1256, CR LF), the dialog they
// ask through, and what a cancel, a missing column or a recipe without contents leave.
#include "foods/food_export.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/platform.h"
#include "core/text_boundary.h"
#include "foods/food_search.h"
#include "foods/nutrient_ranking.h"
#include "foods_fixture.h"

namespace foods::testing {
namespace {

using Lines = std::vector<std::string>;

class FoodExportTest : public FoodsTest {
  protected:
    std::filesystem::path chosen() const { return app() / "EXPORT" / "out.TXT"; }
    void SetUp() override {
        FoodsTest::SetUp();
        std::filesystem::create_directories(app() / "EXPORT");
        dialogs.fileName = chosen().string();
    }
    std::string written() { return core::testing::readFile(chosen()); }
};

TEST_F(FoodExportTest, SaveToTextWritesTheRankingWithItsUnit) {
    form->foodProcessor.Recipes.setChecked(false);
    chooseNutrient(1, 2);  // N9
    click(HighestClick);
    form->keyboard.activate(core::persianLayout);
    click(SaveFIleClick);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.back();
    EXPECT_EQ(form->keyboard.activeLayout(), core::usEnglishLayout);  // before the dialog
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].defaultExtension, "TXT");
    EXPECT_EQ(dialogs.saveRequests[0].initialDirectory, form->state.exportDirectory);
    EXPECT_EQ(written(),
              "CODE ; FOOD NAME ; Value in 100 gr; Unit\r\n"
              "0;Placeholder;999;g\r\n"
              "2;Bread, white;266;g\r\n"
              "3;Cheese, feta;264;g\r\n"
              "1;Apple, raw;52;g\r\n"
              "5;Milk \"whole\";;g\r\n");  // an empty amount leaves its field empty
    EXPECT_EQ(form->Query1.recNo(), 1);
}

TEST_F(FoodExportTest, TheFilesAreInCodePage1256) {
    // The catalogue names N9's unit in micrograms and N8 in Farsi.
    dbf::Table& nutrients = form->DBF1;
    nutrients.first();
    nutrients.edit();
    nutrients.setValue("AN5", core::fieldText("آب"));
    nutrients.next();
    nutrients.edit();
    nutrients.setValue("AN3", core::fieldText("µg"));
    nutrients.post();
    chooseNutrient(1, 2);
    click(HighestClick);
    click(SaveFIleClick);
    EXPECT_EQ(written().substr(written().find("\r\n") + 2, 22), "0;Placeholder;999;\xB5g\r\n");
    form->DBF4.first();
    click(ExportClick);
    EXPECT_NE(written().find("\r\n\xC2\xC8 , 85.6 , g\r\n"), std::string::npos);  // آب
}

TEST_F(FoodExportTest, AnEmptyUnitStopsTheExportBeforeAFileIsWritten) {
    dbf::Table& nutrients = form->DBF1;
    nutrients.first();
    nutrients.edit();
    nutrients.setValue("AN3", dbf::Value::string(" "));
    nutrients.post();
    click(HighestClick);
    click(SaveFIleClick);
    click(ExportClick);
    EXPECT_EQ(dialogs.errors.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(chosen()));
}

TEST_F(FoodExportTest, SaveToTextOfAListingWithoutTheColumnWritesNothing) {
    click(Button3Click);
    chooseNutrient(1, 1);
    click(SaveFIleClick);
    EXPECT_EQ(dialogs.errors, Lines{"Field 'N8' not found"});
    EXPECT_FALSE(std::filesystem::exists(chosen()));
}

TEST_F(FoodExportTest, ACancelledDialogLeavesNoFileAndSaysNothing) {
    click(HighestClick);
    dialogs.fileName.reset();
    click(SaveFIleClick);
    click(ExportClick);
    EXPECT_EQ(dialogs.saveRequests.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(chosen()));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(FoodExportTest, FoodAnalysisExportWritesTheIngredientsProfile) {
    form->DBF4.last();  // the recipe's second ingredient: Cheese
    click(ExportClick);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.back();
    const std::string text = written();
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    ASSERT_EQ(lines.size(), 114u);
    EXPECT_EQ(lines[0], " LIST OF NUTRIENTS in 100 gr of Cheese, feta CODE: 3");
    EXPECT_EQ(lines[1], "  Nutrient 1 , 55.2 , g");  // AN5 as the table gives it, untrimmed
    EXPECT_EQ(lines[3], "  Nutrient 3 ,  , g");      // an empty amount
    EXPECT_EQ(lines[113], "  Nutrient 113 ,  , g");
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST_F(FoodExportTest, FoodAnalysisExportWithoutAnIngredientSaysWhyAndWritesNothing) {
    form->DBF4.setFilter("CON1 = 99");  // a recipe without contents
    form->DBF4.setFiltered(true);
    click(ExportClick);
    EXPECT_TRUE(dialogs.saveRequests.empty());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find("no ingredient"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(chosen()));
}

TEST_F(FoodExportTest, AFileThatCannotBeWrittenIsReported) {
    click(HighestClick);
    dialogs.fileName = (app() / "no such folder" / "out.TXT").string();
    click(SaveFIleClick);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_NE(dialogs.errors[0].find("Cannot create file"), std::string::npos);
}

}  // namespace
}  // namespace foods::testing

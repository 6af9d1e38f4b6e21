// The open sequence: the start-up views over the nine tables and its failure rules.
#include "app_fixture.h"
#include "core/nutrient_grid.h"
#include "dbf/codepage1256.h"

namespace core::testing {
namespace {

class OpenSequenceTest : public AppTest {
  protected:
    MainForm& startWith(const DataContent& content) {
        writeDataDirectory(app() / "data", content);
        return start();
    }
    std::vector<std::int64_t> codes(dbf::DataSet& set, const char* field) {
        std::vector<std::int64_t> out;
        for (set.first(); !set.eof(); set.next()) out.push_back(set.value(field).asInteger());
        set.first();
        return out;
    }
    // Every name cell of the three nutrient grids must agree; returns StringGrid1's.
    const StringGrid& names(MainForm& f) {
        for (int col = 0; col < 8; col += 2)
            for (int row = 0; row < 30; ++row) {
                EXPECT_EQ(f.editFoodDatabase.StringGrid3.cell(col, row),
                          f.foodProcessor.StringGrid1.cell(col, row));
                EXPECT_EQ(f.foodAnalysis.StringGrid4.cell(col, row),
                          f.foodProcessor.StringGrid1.cell(col, row));
            }
        return f.foodProcessor.StringGrid1;
    }
};

TEST_F(OpenSequenceTest, FillsTheStartUpViews) {
    MainForm& f = startWith({});
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();

    // The recall of the first subject, code 7.
    EXPECT_EQ(f.DBF8.filter(), "R1 = 7");
    EXPECT_TRUE(f.DBF8.filtered());
    EXPECT_EQ(codes(f.DBF8, "R1"), (std::vector<std::int64_t>{7, 7}));

    // The first plan, Saturday, the meal tab shown first (After Dinner).
    EXPECT_EQ(f.state.currentPlanCode, 3);
    EXPECT_EQ(f.state.currentDayIndex, 0);
    EXPECT_EQ(f.state.currentMealIndex, 3);
    EXPECT_EQ(f.DBF7.filter(), "D1 = 3 and D2 = 0 and D3 = 3");
    EXPECT_EQ(codes(f.DBF7, "D5"), std::vector<std::int64_t>{1});
    EXPECT_TRUE(f.weeklyPlans.Saturday.checked());
    EXPECT_TRUE(f.weeklyPlans.Saturday.enabled());

    // All foods with a positive code, and the first recipe's contents.
    EXPECT_EQ(codes(f.Query1, "N1"), (std::vector<std::int64_t>{1, 2}));
    EXPECT_EQ(f.DBF4.filter(), "CON1 = 4");
    EXPECT_EQ(codes(f.DBF4, "CON2"), (std::vector<std::int64_t>{1, 2}));
    EXPECT_EQ(f.state.currentRecipeCode, 4);
    EXPECT_EQ(f.DBF3.recNo(), 1);
    EXPECT_FALSE(f.DBF3.filtered());

    const StringGrid& totals = f.weeklyPlans.WDIETGRID;
    const std::vector<std::string> titles = {"",    "Energy", "Protein", "CHO",
                                             "FAT", "Cacium", "Iron"};
    for (int col = 0; col < 7; ++col) EXPECT_EQ(totals.cell(col, 0), titles[col]);
    EXPECT_EQ(f.foodProcessor.ComboBox1.items(),
              (std::vector<std::string>{"Breakfast", "Lunch", "Dinner", "Snack"}));
    EXPECT_FALSE(f.foodProcessor.ComboBox1.sorted());

    EXPECT_TRUE(f.foodProcessor.DBGrid2.visible());
    EXPECT_TRUE(f.weeklyPlans.DBGSnack.visible());
    EXPECT_TRUE(f.weeklyPlans.DBGrid4.enabled());
    EXPECT_TRUE(f.foodProcessor.FARSI.enabled());
    EXPECT_EQ(f.foodProcessor.GhazahaGrid.fontName(), "Arial");
}

TEST_F(OpenSequenceTest, AHundredAndThirteenNutrientsFillTwentySixCellsOfTheLastPair) {
    MainForm& f = startWith({});
    const StringGrid& grid = names(f);
    int n = 1;
    for (int pair = 0; pair < 4; ++pair)
        for (int row = 1; row <= nutrientRowsInPair(pair); ++row, ++n)
            EXPECT_EQ(grid.cell(2 * pair, row), nutrientName(n)) << pair << "," << row;
    EXPECT_EQ(n, 114);
    for (int row = 27; row <= 29; ++row) EXPECT_EQ(grid.cell(6, row), "");
    for (int col = 0; col < 8; ++col) EXPECT_EQ(grid.cell(col, 0), "");
}

TEST_F(OpenSequenceTest, ShortCatalogueRepeatsItsLastNameAndLeavesTheLastPairEmpty) {
    DataContent content;
    content.nutrientRows = 40;
    MainForm& f = startWith(content);
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    const StringGrid& grid = names(f);
    EXPECT_EQ(grid.cell(0, 29), nutrientName(29));
    EXPECT_EQ(grid.cell(2, 11), nutrientName(40));
    EXPECT_EQ(grid.cell(2, 12), nutrientName(40));
    EXPECT_EQ(grid.cell(4, 29), nutrientName(40));
    for (int row = 1; row <= 29; ++row) EXPECT_EQ(grid.cell(6, row), "");
}

TEST_F(OpenSequenceTest, FarsiNamesAreShownAsUnicode) {
    writeDataDirectory(app() / "data");
    std::filesystem::remove(app() / "data" / "NUTRIENTS.DBF");
    std::vector<Row> rows;
    for (int n = 1; n <= 113; ++n)
        rows.push_back({S("N" + std::to_string(n + 7)),
                        S(n == 2 ? dbf::cp1256::fromUtf8(" انرژي ") : nutrientName(n)), S("g")});
    dbf::testing::makeTable(app() / "data", "NUTRIENTS.DBF",
                            {{"N6", 'C', 6}, {"AN5", 'C', 40}, {"AN3", 'C', 10}}, rows);
    MainForm& f = start();
    EXPECT_EQ(f.foodAnalysis.StringGrid4.cell(0, 2), "انرژی");  // shown with the Persian yeh
}

TEST_F(OpenSequenceTest, MissingTableShowsTheEngineErrorAndSkipsTheRest) {
    writeDataDirectory(app() / "data");
    std::filesystem::remove(app() / "data" / "RECAL.DBF");
    MainForm& f = start();

    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_NE(dialogs.errors[0].find("RECAL"), std::string::npos) << dialogs.errors[0];
    auto tables = f.tables();
    for (int i = 0; i < 7; ++i) EXPECT_TRUE(tables[i]->isOpen()) << i;
    EXPECT_FALSE(f.DBF8.isOpen());
    EXPECT_FALSE(f.DBF9.isOpen());
    EXPECT_FALSE(f.Query1.isOpen());
    EXPECT_EQ(f.weeklyPlans.WDIETGRID.cell(1, 0), "");
    EXPECT_EQ(f.foodProcessor.StringGrid1.cell(0, 1), "");
    EXPECT_FALSE(f.foodProcessor.DBGrid2.visible());
    EXPECT_EQ(f.setup.Label36.caption(), "data\\");  // the Setup tab is ready for another choice
}

TEST_F(OpenSequenceTest, EmptySubjectsAndPlansLeaveTheRecallAndThePlanCodeAlone) {
    DataContent content;
    content.subjects = {};
    content.weekly = {};
    MainForm& f = startWith(content);
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    EXPECT_FALSE(f.DBF8.filtered());
    EXPECT_EQ(f.DBF8.recordCount(), 3);
    EXPECT_EQ(f.state.currentPlanCode, 0);
    EXPECT_EQ(f.DBF7.filter(), "D1 = 0 and D2 = 0 and D3 = 3");
}

TEST_F(OpenSequenceTest, EmptyValuesWhereTheSequenceReadsThemStopIt) {
    DataContent content;
    content.weekly = {{Null(), S("no code")}};
    MainForm& f = startWith(content);
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{
                                  "Could not convert variant of type (Null) into type (Integer)"});
    EXPECT_EQ(f.weeklyPlans.WDIETGRID.cell(1, 0), "");
}

TEST_F(OpenSequenceTest, FirstSubjectWithoutCodeLeavesTheRecallUnfiltered) {
    DataContent content;
    content.subjects = {{Null(), S("new")}, {I(7), S("Sara")}};
    content.recipes = {};
    MainForm& f = startWith(content);
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    EXPECT_FALSE(f.DBF8.filtered());
    EXPECT_FALSE(f.DBF4.filtered());  // no recipe to show
    EXPECT_EQ(f.foodProcessor.StringGrid1.cell(6, 26), nutrientName(113));
}

}  // namespace
}  // namespace core::testing

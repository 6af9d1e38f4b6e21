// Recording a 24-hour recall: foods and recipes added with their snapshots, the meal and the
// date, the refusals, the views of the recall grid, and the searches of the food grid.
#include "analysis/recall.h"

#include <gtest/gtest.h>

#include "core/app_fixture.h"
#include "core/run_handler.h"
#include "dbf/codepage1256.h"

namespace analysis {
namespace {

using core::testing::DataContent;
using core::testing::F;
using core::testing::I;
using core::testing::M;
using core::testing::Null;
using core::testing::S;
using Lines = std::vector<std::string>;

class RecallTest : public core::testing::AppTest {
  protected:
    // Foods 1 and 2 with protein (N10) 10 and 2; recipe 4 of 200 g and 50 g of them;
    // the short list holds food 1 and food 3, which is no longer in the food table.
    void SetUp() override { open(content()); }
    static DataContent content() {
        DataContent c;
        auto food = [](int code, const char* name, double protein) {
            return dbf::testing::Row{I(code), S(name), S(name), Null(), Null(), F(protein)};
        };
        c.foods = {food(1, "sib", 10), food(2, "nan", 2)};
        c.recipes = {{I(4), S("Lunch"), S(" Soup "), M("")}, {I(5), S("Snack"), S("Tea"), M("")}};
        c.contents = {{I(4), I(1), S("sib"), F(200)}, {I(4), I(2), S("nan"), F(50)}};
        c.list = {{I(1), S("sib"), I(1)}, {I(3), S("gone"), I(1)}};
        c.subjects = {{I(7), S("Sara")}, {I(8), S("Reza")}};
        c.recall = {{I(2), I(7), I(1), S("sib"), F(100), I(1), S("11/7/9")},
                    {I(2), I(0), I(1), S("x"), Null(), I(1), S("0")},
                    {I(2), I(0), I(1), S("y"), Null(), I(1), S("0")},
                    {I(2), I(7), I(2), S("nan"), F(50), I(2), S("11/7/10")}};
        return c;
    }
    void open(const DataContent& c) {
        startOn(c);
        form->foodAnalysis.TodayLabel.setCaption("11/7/9");
        form->foodAnalysis.RecallGraph.setEnabled(true);
    }
    // Every row of RECAL.DBF, unfiltered: (R, R1, R2, R3, R4, R5, R6, N10).
    Lines all() {
        dbf::Table t;
        t.setDirectory(app() / "data");
        t.setTableName("RECAL.DBF");
        t.open();
        Lines out;
        for (t.first(); !t.eof(); t.next()) {
            std::string row;
            for (const char* f : {"R", "R1", "R2", "R3", "R4", "R5", "R6", "N10"}) {
                const dbf::Value v = t.value(f);
                row += (v.isNull() ? std::string("-") : v.asString()) + "|";
            }
            out.push_back(row);
        }
        return out;
    }
};

TEST_F(RecallTest, AShortListFoodIsAddedWithItsSnapshotAndNoAmount) {
    form->DBF6.first();
    click(Button22Click);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.back();
    EXPECT_EQ(all().back(), "2|7|1|sib|-|0|11/7/9|10|");  // no item chosen: meal 0
    EXPECT_FALSE(form->foodAnalysis.RecallGraph.enabled());
    // Editing the food later leaves the entry as it was recorded.
    form->DBF2.first();
    form->DBF2.edit();
    form->DBF2.setValue("N10", F(99));
    form->DBF2.post();
    EXPECT_EQ(all().back(), "2|7|1|sib|-|0|11/7/9|10|");

    form->foodAnalysis.ComboBox4.setItemIndex(0);  // "Breakfast" chosen from the list
    click(Button22Click);
    EXPECT_EQ(all().back(), "2|7|1|sib|-|1|11/7/9|99|");
}

TEST_F(RecallTest, TheFoodOfASearchResultIsAddedAsTheGridShowsIt) {
    form->foodAnalysis.Edit2.setText("nan");
    click(SerachClick);
    EXPECT_EQ(form->foodAnalysis.Label6.caption(), "رکورد 1");
    EXPECT_EQ(form->foodAnalysis.DBGrid5.columns()[1].fieldName, "N3");
    click(Button22Click);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.back();
    EXPECT_EQ(all().back(), "2|7|2|nan|-|0|11/7/9|2|");
    click(Image22Click);
    EXPECT_EQ(form->foodAnalysis.DBGrid5.source(), &form->DataSource6);
    EXPECT_EQ(form->foodAnalysis.DBGrid5.columns()[0].fieldName, "L1");
}

TEST_F(RecallTest, NothingIsWrittenForNoSubjectOrAFoodNoLongerInTheTable) {
    const auto before = all();
    form->DBF6.last();  // food 3, gone
    click(Button22Click);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find("code 3"), std::string::npos);
    DataContent c = content();
    c.subjects.clear();
    open(c);
    click(Button22Click);
    click(ADDRECEPClick);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(dialogs.messages[0].find("Choose a subject"), std::string::npos);
    EXPECT_EQ(all(), before);
}

TEST_F(RecallTest, ARecipeIsAddedPer100GramsWithAmount0) {
    form->DBF3.first();
    click(ADDRECEPClick);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.back();
    EXPECT_EQ(all().back(), "1|7|4|Soup|0|0|11/7/9|8.4|");
    EXPECT_FALSE(form->Query2.isOpen());
    form->DBF3.last();  // a recipe without contents: added without nutrients
    click(ADDRECEPClick);
    EXPECT_EQ(all().back(), "1|7|5|Tea|0|0|11/7/9|-|");
}

TEST_F(RecallTest, TheViewsOfTheRecallGrid) {
    form->DBF9.last();  // Reza
    click(Button11Click);
    EXPECT_EQ(form->DBF8.filter(), "R1 = 8");
    EXPECT_TRUE(form->DBF8.isEmpty());
    form->DBF9.first();  // Sara
    click(UpDateButtonClick);
    EXPECT_EQ(form->DBF8.filter(), "R1 = 7 and R6 = '11/7/9'");
    EXPECT_EQ(form->DBF8.recordCount(), 1);
    EXPECT_EQ(all().size(), 2u);  // both entries of no subject and no date purged
    click(DelRecalClick);         // the last entry of the day
    EXPECT_EQ(form->DBF8.filter(), "R1 = 7");
    EXPECT_EQ(form->DBF8.recordCount(), 1);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.back();
}

TEST_F(RecallTest, TheRecipeListByTheChosenMeal) {
    form->foodAnalysis.ComboBox4.setItemIndex(3);
    click(FilterButtonClick);
    EXPECT_EQ(form->DBF3.filter(), "GHAZ2 = 'Snack'");
    EXPECT_EQ(form->DBF3.recordCount(), 1);
    click(UNFILTERButtonClick);
    EXPECT_EQ(form->DBF3.recordCount(), 2);
}

TEST_F(RecallTest, ACodeSearchTakesOnlyANumber) {
    form->foodAnalysis.Food_Code.setText(" 2 ");
    click(BitBtn2Click);
    EXPECT_EQ(form->Query1.sql().back(), "WHERE N1 = 2");
    EXPECT_EQ(form->Query1.recordCount(), 1);
    form->foodAnalysis.Food_Code.setText("2 OR N1>0");
    click(BitBtn2Click);
    EXPECT_EQ(dialogs.errors, Lines{"'2 OR N1>0' is not a valid integer value"});
}

}  // namespace
}  // namespace analysis

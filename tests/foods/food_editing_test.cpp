// The "Edit Food Database" tab: loading a food's amounts, finding one by code, adding and
// deleting foods, and Save with its question and its checks.
#include "foods/food_editing.h"

#include <gtest/gtest.h>

#include "foods_fixture.h"

namespace foods::testing {
namespace {

using Lines = std::vector<std::string>;

class FoodEditingTest : public FoodsTest {
  protected:
    core::StringGrid& amounts() { return form->editFoodDatabase.StringGrid3; }
    // Stands FOODS on the food, as a click on its row does, and loads it.
    void load(long long code) {
        form->DBF2.first();
        ASSERT_TRUE(form->DBF2.locate("N1", dbf::Value::integer(code)));
        click(DBGrid8DblClick);
    }
    dbf::Value stored(long long code, const char* column) {
        form->DBF2.first();
        EXPECT_TRUE(form->DBF2.locate("N1", dbf::Value::integer(code)));
        return form->DBF2.value(column);
    }
};

TEST_F(FoodEditingTest, ADoubleClickLoadsTheFoodsAmountsAndTitles) {
    load(3);
    EXPECT_EQ(form->state.editedFoodCode, 3);
    EXPECT_EQ(amounts().cell(1, 1), "55.2");
    EXPECT_EQ(amounts().cell(1, 4), "0.5");
    EXPECT_EQ(amounts().cell(3, 14), "");  // N50 empty
    EXPECT_EQ(amounts().cell(4, 0), "NUTRIENTS");
    EXPECT_EQ(amounts().cell(5, 0), "in 100 gr.");
}

TEST_F(FoodEditingTest, SaveWritesTheTypedAmountsAndLeavesBlankCellsAlone) {
    load(1);
    amounts().setCell(1, 1, " 12.5 ");  // N8
    amounts().setCell(3, 14, "");       // N50 stays empty
    amounts().setCell(7, 26, "3");      // N120
    dialogs.answers = {true};
    click(BitBtn3Click);
    EXPECT_EQ(dialogs.questions, Lines{" آيا از ذخيره اطلاعات غذايي مطمئن هستيد؟ (Y/N) "});
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.back();
    EXPECT_EQ(stored(1, "N8").asFloat(), 12.5);
    EXPECT_EQ(stored(1, "N9").asFloat(), 52);
    EXPECT_TRUE(stored(1, "N50").isNull());
    EXPECT_EQ(stored(1, "N120").asFloat(), 3);
    EXPECT_EQ(statement()[2], "WHERE N1>0 ");  // the listing is read again
}

TEST_F(FoodEditingTest, NoRestoresTheStoredAmounts) {
    load(1);
    amounts().setCell(1, 1, "7");
    dialogs.answers = {false};
    click(BitBtn3Click);
    EXPECT_EQ(amounts().cell(1, 1), "85.6");
    EXPECT_EQ(stored(1, "N8").asFloat(), 85.6);
}

TEST_F(FoodEditingTest, ACellThatIsNoNumberStopsSaveBeforeAnythingIsWritten) {
    load(1);
    amounts().setCell(1, 1, "20");     // before the bad cell
    amounts().setCell(1, 3, "12,5g");  // N10
    dialogs.answers = {true};
    click(BitBtn3Click);
    EXPECT_EQ(dialogs.errors, Lines{"'12,5g' is not a valid floating point value (Nutrient 3)"});
    EXPECT_EQ(form->DBF2.state(), dbf::Table::State::Browse);
    EXPECT_EQ(stored(1, "N8").asFloat(), 85.6);  // nothing was written, nothing is pending
    EXPECT_EQ(amounts().cell(1, 3), "12,5g");    // the grid as typed, to be corrected
}

TEST_F(FoodEditingTest, AnAmountTheFieldCannotHoldLeavesNothingWrittenOrPending) {
    load(1);
    amounts().setCell(1, 1, "20");
    amounts().setCell(1, 2, "10000000");  // N9 is N(10,3)
    dialogs.answers = {true};
    click(BitBtn3Click);
    EXPECT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(form->DBF2.state(), dbf::Table::State::Browse);
    EXPECT_EQ(stored(1, "N8").asFloat(), 85.6);
}

TEST_F(FoodEditingTest, SearchByCodeLoadsTheFoodOrSaysWhy) {
    const struct {
        const char* text;
        long long edited;
        const char* message;
        const char* edit;
    } cases[] = {
        {"2", 2, nullptr, "2"},
        {"abc", 0, "لطفا يک عدد وارد کنيد", "abc"},  // the text stays
        {"0", 0, "لطفا يک عدد وارد کنيد", "0"},
        {"77", 0, "!!کد غذا پيدا نشد", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        form->state.editedFoodCode = 0;
        dialogs.messages.clear();
        form->editFoodDatabase.Edit1.setText(c.text);
        click(FindFoodClick);
        EXPECT_EQ(form->state.editedFoodCode, c.edited);
        EXPECT_EQ(dialogs.messages, c.message ? Lines{c.message} : Lines{});
        EXPECT_EQ(form->editFoodDatabase.Edit1.text(), c.edit);
    }
    EXPECT_EQ(amounts().cell(1, 1), "36");  // Bread's N8
}

TEST_F(FoodEditingTest, ANewFoodTakesTheNextFreeCode) {
    click(Button12Click);  // the last row's code is 5
    EXPECT_EQ(form->state.editedFoodCode, 6);
    EXPECT_EQ(form->DBF2.recordCount(), 6);
    EXPECT_EQ(amounts().cell(1, 1), " ");
    EXPECT_EQ(amounts().cell(7, 26), " ");
    EXPECT_EQ(codes().back(), 6);  // the listing shows it
    amounts().setCell(1, 1, "12.5");
    dialogs.answers = {true};
    click(BitBtn3Click);
    EXPECT_EQ(stored(6, "N8").asFloat(), 12.5);

    // A user typed a code out of order: the last row's code + 1 is taken.
    form->DBF2.last();
    form->DBF2.edit();
    form->DBF2.setValue("N1", dbf::Value::integer(2));
    form->DBF2.post();
    click(Button12Click);
    EXPECT_EQ(form->state.editedFoodCode, 6);  // 3 is taken, 5 is the highest
}

TEST_F(FoodEditingTest, ANewFoodInAnEmptyTableGetsCode1) {
    DataContent empty = catalogue();
    empty.foods.clear();
    startOn(empty);
    click(Button12Click);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.back();
    EXPECT_EQ(stored(1, "N1").asInteger(), 1);
}

TEST_F(FoodEditingTest, DeleteRemovesTheCurrentFoodAndLoadsTheNext) {
    load(2);
    click(Button13Click);
    EXPECT_EQ(form->DBF2.recordCount(), 4);
    EXPECT_EQ(form->state.editedFoodCode, form->DBF2.value("N1").asInteger());
    EXPECT_EQ(codes(), (std::vector<long long>{1, 3, 5}));
}

}  // namespace
}  // namespace foods::testing

// The short list of favourite foods: added from two tabs once each, removed after asking.
#include "foods/short_list.h"

#include <gtest/gtest.h>

#include "foods/food_search.h"
#include "foods_fixture.h"

namespace foods::testing {
namespace {

using Lines = std::vector<std::string>;

class ShortListTest : public FoodsTest {
  protected:
    // (L1, L2 in UTF-8, L3) of every row of LIST.DBF.
    std::vector<std::tuple<long long, std::string, long long>> list() {
        std::vector<std::tuple<long long, std::string, long long>> rows;
        dbf::Table& t = form->DBF6;
        for (t.first(); !t.eof(); t.next())
            rows.emplace_back(t.value("L1").asInteger(), dbf::cp1256::toUtf8(t.value("L2").bytes()),
                              t.value("L3").isNull() ? -1 : t.value("L3").asInteger());
        return rows;
    }
};

TEST_F(ShortListTest, FoodsAreAddedOnceFromEitherTab) {
    // From "Edit Food Database": the current food, its name trimmed, the meal + 1.
    form->DBF2.first();
    form->DBF2.locate("N1", dbf::Value::integer(3));
    form->editFoodDatabase.ComboBox3.setItemIndex(2);
    click(AddSnacksClick);
    // From "Food Processor": the current food of the result grid, without a meal.
    click(Button3Click);
    form->Query1.next();  // Bread
    form->foodProcessor.ComboBox1.setItemIndex(-1);
    click(Button5Click);
    ASSERT_EQ(list().size(), 3u);
    EXPECT_EQ(list()[1], std::make_tuple(3LL, std::string("پنير فتا"), 3LL));
    EXPECT_EQ(std::get<0>(list()[2]), 2);
    EXPECT_EQ(std::get<2>(list()[2]), 0);
    EXPECT_TRUE(dialogs.messages.empty());

    form->DBF6.setFilter("L3 = 9");  // a filter does not hide a food already there
    form->DBF6.setFiltered(true);
    click(Button5Click);
    click(AddSnacksClick);
    EXPECT_EQ(dialogs.messages, (Lines{" This food is doublicated !!!. Select another food",
                                       " This food is doublicated !!!. Select another food"}));
    EXPECT_EQ(list().size(), 3u);
}

TEST_F(ShortListTest, AFoodWithoutAFarsiNameIsNotAdded) {
    DataContent c = catalogue();
    c.foods.push_back({I(8), S("Nameless"), Null()});
    startOn(c);
    form->DBF2.last();
    click(AddSnacksClick);
    EXPECT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(list().size(), 1u);
}

TEST_F(ShortListTest, DeleteAsksFirst) {
    click(ListDelClick);  // No
    EXPECT_EQ(dialogs.questions, Lines{" Are You Sure!!?? (Y/N) "});
    EXPECT_EQ(list().size(), 1u);
    dialogs.answers = {true};
    click(ListDelClick);
    EXPECT_TRUE(list().empty());
}

}  // namespace
}  // namespace foods::testing

#pragma once
// The food catalogue's fixture: a started main form over five foods with a few amounts,
// a recipe of two of them, and helpers to read Query1.
#include <string>
#include <vector>

#include "core/app_fixture.h"
#include "core/main_form.h"
#include "core/run_handler.h"
#include "dbf/codepage1256.h"

namespace foods::testing {

using core::testing::DataContent;
using core::testing::F;
using core::testing::I;
using core::testing::Null;
using core::testing::S;

// A food row: code, English and Farsi name (UTF-8, stored in code page 1256), then the
// amounts of N8, N9, ... as given (null for the rest).
inline dbf::testing::Row food(int code, const std::string& english, const std::string& farsi,
                              std::vector<dbf::Value> amounts = {}) {
    dbf::testing::Row row = {I(code), S(english), S(dbf::cp1256::fromUtf8(farsi))};
    row.insert(row.end(), amounts.begin(), amounts.end());
    return row;
}

// Five foods (one with code 0, which listings leave out) and recipe 4 of foods 1 and 3.
inline DataContent catalogue() {
    DataContent c;
    c.foods = {food(1, "Apple, raw", "سيب", {F(85.6), F(52)}),
               food(2, "Bread, white", "نان سفيد", {F(36), F(266)}),
               food(3, "Cheese, feta", "پنير فتا", {F(55.2), F(264), Null(), F(0.5)}),
               food(0, "Placeholder", "x", {F(99), F(999)}),
               food(5, "Milk \"whole\"", "شير", {F(88), Null()})};
    c.recipes = {{I(4), S("Lunch"), S("Salad"), core::testing::M("")}};
    c.contents = {{I(4), I(1), S("sib"), F(100)}, {I(4), I(3), S("panir"), F(30)}};
    return c;
}

class FoodsTest : public core::testing::AppTest {
  protected:
    void SetUp() override { startOn(catalogue()); }
    // The N1 codes of Query1's rows, in order.
    std::vector<long long> codes() {
        std::vector<long long> out;
        const int n1 = form->Query1.fieldIndex("N1");
        for (std::int64_t r = 0; r < form->Query1.recordCount(); ++r)
            out.push_back(form->Query1.peek(static_cast<std::size_t>(r), n1).asInteger());
        return out;
    }
    std::vector<std::string> statement() { return form->Query1.sql(); }
    // Chooses a nutrient in StringGrid1 as a click on its cell does.
    void chooseNutrient(int col, int row) {
        form->foodProcessor.StringGrid1.setCurrentCell(col, row);
    }
};

}  // namespace foods::testing

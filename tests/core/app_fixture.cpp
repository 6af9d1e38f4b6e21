#include "app_fixture.h"

#include "core/run_handler.h"
#include "core/startup.h"

namespace core::testing {
namespace {

using dbf::NewField;

std::vector<NewField> withNutrients(std::vector<NewField> fields, int last = 120) {
    for (int k = 8; k <= last; ++k) fields.push_back({"N" + std::to_string(k), 'N', 10, 3});
    return fields;
}

}  // namespace

void writeDataDirectory(const std::filesystem::path& dir, const DataContent& c) {
    using dbf::testing::makeTable;
    std::filesystem::create_directories(dir);
    std::vector<Row> nutrients;
    for (int n = 1; n <= c.nutrientRows; ++n)
        nutrients.push_back(
            {S("N" + std::to_string(n + 7)), S("  " + nutrientName(n) + " "), S("g")});
    makeTable(dir, "NUTRIENTS.DBF", {{"N6", 'C', 6}, {"AN5", 'C', 40}, {"AN3", 'C', 10}},
              nutrients);
    makeTable(dir, "FOODS.DBF", withNutrients({{"N1", 'N', 6}, {"N2", 'C', 30}, {"N3", 'C', 30}}),
              c.foods);
    makeTable(dir, "RECIPE.DBF",
              {{"GHAZ1", 'N', 6}, {"GHAZ2", 'C', 10}, {"GHAZ3", 'C', 30}, {"GHAZ5", 'M'}},
              c.recipes);
    makeTable(dir, "CONTENTS.DBF",
              {{"CON1", 'N', 6}, {"CON2", 'N', 6}, {"CON3", 'C', 30}, {"CON4", 'N', 8, 2}},
              c.contents);
    makeTable(dir, "WEEKLY.DBF", {{"W1", 'N', 6}, {"W2", 'C', 30}}, c.weekly);
    makeTable(dir, "LIST.DBF", {{"L1", 'N', 6}, {"L2", 'C', 30}, {"L3", 'N', 2}}, c.list);
    makeTable(dir, "KORAM.DBF",
              withNutrients({{"D1", 'N', 6},
                             {"D2", 'N', 2},
                             {"D3", 'N', 2},
                             {"D4", 'N', 2},
                             {"D5", 'N', 6},
                             {"D6", 'C', 30},
                             {"D7", 'N', 8, 2},
                             {"D8", 'M'}}),
              c.koram);
    makeTable(dir, "RECAL.DBF",
              withNutrients({{"R", 'N', 2},
                             {"R1", 'N', 6},
                             {"R2", 'N', 6},
                             {"R3", 'C', 30},
                             {"R4", 'N', 8, 2},
                             {"R5", 'N', 2},
                             {"R6", 'C', 10}}),
              c.recall);
    makeTable(dir, "SUBJECTS.DBF",
              {{"SU1", 'N', 6},
               {"SU2", 'C', 30},
               {"SU3", 'N', 4},
               {"SU4", 'N', 4},
               {"SU5", 'N', 4},
               {"SU6", 'N', 1},
               {"SU7", 'D'},
               {"SU8", 'N', 8, 1},
               {"SU9", 'N', 5, 1},
               {"SU10", 'N', 5, 1},
               {"SU11", 'N', 5, 1}},
              c.subjects);
}

void AppTest::replaceDataDirectory(const DataContent& content) {
    form.reset();
    std::filesystem::remove_all(app() / "data");
    writeDataDirectory(app() / "data", content);
}

MainForm& AppTest::start() {
    MainForm& f = makeForm();
    runHandler(f, Form1create);
    return f;
}

}  // namespace core::testing

#include "table_layouts.h"

#include "errors.h"
#include "nutrient_map.h"

namespace mkdata {
namespace {

dbf::NewField code(const std::string& name) { return {name, 'N', 8, 0}; }
dbf::NewField small(const std::string& name) { return {name, 'N', 2, 0}; }
dbf::NewField text(const std::string& name, int width) { return {name, 'C', width, 0}; }
dbf::NewField number(const std::string& name, int width, int decimals) {
    return {name, 'N', width, decimals};
}
dbf::NewField memo(const std::string& name) { return {name, 'M', 0, 0}; }
// Grams of a food in a recipe, an item amount, grams eaten: fractions of a gram for spices.
dbf::NewField grams(const std::string& name) { return number(name, 10, 3); }

void addNutrients(std::vector<dbf::NewField>& fields, int width) {
    for (int n = kFirstNutrientColumn; n <= kLastNutrientColumn; ++n)
        fields.push_back(number("N" + std::to_string(n), width, kNutrientDecimals));
}

std::vector<TableLayout> makeLayouts() {
    std::vector<TableLayout> t;
    t.push_back(
        {kNutrientsFile,
         {text("N6", 5), text("AN5", kNutrientNameWidth), text("AN3", kNutrientUnitWidth)}});
    // N4..N7 (source, its food code, food group, scientific name) are for people reading
    // the table; the program neither reads nor writes them.
    TableLayout foods{
        kFoodsFile,
        {code("N1"), text("N2", kEnglishNameWidth), text("N3", kFarsiNameWidth), text("N4", 4),
         text("N5", 5), text("N6", kFoodGroupWidth), text("N7", kScientificNameWidth)}};
    addNutrients(foods.fields, kNutrientWidth);
    t.push_back(std::move(foods));
    t.push_back({kRecipeFile,
                 {code("GHAZ1"), text("GHAZ2", kMealNameWidth), text("GHAZ3", kRecipeNameWidth),
                  memo("GHAZ5")},
                 0xF5});
    t.push_back({kContentsFile,
                 {code("CON1"), code("CON2"), text("CON3", kFarsiNameWidth), grams("CON4")}});
    t.push_back({kWeeklyFile, {code("W1"), text("W2", kPlanNameWidth)}});
    t.push_back({kListFile, {code("L1"), text("L2", kFarsiNameWidth), small("L3")}});
    TableLayout koram{kKoramFile,
                      {code("D1"), small("D2"), small("D3"), small("D4"), code("D5"),
                       text("D6", kFarsiNameWidth), grams("D7"), memo("D8")},
                      0xF5};
    addNutrients(koram.fields, kTotalWidth);
    t.push_back(std::move(koram));
    TableLayout recall{kRecallFile,
                       {small("R"), code("R1"), code("R2"), text("R3", kFarsiNameWidth),
                        grams("R4"), small("R5"), text("R6", kDateTextWidth)}};
    addNutrients(recall.fields, kTotalWidth);
    t.push_back(std::move(recall));
    t.push_back({kSubjectsFile,
                 {code("SU1"),
                  text("SU2", kSubjectNameWidth),
                  number("SU3", 6, 1),
                  number("SU4", 6, 1),
                  number("SU5", 6, 1),
                  number("SU6", 1, 0),
                  {"SU7", 'D', 0, 0},
                  number("SU8", 8, 2),
                  number("SU9", 8, 2),
                  number("SU10", 8, 2),
                  number("SU11", 8, 2)}});
    return t;
}

}  // namespace

const std::vector<TableLayout>& tableLayouts() {
    static const std::vector<TableLayout> layouts = makeLayouts();
    return layouts;
}

const TableLayout& tableLayout(const std::string& fileName) {
    for (const TableLayout& layout : tableLayouts())
        if (layout.fileName == fileName) return layout;
    throw MkdataError("No table " + fileName);
}

std::vector<std::string> dataDirectoryFiles() {
    std::vector<std::string> files;
    for (const TableLayout& layout : tableLayouts()) files.push_back(layout.fileName);
    files.push_back(kRecipeMemoFile);
    files.push_back(kKoramMemoFile);
    files.push_back(kSubjectsIndexFile);
    return files;
}

}  // namespace mkdata

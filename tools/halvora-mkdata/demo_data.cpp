#include "demo_data.h"

#include <cmath>
#include <cstdio>

#include "errors.h"
#include "tsv_file.h"

namespace mkdata {
namespace {

const char* const kMeals[] = {"Breakfast", "Lunch", "Dinner", "Snack"};

int wholeIn(const TsvFile& f, std::size_t r, const char* column, int low, int high) {
    const int v = parseWholeNumber(f.cell(r, column), f.where(r));
    if (v < low || v > high)
        throw MkdataError(f.where(r) + ": " + column + " must be " + std::to_string(low) + " to " +
                          std::to_string(high));
    return v;
}

double positive(const TsvFile& f, std::size_t r, const char* column) {
    const double v = parseNumber(f.cell(r, column), f.where(r));
    if (!(v > 0)) throw MkdataError(f.where(r) + ": " + column + " must be more than 0");
    return v;
}

FoodRef foodRef(const std::string& text, const std::string& where) {
    const std::size_t blank = text.find(' ');
    FoodRef ref{text.substr(0, blank), blank == std::string::npos ? "" : text.substr(blank + 1),
                where};
    if ((ref.source != "USDA" && ref.source != "IFCT") || ref.code.empty())
        throw MkdataError(where + ": '" + text + "' names no food (write \"USDA 01001\")");
    return ref;
}

DemoItem item(const TsvFile& f, std::size_t r) {
    DemoItem item;
    const std::string& text = f.cell(r, "item");
    item.note = f.cell(r, "note");
    if (text.rfind("recipe ", 0) == 0) {
        item.isRecipe = true;
        item.recipe = parseWholeNumber(text.substr(7), f.where(r));
    } else {
        item.food = foodRef(text, f.where(r));
    }
    return item;
}

dbf::CivilDate isoDate(const std::string& text, const std::string& where) {
    int y = 0, m = 0, d = 0;
    char dash1 = 0, dash2 = 0, rest = 0;
    if (std::sscanf(text.c_str(), "%4d%c%2d%c%2d%c", &y, &dash1, &m, &dash2, &d, &rest) != 5 ||
        dash1 != '-' || dash2 != '-' || m < 1 || m > 12 || d < 1 || d > 31 || y < 1900)
        throw MkdataError(where + ": '" + text + "' is no date (write 2024-05-12)");
    return {y, m, d};
}

}  // namespace

DemoData readDemoData(const std::filesystem::path& dir) {
    DemoData demo;
    const TsvFile recipes = TsvFile::read(dir / "recipes.tsv");
    for (std::size_t r = 0; r < recipes.rowCount(); ++r) {
        DemoRecipe recipe{parseWholeNumber(recipes.cell(r, "code"), recipes.where(r)),
                          recipes.cell(r, "meal"), recipes.cell(r, "name"),
                          recipes.cell(r, "description")};
        bool known = false;
        for (const char* meal : kMeals) known = known || recipe.meal == meal;
        if (!known)
            throw MkdataError(recipes.where(r) +
                              ": the meal must be Breakfast, Lunch, Dinner "
                              "or Snack");
        if (recipe.code != static_cast<int>(r) + 1)
            throw MkdataError(recipes.where(r) + ": recipes are numbered 1, 2, 3, ... in order");
        demo.recipes.push_back(std::move(recipe));
    }
    const TsvFile contents = TsvFile::read(dir / "recipe-contents.tsv");
    for (std::size_t r = 0; r < contents.rowCount(); ++r)
        demo.ingredients.push_back(
            {wholeIn(contents, r, "recipe", 1, static_cast<int>(demo.recipes.size())),
             foodRef(contents.cell(r, "food"), contents.where(r)), positive(contents, r, "grams"),
             contents.cell(r, "english")});

    const TsvFile favourites = TsvFile::read(dir / "favourites.tsv");
    for (std::size_t r = 0; r < favourites.rowCount(); ++r)
        demo.favourites.push_back({foodRef(favourites.cell(r, "food"), favourites.where(r)),
                                   wholeIn(favourites, r, "meal", 1, 4),
                                   favourites.cell(r, "english")});

    const TsvFile subjects = TsvFile::read(dir / "subjects.tsv");
    for (std::size_t r = 0; r < subjects.rowCount(); ++r) {
        DemoSubject s;
        s.code = wholeIn(subjects, r, "code", 1, 99999999);
        s.name = subjects.cell(r, "name");
        s.age = positive(subjects, r, "age");
        s.height = positive(subjects, r, "height");
        s.weight = positive(subjects, r, "weight");
        s.sex = wholeIn(subjects, r, "sex", 0, 1);
        s.date = isoDate(subjects.cell(r, "date"), subjects.where(r));
        s.energy = positive(subjects, r, "energy");
        s.carbohydrateShare = positive(subjects, r, "cho");
        s.proteinShare = positive(subjects, r, "protein");
        s.fatShare = positive(subjects, r, "fat");
        if (std::fabs(s.carbohydrateShare + s.proteinShare + s.fatShare - 100) > 1e-9)
            throw MkdataError(subjects.where(r) + ": the energy shares must add up to 100");
        demo.subjects.push_back(std::move(s));
    }

    const TsvFile recalls = TsvFile::read(dir / "recalls.tsv");
    for (std::size_t r = 0; r < recalls.rowCount(); ++r)
        demo.recalls.push_back({wholeIn(recalls, r, "subject", 1, 99999999),
                                isoDate(recalls.cell(r, "date"), recalls.where(r)),
                                wholeIn(recalls, r, "meal", 1, 4), item(recalls, r),
                                positive(recalls, r, "grams")});

    const TsvFile plans = TsvFile::read(dir / "plans.tsv");
    for (std::size_t r = 0; r < plans.rowCount(); ++r)
        demo.plans.push_back({wholeIn(plans, r, "code", 1, 99999999), plans.cell(r, "name")});

    const TsvFile items = TsvFile::read(dir / "plan-items.tsv");
    for (std::size_t r = 0; r < items.rowCount(); ++r)
        demo.planItems.push_back({wholeIn(items, r, "plan", 1, 99999999),
                                  wholeIn(items, r, "day", 0, 6), wholeIn(items, r, "meal", 0, 3),
                                  item(items, r), positive(items, r, "amount")});
    return demo;
}

}  // namespace mkdata

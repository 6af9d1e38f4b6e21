#include "demo_writer.h"

#include <map>
#include <set>
#include <utility>

#include "cp1256_text.h"
#include "errors.h"
#include "recipe_totals.h"
#include "table_layouts.h"
#include "table_writer.h"

namespace mkdata {
namespace {

class FoodIndex {
  public:
    explicit FoodIndex(const std::vector<Food>& foods) {
        for (std::size_t i = 0; i < foods.size(); ++i)
            m_index[{foods[i].source, foods[i].code}] = {&foods[i], static_cast<int>(i) + 1};
    }
    // The food and its code N1; checks the English name the demo gives for it.
    std::pair<const Food*, int> find(const FoodRef& ref, const std::string& english) const {
        const auto found = m_index.find({ref.source, ref.code});
        if (found == m_index.end())
            throw MkdataError(ref.where + ": the database has no food " + ref.source + " " +
                              ref.code);
        if (found->second.first->english != english)
            throw MkdataError(ref.where + ": " + ref.source + " " + ref.code + " is '" +
                              found->second.first->english + "', not '" + english + "'");
        return found->second;
    }

  private:
    std::map<std::pair<std::string, std::string>, std::pair<const Food*, int>> m_index;
};

void setValues(TableWriter& table, const NutrientValues& values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string column = "N" + std::to_string(kFirstNutrientColumn + i);
        table.set(column, values[i] ? dbf::Value::real(*values[i]) : dbf::Value::null());
    }
}

double dateValue(const dbf::CivilDate& d) { return dbf::daysFromCivil(d.year, d.month, d.day); }

// The program's short date format "yy/m/d" (two-digit year), as the working date label shows it
// and recall rows store it.
std::string shortDate(const dbf::CivilDate& d) {
    const int yy = d.year % 100;
    return (yy < 10 ? "0" : "") + std::to_string(yy) + "/" + std::to_string(d.month) + "/" +
           std::to_string(d.day);
}

// What a recall row or plan item refers to, resolved against foods, recipes and favourites.
struct ResolvedItem {
    int kind = 0;  // 1 recipe, 2 food
    int code = 0;
    std::string name;         // UTF-8: the food's Farsi name or the recipe's name
    NutrientValues per100g;   // a food's values, or the recipe's per 100 g
    NutrientValues asPlaced;  // a food's values, or the recipe's totals
    std::string description;  // the recipe's description, " " for a food
};

class Resolver {
  public:
    Resolver(const std::vector<Food>& foods, const DemoData& demo) : m_foods(foods), m_demo(demo) {
        m_recipes.resize(demo.recipes.size());
        for (const DemoIngredient& in : demo.ingredients)
            m_recipes[static_cast<std::size_t>(in.recipe - 1)].push_back(
                {m_foods.find(in.food, in.english).first, in.grams});
        for (std::size_t r = 0; r < m_recipes.size(); ++r)
            if (m_recipes[r].empty())
                throw MkdataError("Demo recipe " + std::to_string(r + 1) + " has no foods");
        for (const DemoFavourite& f : demo.favourites)
            m_favourites.insert(f.food.source + " " + f.food.code);
    }

    const FoodIndex& foods() const { return m_foods; }
    const std::vector<Ingredient>& ingredients(int recipe) const {
        return m_recipes[static_cast<std::size_t>(recipe - 1)];
    }

    ResolvedItem resolve(const DemoItem& item, const std::string& where) const {
        ResolvedItem out;
        if (item.isRecipe) {
            if (item.recipe < 1 || item.recipe > static_cast<int>(m_demo.recipes.size()))
                throw MkdataError(where + ": there is no demo recipe " +
                                  std::to_string(item.recipe));
            const DemoRecipe& recipe = m_demo.recipes[static_cast<std::size_t>(item.recipe - 1)];
            if (recipe.name != item.note)
                throw MkdataError(where + ": recipe " + std::to_string(item.recipe) + " is '" +
                                  recipe.name + "', not '" + item.note + "'");
            out = {1,
                   recipe.code,
                   trimmed(recipe.name),
                   recipePer100g(ingredients(recipe.code)),
                   recipeTotals(ingredients(recipe.code)),
                   recipe.description};
        } else {
            // The program adds foods to recalls and plans from the favourites list only.
            if (!m_favourites.count(item.food.source + " " + item.food.code))
                throw MkdataError(where + ": " + item.food.source + " " + item.food.code +
                                  " is not in favourites.tsv");
            const auto [food, code] = m_foods.find(item.food, item.note);
            out = {2, code, trimmed(food->farsi), food->values, food->values, " "};
        }
        return out;
    }

  private:
    FoodIndex m_foods;
    const DemoData& m_demo;
    std::vector<std::vector<Ingredient>> m_recipes;
    std::set<std::string> m_favourites;
};

void writeRecipes(const std::filesystem::path& dir, const Resolver& resolver,
                  const DemoData& demo) {
    TableWriter recipes(dir / kRecipeFile);
    for (const DemoRecipe& r : demo.recipes) {
        recipes.begin("recipe " + std::to_string(r.code));
        recipes.setNumber("GHAZ1", r.code);
        recipes.setText("GHAZ2", r.meal);
        recipes.setText("GHAZ3", r.name);
        recipes.setText("GHAZ5", r.description);
        recipes.end();
    }
    recipes.flush();

    TableWriter contents(dir / kContentsFile);
    for (const DemoIngredient& in : demo.ingredients) {
        const auto [food, code] = resolver.foods().find(in.food, in.english);
        contents.begin("recipe " + std::to_string(in.recipe) + ", food " + food->label());
        contents.setNumber("CON1", in.recipe);
        contents.setNumber("CON2", code);
        contents.setText("CON3", food->farsi);
        contents.setNumber("CON4", in.grams);
        contents.end();
    }
    contents.flush();
}

void writeFavourites(const std::filesystem::path& dir, const Resolver& resolver,
                     const DemoData& demo) {
    TableWriter list(dir / kListFile);
    std::set<int> listed;
    for (const DemoFavourite& f : demo.favourites) {
        const auto [food, code] = resolver.foods().find(f.food, f.english);
        if (!listed.insert(code).second)
            throw MkdataError(f.food.where + ": " + food->label() + " is listed twice");
        list.begin("food " + food->label());
        list.setNumber("L1", code);
        list.setText("L2", trimmed(food->farsi));
        list.setNumber("L3", f.meal);
        list.end();
    }
    list.flush();
}

void writeSubjects(const std::filesystem::path& dir, const DemoData& demo) {
    TableWriter subjects(dir / kSubjectsFile);
    for (const DemoSubject& s : demo.subjects) {
        subjects.begin("subject " + std::to_string(s.code));
        subjects.setNumber("SU1", s.code);
        subjects.setText("SU2", s.name);
        subjects.setNumber("SU3", s.age);
        subjects.setNumber("SU4", s.height);
        subjects.setNumber("SU5", s.weight);
        subjects.setNumber("SU6", s.sex);
        subjects.set("SU7", dbf::Value::date(dateValue(s.date)));
        subjects.setNumber("SU8", s.energy);
        subjects.setNumber("SU9", s.carbohydrateShare);
        subjects.setNumber("SU10", s.proteinShare);
        subjects.setNumber("SU11", s.fatShare);
        subjects.end();
    }
    subjects.flush();
}

void writeRecalls(const std::filesystem::path& dir, const Resolver& resolver,
                  const DemoData& demo) {
    std::set<int> subjects;
    for (const DemoSubject& s : demo.subjects) subjects.insert(s.code);
    TableWriter recall(dir / kRecallFile);
    int row = 0;
    for (const DemoRecall& r : demo.recalls) {
        const std::string where = "recalls.tsv row " + std::to_string(++row);
        if (!subjects.count(r.subject))
            throw MkdataError(where + ": there is no demo subject " + std::to_string(r.subject));
        const ResolvedItem item = resolver.resolve(r.item, where);
        recall.begin(where);
        recall.setNumber("R", item.kind);
        recall.setNumber("R1", r.subject);
        recall.setNumber("R2", item.code);
        recall.setText("R3", item.name);
        recall.setNumber("R4", r.grams);
        recall.setNumber("R5", r.meal);
        recall.setText("R6", shortDate(r.date));
        setValues(recall, item.per100g);
        recall.end();
    }
    recall.flush();
}

void writePlans(const std::filesystem::path& dir, const Resolver& resolver, const DemoData& demo) {
    TableWriter weekly(dir / kWeeklyFile);
    std::set<int> plans;
    for (const DemoPlan& p : demo.plans) {
        plans.insert(p.code);
        weekly.begin("plan " + std::to_string(p.code));
        weekly.setNumber("W1", p.code);
        weekly.setText("W2", p.name);
        weekly.end();
    }
    weekly.flush();

    TableWriter koram(dir / kKoramFile);
    int row = 0;
    for (const DemoPlanItem& p : demo.planItems) {
        const std::string where = "plan-items.tsv row " + std::to_string(++row);
        if (!plans.count(p.plan))
            throw MkdataError(where + ": there is no demo plan " + std::to_string(p.plan));
        const ResolvedItem item = resolver.resolve(p.item, where);
        koram.begin(where);
        koram.setNumber("D1", p.plan);
        koram.setNumber("D2", p.day);
        koram.setNumber("D3", p.meal);
        koram.setNumber("D4", item.kind);
        koram.setNumber("D5", item.code);
        koram.setText("D6", item.name);
        koram.setNumber("D7", p.amount);
        koram.setText("D8", item.description);
        setValues(koram, item.asPlaced);
        koram.end();
    }
    koram.flush();
}

}  // namespace

void writeDemo(const std::filesystem::path& outDir, const std::vector<Food>& foods,
               const DemoData& demo) {
    const Resolver resolver(foods, demo);
    writeRecipes(outDir, resolver, demo);
    writeFavourites(outDir, resolver, demo);
    writeSubjects(outDir, demo);
    writeRecalls(outDir, resolver, demo);
    writePlans(outDir, resolver, demo);
}

}  // namespace mkdata

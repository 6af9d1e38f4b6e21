// Deterministic generation of the benchmark's foods, recipe contents and recalls.
#include <array>
#include <cmath>
#include <stdexcept>

#include "bench_data.h"
#include "food_names.h"
#include "random.h"

namespace bench {
namespace {

constexpr std::uint64_t kSeed = 20240917;
constexpr int kRangeColumn = 45;  // the column of the range search and the ranking

// Typical amounts per 100 g: energy, macronutrients, then minerals and vitamins in
// their units; the pattern repeats over the 113 columns.
constexpr std::array<double, 12> kScales{900, 90, 100, 80, 30, 2000, 500, 50, 10, 5, 1000, 200};

double cents(double v) { return std::round(v * 100.0) / 100.0; }

void fillNutrient(NumberColumn& col, int columnNumber, const std::vector<std::int32_t>& groups,
                  Random& rnd) {
    const std::size_t n = groups.size();
    col.values.assign(n, 0.0);
    col.nulls.assign(n, 0);
    const double scale = kScales[static_cast<std::size_t>(columnNumber) % kScales.size()];
    // Foods of one group resemble each other: a factor per group and column.
    std::array<double, 13> factor{};
    Random g(kSeed ^ static_cast<std::uint64_t>(columnNumber * 131));
    for (double& x : factor) x = 0.3 + 1.4 * g.uniform();
    for (std::size_t i = 0; i < n; ++i) {
        if (rnd.below(10) == 0) {  // one amount in ten is unknown
            col.nulls[i] = 1;
            continue;
        }
        double v;
        if (columnNumber == kRangeColumn) {
            v = 60.0 * rnd.uniform();  // so that a band of 2 holds a few percent of the foods
        } else {
            const double u = rnd.uniform();
            v = scale * factor[static_cast<std::size_t>(groups[i])] * u * u;
        }
        col.values[i] = cents(v);
    }
}

FoodsData generateFoods(std::size_t n) {
    FoodsData f;
    f.code.resize(n);
    f.nameEn.resize(n);
    f.nameFa.resize(n);
    f.group.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        FoodName name = foodName(i);
        if (name.english.size() > 80 || name.farsi.size() > 60)
            throw std::logic_error("generated name too long: " + name.english);
        f.code[i] = static_cast<std::int32_t>(i + 1);
        f.nameEn[i] = std::move(name.english);
        f.nameFa[i] = std::move(name.farsi);
        f.group[i] = name.group;
    }
    Random rnd(kSeed);
    f.nutrients.resize(kNutrientCount);
    for (int k = kFirstNutrient; k <= kLastNutrient; ++k)
        fillNutrient(f.nutrients[static_cast<std::size_t>(k - kFirstNutrient)], k, f.group, rnd);
    return f;
}

ContentsData generateContents(const FoodsData& foods) {
    ContentsData c;
    Random rnd(kSeed + 1);
    int recipe = 0;
    while (c.size() < kContentsRows) {
        ++recipe;
        const std::uint64_t items = 3 + rnd.below(15);  // ten on average
        for (std::uint64_t j = 0; j < items && c.size() < kContentsRows; ++j) {
            const std::size_t food = rnd.below(foods.size());
            c.recipe.push_back(recipe);
            c.food.push_back(foods.code[food]);
            c.name.push_back(foods.nameFa[food]);
            // A food just added weighs 1 g until the user types its weight.
            c.weight.push_back(rnd.below(10) == 0 ? 1.0
                                                  : 5.0 + static_cast<double>(rnd.below(496)));
        }
    }
    c.recipeCount = recipe;
    return c;
}

RecallData generateRecall(const FoodsData& foods, const ContentsData& contents) {
    RecallData r;
    r.subjectCount = 5000;
    r.nutrients.resize(kNutrientCount);
    Random rnd(kSeed + 2);
    std::vector<std::size_t> source;  // the food whose amounts each row copies
    while (r.size() < kRecallRows) {
        // One visit: a subject's items of one day, entered together.
        const auto subject =
            static_cast<std::int32_t>(1 + rnd.below(static_cast<std::uint64_t>(r.subjectCount)));
        const std::string date = std::to_string(20 + rnd.below(5)) + "/" +
                                 std::to_string(1 + rnd.below(12)) + "/" +
                                 std::to_string(1 + rnd.below(28));
        const std::uint64_t items = 5 + rnd.below(36);
        for (std::uint64_t j = 0; j < items && r.size() < kRecallRows; ++j) {
            const std::size_t food = rnd.below(foods.size());
            const bool isRecipe = rnd.below(10) == 0;
            r.kind.push_back(isRecipe ? 1 : 2);
            r.subject.push_back(subject);
            r.item.push_back(
                isRecipe ? static_cast<std::int32_t>(
                               1 + rnd.below(static_cast<std::uint64_t>(contents.recipeCount)))
                         : foods.code[food]);
            r.name.push_back(foods.nameFa[food]);
            const bool noAmount = rnd.below(50) == 0;  // a food added but not yet weighed
            r.amount.values.push_back(noAmount ? 0.0 : 5.0 + static_cast<double>(rnd.below(396)));
            r.amount.nulls.push_back(noAmount ? 1 : 0);
            r.meal.push_back(static_cast<std::int32_t>(1 + rnd.below(4)));
            r.date.push_back(date);
            source.push_back(food);
        }
    }
    for (std::size_t k = 0; k < r.nutrients.size(); ++k) {
        auto& dst = r.nutrients[k];
        const auto& src = foods.nutrients[k];
        dst.values.resize(r.size());
        dst.nulls.resize(r.size());
        for (std::size_t i = 0; i < r.size(); ++i) {
            dst.values[i] = src.values[source[i]];
            dst.nulls[i] = src.nulls[source[i]];
        }
    }
    return r;
}

}  // namespace

BenchData generate(std::size_t foodCount) {
    BenchData d;
    d.foods = generateFoods(foodCount);
    d.contents = generateContents(d.foods);
    d.recall = generateRecall(d.foods, d.contents);
    return d;
}

}  // namespace bench

#include "recipe_totals.h"

namespace mkdata {

NutrientValues recipeTotals(const std::vector<Ingredient>& ingredients) {
    NutrientValues totals(kNutrientCount);
    for (const Ingredient& ingredient : ingredients)
        for (std::size_t i = 0; i < totals.size(); ++i)
            if (const auto v = ingredient.food->values[i])
                totals[i] = totals[i].value_or(0) + *v * ingredient.grams * 0.01;
    return totals;
}

NutrientValues recipePer100g(const std::vector<Ingredient>& ingredients) {
    double weight = 0;
    for (const Ingredient& ingredient : ingredients) weight += ingredient.grams;
    if (!(weight > 0)) return NutrientValues(kNutrientCount);  // no weight, no value per 100 g
    NutrientValues values = recipeTotals(ingredients);
    for (auto& v : values)
        if (v) *v /= weight / 100;
    return values;
}

}  // namespace mkdata

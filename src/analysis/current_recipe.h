#pragma once
// What the recipe operations share: the current recipe, the weight of the recipe the
// contents show, and what the user is told when either is missing.
#include <cstdint>
#include <optional>

namespace core {
class MainForm;
}
namespace dbf {
class DataSet;
}

namespace analysis {

inline constexpr const char* kNoRecipeMessage =
    "Choose a recipe first: the recipe list has no current recipe.";
inline constexpr const char* kNoFoodMessage =
    "Choose a food first: the food list has no current food.";
inline constexpr const char* kZeroWeightMessage =
    "The weights of the recipe's foods add up to 0 g: type the weight of each food in grams "
    "first.";

// The code of the current recipe, or nothing when the recipe list shows none.
std::optional<std::int64_t> currentRecipe(core::MainForm& form);

// The weight of the rows the contents show: the sum of their CON4, whether one of them has
// no weight, and whether there is any row. The cursor does not move.
struct RecipeWeight {
    double grams = 0;
    bool missing = false;
    bool hasContents = false;
};
RecipeWeight recipeWeight(const dbf::DataSet& contents);

}  // namespace analysis

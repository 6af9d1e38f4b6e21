#include "current_recipe.h"

#include "core/main_form.h"

namespace analysis {

std::optional<std::int64_t> currentRecipe(core::MainForm& form) {
    if (!form.DBF3.isOpen() || form.DBF3.isEmpty()) return std::nullopt;
    const dbf::Value code = form.DBF3.value("GHAZ1");
    if (code.isNull()) return std::nullopt;
    return code.asInteger();
}

RecipeWeight recipeWeight(const dbf::DataSet& contents) {
    RecipeWeight w;
    w.hasContents = !contents.isEmpty();
    const int con4 = contents.fieldIndex("CON4");
    for (std::int64_t r = 0; r < contents.recordCount(); ++r) {
        const dbf::Value weight = contents.peek(static_cast<std::size_t>(r), con4);
        if (weight.isNull()) {
            w.missing = true;
        } else {
            w.grams += weight.asFloat();
        }
    }
    return w;
}

}  // namespace analysis

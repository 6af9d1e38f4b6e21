#pragma once
// What a recipe contains: the amounts of the 113 nutrients in 100 g of the current recipe,
// and what one ingredient brings at its weight, in the nutrient grid StringGrid1.

namespace core {
class MainForm;
}

namespace analysis {

// A click on the recipe analysis picture (Image1): 100 g of the current recipe.
void ANALSISClick(core::MainForm& form);
// Double-click on the contents grid DBGrid1: the current ingredient at its weight.
void EACHFOODClick(core::MainForm& form);

}  // namespace analysis

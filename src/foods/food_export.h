#pragma once
// Text files for colleagues: the current ranking ("Save to Text") and the nutrient profile
// of the ingredient chosen in the recipe contents ("Food Analysis Exp."). Lines in code
// page 1256 ended by CR LF; the file is chosen in a save dialog in the export directory.

namespace core {
class MainForm;
}

namespace foods {

// "Save to Text": one line per food of the ranking with its amount of the nutrient.
void SaveFIleClick(core::MainForm& form);
// "Food Analysis Exp.": the 113 amounts of the ingredient chosen in DBGrid1.
void ExportClick(core::MainForm& form);

}  // namespace foods

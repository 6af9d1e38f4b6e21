#pragma once
// The application state every handler reads: directories, the working date and the
// position of the weekly plans tab. Directories keep the Windows form the program stores
// them in (backslashes, a trailing backslash); nativePath() turns them into a path to open.
#include <cstdint>
#include <string>

namespace core {

struct AppState {
    std::string applicationDirectory;  // the current directory at start-up + "\"
    std::string dataDirectory;         // relative, as stored in Setup.ini, e.g. "DATA\"
    std::string exportDirectory;       // application directory + "EXPORT\"
    double workingDate = 0;            // days since 30 December 1899
    std::int64_t currentPlanCode = 0;
    int currentDayIndex = 0;   // 0 Saturday .. 6 Friday
    int currentMealIndex = 0;  // 0 Breakfast, 1 Lunch, 2 Dinner, 3 After Dinner
    std::string currentDayName;
    // The recipe last shown, analysed or ranked over; the rankings over a recipe use it.
    std::int64_t currentRecipeCode = 0;
    // The food whose amounts the "Edit Food Database" tab shows and saves into.
    std::int64_t editedFoodCode = 0;
    // The unit of the nutrient last exported with "Save to Text", kept for a ranking
    // column the nutrient catalogue does not name.
    std::string rankingUnit;

    // Where every table and query is opened: application directory + data directory.
    std::string tableDirectory() const { return applicationDirectory + dataDirectory; }
};

}  // namespace core

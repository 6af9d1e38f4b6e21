#pragma once
// The nine tables of a data directory: file names as the program opens them, fields in order,
// and physical widths chosen so that every value the program (and this tool) writes fits.
#include <cstdint>
#include <string>
#include <vector>

#include "dbf/dbf_file.h"

namespace mkdata {

// Widths of the texts the tool writes, in code page 1256 bytes. The longest English name of
// the sources has 139 characters; the Farsi names run up to a third longer than the English.
inline constexpr int kEnglishNameWidth = 160;
inline constexpr int kFarsiNameWidth = 200;  // FOODS N3 and every copy of it
inline constexpr int kFoodGroupWidth = 40;
inline constexpr int kScientificNameWidth = 80;
inline constexpr int kNutrientNameWidth = 30;
inline constexpr int kNutrientUnitWidth = 6;
inline constexpr int kMealNameWidth = 20;
inline constexpr int kRecipeNameWidth = 100;
inline constexpr int kPlanNameWidth = 100;
inline constexpr int kSubjectNameWidth = 60;
inline constexpr int kDateTextWidth = 10;  // "yy/m/d"
// Food values per 100 g keep every digit the sources give: IFCT amino and fatty acids come
// with six decimals in grams; the largest value (vitamin A, 100000 IU) needs six digits.
inline constexpr int kNutrientWidth = 14;
inline constexpr int kNutrientDecimals = 6;
// Plan items and recall rows may hold whole-recipe totals: eleven whole digits.
inline constexpr int kTotalWidth = 18;

struct TableLayout {
    std::string fileName;
    std::vector<dbf::NewField> fields;
    std::uint8_t version = 0x03;  // 0xF5 for a table with memo fields (.FPT beside it)
};

// The tables in the order the program opens them (DBF1..DBF9).
const std::vector<TableLayout>& tableLayouts();
const TableLayout& tableLayout(const std::string& fileName);

inline const std::string kNutrientsFile = "nutrients.DBF";
inline const std::string kFoodsFile = "Foods.DBF";
inline const std::string kRecipeFile = "Recipe.DBF";
inline const std::string kContentsFile = "CONTENTS.DBF";
inline const std::string kWeeklyFile = "WEEKLY.DBF";
inline const std::string kListFile = "LIST.DBF";
inline const std::string kKoramFile = "KORAM.DBF";
inline const std::string kRecallFile = "RECAL.DBF";
inline const std::string kSubjectsFile = "SUBJECTS.DBF";
// The structural index of SUBJECTS.DBF and the memo files, as createTable names them.
inline const std::string kSubjectsIndexFile = "SUBJECTS.CDX";
inline const std::string kRecipeMemoFile = "Recipe.FPT";
inline const std::string kKoramMemoFile = "KORAM.FPT";

// Every file a data directory gets, tables first.
std::vector<std::string> dataDirectoryFiles();

}  // namespace mkdata

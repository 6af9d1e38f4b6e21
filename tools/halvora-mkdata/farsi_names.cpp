#include "farsi_names.h"

#include <map>
#include <set>
#include <utility>

#include "cp1256_text.h"
#include "errors.h"
#include "tsv_file.h"

namespace mkdata {

int applyFarsiNames(std::vector<Food>& foods, const std::filesystem::path& tsv) {
    std::map<std::pair<std::string, std::string>, Food*> byCode;
    for (Food& food : foods) byCode[{food.source, food.code}] = &food;

    const TsvFile file = TsvFile::read(tsv);
    std::set<const Food*> named;
    const std::size_t source = file.column("source"), code = file.column("code"),
                      english = file.column("english"), farsi = file.column("farsi");
    for (std::size_t r = 0; r < file.rowCount(); ++r) {
        const auto found = byCode.find({file.cell(r, source), file.cell(r, code)});
        if (found == byCode.end())
            throw MkdataError(file.where(r) + ": the sources have no food " + file.cell(r, source) +
                              " " + file.cell(r, code));
        Food& food = *found->second;
        if (!named.insert(&food).second)
            throw MkdataError(file.where(r) + ": " + food.label() + " is listed twice");
        if (file.cell(r, english) != food.english)
            throw MkdataError(file.where(r) + ": the English name of " + food.label() +
                              " differs from the source's: '" + food.english + "'");
        food.farsi = trimmed(file.cell(r, farsi));
    }
    int missing = 0;
    for (const Food& food : foods)
        if (food.farsi.empty()) ++missing;
    return missing;
}

}  // namespace mkdata

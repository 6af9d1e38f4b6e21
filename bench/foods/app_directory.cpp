#include "app_directory.h"

#include <string>
#include <vector>

#include "dbf/dbf_file.h"
#include "dbf/table.h"

namespace bench {

namespace {

std::vector<dbf::NewField> withNutrients(std::vector<dbf::NewField> fields) {
    for (int k = 8; k <= 120; ++k) fields.push_back({"N" + std::to_string(k), 'N', 10, 3});
    return fields;
}

// Creates the table with these rows (values in field order).
void makeTable(const std::filesystem::path& path, const std::vector<dbf::NewField>& fields,
               const std::vector<std::vector<dbf::Value>>& rows) {
    dbf::createTable(path, fields);
    dbf::Table table;
    table.setDirectory(path.parent_path());
    table.setTableName(path.filename().string());
    table.open();
    for (const auto& row : rows) {
        table.append();
        for (std::size_t i = 0; i < row.size(); ++i) table.setValue(static_cast<int>(i), row[i]);
        table.post();
    }
}

}  // namespace

std::filesystem::path ensureAppDirectory(const std::filesystem::path& root,
                                         const std::filesystem::path& tables, std::size_t foods) {
    const auto app = root / ("app-" + std::to_string(foods));
    const auto data = app / "data";
    if (std::filesystem::exists(data / "SUBJECTS.DBF")) return app;
    std::filesystem::remove_all(app);
    std::filesystem::create_directories(data);
    for (const char* big : {"FOODS.DBF", "CONTENTS.DBF", "RECAL.DBF"})
        std::filesystem::create_symlink(tables / big, data / big);
    using V = dbf::Value;
    std::vector<std::vector<V>> nutrients;
    for (int n = 8; n <= 120; ++n)
        nutrients.push_back({V::string("N" + std::to_string(n)),
                             V::string("Nutrient " + std::to_string(n - 7)), V::string("g")});
    makeTable(data / "NUTRIENTS.DBF", {{"N6", 'C', 6}, {"AN5", 'C', 40}, {"AN3", 'C', 10}},
              nutrients);
    makeTable(data / "RECIPE.DBF",
              {{"GHAZ1", 'N', 6}, {"GHAZ2", 'C', 10}, {"GHAZ3", 'C', 30}, {"GHAZ5", 'M'}},
              {{V::integer(1), V::string("Lunch"), V::string("Stew"), V::memo("")}});
    makeTable(data / "WEEKLY.DBF", {{"W1", 'N', 6}, {"W2", 'C', 30}},
              {{V::integer(1), V::string("Week")}});
    makeTable(data / "LIST.DBF", {{"L1", 'N', 6}, {"L2", 'C', 30}, {"L3", 'N', 2}}, {});
    makeTable(data / "KORAM.DBF",
              withNutrients({{"D1", 'N', 6},
                             {"D2", 'N', 2},
                             {"D3", 'N', 2},
                             {"D4", 'N', 2},
                             {"D5", 'N', 6},
                             {"D6", 'C', 30},
                             {"D7", 'N', 8, 2},
                             {"D8", 'M'}}),
              {});
    makeTable(data / "SUBJECTS.DBF",
              {{"SU1", 'N', 6},
               {"SU2", 'C', 30},
               {"SU3", 'N', 4},
               {"SU4", 'N', 4},
               {"SU5", 'N', 6, 1},
               {"SU6", 'N', 1},
               {"SU7", 'D'},
               {"SU8", 'N', 6},
               {"SU9", 'N', 4},
               {"SU10", 'N', 4},
               {"SU11", 'N', 4}},
              {{V::integer(1), V::string("Subject")}});
    return app;
}

}  // namespace bench

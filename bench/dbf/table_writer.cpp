// Writes the generated data as FoxPro tables, once per size: later runs reuse them.
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>

#include "bench_data.h"
#include "dbf/dbf_file.h"
#include "dbf/value.h"

namespace bench {
namespace {

constexpr const char* kStamp = "halvora dbf bench tables, generator 1";
constexpr std::size_t kBatch = 10000;  // records per append

std::vector<dbf::NewField> nutrientFields() {
    std::vector<dbf::NewField> f;
    for (int k = kFirstNutrient; k <= kLastNutrient; ++k)
        f.push_back({"N" + std::to_string(k), 'N', 8, 2, false});
    return f;
}

dbf::Value number(const NumberColumn& c, std::size_t i) {
    return c.nulls[i] ? dbf::Value::null() : dbf::Value::real(c.values[i]);
}

// Creates `path` and fills it with `rows` records, each encoded by `fill` from a blank one.
void writeTable(const std::filesystem::path& path, const std::vector<dbf::NewField>& fields,
                std::size_t rows,
                const std::function<void(dbf::DbfFile&, std::string&, std::size_t)>& fill) {
    dbf::createTable(path, fields, {.version = 0x03});
    auto file = dbf::DbfFile::open(path);
    const std::string blank = file->blankRecord();
    std::string batch;
    batch.reserve(kBatch * blank.size());
    std::string rec;
    for (std::size_t i = 0; i < rows; ++i) {
        rec = blank;
        fill(*file, rec, i);
        batch += rec;
        if ((i + 1) % kBatch == 0 || i + 1 == rows) {
            file->appendRecords(batch);
            batch.clear();
        }
    }
}

void writeFoods(const std::filesystem::path& dir, const FoodsData& d) {
    std::vector<dbf::NewField> fields{{"N1", 'N', 8, 0, false},
                                      {"N2", 'C', 80, 0, false},
                                      {"N3", 'C', 60, 0, false},
                                      {"N4", 'N', 4, 0, false}};
    for (auto& f : nutrientFields()) fields.push_back(f);
    writeTable(dir / "FOODS.DBF", fields, d.size(),
               [&](dbf::DbfFile& file, std::string& rec, std::size_t i) {
                   const auto& defs = file.allFields();
                   file.encode(rec, defs[0], dbf::Value::integer(d.code[i]));
                   file.encode(rec, defs[1], dbf::Value::string(d.nameEn[i]));
                   file.encode(rec, defs[2], dbf::Value::string(d.nameFa[i]));
                   file.encode(rec, defs[3], dbf::Value::integer(d.group[i]));
                   for (std::size_t k = 0; k < d.nutrients.size(); ++k)
                       file.encode(rec, defs[4 + k], number(d.nutrients[k], i));
               });
}

void writeContents(const std::filesystem::path& dir, const ContentsData& d) {
    const std::vector<dbf::NewField> fields{{"CON1", 'N', 8, 0, false},
                                            {"CON2", 'N', 8, 0, false},
                                            {"CON3", 'C', 60, 0, false},
                                            {"CON4", 'N', 8, 2, false}};
    writeTable(dir / "CONTENTS.DBF", fields, d.size(),
               [&](dbf::DbfFile& file, std::string& rec, std::size_t i) {
                   const auto& defs = file.allFields();
                   file.encode(rec, defs[0], dbf::Value::integer(d.recipe[i]));
                   file.encode(rec, defs[1], dbf::Value::integer(d.food[i]));
                   file.encode(rec, defs[2], dbf::Value::string(d.name[i]));
                   file.encode(rec, defs[3], dbf::Value::real(d.weight[i]));
               });
}

void writeRecall(const std::filesystem::path& dir, const RecallData& d) {
    std::vector<dbf::NewField> fields{{"R", 'N', 2, 0, false},  {"R1", 'N', 8, 0, false},
                                      {"R2", 'N', 8, 0, false}, {"R3", 'C', 60, 0, false},
                                      {"R4", 'N', 8, 2, false}, {"R5", 'N', 2, 0, false},
                                      {"R6", 'C', 10, 0, false}};
    for (auto& f : nutrientFields()) fields.push_back(f);
    writeTable(dir / "RECAL.DBF", fields, d.size(),
               [&](dbf::DbfFile& file, std::string& rec, std::size_t i) {
                   const auto& defs = file.allFields();
                   file.encode(rec, defs[0], dbf::Value::integer(d.kind[i]));
                   file.encode(rec, defs[1], dbf::Value::integer(d.subject[i]));
                   file.encode(rec, defs[2], dbf::Value::integer(d.item[i]));
                   file.encode(rec, defs[3], dbf::Value::string(d.name[i]));
                   file.encode(rec, defs[4], number(d.amount, i));
                   file.encode(rec, defs[5], dbf::Value::integer(d.meal[i]));
                   file.encode(rec, defs[6], dbf::Value::string(d.date[i]));
                   for (std::size_t k = 0; k < d.nutrients.size(); ++k)
                       file.encode(rec, defs[7 + k], number(d.nutrients[k], i));
               });
}

std::string stampFor(const BenchData& d) {
    return std::string(kStamp) + "\nFOODS " + std::to_string(d.foods.size()) + "\nCONTENTS " +
           std::to_string(d.contents.size()) + "\nRECAL " + std::to_string(d.recall.size()) + "\n";
}

bool complete(const std::filesystem::path& dir, const BenchData& d) {
    std::ifstream in(dir / "STAMP.txt");
    const std::string stamp((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (stamp != stampFor(d)) return false;
    try {
        return dbf::DbfFile::open(dir / "FOODS.DBF")->recordCount() == d.foods.size() &&
               dbf::DbfFile::open(dir / "CONTENTS.DBF")->recordCount() == d.contents.size() &&
               dbf::DbfFile::open(dir / "RECAL.DBF")->recordCount() == d.recall.size();
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

std::filesystem::path defaultDataRoot() {
    if (const char* env = std::getenv("HALVORA_BENCH_DATA"); env && *env) return env;
    return "/tmp/halvora-bench-data";
}

std::filesystem::path ensureTables(const std::filesystem::path& root, const BenchData& data,
                                   bool* written) {
    const auto dir = root / ("foods-" + std::to_string(data.foods.size()));
    *written = false;
    if (complete(dir, data)) return dir;
    // Written aside and renamed, so that an interrupted run leaves no half table behind.
    const auto partial = root / ("foods-" + std::to_string(data.foods.size()) + ".partial");
    std::filesystem::remove_all(partial);
    std::filesystem::create_directories(partial);
    writeFoods(partial, data.foods);
    writeContents(partial, data.contents);
    writeRecall(partial, data.recall);
    std::ofstream(partial / "STAMP.txt") << stampFor(data);
    std::filesystem::remove_all(dir);
    std::filesystem::rename(partial, dir);
    *written = true;
    return dir;
}

}  // namespace bench

#pragma once
// The generated data of one benchmark size, held column-wise in memory: the source the
// DBF tables are written from, the rows SQLite is filled with and the floor's own data.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

constexpr int kFirstNutrient = 8;
constexpr int kLastNutrient = 120;
constexpr int kNutrientCount = kLastNutrient - kFirstNutrient + 1;  // 113

// A float column: values and null flags (1 = empty).
struct NumberColumn {
    std::vector<double> values;
    std::vector<std::uint8_t> nulls;
};

struct FoodsData {
    std::vector<std::int32_t> code;       // N1 = 1..n
    std::vector<std::string> nameEn;      // N2
    std::vector<std::string> nameFa;      // N3, code page 1256
    std::vector<std::int32_t> group;      // N4
    std::vector<NumberColumn> nutrients;  // N8..N120
    std::size_t size() const { return code.size(); }
};

struct ContentsData {
    std::vector<std::int32_t> recipe;  // CON1
    std::vector<std::int32_t> food;    // CON2
    std::vector<std::string> name;     // CON3 (the food's Farsi name)
    std::vector<double> weight;        // CON4, grams, never empty
    int recipeCount = 0;
    std::size_t size() const { return recipe.size(); }
};

struct RecallData {
    std::vector<std::int32_t> kind;       // R: 1 recipe, 2 food
    std::vector<std::int32_t> subject;    // R1
    std::vector<std::int32_t> item;       // R2
    std::vector<std::string> name;        // R3
    NumberColumn amount;                  // R4, grams
    std::vector<std::int32_t> meal;       // R5
    std::vector<std::string> date;        // R6, "yy/m/d"
    std::vector<NumberColumn> nutrients;  // N8..N120, copied from the food
    int subjectCount = 0;
    std::size_t size() const { return subject.size(); }
};

struct BenchData {
    FoodsData foods;
    ContentsData contents;
    RecallData recall;
};

constexpr std::size_t kContentsRows = 10000;
constexpr std::size_t kRecallRows = 100000;

// Deterministic data for `foodCount` foods (fixed seed).
BenchData generate(std::size_t foodCount);

// The directory holding the tables of this size under `root`, written from `data` unless
// a complete set of the right size is there already. Returns the directory.
std::filesystem::path ensureTables(const std::filesystem::path& root, const BenchData& data,
                                   bool* written);

// $HALVORA_BENCH_DATA, else /tmp/halvora-bench-data.
std::filesystem::path defaultDataRoot();

}  // namespace bench

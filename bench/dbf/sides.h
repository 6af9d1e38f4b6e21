#pragma once
// The three contestants — our engine, SQLite and the hand-written floor — behind one
// interface, so that every query does the same work on each.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bench_data.h"

namespace bench {

enum class RowQuery { Listing, NameEnglish, NameFarsi, Range, Ranking };

// What each row query asks for; the texts of the statements are built from it.
struct RowParams {
    std::string englishWord = "chicken";
    std::string farsiWordUtf8 = "مرغ";
    int rangeLow = 10;
    int rangeHigh = 12;
};

// A produced row result: every row's code (and sort key) read, the first rows' texts
// read as a grid shows its first page.
struct RowsResult {
    std::int64_t count = 0;
    std::int64_t codeSum = 0;
    bool ordered = true;         // the sort key never rises (rows with a key)
    std::int64_t pageBytes = 0;  // lengths of the texts read on the first page
};
constexpr std::int64_t kPageRows = 50;

// One aggregate row: 113 sums, null where no row had a value.
struct SumsResult {
    std::vector<double> values;
    std::vector<std::uint8_t> nulls;
};

class Side {
  public:
    virtual ~Side() = default;
    virtual RowsResult rows(RowQuery query, const RowParams& params) = 0;
    virtual SumsResult recipeSum(int recipe, const std::string& divisor) = 0;
    virtual SumsResult recallSum(int subject) = 0;
};

// Our engine over the tables in `dir` (all Query objects it made die with it).
// With `walk` false, a row query only runs the statement and counts its rows: the
// statement's own cost, without the pass over the result.
std::unique_ptr<Side> makeOursSide(const std::filesystem::path& dir, bool walk = true);
// Whether this build has our query engine at all.
bool oursAvailable();
// SQLite :memory: filled from `data`, with the indexes a careful user adds.
std::unique_ptr<Side> makeSqliteSide(const BenchData& data);
// SQLite's plan of each statement, one line each (`sqlite` from above).
std::string sqlitePlans(Side& sqlite);
// The same database with the sums prepared once and bound per code (`sqlite` from above).
std::unique_ptr<Side> makeSqliteBoundSums(Side& sqlite);
// Plain loops over `data` (which must outlive the side).
std::unique_ptr<Side> makeFloorSide(const BenchData& data);

// The statements as the program writes them (lines), shared by ours and SQLite's texts.
std::vector<std::string> rowStatement(RowQuery query, const RowParams& params);
std::vector<std::string> recipeSumStatement(int recipe, const std::string& divisor);
std::vector<std::string> recallSumStatement(int subject);

}  // namespace bench

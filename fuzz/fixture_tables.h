#pragma once
// The small data directory the fuzz targets run on and take their seeds from: the shapes of
// the engine's test fixtures, every field type, memos, nulls, a NaN and a structural index.
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>

#include "dbf/cdx_index.h"
#include "dbf/dataset.h"
#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "dbf/fixture.h"
#include "dbf/table.h"
#include "fuzz_support.h"

namespace halvora::fuzz {

inline void makeFixtureTables(const std::filesystem::path& dir) {
    using namespace dbf::testing;
    using dbf::Value;
    std::filesystem::create_directories(dir);
    makeTable(dir, "FOODS.DBF",
              {{"N1", 'N', 6},
               {"N2", 'C', 20},
               {"N3", 'C', 30},
               {"N8", 'N', 10, 3},
               {"N9", 'N', 10, 3},
               {"N10", 'N', 10, 3},
               {"N45", 'N', 8, 2}},
              {{I(1), S("Apple"), S("\xD3\xED\xC8"), F(52), F(0.3), F(14), F(1.5)},
               {I(2), S("apple pie"), S(""), F(237), Null(), F(34), F(0)},
               {I(3), S("Pepper"), S("\xDD\xE1\xDD\xE1"), F(20), F(0.9), Null(), F(2.25)},
               {I(4), S("12"), S("x"), F(-1.5), F(99999.5), F(0.001), Null()}});
    makeTable(dir, "CONTENTS.DBF",
              {{"CON1", 'N', 6}, {"CON2", 'N', 6}, {"CON3", 'C', 20}, {"CON4", 'N', 10, 3}},
              {{I(1), I(1), S("Apple"), F(200)},
               {I(1), I(3), S("Pepper"), F(50)},
               {I(2), I(2), S("apple pie"), F(120.5)}});
    makeTable(dir, "RECAL.DBF", {{"R1", 'N', 6}, {"R4", 'N', 10, 3}},
              {{I(1), F(100)}, {I(3), F(25)}, {I(1), Null()}});
    makeTable(dir, "A.DBF", {{"K", 'N', 4}, {"NOTE", 'C', 10}},
              {{I(1), S("a1")}, {I(1), S("a2")}, {I(2), S("a3")}});
    makeTable(dir, "B.DBF", {{"K", 'N', 4}, {"NAME", 'C', 10}},
              {{I(1), S("apple")}, {I(2), S("grape")}, {I(3), S("pepper")}});
    dbf::NewTableOptions vfp;
    vfp.version = 0x30;
    makeTable(dir, "ALLTYPES.DBF",
              {{"ID", 'I'},
               {"AMT", 'B', 0, 2},
               {"PRICE", 'Y'},
               {"BORN", 'D'},
               {"SEEN", 'T'},
               {"OK", 'L'},
               {"NOTE", 'M'},
               {"NAME", 'C', 12, 0, true},
               {"QTY", 'N', 8, 2, true},
               {"RATE", 'F', 10, 4}},
              {{I(1), F(1), Value::currency(2.5), Value::date(45000), Value::dateTime(45000.5),
                Value::boolean(true), M("first memo"), S("one"), F(3.25), F(0.5)},
               {I(2), F(std::nan("")), Value::currency(-1), Null(), Null(), Value::boolean(false),
                M(std::string(300, 'm')), Null(), Null(), Null()},
               {I(-7), F(1e300), Value::currency(0), Value::date(1), Value::dateTime(0), Null(),
                M(""), S("three"), F(-0.5), F(12)}},
              vfp);
    makeTable(dir, "SUBJECTS.DBF", {{"SU1", 'N', 6}, {"SU2", 'C', 20}, {"SU7", 'C', 10}},
              {{I(3), S("Sara"), S("F")}, {I(1), S("Ali"), S("M")}, {I(2), S("Mina"), S("F")}});
    auto subjects = dbf::DbfFile::open(dir / "SUBJECTS.DBF");
    std::vector<dbf::IndexTag> tags;
    for (const char* name : {"SU1", "SU2", "SU7"}) {
        dbf::IndexTag tag;
        tag.name = tag.keyExpression = name;
        tag.collation = "MACHINE";
        tags.push_back(tag);
    }
    dbf::writeCdx(dir / "SUBJECTS.CDX", tags, cdxSourceOf(*subjects));
}

// The fixture tables, made once for the process.
inline const fs::path& fixtureTables() {
    static const fs::path dir = [] {
        const fs::path d = scratchFolder("tables");
        makeFixtureTables(d);
        return d;
    }();
    return dir;
}

// A folder of the target's own holding chosen fixture files, each under the name the
// target gives it (fixture name, name in the folder): the input is then written beside them.
inline fs::path folderWithFixtureFiles(
    const std::string& name, std::initializer_list<std::pair<const char*, const char*>> files) {
    const fs::path dir = scratchFolder(name);
    for (const auto& [from, to] : files)
        fs::copy_file(fixtureTables() / from, dir / to, fs::copy_options::overwrite_existing);
    return dir;
}

// Seeds: the fixture files whose names `wanted` accepts, as they are.
template <class Wanted>
void copyFixtureFiles(const fs::path& dir, Wanted wanted) {
    for (const auto& entry : fs::directory_iterator(fixtureTables()))
        if (wanted(entry.path().filename().string()))
            fs::copy_file(entry.path(), dir / entry.path().filename(),
                          fs::copy_options::overwrite_existing);
}

// Opens T.DBF of `dir` as the program does and hands it to `use`; the engine's refusal of
// a damaged file is the expected end.
template <class Use>
void withFuzzedTable(const fs::path& dir, Use use) {
    try {
        dbf::Table table;
        table.setDirectory(dir);
        table.setTableName("T.DBF");
        table.open();
        use(table);
    } catch (const dbf::DbfError&) {
    }
}

// Every value of the first `maxRows` rows, as a grid shows them.
inline void readEveryValue(dbf::DataSet& data, std::int64_t maxRows) {
    for (data.first(); !data.eof() && data.recNo() <= maxRows; data.next())
        for (int k = 0; k < data.fieldCount(); ++k) (void)data.value(k).asString();
}

}  // namespace halvora::fuzz

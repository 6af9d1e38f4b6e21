// A table file as another program may leave it: every record and field read through the
// file layer and through a cursor, as the program reads them.
#include <algorithm>

#include "dbf/errors.h"
#include "dbf/table.h"
#include "fixture_tables.h"
#include "fuzz_support.h"

namespace halvora::fuzz {

void writeSeeds(const fs::path& dir) {
    copyFixtureFiles(dir, [](const std::string& name) { return name.ends_with(".DBF"); });
}

}  // namespace halvora::fuzz

using namespace halvora::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Memo fields of the input read the fixture's memo file.
    static const fs::path dir = folderWithFixtureFiles("dbf", {{"ALLTYPES.FPT", "T.FPT"}});
    writeFile(dir / "T.DBF", bytesOf(data, size));
    try {
        auto file = dbf::DbfFile::open(dir / "T.DBF");
        const std::uint32_t rows = std::min<std::uint32_t>(file->recordCount(), 256);
        for (std::uint32_t i = 0; i < rows; ++i) {
            const auto record = file->checkedRecord(i);
            for (const auto& field : file->allFields()) {
                (void)file->isNullIn(record, field);
                (void)file->decode(record, field);
            }
        }
    } catch (const dbf::DbfError&) {
    }
    withFuzzedTable(dir, [](dbf::Table& table) { readEveryValue(table, 256); });
    return 0;
}

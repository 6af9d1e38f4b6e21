// A table file as another program may leave it: every record and field read through the
// file layer and through a cursor, as the program reads them.
#include <algorithm>

#include "dbf/errors.h"
#include "dbf/table.h"
#include "fixture_tables.h"
#include "fuzz_support.h"

namespace halvora::fuzz {

void writeSeeds(const fs::path& dir) {
    const fs::path tables = scratchFolder("seed-tables");
    makeFixtureTables(tables);
    for (const auto& entry : fs::directory_iterator(tables))
        if (entry.path().extension() == ".DBF")
            fs::copy_file(entry.path(), dir / entry.path().filename(),
                          fs::copy_options::overwrite_existing);
}

}  // namespace halvora::fuzz

using namespace halvora::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Memo fields of the input read the fixture's memo file.
    static const fs::path dir = [] {
        const fs::path tables = scratchFolder("tables"), d = scratchFolder("dbf");
        makeFixtureTables(tables);
        fs::copy_file(tables / "ALLTYPES.FPT", d / "T.FPT");
        return d;
    }();
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
    try {
        dbf::Table table;
        table.setDirectory(dir);
        table.setTableName("T.DBF");
        table.open();
        for (table.first(); !table.eof() && table.recNo() <= 256; table.next())
            for (int k = 0; k < table.fieldCount(); ++k) (void)table.value(k).asString();
    } catch (const dbf::DbfError&) {
    }
    return 0;
}

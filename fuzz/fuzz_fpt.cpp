// A memo file as another program may leave it, read through the table that points into it
// and block by block.
#include <algorithm>

#include "dbf/errors.h"
#include "dbf/memo_file.h"
#include "dbf/table.h"
#include "fixture_tables.h"
#include "fuzz_support.h"

namespace halvora::fuzz {

void writeSeeds(const fs::path& dir) {
    const fs::path tables = scratchFolder("seed-tables");
    makeFixtureTables(tables);
    fs::copy_file(tables / "ALLTYPES.FPT", dir / "ALLTYPES.FPT",
                  fs::copy_options::overwrite_existing);
}

}  // namespace halvora::fuzz

using namespace halvora::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The fixture's table of every type, its memo pointers unchanged, over the input.
    static const fs::path dir = [] {
        const fs::path tables = scratchFolder("tables"), d = scratchFolder("fpt");
        makeFixtureTables(tables);
        fs::copy_file(tables / "ALLTYPES.DBF", d / "T.DBF");
        return d;
    }();
    writeFile(dir / "T.FPT", bytesOf(data, size));
    try {
        auto memo = dbf::MemoFile::open(dir / "T.FPT", true);
        const std::uint32_t blocks =
            std::min<std::uint64_t>(size / std::max<std::uint32_t>(memo->blockSize(), 1), 64);
        for (std::uint32_t block : {0u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
            try {
                (void)memo->read(block);
            } catch (const dbf::DbfError&) {
            }
        }
        for (std::uint32_t block = 1; block < blocks; ++block) {
            try {
                std::uint32_t type = 0;
                (void)memo->read(block, &type);
            } catch (const dbf::DbfError&) {
            }
        }
    } catch (const dbf::DbfError&) {
    }
    try {
        dbf::Table table;
        table.setDirectory(dir);
        table.setTableName("T.DBF");
        table.open();
        for (table.first(); !table.eof(); table.next())
            for (int k = 0; k < table.fieldCount(); ++k) (void)table.value(k).asString();
    } catch (const dbf::DbfError&) {
    }
    return 0;
}

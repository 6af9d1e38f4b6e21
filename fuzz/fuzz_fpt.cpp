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
    copyFixtureFiles(dir, [](const std::string& name) { return name == "ALLTYPES.FPT"; });
}

}  // namespace halvora::fuzz

using namespace halvora::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The fixture's table of every type, its memo pointers unchanged, over the input.
    static const fs::path dir = folderWithFixtureFiles("fpt", {{"ALLTYPES.DBF", "T.DBF"}});
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
    withFuzzedTable(dir, [](dbf::Table& table) { readEveryValue(table, INT64_MAX); });
    return 0;
}

// A structural index as another program may leave it: its tags and keys read, and the table
// opened and ordered by each tag's field, as the program does.
#include "dbf/errors.h"
#include "dbf/notices.h"
#include "dbf/table.h"
#include "fixture_tables.h"
#include "fuzz_support.h"

namespace halvora::fuzz {

void writeSeeds(const fs::path& dir) {
    copyFixtureFiles(dir, [](const std::string& name) { return name == "SUBJECTS.CDX"; });
}

}  // namespace halvora::fuzz

using namespace halvora::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fs::path dir = [] {
        dbf::setNoticeHandler([](const std::string&) {});
        return folderWithFixtureFiles("cdx", {{"SUBJECTS.DBF", "T.DBF"}});
    }();
    writeFile(dir / "T.CDX", bytesOf(data, size));
    try {
        for (const auto& tag : dbf::readCdxTags(dir / "T.CDX")) {
            try {
                (void)dbf::readCdxKeys(dir / "T.CDX", tag.name);
            } catch (const dbf::DbfError&) {
            }
        }
    } catch (const dbf::DbfError&) {
    }
    withFuzzedTable(dir, [](dbf::Table& table) {
        for (const char* order : {"SU1", "SU2", "SU7", ""}) {
            table.setIndexFieldNames(order);
            for (table.first(); !table.eof(); table.next()) (void)table.value(0).asString();
        }
    });
    return 0;
}

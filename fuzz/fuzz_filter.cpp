// A filter text as a user may type it, compiled against a table of every field type and run
// over its rows.
#include <numeric>

#include "dbf/errors.h"
#include "dbf/filter.h"
#include "dbf/table_store.h"
#include "fixture_tables.h"
#include "fuzz_support.h"

namespace halvora::fuzz {

void writeSeeds(const fs::path& dir) {
    writeSeedTexts(dir, "filter",
                   {
                       "ID = 1",
                       "AMT > 0.5 AND NOT OK",
                       "NAME = 'one' OR NAME LIKE 'th%'",
                       "QTY >= -1 AND QTY <= 3.25",
                       "BORN = '03/15/23'",
                       "UPPER(NAME) = 'ONE'",
                       "NAME IS NULL",
                       "(ID <> 2) AND (PRICE < 3 OR RATE = 12)",
                       "NOTE LIKE '%memo%'",
                       "ID IN (1, 2, -7)",
                       "AMT = 1",
                   });
}

}  // namespace halvora::fuzz

using namespace halvora::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::shared_ptr<dbf::TableStore> store =
        dbf::TableStore::open(fixtureTables(), "ALLTYPES.DBF");
    static const std::vector<std::uint32_t> rows = [] {
        std::vector<std::uint32_t> all(store->file().recordCount());
        std::iota(all.begin(), all.end(), 0u);
        return all;
    }();
    try {
        const auto filter = dbf::compileFilter(bytesOf(data, size), *store);
        (void)filter->select(*store, rows);
    } catch (const dbf::DbfError&) {
    }
    return 0;
}

// A statement as a user or a report template may write it, run on the fixture's tables and
// its whole result read.
#include "dbf/errors.h"
#include "dbf/query.h"
#include "fixture_tables.h"
#include "fuzz_support.h"

namespace halvora::fuzz {

// The engine's statement tests are the seeds (scripts/fuzz adds them); these cover the
// fixture's own tables.
void writeSeeds(const fs::path& dir) {
    writeSeedTexts(
        dir, "statement",
        {
            "SELECT * FROM FOODS",
            "SELECT N1, N2 FROM FOODS WHERE N2 LIKE '%pp%' ORDER BY N2 DESC",
            "SELECT A.NOTE, B.NAME FROM A, B WHERE A.K = B.K AND B.NAME LIKE '%pp%'",
            "SELECT CON1, SUM(CON4) AS W FROM CONTENTS GROUP BY CON1 ORDER BY 2",
            "SELECT COUNT(*) FROM FOODS A, FOODS B, RECAL C",
            "SELECT F.N2, C.CON4 * F.N9 / 100 FROM FOODS F, CONTENTS C WHERE F.N1 = C.CON2",
            "SELECT ID, AMT FROM ALLTYPES WHERE AMT = 1 OR NAME IS NULL",
            "SELECT DISTINCT SU7 FROM SUBJECTS ORDER BY SU7",
            "SELECT MIN(R4), MAX(R4), AVG(R4) FROM RECAL WHERE R1 BETWEEN 1 AND 3",
        });
}

}  // namespace halvora::fuzz

using namespace halvora::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        dbf::Query query;
        query.setDirectory(fixtureTables());
        query.setSql({std::string(bytesOf(data, size))});
        query.open();
        readEveryValue(query, 10000);
    } catch (const dbf::DbfError&) {
    }
    return 0;
}

// A report template as a user may write it (one paragraph per line, "|" rows as table
// rows), filled from the fixture's tables with a data set, custom values and the
// statements its data pool asks for.
#include <memory>

#include "dbf/errors.h"
#include "dbf/query.h"
#include "dbf/table.h"
#include "fixture_tables.h"
#include "fuzz_support.h"
#include "report/ar_word_report.h"
#include "report/errors.h"
#include "wordproc/docx_builder.h"
#include "wordproc/errors.h"

namespace halvora::fuzz {

// scripts/fuzz adds the golden cases' templates.
void writeSeeds(const fs::path& dir) {
    writeFile(dir / "fields", "Name: <#FOODS.N2> <#FOODS.N8>\n<#Date>\n|<#FOODS.N1>|<#FOODS.N3>|");
    writeFile(dir / "pool",
              "<DataPool><DS:ALL>SELECT N2, N9 FROM FOODS ORDER BY N2</DS></DataPool>\n"
              "<#table:ALL>\n<#REPFOR:FOODS><#FOODS.N2>, <#/REPFOR:FOODS>");
}

}  // namespace halvora::fuzz

using namespace halvora::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path& tables = fixtureTables();
    static const fs::path templ = scratchFolder("template") / "T.docx";
    try {
        // Stored, not deflated: zlib's set-up for each entry was a third of an input's time.
        wordproc::test::writeDocx(templ.string(),
                                  wordproc::test::shortFormBody(std::string(bytesOf(data, size))),
                                  {}, false);
        dbf::Table foods;
        foods.setDirectory(tables);
        foods.setTableName("FOODS.DBF");
        foods.open();
        std::vector<std::unique_ptr<dbf::Query>> queries;
        report::TARWordReport rep;
        rep.Filename = templ.string();
        rep.AnsiCodePage = 1256;
        rep.setCustTagValues({"Date=1404/09/20", "Name=Sara", "Weight=61.5"});
        rep.platform.confirm = [](const std::string&) { return false; };
        rep.platform.showError = [](const std::string&) {};
        rep.DataSetList().addDataSet(&foods, "FOODS");
        rep.OnNeedSQL = [&](report::TARWordReport&, const std::string& sql, dbf::DataSet*& result) {
            auto q = std::make_unique<dbf::Query>();
            q->setDirectory(tables);
            q->setSql({sql});
            q->open();
            result = q.get();
            queries.push_back(std::move(q));
        };
        rep.OpenTemplate();
        rep.Process();
        rep.CloseDocument();
    } catch (const report::ReportError&) {
    } catch (const dbf::DbfError&) {
    } catch (const wordproc::WordprocError&) {
    }
    return 0;
}

// Filling a report template: 300 custom tags, a 200-row template table from a data set
// and a 20-record REPEAT block (goal: under 100 ms).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "dbf/fixture.h"
#include "dbf/table.h"
#include "report/ar_word_report.h"
#include "wordproc/docx_builder.h"

namespace {

std::string para(const std::string& text) {
    return "<w:p><w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r></w:p>";
}
std::string cell(const std::string& text) {
    return "<w:tc><w:tcPr><w:tcW w:w=\"3000\" w:type=\"dxa\"/></w:tcPr>" + para(text) + "</w:tc>";
}

struct Fixture {
    dbf::testing::TempDir dir;
    std::string templ;
    dbf::Table items, recall;
    std::vector<std::string> values;

    Fixture() {
        std::vector<dbf::testing::Row> rows;
        for (int i = 0; i < 200; ++i)
            rows.push_back({dbf::testing::S("Food " + std::to_string(i)), dbf::testing::F(i * 1.5),
                            dbf::testing::I(i)});
        dbf::testing::makeTable(dir.path(), "KORAM.DBF",
                                {{"D6", 'C', 30}, {"D7", 'N', 10, 1}, {"D5", 'N', 6}}, rows);
        rows.resize(20);
        dbf::testing::makeTable(dir.path(), "RECAL.DBF",
                                {{"D6", 'C', 30}, {"D7", 'N', 10, 1}, {"D5", 'N', 6}}, rows);
        for (auto* t : {&items, &recall}) t->setDirectory(dir.path());
        items.setTableName("KORAM");
        recall.setTableName("RECAL");
        items.open();
        recall.open();

        std::string body = para("Report for &lt;#Name&gt;");
        for (int i = 0; i < 300; ++i) {
            values.push_back("T" + std::to_string(i) + "=value " + std::to_string(i));
            body += para("Line " + std::to_string(i) + ": &lt;#T" + std::to_string(i) + "&gt;");
        }
        body += "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr><w:tr>" +
                cell("&lt;#table:REGIM&gt;") + cell("") + cell("") + "</w:tr><w:tr>" + cell("D6") +
                cell("D7:#0.0") + cell("D5") + "</w:tr></w:tbl>";
        body += para("&lt;#REPEAT:24H&gt;") + para("- &lt;#24H.D6&gt; &lt;#24H.D7&gt; g") +
                para("&lt;#/REPEAT:24H&gt;") + para("Total SUM(&lt;#REGIM.D7&gt;)");
        templ = (dir / "template.docx").string();
        wordproc::test::writeDocx(templ, body);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void fill(report::TARWordReport& r, Fixture& f) {
    r.Filename = f.templ;
    r.setCustTagValues(f.values);
    r.DataSetList().addDataSet(&f.items, "REGIM");
    r.DataSetList().addDataSet(&f.recall, "24H");
    r.OpenTemplate();
    r.Process();
}

void BM_FillTemplate(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        report::TARWordReport r;
        fill(r, f);
        benchmark::DoNotOptimize(r.document());
        r.CloseDocument();
    }
}
BENCHMARK(BM_FillTemplate)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The same, with the filled document written as .docx (what halvora-report does).
void BM_FillAndSave(benchmark::State& state) {
    Fixture& f = fixture();
    const std::string out = (f.dir / "out.docx").string();
    for (auto _ : state) {
        report::TARWordReport r;
        fill(r, f);
        r.SaveDocumentAs(out);
        r.CloseDocument();
    }
}
BENCHMARK(BM_FillAndSave)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();

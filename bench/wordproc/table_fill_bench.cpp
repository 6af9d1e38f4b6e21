// Filling a table row by row as a report does: from the last cell, moving on
// by cell adds a row, and each of its three cells takes a value. 1,000 rows on
// a document of about fifteen pages. Prints how much memory the fill takes on
// top of the open document (goal: less than the open document itself takes)
// and the median time (goal: under 200 ms).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "wordproc/application.h"
#include "wordproc/range.h"
#include "wordproc/tables.h"

namespace {

constexpr int kRows = 1000;

std::string para(const std::string& text) {
    return "<w:p><w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r></w:p>";
}

// Fifteen pages: 180 paragraphs of text, a header row and a tag row.
std::string writeDocument() {
    const std::string words =
        "The plan lists the meals of the day with their weights and the nutrients they bring. ";
    std::string body;
    for (int p = 0; p < 180; ++p) body += para(words + words + words);
    body +=
        "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr><w:tblGrid>"
        "<w:gridCol w:w=\"3000\"/><w:gridCol w:w=\"3000\"/><w:gridCol w:w=\"3000\"/></w:tblGrid>";
    for (const char* row : {"Food", "Tag"}) {
        body += "<w:tr>";
        for (int c = 0; c < 3; ++c)
            body += "<w:tc><w:tcPr><w:tcW w:w=\"3000\" w:type=\"dxa\"/></w:tcPr>" +
                    para(std::string(row) + std::to_string(c)) + "</w:tc>";
        body += "</w:tr>";
    }
    body += "</w:tbl>";
    for (int p = 0; p < 20; ++p) body += para(words);
    std::map<std::string, std::string> e;
    e["[Content_Types].xml"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<Types "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default "
        "Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/><Override "
        "PartName=\"/word/document.xml\" ContentType=\"application/"
        "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>";
    e["_rels/.rels"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
        "Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "officeDocument\" Target=\"word/document.xml\"/></Relationships>";
    e["word/document.xml"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:document "
        "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><w:body>" +
        body + "<w:sectPr/></w:body></w:document>";
    std::string path =
        (std::filesystem::temp_directory_path() / "wordproc_bench_fill.docx").string();
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    for (const auto& [name, data] : e)
        zip_file_add(z, name.c_str(), zip_source_buffer(z, data.data(), data.size(), 0), 0);
    zip_close(z);
    return path;
}

const std::string& document() {
    static const std::string path = writeDocument();
    return path;
}

// Resident and peak resident memory of this process, in KiB.
long residentKiB() {
    std::ifstream in("/proc/self/statm");
    long size = 0, resident = 0;
    in >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}
long peakKiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

void fill(wordproc::Document& doc) {
    auto table = doc.tables().item(1);
    table.rows().item(2).cells().item(3).select();
    wordproc::Selection& sel = doc.selection();
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < 3; ++c) {
            sel.moveRight(wordproc::wd::kCell);  // from the last cell: a new row
            sel.typeText("value " + std::to_string(r) + "." + std::to_string(c));
        }
}

void BM_Fill1000TableRows(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto app = std::make_unique<wordproc::Application>();
        wordproc::Document& doc = app->documents().add(document());
        doc.content().text();
        state.ResumeTiming();
        fill(doc);
        state.PauseTiming();
        if (doc.tables().item(1).rows().count() != kRows + 2) state.SkipWithError("rows missing");
        app.reset();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_Fill1000TableRows)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->Iterations(1)
    ->ReportAggregatesOnly(true);

// The same through the collections: Rows.Add, then each cell's range.
void BM_Fill1000TableRowsThroughRowsAdd(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto app = std::make_unique<wordproc::Application>();
        wordproc::Document& doc = app->documents().add(document());
        doc.content().text();
        state.ResumeTiming();
        auto rows = doc.tables().item(1).rows();
        for (int r = 0; r < kRows; ++r) {
            auto row = rows.add();
            for (int c = 1; c <= 3; ++c)
                row.cells().item(c).range().setText("value " + std::to_string(r));
        }
        state.PauseTiming();
        if (rows.count() != kRows + 2) state.SkipWithError("rows missing");
        app.reset();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_Fill1000TableRowsThroughRowsAdd)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->Iterations(1)
    ->ReportAggregatesOnly(true);

// Memory is measured once, before any benchmark, while the peak of the
// process is still that of this document: the process with the document open,
// and its peak once the rows are filled.
void measureMemory() {
    document();  // written before the measure starts
    long start = std::max(peakKiB(), residentKiB());
    wordproc::Application app;
    wordproc::Document& doc = app.documents().add(document());
    doc.content().text();
    long opened = std::max(peakKiB(), residentKiB());
    fill(doc);
    long filled = std::max(peakKiB(), residentKiB());
    std::printf(
        "memory: %.1f MiB with the document open (%.1f MiB of it for the document), a peak of "
        "%.1f MiB filling %d rows (%.2f times)\n",
        opened / 1024.0, (opened - start) / 1024.0, filled / 1024.0, kRows,
        static_cast<double>(filled) / static_cast<double>(opened));
}

}  // namespace

int main(int argc, char** argv) {
    measureMemory();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

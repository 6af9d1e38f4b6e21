// Replace-all of 300 tags on a ten-page document with a 200-row table, and
// inserting one document into another 100 times. Prints the medians, and the
// replace-all against a floor measured in the same run: the same replacements
// done on the raw XML text, which knows nothing of runs, positions or undo.
#include <benchmark/benchmark.h>
#include <zip.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "report/text_helpers.h"
#include "wordproc/application.h"
#include "wordproc/range.h"

namespace {

constexpr int kTags = 300;

std::string tag(int i) { return "<#T" + std::to_string(i) + ">"; }

std::string run(const std::string& text, bool bold = false) {
    std::string escaped;
    for (char c : text) escaped += c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    return std::string("<w:r>") + (bold ? "<w:rPr><w:b/></w:rPr>" : "") +
           "<w:t xml:space=\"preserve\">" + escaped + "</w:t></w:r>";
}

// About ten pages of text and a table of 200 rows; every tag occurs once or twice,
// some of them split across two runs of different formatting.
std::string bodyXml() {
    std::string body;
    const std::string words =
        "The plan lists the meals of the day with their weights and the nutrients they bring. ";
    int t = 0;
    for (int p = 0; p < 120; ++p) {
        body += "<w:p><w:pPr><w:pStyle w:val=\"Normal\"/></w:pPr>" + run(words + words);
        std::string a = tag(t % kTags);
        if (p % 3 == 0)
            body += run(a.substr(0, 3), true) + run(a.substr(3));
        else
            body += run(a);
        body += run(" " + words) + "</w:p>";
        ++t;
    }
    body +=
        "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr><w:tblGrid>"
        "<w:gridCol w:w=\"3000\"/><w:gridCol w:w=\"3000\"/><w:gridCol w:w=\"3000\"/></w:tblGrid>";
    for (int r = 0; r < 200; ++r) {
        body += "<w:tr>";
        for (int c = 0; c < 3; ++c) {
            std::string cell = c == 1 ? tag(t++ % kTags) : "Row " + std::to_string(r);
            body += "<w:tc><w:tcPr><w:tcW w:w=\"3000\" w:type=\"dxa\"/></w:tcPr><w:p>" + run(cell) +
                    "</w:p></w:tc>";
        }
        body += "</w:tr>";
    }
    body += "</w:tbl><w:p/>";
    return body;
}

std::string writeBenchDocument() {
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
        bodyXml() + "<w:sectPr/></w:body></w:document>";
    std::string path =
        (std::filesystem::temp_directory_path() / "wordproc_bench_tags.docx").string();
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    for (const auto& [name, data] : e)
        zip_file_add(z, name.c_str(), zip_source_buffer(z, data.data(), data.size(), 0), 0);
    zip_close(z);
    return path;
}

const std::string& benchDocument() {
    static const std::string path = writeBenchDocument();
    return path;
}

void BM_ReplaceAll300Tags(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        wordproc::Application app;
        wordproc::Document& doc = app.documents().add(benchDocument());
        doc.content().text();  // positions counted before the clock starts
        state.ResumeTiming();
        for (int i = 0; i < kTags; ++i) {
            doc.content().find().execute(tag(i), false, false, false, false, false, true,
                                         wordproc::wd::kFindContinue, false,
                                         "value " + std::to_string(i), wordproc::wd::kReplaceAll);
        }
        benchmark::DoNotOptimize(doc.content().end());
    }
}

void BM_ReplaceAll300TagsRawXmlFloor(benchmark::State& state) {
    wordproc::Application app;
    std::string xml = app.documents().add(benchDocument()).package().bytes("word/document.xml");
    for (auto _ : state) {
        std::string text = xml;
        for (int i = 0; i < kTags; ++i)
            text = report::helpers::replaceAllNoCase(text, "&lt;#T" + std::to_string(i) + "&gt;",
                                                     "value " + std::to_string(i));
        benchmark::DoNotOptimize(text.size());
    }
}

void BM_InsertDocument100Times(benchmark::State& state) {
    const std::string data = HALVORA_WORDPROC_DATA;
    for (auto _ : state) {
        state.PauseTiming();
        wordproc::Application app;
        wordproc::Document& doc = app.documents().add(data + "/template.docx");
        state.ResumeTiming();
        for (int i = 0; i < 100; ++i) {
            wordproc::Selection& sel = doc.selection();
            sel.goTo({}, doc.content().end() - 1, doc.content().end() - 1);
            sel.insertFile(data + "/sub.docx");
        }
        benchmark::DoNotOptimize(doc.content().end());
    }
}

BENCHMARK(BM_ReplaceAll300Tags)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ReplaceAll300TagsRawXmlFloor)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_InsertDocument100Times)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->Iterations(1)
    ->ReportAggregatesOnly(true);

// Keeps the medians for the summary at the end.
class MedianReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> medians;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs)
            if (r.aggregate_name == "median") medians[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto get = [&](const std::string& prefix) {
        for (const auto& [name, ms] : reporter.medians)
            if (name.rfind(prefix, 0) == 0) return ms;
        return 0.0;
    };
    double replace = get("BM_ReplaceAll300Tags/"), floor = get("BM_ReplaceAll300TagsRawXmlFloor"),
           insert = get("BM_InsertDocument100Times");
    std::printf(
        "\nmedian: 300 replace-alls %.2f ms (goal under 50 ms: %s), raw-XML floor %.2f ms "
        "(ratio %.1f)\nmedian: 100 document insertions %.2f ms (%.2f ms each)\n",
        replace, replace < 50 ? "met" : "missed", floor, floor > 0 ? replace / floor : 0.0, insert,
        insert / 100);
    benchmark::Shutdown();
    return 0;
}

// Golden cases: one folder per case under cases/, read by this one runner.
//
//   template.txt   the template, one paragraph per line; lines starting with "|" are
//                  table rows with cells between bars (a run of such lines is one table)
//   template.docx  instead: a template as a word processor wrote it
//   template.xml   instead: the body XML of the template (inside w:body), for what the
//                  short form cannot say (split runs, text boxes, fields)
//   tables/X.txt   table X.DBF of the data directory: the first line gives the fields as
//                  NAME:TYPE:LENGTH[:DECIMALS] between bars, each further line a record
//                  (text as UTF-8, stored in code page 1256; an empty value is null)
//   datasets.txt   NAME=TABLE[@RECORD] lines, as halvora-report --dataset takes them
//   values.txt     Name=Value lines, as halvora-report --values takes them
//   options.txt    further halvora-report options, one per line
//   expected.txt   the filled document's text: paragraphs as lines, "|" a cell or row end,
//                  "[picture]" an inline picture, fields as {result}; text boxes and the
//                  header follow under "--- text box N ---" and "--- header ---"
//   expected-error.txt  instead: the message halvora-report gives (exit status 2), the
//                  data directory written as {data}
//
// HALVORA_GOLDEN_OUTPUT=DIR keeps each filled document as DIR/<case>.docx, to look at.
// HALVORA_UPDATE_GOLDEN=1 writes what a case gives into its expected.txt (read it
// before committing).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "dbf/codepage1256.h"
#include "dbf/date_value.h"
#include "dbf/dbf_file.h"
#include "dbf/fixture.h"
#include "dbf/number_text.h"
#include "report_tool.h"
#include "wordproc/document.h"
#include "wordproc/docx_builder.h"
#include "wordproc/range.h"

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream ss(text);
    std::string line;
    while (std::getline(ss, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
    }
    return out;
}

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : s) {
        if (c == sep) {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    out.push_back(cur);
    return out;
}

void makeTable(const fs::path& dir, const fs::path& source) {
    auto rows = lines(readFile(source));
    ASSERT_FALSE(rows.empty()) << source;
    std::vector<dbf::NewField> fields;
    for (const std::string& spec : split(rows[0], '|')) {
        auto parts = split(spec, ':');
        ASSERT_GE(parts.size(), 2u) << source << ": " << spec;
        dbf::NewField f;
        f.name = parts[0];
        f.type = parts[1][0];
        if (parts.size() > 2) f.length = std::stoi(parts[2]);
        if (parts.size() > 3) f.decimals = std::stoi(parts[3]);
        fields.push_back(f);
    }
    std::vector<dbf::testing::Row> records;
    for (size_t i = 1; i < rows.size(); ++i) {
        if (rows[i].empty()) continue;
        auto values = split(rows[i], '|');
        dbf::testing::Row rec;
        for (size_t k = 0; k < fields.size(); ++k) {
            std::string v = k < values.size() ? values[k] : "";
            char t = fields[k].type;
            if (v.empty()) {
                rec.push_back(dbf::Value::null());
            } else if (t == 'C') {
                rec.push_back(dbf::Value::string(dbf::cp1256::fromUtf8(v)));
            } else if (t == 'M') {
                std::string m = dbf::cp1256::fromUtf8(v);
                for (size_t p = 0; (p = m.find("\\n", p)) != std::string::npos;)
                    m.replace(p, 2, "\r\n");
                rec.push_back(dbf::Value::memo(m));
            } else if (t == 'D') {
                rec.push_back(dbf::Value::date(*dbf::daysFromDbfDate(v)));
            } else if (t == 'L') {
                rec.push_back(dbf::Value::boolean(v == "T"));
            } else if (t == 'Y') {
                rec.push_back(dbf::Value::currency(*dbf::parseFloat(v)));
            } else if (t == 'I') {
                rec.push_back(dbf::Value::integer(*dbf::parseInteger(v)));
            } else {
                rec.push_back(dbf::Value::real(*dbf::parseFloat(v)));
            }
        }
        records.push_back(rec);
    }
    dbf::NewTableOptions options;
    for (const auto& f : fields)
        if (f.type == 'Y' || f.type == 'I' || f.type == 'T') options.version = 0x30;
    dbf::testing::makeTable(dir, source.stem().string() + ".DBF", fields, records, options);
}

std::string shown(std::string text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        switch (c) {
            case '\r':
                out += '\n';
                break;
            case '\a':
                out += '|';
                break;
            case '\v':
                out += "<br>";
                break;
            case '\x01':
                out += "[picture]";
                break;
            case '\x13':
                out += '{';
                break;
            case '\x14':
                break;
            case '\x15':
                out += '}';
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string documentText(const std::string& path) {
    auto doc = wordproc::Document::fromTemplate(path, nullptr);
    std::string out = shown(doc->content().text());
    for (int i = 0; i < doc->textBoxCount(); ++i)
        out += "--- text box " + std::to_string(i + 1) + " ---\n" +
               shown(doc->storyRange({wordproc::StoryKind::TextBox, i}).text());
    if (doc->hasStory({wordproc::StoryKind::Header, 0}))
        out += "--- header ---\n" + shown(doc->storyRange({wordproc::StoryKind::Header, 0}).text());
    if (doc->hasStory({wordproc::StoryKind::Footer, 0}))
        out += "--- footer ---\n" + shown(doc->storyRange({wordproc::StoryKind::Footer, 0}).text());
    return out;
}

std::vector<std::string> caseNames() {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(HALVORA_REPORT_CASES))
        if (e.is_directory()) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, FillsAsExpected) {
    const fs::path dir = fs::path(HALVORA_REPORT_CASES) / GetParam();
    dbf::testing::TempDir work;
    const fs::path data = work / "data";
    fs::create_directories(data);
    if (fs::exists(dir / "tables"))
        for (const auto& e : fs::directory_iterator(dir / "tables")) makeTable(data, e.path());
    std::string templ = (work / "template.docx").string();
    if (fs::exists(dir / "template.docx"))
        fs::copy_file(dir / "template.docx", templ);
    else if (fs::exists(dir / "template.xml"))
        wordproc::test::writeDocx(templ, readFile(dir / "template.xml"));
    else
        wordproc::test::writeDocx(templ,
                                  wordproc::test::shortFormBody(readFile(dir / "template.txt")));

    std::vector<std::string> args = {templ, (work / "out.docx").string(), "--data", data.string()};
    if (fs::exists(dir / "values.txt")) {
        args.push_back("--values");
        args.push_back((dir / "values.txt").string());
    }
    if (fs::exists(dir / "datasets.txt"))
        for (const std::string& line : lines(readFile(dir / "datasets.txt")))
            if (!line.empty()) {
                args.push_back("--dataset");
                args.push_back(line);
            }
    if (fs::exists(dir / "options.txt"))
        for (const std::string& line : lines(readFile(dir / "options.txt")))
            if (!line.empty()) args.push_back(line);
    std::ostringstream out, err;
    int status = halvora::reporttool::run(args, out, err);
    if (fs::exists(dir / "expected-error.txt")) {
        EXPECT_EQ(status, 2);
        std::string message = err.str();
        for (size_t p; (p = message.find(data.string())) != std::string::npos;)
            message.replace(p, data.string().size(), "{data}");
        EXPECT_EQ(message, readFile(dir / "expected-error.txt"));
        EXPECT_FALSE(fs::exists(work / "out.docx"));
        return;
    }
    ASSERT_EQ(status, 0) << err.str();
    if (const char* keep = std::getenv("HALVORA_GOLDEN_OUTPUT"))
        fs::copy_file(work / "out.docx", fs::path(keep) / (GetParam() + ".docx"),
                      fs::copy_options::overwrite_existing);
    std::string actual = documentText((work / "out.docx").string());
    if (std::getenv("HALVORA_UPDATE_GOLDEN")) {
        std::ofstream(dir / "expected.txt", std::ios::binary) << actual;
        return;
    }
    EXPECT_EQ(actual, readFile(dir / "expected.txt"));
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::ValuesIn(caseNames()), [](const auto& info) {
    std::string n = info.param;
    for (char& c : n)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return n;
});

}  // namespace

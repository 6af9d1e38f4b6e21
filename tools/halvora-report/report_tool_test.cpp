// halvora-report's arguments and errors: a message, exit status 2 and no output file.
#include "report_tool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "dbf/fixture.h"
#include "wordproc/docx_builder.h"

namespace fs = std::filesystem;
using namespace halvora::reporttool;

namespace {

struct Outcome {
    int status;
    std::string out, err;
};

Outcome run(std::vector<std::string> args) {
    std::ostringstream out, err;
    int status = halvora::reporttool::run(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(ReportTool, DataSetArguments) {
    DataSetArg a = parseDataSetArg("REGIM=KORAM@3");
    EXPECT_EQ(a.name, "REGIM");
    EXPECT_EQ(a.table, "KORAM");
    EXPECT_EQ(a.record, 3);
    EXPECT_EQ(parseDataSetArg("24H=RECAL.DBF").record, 1);
    for (const char* bad :
         {"REGIM", "=KORAM", "REGIM=", "REGIM=KORAM@0", "REGIM=KORAM@x", "REGIM=@2"})
        EXPECT_THROW(parseDataSetArg(bad), std::runtime_error) << bad;
}

TEST(ReportTool, ErrorsLeaveNoOutput) {
    dbf::testing::TempDir dir;
    std::string templ = (dir / "t.docx").string();
    wordproc::test::writeDocx(templ, "<w:p><w:r><w:t>x</w:t></w:r></w:p>");
    dbf::testing::makeTable(dir.path(), "KORAM.DBF", {{"D6", 'C', 10}}, {{dbf::testing::S("a")}});
    std::ofstream(dir / "values.txt") << "no equals sign\n";
    std::ofstream(dir / "broken.docx") << "not a document";
    const std::string out = (dir / "out.docx").string();
    const std::string data = dir.path().string();
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{templ}, "halvora-report wants TEMPLATE and OUT.docx (see --help)\n"},
        {{templ, out, "--bogus"}, "Unknown option --bogus (see --help)\n"},
        {{templ, out, "--data"}, "--data wants a value\n"},
        {{(dir / "none.docx").string(), out},
         "Template " + (dir / "none.docx").string() + " not found!\n"},
        {{templ, out, "--data", (dir / "nodir").string()},
         "The data directory " + (dir / "nodir").string() + " does not exist.\n"},
        {{templ, out, "--data", data, "--dataset", "REGIM=KORAM@5"},
         "--dataset REGIM=KORAM@5: the table has 1 records\n"},
        {{templ, out, "--values", (dir / "values.txt").string()},
         "The values file " + (dir / "values.txt").string() +
             " has a line without Name=: 'no equals sign'\n"},
    };
    for (const auto& c : cases) {
        Outcome o = run(c.args);
        EXPECT_EQ(o.status, 2);
        EXPECT_EQ(o.err, c.message);
        EXPECT_FALSE(fs::exists(out));
    }
    Outcome broken = run({(dir / "broken.docx").string(), out});
    EXPECT_EQ(broken.status, 2);
    EXPECT_FALSE(broken.err.empty());
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(fs::exists(out + ".partial"));
}

TEST(ReportTool, HelpNamesEveryOption) {
    Outcome o = run({"--help"});
    EXPECT_EQ(o.status, 0);
    for (const char* option : {"--data DIR", "--values FILE", "--dataset NAME=TABLE[@RECORD]",
                               "--text-tables", "--header-footer"})
        EXPECT_NE(o.out.find(option), std::string::npos) << option;
}

}  // namespace

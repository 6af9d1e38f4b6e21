// A filled report opens in another word processor: LibreOffice turns it into a PDF that
// holds the filled text (skipped where LibreOffice or pdftotext is not installed).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dbf/fixture.h"
#include "report_tool.h"

namespace fs = std::filesystem;

namespace {

TEST(FilledReport, ConvertsToPdfWithItsText) {
    if (std::system("command -v soffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "LibreOffice is not installed";
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    dbf::testing::TempDir dir;
    const fs::path cases = HALVORA_REPORT_CASES;
    dbf::testing::makeTable(dir.path(), "KORAM.DBF", {{"D6", 'C', 20}, {"D7", 'N', 8, 1}},
                            {{dbf::testing::S("Bread"), dbf::testing::F(30)}});
    const std::string out = (dir / "filled.docx").string();
    std::ofstream(dir / "values.txt") << "SubjectNo=12\nBoxTag=in the box\nClinic=North\n";
    std::ostringstream o, e;
    ASSERT_EQ(halvora::reporttool::run(
                  {(cases / "libreoffice_template" / "template.docx").string(), out, "--data",
                   dir.path().string(), "--values", (dir / "values.txt").string(), "--dataset",
                   "REGIM=KORAM", "--header-footer"},
                  o, e),
              0)
        << e.str();
    const std::string cmd = "soffice -env:UserInstallation=file://" + (dir / "profile").string() +
                            " --headless --norestore --convert-to pdf --outdir " +
                            dir.path().string() + " " + out + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    ASSERT_TRUE(fs::exists(dir / "filled.pdf"));
    ASSERT_EQ(std::system(("pdftotext -enc UTF-8 " + (dir / "filled.pdf").string() + " " +
                           (dir / "filled.txt").string())
                              .c_str()),
              0);
    std::stringstream text;
    text << std::ifstream(dir / "filled.txt").rdbuf();
    for (const char* expected :
         {"Patient: 12 seen.", "Bread", "30.0", "Box in the box here", "Clinic header North"})
        EXPECT_NE(text.str().find(expected), std::string::npos) << expected << "\n" << text.str();
}

}  // namespace

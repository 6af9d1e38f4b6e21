// What we write: deflated entries without data descriptors or zip64, content
// types and relationships per part; and, where LibreOffice is installed, that
// it reads our documents (legacy templates converted, PDF text checked).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "docx_builder.h"
#include "wordproc/application.h"
#include "wordproc/convert.h"
#include "wordproc/range.h"
#include "wordproc/shapes.h"
#include "wordproc/tables.h"
#include "wordproc/window.h"

using namespace wordproc;
using wordproc::test::dataPath;
using wordproc::test::readZip;
using wordproc::test::tempPath;
namespace fs = std::filesystem;

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

unsigned le16(const std::string& b, size_t i) {
    return static_cast<unsigned char>(b[i]) | (static_cast<unsigned char>(b[i + 1]) << 8);
}

bool replaceAll(Range r, const std::string& tag, const std::string& value) {
    return r.find().execute(tag, false, false, false, false, false, true, wd::kFindContinue, false,
                            value, wd::kReplaceAll);
}

// A filled report: tags, Farsi, header, pictures of four formats, an inserted document, a table.
std::string writeFilledReport(const std::string& name) {
    Application app;
    Document& doc = app.documents().add(dataPath("template.docx"));
    replaceAll(doc.content(), "<#SubjectNo>", "Subject 4711 & <co>");
    replaceAll(doc.content(), "<#FarsiName>",
               "\xd8\xb9\xd9\x84\xdb\x8c \xd8\xb1\xd8\xb6\xd8\xa7\xdb\x8c\xdb\x8c");
    doc.activeWindow().activePane().view().setSeekView(wd::kSeekCurrentPageHeader);
    replaceAll(doc.selection().range(), "<#Clinic>", "North Clinic");
    doc.activeWindow().activePane().view().setSeekView(wd::kSeekMainDocument);
    Selection& sel = doc.selection();
    for (const char* pic : {"grey.jpg", "green.bmp", "dot.gif"}) {
        sel.goTo({}, doc.content().end() - 1, doc.content().end() - 1);
        sel.inlineShapes().addPicture(dataPath(pic));
    }
    doc.content().select();
    sel.find().execute("<#Date1>");
    sel.setText("");
    sel.insertFile(dataPath("sub.docx"));
    sel.moveLeft();
    sel.deleteChars();
    sel.goTo({}, doc.content().end() - 1, doc.content().end() - 1);
    Table t = doc.tables().add(sel.range(), 1, 2);
    sel.typeText("Energy");
    sel.moveRight(wd::kCell);
    sel.typeText("1850 kcal");
    (void)t;
    std::string path = tempPath(name);
    doc.saveAs(path);
    return path;
}

TEST(PackageOutput, EntriesAreDeflatedWithoutDescriptorsOrZip64) {
    std::string path = writeFilledReport("format.docx");
    std::string b = slurp(path);
    int entries = 0;
    for (size_t at = b.find("PK\x03\x04"); at != std::string::npos;
         at = b.find("PK\x03\x04", at + 4)) {
        if (at + 30 > b.size()) break;
        unsigned flags = le16(b, at + 6), method = le16(b, at + 8);
        unsigned nameLen = le16(b, at + 26), extraLen = le16(b, at + 28);
        std::string name = b.substr(at + 30, nameLen);
        EXPECT_EQ(flags & 0x8, 0u) << name << " has a data descriptor";
        EXPECT_EQ(method, 8u) << name << " is not deflated";
        for (size_t x = at + 30 + nameLen; x + 4 <= at + 30 + nameLen + extraLen;
             x += 4 + le16(b, x + 2))
            EXPECT_NE(le16(b, x), 1u) << name << " has a zip64 field";
        ++entries;
    }
    EXPECT_GT(entries, 10);
    auto zip = readZip(path);
    const std::string& types = zip["[Content_Types].xml"];
    for (const char* ext :
         {"Extension=\"png\"", "Extension=\"jpeg\"", "Extension=\"bmp\"", "Extension=\"gif\""})
        EXPECT_NE(types.find(ext), std::string::npos) << ext;
    EXPECT_EQ(types.find("macroEnabled"), std::string::npos);
}

TEST(PackageOutput, APictureInTheHeaderIsRelatedFromTheHeader) {
    Application app;
    Document& doc = app.documents().add(dataPath("template.docx"));
    doc.activeWindow().view().setSeekView(wd::kSeekCurrentPageHeader);
    doc.selection().inlineShapes().addPicture(dataPath("blue.png"));
    std::string path = tempPath("header_picture.docx");
    doc.saveAs(path);
    auto zip = readZip(path);
    EXPECT_NE(zip["word/_rels/header1.xml.rels"].find("media/image2.png"), std::string::npos);
    EXPECT_EQ(zip["word/_rels/document.xml.rels"].find("image2"), std::string::npos);
}

TEST(PackageOutput, ADocumentWithoutHeaderGetsOneWhenAsked) {
    std::string path = tempPath("no_header.docx");
    wordproc::test::writeDocx(path, "<w:p><w:r><w:t>body</w:t></w:r></w:p>");
    Application app;
    Document& doc = app.documents().add(path);
    doc.activeWindow().view().setSeekView(wd::kSeekCurrentPageFooter);
    doc.selection().typeText("page foot");
    std::string out = tempPath("with_footer.docx");
    doc.saveAs(out);
    Application other;
    Document& back = other.documents().add(out);
    EXPECT_EQ(back.storyRange({StoryKind::Footer, 0}).text(), "page foot\r");
    auto zip = readZip(out);
    EXPECT_NE(zip["[Content_Types].xml"].find("/word/footer1.xml"), std::string::npos);
    std::string body = zip["word/document.xml"];
    EXPECT_LT(body.find("<w:footerReference"), body.find("<w:pgSz"));
}

struct WithLibreOffice : ::testing::Test {
    void SetUp() override {
        if (findSoffice().empty()) GTEST_SKIP() << "LibreOffice is not installed";
    }
};

TEST_F(WithLibreOffice, LegacyTemplateIsConverted) {
    Application app;
    Document& doc = app.documents().add(dataPath("legacy_template.doc"));
    EXPECT_NE(doc.content().text().find("Patient: <#SubjectNo> seen."), std::string::npos);
}

TEST_F(WithLibreOffice, WrittenDocumentConvertsToPdfWithItsText) {
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    std::string docx = writeFilledReport("for_pdf.docx");
    fs::path dir = fs::path(tempPath("pdf"));
    fs::create_directories(dir / "profile");
    std::string cmd = "soffice -env:UserInstallation=file://" + (dir / "profile").string() +
                      " --headless --norestore --convert-to pdf --outdir " + dir.string() + " " +
                      docx + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    fs::path pdf = dir / "for_pdf.pdf";
    ASSERT_TRUE(fs::exists(pdf));
    fs::path txt = dir / "for_pdf.txt";
    ASSERT_EQ(std::system(("pdftotext -enc UTF-8 " + pdf.string() + " " + txt.string()).c_str()),
              0);
    std::string text = slurp(txt.string());
    for (const char* expected : {"Subject 4711 & <co>", "North Clinic", "Inserted part", "Step two",
                                 "Energy", "1850 kcal", "Box <#BoxTag> here", "Last line."})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

}  // namespace

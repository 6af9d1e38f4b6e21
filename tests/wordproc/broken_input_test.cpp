// Broken packages and parts give a clear error, never a crash.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>

#include "docx_builder.h"
#include "wordproc/application.h"
#include "wordproc/errors.h"
#include "wordproc/range.h"
#include "wordproc/shapes.h"

using namespace wordproc;
using wordproc::test::tempPath;
using wordproc::test::writeDocx;
using wordproc::test::writeZip;

namespace {

std::string openError(const std::string& path) {
    Application app;
    try {
        app.documents().add(path);
    } catch (const WordprocError& e) {
        EXPECT_EQ(app.documents().count(), 0);
        return e.what();
    }
    return "no error";
}

void patchBytes(const std::string& path, const std::string& signature, size_t offset,
                std::uint32_t value) {
    std::ifstream in(path, std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(in)), {});
    in.close();
    size_t at = data.find(signature);
    ASSERT_NE(at, std::string::npos);
    for (int k = 0; k < 4; ++k)
        data[at + offset + k] = static_cast<char>((value >> (8 * k)) & 0xFF);
    std::ofstream(path, std::ios::binary) << data;
}

const char* kMinimalTypes =
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>";

TEST(BrokenInput, EachFaultGivesAClearMessage) {
    struct Case {
        std::string name;
        std::function<void(const std::string&)> make;
        std::string expected;
    };
    std::vector<Case> cases = {
        {"missing.docx", [](const std::string&) {}, "Template "},
        {"text.docx", [](const std::string& p) { std::ofstream(p) << "just some text"; },
         "is not a Word document"},
        {"fake_zip.docx", [](const std::string& p) { std::ofstream(p) << "PK\x03\x04garbage"; },
         "is not a Word document (it is not an OOXML package)"},
        {"no_main.docx",
         [](const std::string& p) {
             writeZip(p, {{"[Content_Types].xml", kMinimalTypes}});
         },
         "has no main document part"},
        {"malformed.docx",
         [](const std::string& p) {
             writeZip(p, {{"[Content_Types].xml", kMinimalTypes},
                          {"word/document.xml", "<w:document><w:body><w:p></w:body>"}});
         },
         "is damaged: part word/document.xml is not well-formed XML"},
        {"outside.docx",
         [](const std::string& p) {
             writeZip(p, {{"[Content_Types].xml", kMinimalTypes}, {"../../etc/evil.xml", "<x/>"}});
         },
         "leads outside the package"},
        {"not_wordml.docx",
         [](const std::string& p) {
             writeZip(p, {{"[Content_Types].xml", kMinimalTypes},
                          {"word/document.xml", "<document><body/></document>"}});
         },
         "is not a Word document this program can edit"},
        {"huge.docx",
         [](const std::string& p) {
             writeDocx(p, "<w:p/>");
             // Claims a decompressed size of almost 4 GB for its first entry.
             patchBytes(p, std::string("PK\x01\x02", 4), 24, 0xFFFFFF00u);
             patchBytes(p, std::string("PK\x03\x04", 4), 22, 0xFFFFFF00u);
         },
         "is too large"},
    };
    for (const auto& c : cases) {
        std::string path = tempPath(c.name);
        std::remove(path.c_str());
        c.make(path);
        std::string message = openError(path);
        EXPECT_NE(message.find(c.expected), std::string::npos) << c.name << ": " << message;
    }
}

TEST(BrokenInput, LegacyDocumentWithoutLibreOfficeIsRefused) {
    std::string path = tempPath("legacy.doc");
    std::ofstream(path, std::ios::binary)
        << std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) << std::string(512, '\0');
    std::string saved = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", "/nonexistent", 1);
    std::string message = openError(path);
    setenv("PATH", saved.c_str(), 1);
    EXPECT_NE(message.find("legacy Word format; LibreOffice is needed"), std::string::npos)
        << message;
}

TEST(BrokenInput, PicturesThatAreNotPicturesAreRefused) {
    std::string doc = tempPath("for_picture.docx");
    writeDocx(doc, "<w:p><w:r><w:t>x</w:t></w:r></w:p>");
    std::string fake = tempPath("fake.png");
    std::ofstream(fake) << "not a picture";
    Application app;
    Document& d = app.documents().add(doc);
    try {
        d.selection().inlineShapes().addPicture(fake);
        FAIL() << "no error";
    } catch (const WordprocError& e) {
        EXPECT_NE(std::string(e.what()).find("is not a PNG, JPEG, BMP or GIF file"),
                  std::string::npos);
    }
    EXPECT_EQ(d.content().text(), "x\r");
}

}  // namespace

// Templates as other programs write them: merged cells, wrappers around text,
// bookmarks, bodies ending in a table, several sections, foreign styles and
// legacy files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "docx_builder.h"
#include "wordproc/application.h"
#include "wordproc/convert.h"
#include "wordproc/errors.h"
#include "wordproc/fields.h"
#include "wordproc/range.h"
#include "wordproc/shapes.h"
#include "wordproc/tables.h"
#include "wordproc/window.h"

using namespace wordproc;
using wordproc::test::readZip;
using wordproc::test::tempPath;
using wordproc::test::writeDocx;
namespace fs = std::filesystem;

namespace {

std::string cell(const std::string& text, const std::string& tcPr = "") {
    return "<w:tc>" + (tcPr.empty() ? "" : "<w:tcPr>" + tcPr + "</w:tcPr>") + "<w:p><w:r><w:t>" +
           text + "</w:t></w:r></w:p></w:tc>";
}

struct ForeignTemplate : ::testing::Test {
    Application app;
    Document* doc = nullptr;
    Document& open(const std::string& body, std::map<std::string, std::string> extra = {},
                   const std::string& name = "foreign.docx") {
        std::string path = tempPath(name);
        writeDocx(path, body, std::move(extra));
        doc = &app.documents().add(path);
        return *doc;
    }
    std::string bodyXml() { return doc->package().bytes("word/document.xml"); }
    // Saves and opens the result again: what another program would read.
    std::string reopenedText() {
        std::string path = tempPath("foreign_out.docx");
        doc->saveAs(path);
        Application other;
        return other.documents().add(path).content().text();
    }
    Range find(const std::string& what) {
        Range r = doc->content();
        EXPECT_TRUE(r.find().execute(what)) << what;
        return r;
    }
};

std::string errorOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const WordprocError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST_F(ForeignTemplate, MissingMembersNameWhatWasAskedAndWhatThereIs) {
    open("<w:tbl><w:tr>" + cell("a") + cell("b") + cell("c") + "</w:tr><w:tr>" + cell("d") +
         cell("e") + cell("f") + "</w:tr></w:tbl><w:p/>");
    Table t = doc->tables().item(1);
    EXPECT_EQ(errorOf([&] { doc->tables().item(5); }), "Tables(5): the document has 1 table");
    EXPECT_EQ(errorOf([&] { t.rows().item(7); }), "Rows(7): the table has 2 rows");
    EXPECT_EQ(errorOf([&] { t.rows().item(1).cells().item(4); }), "Cells(4): the row has 3 cells");
    EXPECT_EQ(errorOf([&] { doc->shapes().item(2); }), "Shapes(2): the document has 0 shapes");
    EXPECT_EQ(errorOf([&] { doc->fields().item(1); }), "Fields(1): the document has 0 fields");
    EXPECT_EQ(errorOf([&] { app.documents().item(3); }),
              "Documents(3): the application has 1 document");
}

// Three rows, the first column merged over rows 2 and 3.
const std::string kMergedTable =
    "<w:tbl><w:tblGrid><w:gridCol w:w=\"2000\"/><w:gridCol w:w=\"2000\"/></w:tblGrid>"
    "<w:tr>" +
    cell("Group") + cell("Food") +
    "</w:tr>"
    "<w:tr>" +
    cell("Fruit", "<w:vMerge w:val=\"restart\"/>") + cell("Apple") +
    "</w:tr>"
    "<w:tr>" +
    cell("", "<w:vMerge/>") + cell("Pear") + "</w:tr></w:tbl><w:p/>";

TEST_F(ForeignTemplate, ARowAddedAfterAMergeStartsItsOwnCell) {
    open(kMergedTable);
    Table t = doc->tables().item(1);
    // Moving on from the last cell appends a row, as a report fills a table.
    t.rows().item(3).cells().item(2).select();
    doc->selection().moveRight(wd::kCell);
    doc->selection().typeText("Bread");
    auto rows = tableRows(t.node());
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_FALSE(rowCells(rows[3]).front().child("w:tcPr").child("w:vMerge"));
    EXPECT_EQ(t.rows().item(4).cells().item(1).range().text(), "Bread\a");
    // Rows added with Rows.add too, also after a merge that restarts in the last row.
    t.rows().add();
    EXPECT_FALSE(rowCells(tableRows(t.node())[4]).front().child("w:tcPr").child("w:vMerge"));
}

TEST_F(ForeignTemplate, ARowInsertedInsideAMergeContinuesIt) {
    open(kMergedTable);
    Table t = doc->tables().item(1);
    t.rows().item(3).cells().item(2).select();
    doc->selection().insertRowsAbove(1);  // between the start and the continuation
    auto rows = tableRows(t.node());
    ASSERT_EQ(rows.size(), 4u);
    auto vm = rowCells(rows[2]).front().child("w:tcPr").child("w:vMerge");
    ASSERT_TRUE(vm);
    EXPECT_FALSE(vm.attribute("w:val"));
    // Above the start of the merge the new row is outside it.
    t.rows().add(2);
    EXPECT_FALSE(rowCells(tableRows(t.node())[1]).front().child("w:tcPr").child("w:vMerge"));
    EXPECT_EQ(std::string(rowCells(tableRows(t.node())[2])
                              .front()
                              .child("w:tcPr")
                              .child("w:vMerge")
                              .attribute("w:val")
                              .value()),
              "restart");
}

TEST_F(ForeignTemplate, ABodyEndingWithATableTakesTextAtItsEnd) {
    // As python-docx and some converters write it: no paragraph after the table.
    open("<w:p><w:r><w:t>Intro</w:t></w:r></w:p><w:tbl><w:tr>" + cell("a") + "</w:tr></w:tbl>");
    Range end(*doc, {}, doc->content().end() - 1, doc->content().end() - 1);
    end.setText("After");
    EXPECT_EQ(doc->content().text(), "Intro\ra\a\aAfter\r");
    std::string xml = bodyXml();
    EXPECT_LT(xml.find("After"), xml.find("<w:sectPr"));
    EXPECT_EQ(reopenedText(), "Intro\ra\a\aAfter\r");
}

// The text under the first element of that name in the main part.
std::string textUnder(Document& d, const char* name, int* count = nullptr) {
    pugi::xml_document x;
    x.load_string(d.package().bytes("word/document.xml").c_str());
    auto all = x.select_nodes((std::string("//") + name).c_str());
    if (count) *count = static_cast<int>(all.size());
    if (all.empty()) return "(none)";
    std::string out;
    for (auto t : all.first().node().select_nodes(".//w:t")) out += t.node().child_value();
    return out;
}

struct WrapperCase {
    const char* what;
    std::string paragraph;
    const char* wrapper;
    const char* wrapperText;
};

TEST_F(ForeignTemplate, AReplacedTagStaysInsideItsWrapper) {
    const WrapperCase cases[] = {
        {"hyperlink",
         "<w:p><w:hyperlink r:id=\"rId9\" w:history=\"1\"><w:r><w:t xml:space=\"preserve\">see "
         "&lt;#name&gt; now</w:t></w:r></w:hyperlink></w:p>",
         "w:hyperlink", "see A&B <c> now"},
        {"inline content control",
         "<w:p><w:r><w:t>Dear </w:t></w:r><w:sdt><w:sdtPr><w:id w:val=\"7\"/></w:sdtPr>"
         "<w:sdtContent><w:r><w:t>&lt;#name&gt;</w:t></w:r></w:sdtContent></w:sdt></w:p>",
         "w:sdtContent", "A&B <c>"},
        {"simple field",
         "<w:p><w:fldSimple w:instr=\" MERGEFIELD name \"><w:r><w:t>&lt;#name&gt;</w:t></w:r>"
         "</w:fldSimple></w:p>",
         "w:fldSimple", "A&B <c>"},
        {"tracked insertion",
         "<w:p><w:ins w:id=\"3\" w:author=\"x\"><w:r><w:t>Dear &lt;#name&gt;,</w:t></w:r></w:ins>"
         "</w:p>",
         "w:ins", "Dear A&B <c>,"},
        {"tag over runs of other formatting and a proofing mark",
         "<w:p><w:hyperlink w:anchor=\"top\"><w:r><w:rPr><w:b/></w:rPr><w:t>&lt;#na</w:t></w:r>"
         "<w:proofErr w:type=\"spellStart\"/><w:r><w:t>me&gt;</w:t></w:r><w:proofErr "
         "w:type=\"spellEnd\"/></w:hyperlink></w:p>",
         "w:hyperlink", "A&B <c>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        open(c.paragraph);
        doc->content().find().execute("<#name>", false, false, false, false, false, true,
                                      wd::kFindContinue, false, "A&B <c>\x01", wd::kReplaceAll);
        int count = 0;
        EXPECT_EQ(textUnder(*doc, c.wrapper, &count), c.wrapperText);
        EXPECT_EQ(count, 1);
        EXPECT_NE(reopenedText().find("A&B <c>"), std::string::npos);
    }
}

TEST_F(ForeignTemplate, AValueOfSeveralParagraphsStaysInTheLinkOfItsTag) {
    open(
        "<w:p><w:hyperlink r:id=\"rId9\"><w:r><w:t xml:space=\"preserve\">see &lt;#name&gt; "
        "now</w:t></w:r></w:hyperlink></w:p>");
    find("<#name>").setText("one\rtwo");
    EXPECT_EQ(doc->content().text(), "see one\rtwo now\r");
    pugi::xml_document x;
    x.load_string(bodyXml().c_str());
    std::vector<std::string> links;
    for (auto h : x.select_nodes("//w:hyperlink")) {
        std::string t;
        for (auto n : h.node().select_nodes(".//w:t")) t += n.node().child_value();
        links.push_back(t);
    }
    EXPECT_EQ(links, (std::vector<std::string>{"see one", "two now"}));
}

TEST_F(ForeignTemplate, BookmarksInAReplacedOrDeletedTagAreKept) {
    // One bookmark ends inside the tag, one starts in it and ends in the next
    // paragraph, one lies wholly inside it.
    open(
        "<w:p><w:bookmarkStart w:id=\"1\" w:name=\"before\"/><w:r><w:t>A &lt;#na</w:t></w:r>"
        "<w:bookmarkEnd w:id=\"1\"/><w:bookmarkStart w:id=\"2\" w:name=\"after\"/>"
        "<w:r><w:t>m</w:t></w:r><w:bookmarkStart w:id=\"3\" w:name=\"inside\"/>"
        "<w:bookmarkEnd w:id=\"3\"/><w:r><w:t>e&gt; B</w:t></w:r></w:p>"
        "<w:p><w:r><w:t>next</w:t></w:r><w:bookmarkEnd w:id=\"2\"/></w:p>"
        "<w:p><w:r><w:t>&lt;#gone</w:t></w:r><w:bookmarkStart w:id=\"4\" w:name=\"g\"/>"
        "<w:r><w:t>&gt;</w:t></w:r><w:bookmarkEnd w:id=\"4\"/></w:p>"
        "<w:p><w:bookmarkStart w:id=\"5\" w:name=\"long\"/><w:r><w:t>doomed</w:t></w:r></w:p>"
        "<w:p><w:r><w:t>kept</w:t></w:r><w:bookmarkEnd w:id=\"5\"/></w:p>");
    find("<#name>").setText("Ann");
    find("<#gone>").setText("");
    // A whole paragraph deleted, with a bookmark that ends after it.
    Range doomed = find("doomed");
    Range(*doc, {}, doomed.start(), doomed.end() + 1).setText("");
    EXPECT_EQ(doc->content().text(), "A Ann B\rnext\r\rkept\r");
    std::string xml = bodyXml();
    for (int id = 1; id <= 5; ++id) {
        std::string start = "<w:bookmarkStart w:id=\"" + std::to_string(id) + "\"";
        std::string end = "<w:bookmarkEnd w:id=\"" + std::to_string(id) + "\"/>";
        ASSERT_NE(xml.find(start), std::string::npos) << id;
        ASSERT_NE(xml.find(end), std::string::npos) << id;
        EXPECT_LT(xml.find(start), xml.find(end)) << id;
    }
}

std::string headerPart(const char* root, const std::string& text) {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<") + root +
           " " + wordproc::test::kNs + "><w:p><w:r><w:t>" + text + "</w:t></w:r></w:p></" + root +
           ">";
}

TEST_F(ForeignTemplate, TheHeaderReachedIsThatOfTheSectionAndPageOfTheSelection) {
    auto rel = [](const char* id, const char* type, const char* target) {
        return std::string("<Relationship Id=\"") + id +
               "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/" +
               type + "\" Target=\"" + target + "\"/>";
    };
    auto ref = [](const char* kind, const char* type, const char* id) {
        return std::string("<w:") + kind + "Reference w:type=\"" + type + "\" r:id=\"" + id +
               "\"/>";
    };
    // Section one: a title page with a first-page header, and a default header
    // and footer; section two: a header of its own, the footer inherited.
    std::string body =
        "<w:p><w:r><w:t>cover</w:t></w:r></w:p>"
        "<w:p><w:r><w:br w:type=\"page\"/><w:t>inside</w:t></w:r></w:p>"
        "<w:p><w:pPr><w:sectPr>" +
        ref("header", "first", "rH1") + ref("header", "default", "rH2") +
        ref("footer", "default", "rF1") +
        "<w:titlePg/></w:sectPr></w:pPr><w:r><w:t>end of one</w:t></w:r></w:p>"
        "<w:p><w:r><w:t>second</w:t></w:r></w:p>";
    std::map<std::string, std::string> extra = {
        {"word/header1.xml", headerPart("w:hdr", "first page")},
        {"word/header2.xml", headerPart("w:hdr", "section one")},
        {"word/header3.xml", headerPart("w:hdr", "section two")},
        {"word/footer1.xml", headerPart("w:ftr", "foot one")},
        {"word/_rels/document.xml.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<Relationships "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
             rel("rH1", "header", "header1.xml") + rel("rH2", "header", "header2.xml") +
             rel("rH3", "header", "header3.xml") + rel("rF1", "footer", "footer1.xml") +
             "</Relationships>"}};
    // The body's own section properties come from the builder: give them a header.
    std::string path = tempPath("sections.docx");
    writeDocx(path, body, extra);
    {
        auto zip = readZip(path);
        std::string xml = zip["word/document.xml"];
        xml.replace(xml.find("<w:sectPr><w:pgSz"), 10,
                    "<w:sectPr>" + ref("header", "default", "rH3"));
        zip["word/document.xml"] = xml;
        wordproc::test::writeZip(path, zip);
    }
    doc = &app.documents().add(path);
    struct Case {
        const char* at;
        int seek;
        const char* expected;
    };
    const Case cases[] = {
        {"cover", wd::kSeekCurrentPageHeader, "first page\r"},
        {"inside", wd::kSeekCurrentPageHeader, "section one\r"},
        {"end of one", wd::kSeekCurrentPageHeader, "section one\r"},
        {"second", wd::kSeekCurrentPageHeader, "section two\r"},
        {"second", wd::kSeekCurrentPageFooter, "foot one\r"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.at);
        doc->activeWindow().view().setSeekView(wd::kSeekMainDocument);
        find(c.at).select();
        doc->activeWindow().view().setSeekView(c.seek);
        EXPECT_EQ(doc->selection().story().kind,
                  c.seek == wd::kSeekCurrentPageHeader ? StoryKind::Header : StoryKind::Footer);
        EXPECT_EQ(doc->storyRange(doc->selection().story()).text(), c.expected);
    }
    // Typing there changes that header only.
    find("cover").select();
    doc->activeWindow().view().setSeekView(wd::kSeekCurrentPageHeader);
    doc->selection().typeText("Title: ");
    std::string out = tempPath("sections_out.docx");
    doc->saveAs(out);
    auto zip = readZip(out);
    EXPECT_NE(zip["word/header1.xml"].find("Title: "), std::string::npos);
    EXPECT_EQ(zip["word/header2.xml"].find("Title: "), std::string::npos);
    EXPECT_EQ(zip["word/header3.xml"].find("Title: "), std::string::npos);
}

const char* kStylesHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:styles "
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">";

std::string style(const std::string& id, const std::string& name, const std::string& font) {
    return "<w:style w:type=\"paragraph\" w:styleId=\"" + id + "\"><w:name w:val=\"" + name +
           "\"/><w:rPr><w:rFonts w:ascii=\"" + font + "\"/></w:rPr></w:style>";
}

std::map<std::string, std::string> withStyles(const std::string& styles) {
    return {{"word/styles.xml", kStylesHead + styles + "</w:styles>"},
            {"word/_rels/document.xml.rels",
             "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<Relationships "
             "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
             "<Relationship Id=\"rIdS\" "
             "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
             "Target=\"styles.xml\"/></Relationships>"}};
}

TEST_F(ForeignTemplate, InsertedTextTakesOurStylesOfTheSameIdOrName) {
    std::string sub = tempPath("foreign_sub.docx");
    writeDocx(
        sub,
        "<w:p><w:r><w:t>zero</w:t></w:r></w:p>"
        "<w:p><w:pPr><w:pStyle w:val=\"Normal\"/></w:pPr><w:r><w:t>one</w:t></w:r></w:p>"
        "<w:p><w:pPr><w:pStyle w:val=\"Standard\"/></w:pPr><w:r><w:t>two</w:t></w:r></w:p>"
        "<w:p><w:pPr><w:pStyle w:val=\"Extra\"/></w:pPr><w:r><w:t>three</w:t></w:r></w:p>",
        withStyles(style("Normal", "Normal", "Courier") +
                   style("Standard", "Heading 1", "Courier") + style("Extra", "Extra", "Courier")));
    open("<w:p><w:r><w:t>Body</w:t></w:r></w:p>",
         withStyles(style("Normal", "Normal", "Arial") + style("Heading1", "heading 1", "Arial")));
    Range end(*doc, {}, doc->content().end() - 1, doc->content().end() - 1);
    end.insertFile(sub);
    std::string styles = doc->package().bytes("word/styles.xml");
    std::string xml = bodyXml();
    EXPECT_EQ(styles.find("Normal1"), std::string::npos);
    EXPECT_EQ(styles.find("w:styleId=\"Standard\""), std::string::npos);
    EXPECT_NE(styles.find("w:styleId=\"Extra\""), std::string::npos);  // ours has none
    EXPECT_EQ(styles.find("<w:rFonts w:ascii=\"Courier\"/></w:rPr></w:style><w:style"),
              std::string::npos);
    EXPECT_NE(xml.find("<w:pStyle w:val=\"Heading1\"/></w:pPr><w:r><w:t>two"), std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<w:pStyle w:val=\"Normal\"/></w:pPr><w:r><w:t>one"), std::string::npos);
}

struct LegacyConversion : ::testing::Test {
    int conversions = 0;
    std::string docx = tempPath("converted_source.docx");
    std::string legacy = tempPath("legacy.doc");
    void SetUp() override {
        writeDocx(docx, "<w:p><w:r><w:t>converted</w:t></w:r></w:p>");
        writeLegacy("v1");
        setConverter([this](const std::string&, const std::string& to, const std::string&) {
            ++conversions;
            fs::copy_file(docx, to, fs::copy_options::overwrite_existing);
        });
    }
    void TearDown() override { setConverter({}); }
    void writeLegacy(const std::string& tail) {
        std::ofstream out(legacy, std::ios::binary);
        out << "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" << tail;
    }
};

TEST_F(LegacyConversion, ATemplateIsConvertedOnceWhileItIsUnchanged) {
    Application app;
    EXPECT_EQ(app.documents().add(legacy).content().text(), "converted\r");
    EXPECT_EQ(app.documents().add(legacy).content().text(), "converted\r");
    EXPECT_EQ(conversions, 1);
    // The converted copy is not among the files a report deletes.
    std::string kept = convertedDocx(legacy, legacy);
    EXPECT_TRUE(fs::exists(kept));
    EXPECT_EQ(conversions, 1);
    writeLegacy("version two, longer");
    app.documents().add(legacy);
    EXPECT_EQ(conversions, 2);
}

TEST_F(LegacyConversion, AFailedConversionIsNotKept) {
    setConverter([this](const std::string&, const std::string&, const std::string& label) {
        ++conversions;
        throw WordprocError("The template " + label + " could not be converted.");
    });
    Application app;
    EXPECT_THROW(app.documents().add(legacy), WordprocError);
    EXPECT_THROW(app.documents().add(legacy), WordprocError);
    EXPECT_EQ(conversions, 2);
}

}  // namespace

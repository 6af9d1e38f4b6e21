// Positions, text and edits of stories, on documents built in code.
#include <gtest/gtest.h>

#include "docx_builder.h"
#include "wordproc/application.h"
#include "wordproc/errors.h"
#include "wordproc/fields.h"
#include "wordproc/range.h"
#include "wordproc/tables.h"

using namespace wordproc;
using wordproc::test::tempPath;
using wordproc::test::writeDocx;

namespace {

const char* kBody =
    "<w:p><w:r><w:t>Hello</w:t></w:r></w:p>"
    "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>a</w:t></w:r></w:p></w:tc>"
    "<w:tc><w:p><w:r><w:t>bc</w:t></w:r></w:p></w:tc></w:tr></w:tbl>"
    "<w:p><w:r><w:t xml:space=\"preserve\">x </w:t></w:r><w:r><w:tab/><w:t>y</w:t></w:r></w:p>";

struct Fixture : ::testing::Test {
    Application app;
    Document* doc = nullptr;
    void open(const std::string& body, const std::string& name = "model.docx") {
        std::string path = tempPath(name);
        writeDocx(path, body);
        doc = &app.documents().add(path);
    }
    std::string text() { return doc->content().text(); }
    Range range(int s, int e) { return Range(*doc, {}, s, e); }
};

using TextModel = Fixture;

TEST_F(TextModel, CountsParagraphEndsCellEndsAndRowEnds) {
    open(kBody);
    EXPECT_EQ(text(), "Hello\ra\abc\a\ax \ty\r");
    EXPECT_EQ(doc->content().end(), 17);
    EXPECT_EQ(range(8, 10).text(), "bc");
    EXPECT_FALSE(range(3, 3).inTable());
    EXPECT_TRUE(range(8, 8).inTable());
    EXPECT_EQ(range(8, 8).rowNumber(), 1);
    EXPECT_EQ(range(12, 12).rowNumber(), -1);
}

TEST_F(TextModel, SetTextInsideAParagraphKeepsTheRest) {
    open(kBody);
    Range r = range(1, 4);
    r.setText("ipp");
    EXPECT_EQ(r.start(), 1);
    EXPECT_EQ(r.end(), 4);
    EXPECT_EQ(text(), "Hippo\ra\abc\a\ax \ty\r");
    range(14, 14).setText("Z");  // before the tab
    EXPECT_EQ(text(), "Hippo\ra\abc\a\ax Z\ty\r");
}

TEST_F(TextModel, ParagraphMarksInTextStartParagraphs) {
    open("<w:p><w:pPr><w:pStyle w:val=\"Title\"/></w:pPr><w:r><w:t>abcd</w:t></w:r></w:p>");
    std::string before = doc->package().bytes("word/document.xml");
    unsigned generation = doc->generation();
    range(2, 2).setText("X\r\nY\rZ");
    EXPECT_EQ(text(), "abX\rY\rZcd\r");
    // Every new paragraph keeps the paragraph's style.
    auto& xml = doc->package().xml("word/document.xml");
    int styled = 0;
    for (auto p : xml.document_element().child("w:body").children("w:p"))
        if (p.child("w:pPr").child("w:pStyle")) ++styled;
    EXPECT_EQ(styled, 3);
    // Only the paragraph was kept for undo, not the document.
    EXPECT_EQ(doc->generation(), generation);
    EXPECT_TRUE(doc->undo());
    EXPECT_EQ(doc->package().bytes("word/document.xml"), before);
}

TEST_F(TextModel, DeletingAcrossParagraphsMergesThem) {
    open(
        "<w:p><w:r><w:t>one</w:t></w:r></w:p><w:p><w:r><w:t>two</w:t></w:r></w:p>"
        "<w:p><w:r><w:t>three</w:t></w:r></w:p>");
    range(2, 9).deleteText();  // "e\rtwo\rth"
    EXPECT_EQ(text(), "onhree\r");
}

TEST_F(TextModel, DeletingAcrossCellsEmptiesThemAndKeepsTheTable) {
    open(kBody);
    range(3, 9).deleteText();
    EXPECT_EQ(text(), "Hel\r\ac\a\ax \ty\r");
    EXPECT_EQ(doc->tables().count(), 1);
}

TEST_F(TextModel, DeletingAWholeTableLeavesAParagraph) {
    open(kBody);
    range(6, 12).deleteText();
    EXPECT_EQ(text(), "Hello\rx \ty\r");
    EXPECT_EQ(doc->tables().count(), 0);
}

TEST_F(TextModel, TheLastParagraphMarkStays) {
    open(kBody);
    Range all = doc->content();
    all.deleteText();
    EXPECT_EQ(text(), "\r");
}

TEST_F(TextModel, ControlCharactersAreDroppedAndXmlSpecialsKept) {
    open(kBody);
    range(0, 5).setText(std::string("a&b<c>\x01\x02 \"q\" \t\v") + "\xD9\x86\xD8\xA7\xD9\x85 ");
    EXPECT_EQ(range(0, 17).text(), "a&b<c> \"q\" \t\v\xD9\x86\xD8\xA7\xD9\x85 ");
    std::string path = tempPath("specials.docx");
    doc->saveAs(path);
    Application other;
    Document& back = other.documents().add(path);
    EXPECT_EQ(back.content().text(), text());
}

TEST_F(TextModel, FieldsCountAndDeleteAsAWhole) {
    open(
        "<w:p><w:r><w:t>a</w:t></w:r><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r>"
        "<w:r><w:instrText> PAGE </w:instrText></w:r><w:r><w:fldChar "
        "w:fldCharType=\"separate\"/></w:r>"
        "<w:r><w:t>7</w:t></w:r><w:r><w:fldChar "
        "w:fldCharType=\"end\"/></w:r><w:r><w:t>b</w:t></w:r></w:p>");
    EXPECT_EQ(text(),
              "a\x13\x14"
              "7\x15"
              "b\r");
    range(1, 2).deleteText();  // takes the begin: the whole field goes
    EXPECT_EQ(text(), "ab\r");
    std::string xml = doc->package().bytes("word/document.xml");
    EXPECT_EQ(xml.find("instrText"), std::string::npos);
}

TEST_F(TextModel, TextFormFieldFormatAndAResultWhereThereWasNone) {
    open(
        "<w:p><w:r><w:t>n: </w:t></w:r><w:r><w:fldChar w:fldCharType=\"begin\"><w:ffData>"
        "<w:name w:val=\"F1\"/><w:textInput><w:format w:val=\"&lt;#*Name&gt;\"/></w:textInput>"
        "</w:ffData></w:fldChar></w:r><w:r><w:instrText> FORMTEXT </w:instrText></w:r>"
        "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>");
    ASSERT_EQ(doc->formFields().count(), 1);
    FormField ff = doc->formFields().item(1);
    EXPECT_EQ(ff.textInput().format(), "<#*Name>");
    EXPECT_EQ(ff.result(), "");
    ff.setResult("<#Name>");
    EXPECT_EQ(ff.result(), "<#Name>");
    EXPECT_EQ(text(), "n: \x13\x14<#Name>\x15\r");
    EXPECT_EQ(doc->fields().item(1).type(), wd::kFieldFormTextInput);
}

}  // namespace

// Operations on a template written by LibreOffice: split tags, header and
// footer, text boxes with their fallback copy, pictures, form fields, Farsi text.
#include <gtest/gtest.h>

#include <filesystem>

#include "docx_builder.h"
#include "wordproc/application.h"
#include "wordproc/fields.h"
#include "wordproc/range.h"
#include "wordproc/shapes.h"
#include "wordproc/tables.h"
#include "wordproc/window.h"

using namespace wordproc;
using wordproc::test::dataPath;
using wordproc::test::readZip;
using wordproc::test::tempPath;

namespace {

struct TemplateTest : ::testing::Test {
    Application app;
    Document& doc = app.documents().add(dataPath("template.docx"));
    bool replaceAll(Range r, const std::string& tag, const std::string& value) {
        return r.find().execute(tag, false, false, false, false, false, true, wd::kFindContinue,
                                false, value, wd::kReplaceAll);
    }
    std::string reopenedText(StoryRef ref = {}) {
        std::string path = tempPath("reopened.docx");
        doc.saveAs(path);
        Application other;
        return other.documents().add(path).storyRange(ref).text();
    }
};

TEST_F(TemplateTest, ATagSplitAcrossRunsIsReplacedAndTheNeighboursKeepTheirFormatting) {
    ASSERT_NE(doc.content().text().find("Patient: <#SubjectNo> seen."), std::string::npos);
    EXPECT_TRUE(replaceAll(doc.content(), "<#subjectno>", "12"));
    EXPECT_NE(doc.content().text().find("Patient: 12 seen."), std::string::npos);
    std::string xml = doc.package().bytes("word/document.xml");
    // The value takes the formatting of the tag's first character (bold).
    EXPECT_NE(xml.find("<w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">12</w:t></w:r>"),
              std::string::npos);
    EXPECT_NE(xml.find("<w:t xml:space=\"preserve\">Patient: </w:t>"), std::string::npos);
    EXPECT_EQ(xml.find("ject"), std::string::npos);
    EXPECT_NE(reopenedText().find("Patient: 12 seen."), std::string::npos);
}

TEST_F(TemplateTest, FarsiTagSplitByDirectionIsReplaced) {
    EXPECT_TRUE(replaceAll(doc.content(), "<#FarsiName>", "\xd8\xb9\xd9\x84\xdb\x8c"));
    EXPECT_NE(doc.content().text().find(
                  "\xd9\x86\xd8\xa7\xd9\x85 \xd8\xa8\xdb\x8c\xd9\x85\xd8\xa7\xd8\xb1: "
                  "\xd8\xb9\xd9\x84\xdb\x8c"),
              std::string::npos);
}

TEST_F(TemplateTest, FindSelectsTheTagAndWrapModesDecideWhereItLooks) {
    Selection& sel = doc.selection();
    doc.content().select();
    ASSERT_TRUE(sel.find().execute("<#date1>"));
    EXPECT_EQ(sel.text(), "<#Date1>");
    int after = sel.end();
    // Found again from after the hit: nothing more in the main text.
    EXPECT_FALSE(
        sel.find().execute("<#Date1>", false, false, false, false, false, true, wd::kFindAsk));
    EXPECT_EQ(sel.start(), after - 8);
    sel.goTo({}, after, after);
    EXPECT_FALSE(
        sel.find().execute("<#Date1>", false, false, false, false, false, true, wd::kFindStop));
    EXPECT_TRUE(
        sel.find().execute("<#Date1>", false, false, false, false, false, true, wd::kFindContinue));
    EXPECT_FALSE(sel.find().execute("<#DATE1>", true));
}

TEST_F(TemplateTest, HeaderAndFooterAreStoriesOfTheirOwn) {
    View& view = doc.activeWindow().activePane().view();
    view.setSeekView(wd::kSeekCurrentPageHeader);
    Selection& sel = doc.selection();
    EXPECT_EQ(sel.story().kind, StoryKind::Header);
    EXPECT_TRUE(replaceAll(sel.range(), "<#Clinic>", "North"));
    view.setSeekView(wd::kSeekCurrentPageFooter);
    EXPECT_TRUE(replaceAll(doc.selection().range(), "<#Footer>", "F"));
    EXPECT_EQ(reopenedText({StoryKind::Header, 0}), "Clinic header North\r");
    EXPECT_NE(reopenedText({StoryKind::Footer, 0}).find("footer F"), std::string::npos);
    view.setSeekView(wd::kSeekMainDocument);
    EXPECT_EQ(doc.selection().story().kind, StoryKind::Main);
}

TEST_F(TemplateTest, TextBoxIsAShapeAndItsFallbackCopyFollowsTheEdit) {
    Shapes shapes = doc.shapes();
    ASSERT_EQ(shapes.count(), 1);
    Shape box = shapes.item(1);
    EXPECT_EQ(box.type(), mso::kTextBox);
    EXPECT_EQ(box.name(), "NoteBox");
    ASSERT_TRUE(box.textFrame().hasText());
    EXPECT_NEAR(box.width(), 170.05, 0.1);
    box.textFrame().textRange().select();
    EXPECT_TRUE(replaceAll(doc.selection().range(), "<#BoxTag>", "Tea"));
    EXPECT_EQ(doc.selection().shapeRange().count(), 1);
    EXPECT_NEAR(doc.selection().shapeRange().height(), 85.0, 0.1);
    std::string path = tempPath("box.docx");
    doc.saveAs(path);
    std::string xml = readZip(path)["word/document.xml"];
    size_t fallback = xml.find("<mc:Fallback>");
    ASSERT_NE(fallback, std::string::npos);
    EXPECT_NE(xml.find(">Tea<", fallback), std::string::npos);
    EXPECT_EQ(xml.find("BoxTag"), std::string::npos);
    // The main text does not see the box's text.
    EXPECT_EQ(doc.content().text().find("Box Tea"), std::string::npos);
}

TEST_F(TemplateTest, AnInlinePictureIsOneCharacter) {
    std::string text = doc.content().text();
    EXPECT_NE(text.find("Logo: \x01 end"), std::string::npos);
}

TEST_F(TemplateTest, PictureReplacesTheSelectionAndScalesDownIntoTheTextBox) {
    Range box = doc.shapes().item(1).textFrame().textRange();
    box.select();
    ASSERT_TRUE(doc.selection().find().execute("<#BoxTag>"));
    InlineShape pic = doc.selection().inlineShapes().addPicture(dataPath("blue.png"));
    EXPECT_NEAR(pic.width(), 22.5, 0.01);  // 30 px at 96 dpi
    pic.scaleDownToFit(10, 100);
    EXPECT_NEAR(pic.width(), 10, 0.01);
    EXPECT_NEAR(pic.height(), 10, 0.01);
    EXPECT_EQ(doc.storyRange({StoryKind::TextBox, 0}).text(), "Box \x01 here\r");
    std::string path = tempPath("picture.docx");
    doc.saveAs(path);
    auto zip = readZip(path);
    EXPECT_TRUE(zip.count("word/media/image2.png"));
    EXPECT_NE(zip["[Content_Types].xml"].find("Extension=\"png\""), std::string::npos);
    EXPECT_NE(zip["word/_rels/document.xml.rels"].find("media/image2.png"), std::string::npos);
}

TEST_F(TemplateTest, TextFormFieldShowsItsResult) {
    ASSERT_EQ(doc.formFields().count(), 1);
    FormField ff = doc.formFields().item(1);
    EXPECT_EQ(ff.type(), wd::kFieldFormTextInput);
    EXPECT_EQ(ff.textInput().type(), wd::kRegularText);
    EXPECT_EQ(ff.result(), "<#Name>");
    ff.setResult("Sara & Ali");
    EXPECT_EQ(ff.result(), "Sara & Ali");
    EXPECT_NE(reopenedText().find("Name field: \x13\x14Sara & Ali\x15 done"), std::string::npos);
    // Footer page number is a field of the footer, not of the main text.
    EXPECT_EQ(doc.fields().count(), 1);
}

TEST_F(TemplateTest, TypingOverASelectedFormFieldReplacesTheWholeField) {
    doc.formFields().item(1).select();
    doc.selection().typeText("<#Name>");
    EXPECT_EQ(doc.formFields().count(), 0);
    EXPECT_NE(doc.content().text().find("Name field: <#Name> done"), std::string::npos);
    EXPECT_EQ(doc.package().bytes("word/document.xml").find("FORMTEXT"), std::string::npos);
}

TEST_F(TemplateTest, UnchangedDocumentKeepsItsParts) {
    std::string path = tempPath("unchanged.docx");
    doc.saveAs(path);
    auto before = readZip(dataPath("template.docx"));
    auto after = readZip(path);
    ASSERT_EQ(before.size(), after.size());
    for (const auto& [name, data] : before) {
        ASSERT_TRUE(after.count(name)) << name;
        EXPECT_EQ(after[name], data) << name;
    }
}

}  // namespace

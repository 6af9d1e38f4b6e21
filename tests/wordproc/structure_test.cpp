// Tables, formatted content, inserting documents and undo.
#include <gtest/gtest.h>

#include <functional>

#include "docx_builder.h"
#include "wordproc/application.h"
#include "wordproc/formatted_text.h"
#include "wordproc/range.h"
#include "wordproc/tables.h"

using namespace wordproc;
using wordproc::test::dataPath;
using wordproc::test::readZip;
using wordproc::test::tempPath;
using wordproc::test::writeDocx;

namespace {

struct StructureTest : ::testing::Test {
    Application app;
    Document& doc = app.documents().add(dataPath("template.docx"));
    Table plan() { return doc.tables().item(1); }
    std::string cellText(int row, int cell) {
        std::string t = plan().rows().item(row).cells().item(cell).range().text();
        return t.substr(0, t.size() - 1);  // without the cell mark
    }
    std::string saveAndReopenText() {
        std::string path = tempPath("structure.docx");
        doc.saveAs(path);
        Application other;
        return other.documents().add(path).content().text();
    }
};

TEST_F(StructureTest, RowsAndCellsOfTheTemplateTable) {
    ASSERT_EQ(doc.tables().count(), 1);
    EXPECT_EQ(plan().rows().count(), 3);
    EXPECT_EQ(plan().rows().item(3).cells().count(), 3);
    EXPECT_EQ(cellText(3, 2), "D7:#0.0");
    plan().rows().item(3).cells().item(2).select();
    EXPECT_TRUE(doc.selection().information(wd::kWithInTable));
    EXPECT_EQ(doc.selection().rowNumber(), 3);
    EXPECT_EQ(doc.selection().text(), "D7:#0.0\a");
}

TEST_F(StructureTest, TemplateTableFillDeletesTheTagRowAndInsertsRowsAbove) {
    Range r = plan().range();
    ASSERT_TRUE(r.find().execute("<#table:REGIM>"));
    r.select();
    doc.selection().deleteCells(wd::kDeleteCellsEntireRow);
    doc.selection().homeKey(wd::kLine);
    ASSERT_TRUE(doc.selection().information(wd::kWithInTable));
    int row = doc.selection().rowNumber();
    EXPECT_EQ(row, 2);
    plan().rows().item(row).cells().item(1).select();
    doc.selection().setText("Rice");
    doc.selection().insertRowsAbove(1);
    EXPECT_EQ(doc.selection().rowNumber(), 2);
    plan().rows().item(2).cells().item(1).select();
    doc.selection().setText("Bread");
    EXPECT_EQ(plan().rows().count(), 3);
    EXPECT_EQ(cellText(2, 1), "Bread");
    EXPECT_EQ(cellText(3, 1), "Rice");
    EXPECT_EQ(cellText(2, 3), "");  // inserted rows are empty
    EXPECT_EQ(cellText(3, 3), "*note");
    EXPECT_NE(
        saveAndReopenText().find("Food\aAmount\aNote\a\aBread\a\a\a\aRice\aD7:#0.0\a*note\a\a"),
        std::string::npos);
}

TEST_F(StructureTest, MovingByCellFromTheLastCellAddsARow) {
    plan().rows().item(3).cells().item(3).select();
    doc.selection().moveRight(wd::kCell);
    EXPECT_EQ(plan().rows().count(), 4);
    doc.selection().typeText("new");
    EXPECT_EQ(cellText(4, 1), "new");
    doc.selection().moveRight(wd::kCell);
    doc.selection().typeText("x");
    EXPECT_EQ(cellText(4, 2), "x");
}

TEST_F(StructureTest, GeneratedTableAtTheSelectionWithBoldCaptionsAndWidths) {
    Selection& sel = doc.selection();
    doc.content().select();
    ASSERT_TRUE(sel.find().execute("<#Date1>"));
    sel.setText("");
    Table t = doc.tables().add(sel.range(), 1, 2);
    double total = t.columns().width() * 2;
    t.columns().item(1).setWidth(total / 4);
    t.columns().item(2).setWidth(total * 3 / 4);
    EXPECT_NEAR(t.columns().item(1).width(), total / 4, 0.05);
    EXPECT_EQ(t.columns().width(), wd::kUndefined);
    sel.font().setBold(true);
    sel.typeText("Name");
    sel.moveRight(wd::kCell);
    sel.typeText("Grams");
    sel.moveRight(wd::kCell);
    sel.font().setBold(false);
    sel.typeText("Rice");
    EXPECT_EQ(t.rows().count(), 2);
    std::string xml = doc.package().bytes("word/document.xml");
    EXPECT_NE(
        xml.find("<w:b w:val=\"1\"/><w:bCs w:val=\"1\"/></w:rPr><w:t xml:space=\"preserve\">Name"),
        std::string::npos);
    EXPECT_NE(
        xml.find("<w:b w:val=\"0\"/><w:bCs w:val=\"0\"/></w:rPr><w:t xml:space=\"preserve\">Rice"),
        std::string::npos);
    // The date paragraph became "Date: ", the table, then an empty paragraph.
    EXPECT_NE(saveAndReopenText().find("Date: \rName\aGrams\a\aRice\a\a\a\r"), std::string::npos);
}

TEST_F(StructureTest, TableRowFormattedContentIsCopiedAboveTheSelectedRow) {
    FormattedText row = plan().rows().item(3).range().formattedText();
    ASSERT_EQ(row.kind, FormattedText::Kind::Rows);
    plan().rows().item(2).range().setFormattedText(row);
    EXPECT_EQ(plan().rows().count(), 4);
    EXPECT_EQ(cellText(2, 2), "D7:#0.0");
    EXPECT_EQ(cellText(3, 1), "<#table:REGIM>");
}

TEST_F(StructureTest, FormattedTextOfPartOfAParagraphKeepsRunFormatting) {
    Range r = doc.content();
    ASSERT_TRUE(r.find().execute("<#SubjectNo>"));
    FormattedText tag = r.formattedText();
    ASSERT_EQ(tag.kind, FormattedText::Kind::Inline);
    Range end(doc, {}, doc.content().end() - 1, doc.content().end() - 1);
    end.setFormattedText(tag);
    EXPECT_EQ(end.text(), "<#SubjectNo>");
    std::string text = saveAndReopenText();
    EXPECT_NE(text.find("Last line.<#SubjectNo>\r"), std::string::npos);
    std::string xml = doc.package().bytes("word/document.xml");
    size_t last = xml.rfind("Last line.");
    EXPECT_NE(xml.find("<w:i/></w:rPr><w:t>ject</w:t>", last), std::string::npos);
}

TEST_F(StructureTest, InsertingADocumentBringsItsStylesListsAndPictures) {
    Selection& sel = doc.selection();
    doc.content().select();
    ASSERT_TRUE(sel.find().execute("<#Date1>"));
    sel.setText("");
    int at = sel.start();
    sel.insertFile(dataPath("sub.docx"));
    sel.moveLeft(wd::kCharacter, 1);
    sel.deleteChars(wd::kCharacter, 1);
    std::string text = doc.content().text();
    EXPECT_NE(text.find("Date: Inserted part\rInserted note\rStep one\rStep two\rBadge: \x01\r"),
              std::string::npos)
        << at;
    std::string path = tempPath("inserted.docx");
    doc.saveAs(path);
    auto zip = readZip(path);
    // "Report Note" differs in the inserted document: ours is kept and used,
    // a style we lack comes along.
    EXPECT_EQ(zip["word/styles.xml"].find("w:styleId=\"ReportNote1\""), std::string::npos);
    EXPECT_NE(zip["word/styles.xml"].find("w:styleId=\"SubHeading\""), std::string::npos);
    EXPECT_EQ(zip["word/document.xml"].find("ReportNote1"), std::string::npos);
    // Its picture has the same name as ours and is stored under a new one.
    EXPECT_TRUE(zip.count("word/media/image2.png"));
    EXPECT_EQ(zip["word/media/image2.png"], readZip(dataPath("sub.docx"))["word/media/image1.png"]);
    // Its list has new numbering ids.
    EXPECT_NE(zip["word/numbering.xml"].find("w:abstractNumId=\""), std::string::npos);
    Application other;
    Document& back = other.documents().add(path);
    EXPECT_EQ(back.content().text(), text);
}

TEST_F(StructureTest, InsertingADocumentAHundredTimesKeepsDrawingIdsUnique) {
    for (int i = 0; i < 5; ++i) {
        Range end(doc, {}, doc.content().end() - 1, doc.content().end() - 1);
        end.insertFile(dataPath("sub.docx"));
    }
    std::string xml = doc.package().bytes("word/document.xml");
    std::set<std::string> ids;
    size_t pos = 0;
    while ((pos = xml.find("<wp:docPr id=\"", pos)) != std::string::npos) {
        pos += 14;
        std::string id = xml.substr(pos, xml.find('"', pos) - pos);
        EXPECT_TRUE(ids.insert(id).second) << "duplicate docPr id " << id;
    }
    EXPECT_EQ(ids.size(), 7u);  // the box, the logo and five badges
}

TEST_F(StructureTest, UndoOfTwoEditsRestoresTheDocument) {
    std::string before = doc.content().text();
    std::string xmlBefore = doc.package().bytes("word/document.xml");
    Selection& sel = doc.selection();
    doc.content().select();
    ASSERT_TRUE(sel.find().execute("<#Date1>"));
    int s = sel.start(), e = sel.end();
    sel.goTo({}, e, e);
    sel.endKey(wd::kStory, wd::kExtend);
    sel.setText("");
    sel.goTo({}, 0, s);
    sel.setText("");
    EXPECT_EQ(doc.content().text(), "<#Date1>\r");
    EXPECT_TRUE(doc.undo(2));
    EXPECT_EQ(doc.content().text(), before);
    EXPECT_EQ(doc.package().bytes("word/document.xml"), xmlBefore);
    EXPECT_FALSE(doc.saved());
}

TEST_F(StructureTest, UndoOfLocalEditsAndClearingTheList) {
    std::string before = doc.content().text();
    Range r = doc.content();
    r.find().execute("<#Date1>", false, false, false, false, false, true, wd::kFindContinue, false,
                     "1999", wd::kReplaceAll);
    doc.content().find().execute("Patient", false, false, false, false, false, true,
                                 wd::kFindContinue, false, "Subject", wd::kReplaceAll);
    EXPECT_TRUE(doc.undo(2));
    EXPECT_EQ(doc.content().text(), before);
    doc.content().find().execute("Patient", false, false, false, false, false, true,
                                 wd::kFindContinue, false, "Subject", wd::kReplaceAll);
    doc.undoClear();
    EXPECT_FALSE(doc.undo(1));
    EXPECT_NE(doc.content().text().find("Subject: "), std::string::npos);
}

TEST_F(StructureTest, FillingATableRowByRowIsUndoneRowByRow) {
    std::string xmlBefore = doc.package().bytes("word/document.xml");
    unsigned generation = doc.generation();
    Selection& sel = doc.selection();
    plan().rows().item(3).cells().item(3).select();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            sel.moveRight(wd::kCell);
            sel.typeText("r" + std::to_string(r) + "c" + std::to_string(c));
        }
    plan().rows().item(2).select();
    sel.insertRowsAbove(2);
    plan().rows().add(1);
    plan().rows().item(1).cells().item(1).range().setText("Head");  // text and cell mark
    EXPECT_EQ(plan().rows().count(), 9);
    EXPECT_EQ(cellText(9, 3), "r2c2");
    EXPECT_EQ(cellText(1, 1), "Head");
    // Adding rows and filling cells keeps the handles held on the rest of the
    // tree: nothing was copied.
    EXPECT_EQ(doc.generation(), generation);
    // Each row added and each value typed is one step.
    EXPECT_TRUE(doc.undo(2 + 9 + 3));
    EXPECT_EQ(plan().rows().count(), 4);
    EXPECT_EQ(cellText(4, 1), "");
    EXPECT_TRUE(doc.undo(1));
    EXPECT_EQ(doc.package().bytes("word/document.xml"), xmlBefore);
}

TEST_F(StructureTest, PositionsAfterAddedRowsAreThoseOfTheDocumentReadAgain) {
    std::string path = tempPath("nested_rows.docx");
    auto cell = [](const std::string& inner) { return "<w:tc>" + inner + "</w:tc>"; };
    auto p = [](const std::string& t) { return "<w:p><w:r><w:t>" + t + "</w:t></w:r></w:p>"; };
    std::string nested = "<w:tbl><w:tr>" + cell(p("n1")) + cell(p("n2")) + "</w:tr></w:tbl>";
    writeDocx(path, p("Before") + "<w:tbl><w:tr>" + cell(p("a")) + cell(p("b")) + "</w:tr><w:tr>" +
                        cell(nested + p("c")) + cell(p("d")) + "</w:tr></w:tbl>" + p("After"));
    struct Case {
        const char* what;
        std::function<void(Document&)> edit;
    };
    const Case cases[] = {
        {"above the first row", [](Document& d) { d.tables().item(1).rows().add(1); }},
        {"between rows", [](Document& d) { d.tables().item(1).rows().add(2); }},
        {"after the last row", [](Document& d) { d.tables().item(1).rows().add(); }},
        {"in a nested table",
         [](Document& d) {
             Range r = d.content();
             ASSERT_TRUE(r.find().execute("n2"));
             r.select();
             d.selection().moveRight(wd::kCell);
             d.selection().typeText("x");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Application app2;
        Document& d = app2.documents().add(path);
        d.content().text();  // positions counted before the edit
        c.edit(d);
        std::string saved = tempPath("nested_rows_out.docx");
        d.saveAs(saved);
        Application app3;
        Document& fresh = app3.documents().add(saved);
        EXPECT_EQ(d.content().text(), fresh.content().text());
        for (const char* word : {"After", "d", "n2"}) {
            Range a = d.content(), b = fresh.content();
            ASSERT_TRUE(a.find().execute(word));
            ASSERT_TRUE(b.find().execute(word));
            EXPECT_EQ(a.start(), b.start()) << word;
        }
        auto rows = d.tables().item(1).rows();
        for (int i = 1; i <= rows.count(); ++i) {
            Range mine = rows.item(i).range();
            Range theirs = fresh.tables().item(1).rows().item(i).range();
            EXPECT_EQ(mine.start(), theirs.start()) << i;
            EXPECT_EQ(mine.end(), theirs.end()) << i;
        }
    }
}

}  // namespace

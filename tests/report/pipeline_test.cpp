// What the golden cases cannot show: the steps, the events and where data sets are left.
#include <cmath>
#include <fstream>

#include "report/errors.h"
#include "report_fixture.h"
#include "wordproc/range.h"
#include "wordproc/tables.h"

using namespace report;
using namespace report::testing;

namespace {

class Pipeline : public ReportTest {
  protected:
    TARWordReport r;
    void SetUp() override { recordWordProcessors(r); }
    std::string fill(const std::vector<std::string>& paragraphs) {
        r.Filename = templateOf(paragraphs);
        r.OpenTemplate();
        r.Process();
        return text(r);
    }
};

TEST_F(Pipeline, WithoutStepsOnlyThePoolIsCut) {
    r.Steps = TWRSteps::none();
    r.setValue("A", "1");
    r.OnTag = [](TARWordReport&, std::string& v) { v = "tag"; };
    EXPECT_EQ(fill({"&lt;DataPool&gt;pool &lt;#A&gt;&lt;/DataPool&gt;",
                    "&lt;#A&gt; %IF 1 %THEN x%ELSE y%ENDIF %N1"}),
              "<#A> %IF 1 %THEN x%ELSE y%ENDIF %N1\r");
    EXPECT_EQ(r.dataPoolText(), "pool <#A>");
}

TEST_F(Pipeline, FieldsComeFromTheCurrentRecordAndSumsFromAll) {
    auto t = koram(3);
    r.DataSetList().addDataSet(t.get(), "regim");
    EXPECT_EQ(fill({"&lt;#REGIM.D6&gt; SUM(&lt;#REGIM.D7&gt;) COUNT(&lt;#REGIM.*&gt;) "
                    "SUM(&lt;#REGIM.D7:0.00&gt;)"}),
              "Milk 380 3 380.00\r");
    EXPECT_EQ(t->recNo(), 3);
    EXPECT_EQ(r.AggregateRecordCount, 3);
    EXPECT_TRUE(r.FieldIsNumeric[1]);
    EXPECT_FALSE(r.FieldIsNumeric[0]);
}

TEST_F(Pipeline, EventsSeeFieldsAndTags) {
    auto t = koram(1);
    r.DataSetList().addDataSet(t.get(), "REGIM");
    std::vector<std::string> tags;
    r.OnTag = [&](TARWordReport& sender, std::string& v) {
        EXPECT_EQ(&sender, &r);
        tags.push_back(v);
        v = "[" + v + "]";
    };
    r.OnGetFieldValueForRender = [](TARWordReport&, const FieldRef& f, RenderValue& v) {
        if (f.info().name == "D7") {
            EXPECT_EQ(v.kind, RenderValue::Kind::Number);
            v = RenderValue::ofText("n=" + std::to_string(static_cast<int>(v.number)));
        }
    };
    EXPECT_EQ(fill({"&lt;#REGIM.D6&gt; &lt;#REGIM.D7&gt; &lt;#PAGE_TITLE&gt; &lt;# REGIM.D6&gt;"}),
              "Bread n=30 [PAGE_TITLE] [ REGIM.D6]\r");
    EXPECT_EQ(tags, (std::vector<std::string>{"PAGE_TITLE", " REGIM.D6"}));
}

TEST_F(Pipeline, PoolEntriesWithoutDataLeaveTheirTagsForOnTag) {
    auto t = koram(1);
    r.DataSetList().addDataSet(t.get(), "REGIM");
    std::vector<std::string> asked;
    r.OnNeedSQL = [&](TARWordReport&, const std::string& sql, dbf::DataSet*& result) {
        asked.push_back(sql);
        EXPECT_EQ(result, nullptr);
        result = nullptr;
    };
    std::vector<std::string> tags;
    r.OnTag = [&](TARWordReport&, std::string& v) { tags.push_back(v); };
    std::string out =
        fill({"&lt;DataPool&gt;&lt;DS:f&gt; SELECT &lt;#REGIM.D6&gt; "
              "&lt;/DS&gt;&lt;DS:G&gt;x&lt;/DS&gt;&lt;DS:H&gt;a"
              "&lt;#REPFOR:G&gt;&lt;#G.A&gt;&lt;#/REPFOR:G&gt;b&lt;/DS&gt;&lt;/DataPool&gt;",
              "&lt;#F.A&gt;"});
    EXPECT_EQ(asked, (std::vector<std::string>{"SELECT Bread", "x", "ab"}));
    EXPECT_EQ(tags, (std::vector<std::string>{"F.A"}));
    EXPECT_EQ(out, "F.A\r");
}

TEST_F(Pipeline, PoolDataSetsFillTheirTagsAndStayOnTheirFirstRecord) {
    auto pool = koram(3);
    r.OnNeedSQL = [&](TARWordReport&, const std::string&, dbf::DataSet*& result) {
        result = pool.get();
    };
    EXPECT_EQ(fill({"&lt;DataPool&gt;&lt;DS:P&gt;q&lt;/DS&gt;&lt;/DataPool&gt;",
                    "&lt;#P.D6&gt; SUM(&lt;#P.D7&gt;)"}),
              "Bread 380\r");
    EXPECT_EQ(pool->recNo(), 1);
    EXPECT_EQ(r.DataSetList().count(), 0);  // the pool's data sets are not kept in the list
}

TEST_F(Pipeline, ExecWithoutNameReturningDataFails) {
    auto pool = koram(1);
    r.OnNeedSQL = [&](TARWordReport&, const std::string&, dbf::DataSet*& result) {
        result = pool.get();
    };
    r.Filename = templateOf({"&lt;DataPool&gt;&lt;EXEC&gt;DELETE&lt;/EXEC&gt;&lt;/DataPool&gt;"});
    r.OpenTemplate();
    try {
        r.Process();
        FAIL();
    } catch (const ReportError& e) {
        EXPECT_STREQ(e.what(), "DSName value can not be empty!");
    }
}

TEST_F(Pipeline, FailingMacroWritesARedLine) {
    r.RunMacro = true;
    std::string out = fill({"&lt;DataPool&gt;&lt;RUNMACRO:Fix&gt;&lt;/DataPool&gt;", "Body"});
    EXPECT_EQ(out.rfind("ERROR: ", 0), 0u) << out;
    EXPECT_NE(out.find(" (<RUNMACRO:Fix>)\rBody"), std::string::npos) << out;
    wordproc::Range line(*r.document(), {}, 0, 5);
    EXPECT_EQ(line.font().color(), wordproc::wd::kColorRed);
    EXPECT_EQ(line.font().size(), 8);
}

TEST_F(Pipeline, HeaderAndFooterOnlyWhenAsked) {
    r.setValue("Who", "Sara");
    std::string body = para("&lt;#Who&gt;");
    std::string path = (dir / "hf.docx").string();
    std::string header = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><w:hdr ") +
                         wordproc::test::kNs + ">" + para("Head &lt;#Who&gt;") + "</w:hdr>";
    wordproc::test::writeDocx(
        path, "",
        {{"word/document.xml",
          std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><w:document ") +
              wordproc::test::kNs + "><w:body>" + body +
              "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdH\"/></w:sectPr>"
              "</w:body></w:document>"},
         {"word/header1.xml", header},
         {"word/_rels/document.xml.rels",
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
          "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
          "<Relationship Id=\"rIdH\" "
          "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/header\" "
          "Target=\"header1.xml\"/></Relationships>"}});
    for (bool ask : {false, true}) {
        r.NeedHeaderFooterProc = ask;
        r.Filename = path;
        r.OpenTemplate();
        r.Process();
        std::string head = r.document()->storyRange({wordproc::StoryKind::Header, 0}).text();
        EXPECT_EQ(head, ask ? "Head Sara\r" : "Head <#Who>\r");
        EXPECT_EQ(text(r).substr(0, 5), "Sara\r");
    }
}

}  // namespace

namespace {

// A template row with a merged cell and a nested table in a static cell, filled from 0, 1
// and 500 records: one row per record in order, the document still opens.
class RepeatedRows : public ReportTest, public ::testing::WithParamInterface<int> {};

TEST_P(RepeatedRows, KeepTheirStructure) {
    const int records = GetParam();
    std::vector<dbf::testing::Row> rows;
    for (int i = 0; i < records; ++i)
        rows.push_back({dbf::testing::S("Food " + std::to_string(i)), dbf::testing::F(i + 0.25)});
    dbf::testing::makeTable(dir.path(), "ITEMS.DBF", {{"D6", 'C', 20}, {"D7", 'N', 8, 2}}, rows);
    dbf::Table t;
    t.setDirectory(dir.path());
    t.setTableName("ITEMS");
    t.open();
    auto tc = [](const std::string& inner, const std::string& props = "") {
        return "<w:tc><w:tcPr>" + props + "</w:tcPr>" + inner + "</w:tc>";
    };
    // A static cell: its text starts with "*", whatever follows.
    const std::string nested = para("*static") + "<w:tbl><w:tblPr/><w:tr>" + tc(para("inner")) +
                               "</w:tr></w:tbl>" + para("");
    const std::string body =
        "<w:tbl><w:tblPr/><w:tblGrid><w:gridCol/><w:gridCol/><w:gridCol/><w:gridCol/></w:tblGrid>"
        "<w:tr>" +
        tc(para("Head"), "<w:gridSpan w:val=\"4\"/>") +
        "</w:tr>"
        "<w:tr>" +
        tc(para("&lt;#table:ITEMS&gt;"), "<w:gridSpan w:val=\"4\"/>") +
        "</w:tr>"
        "<w:tr>" +
        tc(para("D6"), "<w:gridSpan w:val=\"2\"/>") + tc(para("D7:#0.0")) + tc(nested) +
        "</w:tr></w:tbl>" + para("after");
    const std::string path = (dir / "rows.docx").string();
    wordproc::test::writeDocx(path, body);
    TARWordReport r;
    recordWordProcessors(r);
    r.DataSetList().addDataSet(&t, "ITEMS");
    r.Filename = path;
    r.OpenTemplate();
    r.Process();
    const std::string out = (dir / "rows_out.docx").string();
    r.SaveDocumentAs(out);
    auto doc = wordproc::Document::fromTemplate(out, nullptr);
    wordproc::Table table = doc->tables().item(1);
    ASSERT_EQ(table.rows().count(), 1 + std::max(records, 1));
    for (int i = 0; i < std::max(records, 1); ++i) {
        wordproc::Row row = table.rows().item(2 + i);
        std::string first = row.cells().item(1).range().text();
        std::string second = row.cells().item(2).range().text();
        if (records == 0) {
            EXPECT_EQ(first, "\a") << "the template row is emptied";
            continue;
        }
        EXPECT_EQ(first, "Food " + std::to_string(i) + "\a");
        char amount[16];
        std::snprintf(amount, sizeof amount, "%.1f\a", std::round((i + 0.25) * 10) / 10);
        EXPECT_EQ(second, amount);
        // The static cell keeps its text in the last row only.
        std::string third = row.cells().item(3).range().text();
        EXPECT_EQ(third.find("*static") != std::string::npos, i == records - 1)
            << i << row.range().text();
    }
    EXPECT_NE(doc->content().text().find("after"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Records, RepeatedRows, ::testing::Values(0, 1, 500));

}  // namespace

namespace {

class Pictures : public ReportTest {};

// A picture field becomes an inline picture in the text and in a template table; a record
// without one loses the tag.
TEST_F(Pictures, FieldsWithPicturesArePlaced) {
    std::ifstream png(wordproc::test::dataPath("red.png"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(png)), {});
    ASSERT_FALSE(bytes.empty());
    dbf::testing::makeTable(dir.path(), "PICS.DBF", {{"NAME", 'C', 10}, {"PIC", 'P'}},
                            {{dbf::testing::S("red"), dbf::Value::blob(bytes)},
                             {dbf::testing::S("none"), dbf::Value::null()}});
    dbf::Table t;
    t.setDirectory(dir.path());
    t.setTableName("PICS");
    t.open();
    const std::string path = (dir / "pics.docx").string();
    wordproc::test::writeDocx(
        path, para("Logo &lt;#PICS.PIC&gt; end") + "<w:tbl><w:tblPr/><w:tr><w:tc><w:tcPr/>" +
                  para("&lt;#table:PICS&gt;") +
                  "</w:tc><w:tc><w:tcPr/><w:p/></w:tc></w:tr><w:tr><w:tc><w:tcPr/>" + para("NAME") +
                  "</w:tc><w:tc><w:tcPr/>" + para("PIC") + "</w:tc></w:tr></w:tbl>" + para(""));
    TARWordReport r;
    recordWordProcessors(r);
    r.DataSetList().addDataSet(&t, "PICS");
    r.Filename = path;
    r.OpenTemplate();
    r.Process();
    const std::string out = (dir / "pics_out.docx").string();
    r.SaveDocumentAs(out);
    auto doc = wordproc::Document::fromTemplate(out, nullptr);
    EXPECT_EQ(doc->content().text(), "Logo \x01 end\rred\a\x01\a\anone\a\a\a\r");
}

}  // namespace

// The main window's two report components: how they are set up, and a weekly-plan style
// template filled from the plan items with their Farsi names converted.
#include "app_fixture.h"
#include "wordproc/docx_builder.h"
#include "wordproc/range.h"
#include "wordproc/recording_viewer.h"

namespace core::testing {
namespace {

using wordproc::test::RecordingViewer;

class ReportComponents : public AppTest {};

TEST_F(ReportComponents, AreSetUpAsTheWindowDefinesThem) {
    MainForm& f = makeForm();
    struct Expect {
        report::TARWordReport* r;
        const char* file;
        std::vector<std::pair<std::string, dbf::DataSet*>> sets;
    };
    const Expect all[] = {
        {&f.ARWordReport1, "DIET.DOC", {{"REGIM", &f.DBF7}, {"DS2", &f.DBF5}, {"DS3", &f.DBF9}}},
        {&f.ARWordReport2, "REPORT1.doc", {{"24H", &f.DBF8}, {"DS2", &f.DBF9}}},
    };
    for (const auto& e : all) {
        EXPECT_EQ(e.r->Filename, e.file);
        ASSERT_EQ(e.r->DataSetList().count(), static_cast<int>(e.sets.size()));
        for (size_t i = 0; i < e.sets.size(); ++i) {
            EXPECT_EQ(e.r->DataSetList().item(static_cast<int>(i)).DSName(), e.sets[i].first);
            EXPECT_EQ(e.r->DataSetList().item(static_cast<int>(i)).Dataset, e.sets[i].second);
        }
        EXPECT_EQ(e.r->Steps, report::TWRSteps::all());
        EXPECT_TRUE(e.r->AutoTables && e.r->Aggregation && e.r->TableCaptionsBold);
        EXPECT_FALSE(e.r->SavePrompt || e.r->TextTables || e.r->NeedHeaderFooterProc ||
                     e.r->RunMacro);
        EXPECT_TRUE(static_cast<bool>(e.r->OnGetFieldValueForRender));
    }
}

TEST_F(ReportComponents, FarsiNamesReachTheDocumentAsLetters) {
    DataContent content;
    // "nan" (bread) in code page 1256, and a plain number.
    content.koram = {{I(3), I(0), I(3), I(2), I(1), S("\xE4\xC7\xE4"), F(2.5), M(" ")}};
    MainForm& f = startOn(content);
    RecordingViewer viewer;
    f.documentViewer = &viewer;
    const std::string templ = (app() / "Diet.doc").string();
    wordproc::test::writeDocx(templ,
                              "<w:p><w:r><w:t>&lt;#REGIM.D6&gt; &lt;#REGIM.D7&gt; "
                              "&lt;#SubjectNo&gt;</w:t></w:r></w:p>");
    f.ARWordReport1.Filename = templ;
    f.ARWordReport1.setValue("SubjectNo", "7");
    f.DBF7.first();
    f.ARWordReport1.Execute();
    ASSERT_EQ(viewer.shown.size(), 1u);
    auto doc = wordproc::Document::fromTemplate(viewer.shown[0], nullptr);
    EXPECT_EQ(doc->content().text(), "\xD9\x86\xD8\xA7\xD9\x86 2.5 7\r");
}

}  // namespace
}  // namespace core::testing

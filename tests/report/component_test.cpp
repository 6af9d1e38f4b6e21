// The component's model: defaults, data-set naming, the removal notice and the lifecycle.
#include "report/errors.h"
#include "report_fixture.h"
#include "wordproc/range.h"

using namespace report;
using namespace report::testing;

namespace {

TEST(Component, NewComponentHasItsDefaults) {
    TARWordReport r;
    EXPECT_EQ(r.Version(), "TARWordReport 2.2");
    r.setVersion("something stored");
    EXPECT_EQ(r.Version(), "TARWordReport 2.2");
    EXPECT_EQ(r.Steps, TWRSteps::all());
    for (auto s : {rs10_CustTagValues, rs20_DatasetList, rs30_FillTables, rs40_DataPool,
                   rs50_Conditions, rs60_Numerators, rs70_OnTag})
        EXPECT_TRUE(r.Steps.contains(s));
    EXPECT_EQ(r.Steps.bits(), 0x7F);
    EXPECT_TRUE(r.AutoTables && r.Aggregation && r.TableCaptionsBold);
    EXPECT_FALSE(r.SavePrompt || r.TextTables || r.NeedHeaderFooterProc || r.RunMacro);
    EXPECT_EQ(r.Marks().Prefix, "<#");
    EXPECT_EQ(r.Marks().Postfix, ">");
    EXPECT_TRUE(r.Filename.empty());
    EXPECT_FALSE(r.documentOpen() || r.documentShown());
}

TEST(Component, DataSetItemsAreNamedAndChecked) {
    TARWordReport r;
    for (int i = 0; i < 3; ++i) r.DataSetList().add();
    EXPECT_EQ(r.DataSetList().item(0).DSName(), "DS1");
    EXPECT_EQ(r.DataSetList().item(2).DSName(), "DS3");
    TWRDSItem& it = r.DataSetList().item(1);
    it.setDSName("regim ");
    EXPECT_EQ(it.DSName(), "REGIM ");
    try {
        it.setDSName("   ");
        FAIL() << "a blank name was taken";
    } catch (const ReportError& e) {
        EXPECT_STREQ(e.what(), "DSName value can not be empty!");
    }
    EXPECT_EQ(it.DSName(), "REGIM ");
    EXPECT_THROW(r.DataSetList().item(3), ReportError);
    EXPECT_THROW(r.DataSetList().addDataSet(nullptr, ""), ReportError);
    EXPECT_EQ(r.DataSetList().count(), 3);  // the failed add left nothing behind
    TARWordReport copy;
    copy.setDataSetList(r.DataSetList());
    EXPECT_EQ(copy.DataSetList().item(1).DSName(), "REGIM ");
}

class Lifecycle : public ReportTest {};

TEST_F(Lifecycle, RemovedDataSetIsSkippedByLaterRuns) {
    auto t = koram(2);
    TARWordReport r;
    recordWordProcessors(r);
    r.DataSetList().addDataSet(t.get(), "REGIM");
    r.dataSetRemoved(t.get());
    ASSERT_EQ(r.DataSetList().count(), 1);
    EXPECT_EQ(r.DataSetList().item(0).Dataset, nullptr);
    r.Filename = templateOf({"&lt;#REGIM.D6&gt;"});
    r.OpenTemplate();
    r.Process();
    EXPECT_EQ(text(r), "<#REGIM.D6>\r");
}

TEST_F(Lifecycle, MissingTemplateStartsNothing) {
    TARWordReport r;
    recordWordProcessors(r);
    r.Filename = (dir / "nope.doc").string();
    try {
        r.Execute();
        FAIL();
    } catch (const ReportError& e) {
        EXPECT_EQ(std::string(e.what()), "Template " + r.Filename + " not found!");
    }
    EXPECT_TRUE(started.empty());
}

TEST_F(Lifecycle, ExecuteShowsTheDocumentAndLeavesItWithTheUser) {
    TARWordReport r;
    recordWordProcessors(r);
    r.Filename = templateOf({"Hello &lt;#Who&gt;"});
    r.setValue("Who", "Sara");
    r.Execute();
    EXPECT_FALSE(r.documentOpen() || r.documentShown());
    ASSERT_EQ(viewer.shown.size(), 1u);
    const size_t afterFirst = started.size();  // its own, and the shared one when first
    auto app = started.at(0).lock();
    ASSERT_TRUE(app && app->alive() && app->visible());
    wordproc::Document& doc = app->documents().item(1);
    EXPECT_EQ(doc.content().text(), "Hello Sara\r");
    EXPECT_TRUE(doc.saved());  // SavePrompt off: closing asks nothing
    EXPECT_EQ(doc.undoCount(), 0);
    // The value set again replaces the line; another run starts its own word processor.
    r.setValue("Who", "Ali");
    EXPECT_EQ(r.CustTagValues().size(), 1u);
    r.Execute();
    EXPECT_EQ(started.size(), afterFirst + 1);  // the shared instance is reused
}

TEST_F(Lifecycle, FailedRunKeepsTheHiddenDocumentUntilTheNextOpen) {
    TARWordReport r;
    recordWordProcessors(r);
    r.Filename = templateOf({"&lt;#Boom&gt;"});
    r.OnTag = [](TARWordReport&, std::string&) { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(r.Execute(), std::runtime_error);
    EXPECT_TRUE(r.documentOpen());
    EXPECT_FALSE(r.documentShown());
    auto first = started.at(0).lock();
    ASSERT_TRUE(first && first->alive());
    EXPECT_FALSE(first->visible());
    // Options were given back although the run failed.
    EXPECT_TRUE(first->screenUpdating);
    EXPECT_EQ(first->displayAlerts, -1);
    r.OnTag = nullptr;
    r.Execute();
    EXPECT_FALSE(first->alive());  // quit without saving by the next open
    EXPECT_TRUE(viewer.shown.size() == 1u);
}

TEST_F(Lifecycle, DestroyingAnOpenComponentQuitsItsWordProcessor) {
    std::shared_ptr<wordproc::Application> app;
    {
        TARWordReport r;
        recordWordProcessors(r);
        r.Filename = templateOf({"x"});
        r.OpenTemplate();
        app = started.at(0).lock();
        EXPECT_TRUE(app->alive());
    }
    EXPECT_FALSE(app->alive());
}

}  // namespace

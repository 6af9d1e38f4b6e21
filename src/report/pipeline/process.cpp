// Process: the options switched off for the run and restored however it ends, then the
// preparation, the seven steps and the finishing.
#include "report/errors.h"
#include "report/pipeline/steps.h"
#include "wordproc/tables.h"
#include "wordproc/window.h"

namespace report {

namespace {

// The word processor's typing options, alerts and proofing marks, given back at the end.
class SavedOptions {
  public:
    explicit SavedOptions(TARWordReport& r) : m_report(r) {
        wordproc::Application& app = *r.wordApp();
        wordproc::Document& doc = *r.document();
        m_options = app.options();
        m_spelling = doc.showSpellingErrors;
        m_grammar = doc.showGrammaticalErrors;
        m_alerts = app.displayAlerts;
        app.options() = {false, false, false};
        doc.showSpellingErrors = doc.showGrammaticalErrors = false;
        app.screenUpdating = false;
        app.displayAlerts = 0;
        if (r.ShowWordWhileProcessing) app.setVisible(true);
    }
    ~SavedOptions() {
        try {
            wordproc::Application* app = m_report.wordApp();
            wordproc::Document* doc = m_report.document();
            if (!app || !doc) return;
            app->displayAlerts = m_alerts;
            doc->showSpellingErrors = m_spelling;
            doc->showGrammaticalErrors = m_grammar;
            doc->grammarChecked = doc->spellingChecked = true;
            app->options() = m_options;
            app->screenUpdating = true;
            doc->activeWindow().view().splitSpecial = 0;
            doc->activeWindow().view().setSeekView(wordproc::wd::kSeekMainDocument);
            doc->content().select();
        } catch (...) {
            // Restoring must not replace the error that ended the run.
        }
    }
    SavedOptions(const SavedOptions&) = delete;
    SavedOptions& operator=(const SavedOptions&) = delete;

  private:
    TARWordReport& m_report;
    wordproc::Options m_options;
    bool m_spelling = true, m_grammar = true;
    int m_alerts = -1;
};

}  // namespace

void TARWordReport::Process() {
    using namespace pipeline;
    if (!m_documentOpen || !m_document) throw ReportError("No document is open.");
    SavedOptions restore(*this);
    Run run(*this);

    extractDataPool(run);
    if (UngroupShapesFirst) ungroupFirstGroup(run);
    prepareFormFields(run);
    if (Steps.contains(rs30_FillTables) && run.doc().tables().count() > 0) prepareTables(run);

    if (Steps.contains(rs10_CustTagValues)) fillCustomValues(run);
    if (Steps.contains(rs20_DatasetList)) {
        for (int i = 0; i < m_dataSets.count(); ++i) {
            TWRDSItem& item = m_dataSets.item(i);
            m_dataPoolText = expandRepfor(run, item.Dataset, item.DSName(), m_dataPoolText);
            fillRepeatBlocks(run, item.Dataset, item.DSName());
            fillFieldTags(run, item.Dataset, item.DSName());
            m_dataPoolText = fieldTagsInText(run, item.Dataset, item.DSName(), m_dataPoolText);
        }
    }
    if (Steps.contains(rs30_FillTables)) {
        for (int i = 0; i < m_dataSets.count(); ++i) {
            TWRDSItem& item = m_dataSets.item(i);
            fillTemplateTables(run, item.Dataset, item.DSName());
            fillGeneratedTables(run, item.Dataset, item.DSName());
            fillTextTables(run, item.Dataset, item.DSName());
        }
    }
    if (Steps.contains(rs40_DataPool)) runDataPool(run);
    if (Steps.contains(rs50_Conditions)) fillConditions(run);
    if (Steps.contains(rs60_Numerators)) fillNumerators(run);
    if (Steps.contains(rs70_OnTag) && OnTag) fillOpenTags(run);
    finishDocument(run);
}

}  // namespace report

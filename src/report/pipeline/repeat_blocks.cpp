// REPEAT blocks: the block is cut out as a template of its own and replaced by one filled
// sub-report per record of the data set.
#include <filesystem>

#include "report/pipeline/steps.h"
#include "report/tag_language.h"
#include "wordproc/shared_instance.h"
#include "wordproc/temp_files.h"

namespace report::pipeline {

namespace {

// Fills template `file` as a component of its own, with this one's settings, and inserts
// the result at the selection.
void insertSubReport(Run& run, const std::string& file) {
    if (!std::filesystem::exists(file)) return;
    TARWordReport& parent = run.report;
    TARWordReport sub(nullptr);
    sub.setCustTagValues(parent.CustTagValues());
    sub.AutoTables = parent.AutoTables;
    sub.setDataSetList(parent.DataSetList());
    sub.setMarks(parent.Marks());
    sub.Steps = parent.Steps;
    sub.TableCaptionsBold = parent.TableCaptionsBold;
    sub.TextTables = parent.TextTables;
    sub.OnTag = parent.OnTag;
    sub.OnNeedSQL = parent.OnNeedSQL;
    sub.OnGetSQLValue = parent.OnGetSQLValue;
    sub.OnGetFieldValueForRender = parent.OnGetFieldValueForRender;
    sub.Aggregation = parent.Aggregation;
    sub.NeedHeaderFooterProc = parent.NeedHeaderFooterProc;
    sub.UngroupShapesFirst = parent.UngroupShapesFirst;
    sub.AnsiCodePage = parent.AnsiCodePage;
    sub.platform = parent.platform;
    sub.Filename = file;
    sub.OpenTemplate();
    sub.Process();
    // The filled block goes in straight from the sub-report's document: writing it to a
    // file and reading it back would give the same content, slower.
    run.doc().activate();
    wordproc::Selection& s = run.sel();
    s.insertDocument(*sub.document());
    // The insertion ends with a paragraph end of its own.
    s.moveLeft(wordproc::wd::kCharacter, 1, false);
    s.deleteChars(wordproc::wd::kCharacter, 1);
    sub.CloseDocument();
}

}  // namespace

void fillRepeatBlocks(Run& run, dbf::DataSet* ds, const std::string& name) {
    const std::string open = run.prefix + std::string(words::kRepeat) + name + run.postfix;
    const std::string close = run.prefix + std::string(words::kRepeatEnd) + name + run.postfix;
    if (!run.hasTag(open)) return;
    run.selectMainText();
    while (run.selectBetween(open, close)) {
        wordproc::Selection& s = run.sel();
        if (!hasRecords(ds)) {
            s.setText({});
            continue;
        }
        if (s.inTable()) {
            s.goTo(s.story(), s.end(), s.end());
            continue;
        }
        const int start = s.start(), end = s.end();
        {
            // Only the block stays: the rest is taken back by undoing these two edits.
            wordproc::Range after(run.doc(), s.story(), end, s.storyObject().length());
            after.deleteText();
            wordproc::Range before(run.doc(), s.story(), 0, start);
            before.deleteText();
        }
        wordproc::shared::acquire(&run.report, [&] { return run.report.startWordProcessor(); });
        const std::string blockFile = wordproc::temporaryDocumentName();
        run.report.SaveDocumentAsConfirmed(blockFile);
        run.doc().undo(2);
        run.sel().goTo(s.story(), start, end);
        run.sel().setText({});
        {
            DataSetVisit visit(ds);
            for (ds->first(); !ds->eof(); ds->next()) insertSubReport(run, blockFile);
        }
        const std::string reloaded = wordproc::temporaryDocumentName();
        run.report.reloadDocument(reloaded);
        if (!run.report.KeepSharedWord) wordproc::shared::release(&run.report);
        wordproc::deleteFileInBackground(blockFile);
        wordproc::deleteFileInBackground(reloaded);
        run.selectMainText();
    }
}

}  // namespace report::pipeline

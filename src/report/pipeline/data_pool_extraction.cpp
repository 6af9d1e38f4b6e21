// Cuts the <DataPool> block out of the document (a text box's or the main text's) and keeps
// its text; the line the block ended on goes too.
#include "report/pipeline/steps.h"
#include "report/tag_language.h"

namespace report::pipeline {

namespace {

// In the selection's story: true when the block was there (even without its end).
bool cutPool(Run& run) {
    wordproc::Selection& s = run.sel();
    if (!run.find(words::kPoolStart)) return false;
    s.setText({});
    int from = s.start();
    if (run.find(words::kPoolEnd)) {
        s.setText({});
        int to = s.start();
        s.goTo(s.story(), from, to);
        run.report.dataPoolTextRef() = s.text();
        s.setText({});
    } else {
        // No end word: the search stopped where the start word was.
        run.report.dataPoolTextRef().clear();
        s.goTo(s.story(), from, from);
    }
    s.homeKey(wordproc::wd::kLine);
    s.endKey(wordproc::wd::kLine, wordproc::wd::kExtend);
    s.setText({});
    return true;
}

}  // namespace

void extractDataPool(Run& run) {
    run.report.dataPoolTextRef().clear();
    if (!run.hasTag(words::kPoolStart)) return;
    bool done = false;
    run.forEachTextShape([&] {
        if (!done) done = cutPool(run);
    });
    if (done) return;
    run.selectMainText();
    cutPool(run);
}

}  // namespace report::pipeline

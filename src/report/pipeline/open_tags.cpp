// Open tags: whatever text between the marks is still in the document goes to OnTag, and
// the text it returns takes its place.
#include "report/pipeline/steps.h"

namespace report::pipeline {

namespace {

void processScope(Run& run) {
    wordproc::Selection& s = run.sel();
    while (run.selectBetween(run.prefix, run.postfix)) {
        std::string value = s.text();
        run.report.OnTag(run.report, value);
        s.setText(value);
        s.goTo(s.story(), s.end(), s.end());
    }
}

}  // namespace

void fillOpenTags(Run& run) {
    run.forEachTextShape([&] { processScope(run); });
    if (run.report.NeedHeaderFooterProc) run.forHeaderAndFooter([&] { processScope(run); });
    run.selectMainText();
    processScope(run);
}

}  // namespace report::pipeline

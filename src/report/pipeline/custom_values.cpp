// Custom values: every Prefix + Name + Postfix becomes the value, in the text boxes, the
// header and footer when asked, the main text and the data pool text.
#include "report/pipeline/steps.h"
#include "report/text_helpers.h"

namespace report::pipeline {

void fillCustomValues(Run& run) {
    // A copy: an event may change the list while it is being used.
    const std::vector<std::string> lines = run.report.CustTagValues();
    for (const std::string& line : lines) {
        size_t eq = line.find('=');
        if (eq == std::string::npos || eq == 0) continue;
        const std::string tag = run.prefix + line.substr(0, eq) + run.postfix;
        const std::string value = line.substr(eq + 1);
        run.forEachTextShape([&] { run.replaceTag(tag, value); });
        if (run.report.NeedHeaderFooterProc)
            run.forHeaderAndFooter([&] { run.replaceTag(tag, value); });
        run.selectMainText();
        run.replaceTag(tag, value);
        run.report.dataPoolTextRef() =
            helpers::replaceAllNoCase(run.report.dataPoolText(), tag, value);
    }
}

}  // namespace report::pipeline

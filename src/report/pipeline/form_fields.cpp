// Text form fields whose format text holds a tag: "<#*" turns the field into plain text
// holding the tag; otherwise the field shows its format text, which is then filled.
#include "report/pipeline/steps.h"
#include "report/text_helpers.h"
#include "wordproc/fields.h"

namespace report::pipeline {

void prepareFormFields(Run& run) {
    wordproc::FormFields fields = run.doc().formFields();
    const std::string starred = run.prefix + "*";
    for (int i = fields.count(); i >= 1; --i) {
        wordproc::FormField f = fields.item(i);
        if (f.type() != wordproc::wd::kFieldFormTextInput) continue;
        if (f.textInput().type() != wordproc::wd::kRegularText) continue;
        std::string format = f.textInput().format();
        if (format.find(starred) != std::string::npos) {
            f.select();
            run.sel().typeText(helpers::replaceAllExact(format, starred, run.prefix));
        } else if (format.find(run.prefix) != std::string::npos) {
            f.setResult(format);
        }
    }
}

}  // namespace report::pipeline

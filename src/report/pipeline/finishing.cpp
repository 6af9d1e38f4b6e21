// Finishing: fields refreshed (not the text form fields that showed a tag), tables of
// figures and contents brought up to date, the cursor at the start, the undo list
// cleared and the saved flag set from SavePrompt.
#include "report/pipeline/steps.h"
#include "wordproc/fields.h"

namespace report::pipeline {

void finishDocument(Run& run) {
    wordproc::Document& doc = run.doc();
    wordproc::Fields fields = doc.fields();
    for (int i = 1; i <= fields.count(); ++i) {
        wordproc::Field f = fields.item(i);
        if (f.type() != wordproc::wd::kFieldFormTextInput) f.update();
    }
    wordproc::FormFields forms = doc.formFields();
    for (int i = 1; i <= forms.count(); ++i) {
        wordproc::FormField f = forms.item(i);
        bool showsTag = f.type() == wordproc::wd::kFieldFormTextInput &&
                        f.textInput().type() == wordproc::wd::kRegularText &&
                        f.textInput().format().find(run.prefix) != std::string::npos;
        if (!showsTag) f.update();
    }
    if (doc.tablesOfFigures().count() > 0) doc.tablesOfFigures().item(1).updatePageNumbers();
    if (doc.tablesOfContents().count() > 0) doc.tablesOfContents().item(1).updatePageNumbers();
    run.selectMainText();
    run.sel().homeKey(wordproc::wd::kStory);
    doc.undoClear();
    doc.setSaved(!run.report.SavePrompt);
}

}  // namespace report::pipeline

// Conditions: %IF value %THEN then-part %ELSE else-part %ENDIF keeps the then-part for a
// value above 0 and the else-part otherwise. They do not nest.
#include "report/pipeline/steps.h"
#include "report/tag_language.h"
#include "report/text_helpers.h"

namespace report::pipeline {

namespace {

// One construct, the selection on its "%IF ". False when a word is missing.
void processOne(Run& run) {
    wordproc::Selection& s = run.sel();
    auto story = s.story();
    s.setText({});
    const int condStart = s.start();
    if (!run.find(words::kThen)) return;
    s.setText({});
    const int condEnd = s.start();
    s.goTo(story, condStart, condEnd);
    std::string text = helpers::trimmed(s.text());
    auto value = parseConditionValue(text);
    if (!value) {
        std::string shown = text.substr(0, 80);
        s.setText(std::string(words::kConditionError) + helpers::trimmed(shown) + "..");
        s.goTo(story, s.end(), s.end());
        return;
    }
    s.setText({});
    if (!run.find(words::kElse)) return;
    s.setText({});
    if (*value == 0) {
        s.goTo(story, condStart, s.start());
        s.setText({});
    }
    const int elseStart = s.start();
    if (!run.find(words::kEndIf)) return;
    s.setText({});
    if (*value > 0) {
        s.goTo(story, elseStart, s.start());
        s.setText({});
    }
}

void processScope(Run& run) {
    while (run.find(words::kIf)) processOne(run);
}

}  // namespace

void fillConditions(Run& run) {
    run.forEachTextShape([&] { processScope(run); });
    run.selectMainText();
    processScope(run);
}

}  // namespace report::pipeline

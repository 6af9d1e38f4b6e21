// Numerators: %N1, %N1+, %N1S ... become running numbers, one counter per level and scope.
#include "report/pipeline/steps.h"
#include "report/tag_language.h"
#include "wordproc/utf.h"

namespace report::pipeline {

namespace {

void processScope(Run& run) {
    wordproc::Selection& s = run.sel();
    const auto story = s.story();
    const int scopeStart = s.start(), scopeEnd = s.end();
    for (int level = 1;; ++level) {
        s.goTo(story, scopeStart, std::min(scopeEnd, s.storyObject().length()));
        const std::string marker = std::string(words::kNumerator) + std::to_string(level);
        if (!run.find(marker)) return;
        long long counter = 1;
        do {
            s.setText({});
            s.moveRight(wordproc::wd::kCharacter, 1, true);
            std::u32string next = wordproc::toU32(s.text());
            char32_t c = next.empty() ? U'\r' : next[0];
            // A digit after the marker belongs to a higher level (%N1 is not %N12).
            switch (numeratorStep(c)) {
                case NumeratorStep::Increase:
                    ++counter;
                    break;
                case NumeratorStep::Restart:
                    counter = 1;
                    break;
                case NumeratorStep::Before:
                    s.goTo(story, s.start(), s.start());
                    break;
                case NumeratorStep::Replace:
                    // Paragraph and cell ends stay: the number goes before them.
                    if (c == U'\r' || c == U'\a') s.goTo(story, s.start(), s.start());
                    break;
            }
            s.typeText(std::to_string(counter));
        } while (run.find(marker));
    }
}

}  // namespace

void fillNumerators(Run& run) {
    run.forEachTextShape([&] { processScope(run); });
    run.selectMainText();
    processScope(run);
}

}  // namespace report::pipeline

// A grouped drawing is taken apart before any tag is replaced, so the text boxes inside
// it are reached as shapes of their own. Only the first group is ungrouped.
#include "report/pipeline/steps.h"
#include "wordproc/shapes.h"

namespace report::pipeline {

void ungroupFirstGroup(Run& run) {
    wordproc::Shapes shapes = run.doc().shapes();
    int count = shapes.count();
    for (int i = 1; i <= count; ++i) {
        wordproc::Shape shape = shapes.item(i);
        if (shape.type() == wordproc::mso::kGroup) {
            shape.ungroup();
            return;
        }
    }
}

}  // namespace report::pipeline

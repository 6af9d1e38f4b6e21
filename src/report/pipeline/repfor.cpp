// REPFOR blocks of the data pool text: one copy of the inner text per record, with the
// data set's field tags replaced by the record's plain text values.
#include "report/pipeline/steps.h"
#include "report/pipeline/values.h"
#include "report/tag_language.h"
#include "report/text_helpers.h"

namespace report::pipeline {

std::string expandRepfor(Run& run, dbf::DataSet* ds, const std::string& name, std::string text) {
    const std::string open = run.prefix + std::string(words::kRepfor) + name + run.postfix;
    const std::string close = run.prefix + std::string(words::kRepforEnd) + name + run.postfix;
    const std::string fieldPrefix = run.prefix + name + ".";
    DataSetVisit visit(ds);
    while (true) {
        helpers::Block block = helpers::blockSearch(text, open, close, true);
        if (block.position == 0 || block.length == 0) break;
        size_t at = block.position - 1;
        text.erase(at, block.length);
        if (!hasRecords(ds)) continue;
        std::string copies;
        for (ds->first(); !ds->eof(); ds->next()) {
            std::string copy = block.inner;
            for (int f = 0; f < ds->fieldCount(); ++f)
                copy = helpers::replaceAllNoCase(
                    copy, fieldPrefix + ds->field(f).name + run.postfix, textValue(run, *ds, f));
            copies += copy;
        }
        text.insert(at, copies);
        // Copies may hold the open mark of a further block; going on from `at` would repeat
        // them for ever, so the search starts after what was inserted only when needed.
        if (helpers::upperKeepingPositions(copies).find(helpers::upperKeepingPositions(open)) !=
            std::string::npos)
            break;
    }
    return text;
}

}  // namespace report::pipeline

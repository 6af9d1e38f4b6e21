// Before any value is written, the tags of template tables are reduced to what the table
// fillers read: in a text table <#NAME.FIELD> becomes <#FIELD>, in a template table
// <#NAME.D7:#0.0> becomes D7:#0.0.
#include "report/pipeline/steps.h"
#include "report/tag_language.h"
#include "report/text_helpers.h"
#include "wordproc/tables.h"

namespace report::pipeline {

namespace {

// The data-set name of the first `keyword` tag in the table's text, read through the tag
// grammar; empty when none.
std::string tagName(const Run& run, const std::string& tableText, std::string_view keyword) {
    std::string folded = helpers::upperKeepingPositions(tableText);
    std::string open = helpers::upperKeepingPositions(run.prefix + std::string(keyword));
    size_t at = folded.find(open);
    if (at == std::string::npos) return {};
    size_t bodyStart = at + run.prefix.size();
    size_t end = tableText.find(run.postfix, bodyStart);
    if (end == std::string::npos) return {};
    TagNode node = parseTagBody(std::string_view(tableText).substr(bodyStart, end - bodyStart));
    bool wanted = keyword == words::kTable ? node.kind == TagNode::Kind::Table
                                           : node.kind == TagNode::Kind::TextTable;
    return wanted ? node.dataSet : std::string();
}

}  // namespace

void prepareTables(Run& run) {
    int count = run.doc().tables().count();
    for (int t = 1; t <= count; ++t) {
        wordproc::Range range = run.doc().tables().item(t).range();
        std::string name = tagName(run, range.text(), words::kTextTable);
        if (!name.empty()) {
            run.replaceTagInRange(run.doc().tables().item(t).range(), run.prefix + name + ".",
                                  run.prefix);
        }
        range = run.doc().tables().item(t).range();
        name = tagName(run, range.text(), words::kTable);
        if (name.empty()) continue;
        // Every <#NAME.spec> in the table loses both marks.
        const std::string open = run.prefix + name + ".";
        while (true) {
            wordproc::Range r = run.doc().tables().item(t).range();
            if (!r.find().execute(open, false, false, false, false, false, true,
                                  wordproc::wd::kFindStop))
                break;
            int from = r.start();
            r.setText({});
            wordproc::Range rest = run.doc().tables().item(t).range();
            rest.setStart(from);
            if (!rest.find().execute(run.postfix, false, false, false, false, false, true,
                                     wordproc::wd::kFindStop))
                break;
            rest.setText({});
        }
    }
}

}  // namespace report::pipeline

// Text tables: the row after <#txttable:NAME> is copied once per record, and in each copy
// the tags <#FIELD> take that record's values.
#include <algorithm>

#include "report/pipeline/steps.h"
#include "report/pipeline/values.h"
#include "report/tag_language.h"
#include "report/text_helpers.h"
#include "wordproc/formatted_text.h"
#include "wordproc/tables.h"

namespace report::pipeline {

namespace {

// Fills the table holding the selection (on the found tag). False when nothing is left to do.
bool fillTable(Run& run, dbf::DataSet& ds) {
    wordproc::Selection& s = run.sel();
    s.deleteCells(wordproc::wd::kDeleteCellsEntireRow);
    s.homeKey(wordproc::wd::kLine);
    if (!s.inTable()) return false;
    const int row = s.rowNumber();
    wordproc::Table t = s.tables().item(1);
    const int cells = t.rows().item(row).cells().count();
    const bool empty = ds.recordCount() == 0;
    std::string rowText;
    for (int c = 1; c <= cells; ++c) {
        wordproc::Range r = t.rows().item(row).cells().item(c).range();
        if (empty) {
            wordproc::Range inner(run.doc(), r.story(), r.start(),
                                  std::max(r.start(), r.end() - 1));
            inner.setText({});
            continue;
        }
        if (!rowText.empty()) rowText += ' ';
        rowText += r.text();
    }
    if (empty) return true;
    DataSetVisit visit(&ds);
    const auto records = ds.recordCount();
    // One copy of the template row per further record, each formatted as the template.
    if (records > 1) {
        // The further copies of the template row go in above it in one insertion, each
        // formatted as the template.
        wordproc::FormattedText content = t.rows().item(row).range().formattedText();
        std::vector<pugi::xml_node> one(content.root().children().begin(),
                                        content.root().children().end());
        for (std::int64_t k = 2; k < records; ++k)
            for (auto n : one) content.root().append_copy(n);
        t.rows().item(row).range().setFormattedText(content);
    }
    std::vector<int> order(static_cast<size_t>(ds.fieldCount()));
    for (int i = 0; i < ds.fieldCount(); ++i) order[static_cast<size_t>(i)] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return ds.field(a).name.size() > ds.field(b).name.size();
    });
    std::string folded = helpers::upperKeepingPositions(rowText);
    std::vector<int> kept;
    for (int f : order)
        if (folded.find(helpers::upperKeepingPositions(run.prefix + ds.field(f).name +
                                                       run.postfix)) != std::string::npos)
            kept.push_back(f);
    int k = 0;
    for (ds.first(); !ds.eof(); ds.next(), ++k) {
        for (int f : kept) {
            std::string tag = run.prefix + ds.field(f).name + run.postfix;
            replaceTagByField(run, tag, ds, f, t.rows().item(row + k).range());
        }
    }
    return true;
}

void fillScope(Run& run, dbf::DataSet& ds, const std::string& tag,
               const std::function<void()>& select) {
    select();
    while (run.find(tag)) {
        if (!run.sel().inTable()) break;
        if (!fillTable(run, ds)) break;
        select();
    }
}

}  // namespace

void fillTextTables(Run& run, dbf::DataSet* ds, const std::string& name) {
    if (!run.report.TextTables || !isActive(ds)) return;
    const std::string tag = run.prefix + std::string(words::kTextTable) + name + run.postfix;
    if (!run.hasTag(tag)) return;
    int count = run.shapeCount();
    for (int i = 1; i <= count && i <= run.shapeCount(); ++i) {
        auto frame = run.doc().shapes().item(i).textFrame();
        if (!frame.hasText()) continue;
        fillScope(run, *ds, tag,
                  [&] { run.doc().shapes().item(i).textFrame().textRange().select(); });
    }
    fillScope(run, *ds, tag, [&] { run.selectMainText(); });
}

}  // namespace report::pipeline

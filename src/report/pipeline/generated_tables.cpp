// Generated tables: <#table:NAME> outside a table becomes a new table with a caption row
// of the fields' labels and one row per record.
#include <cmath>

#include "report/number_format.h"
#include "report/pipeline/steps.h"
#include "report/pipeline/values.h"
#include "report/tag_language.h"
#include "wordproc/tables.h"

namespace report::pipeline {

namespace {

void insertTable(Run& run, dbf::DataSet& ds) {
    wordproc::Selection& s = run.sel();
    DataSetVisit visit(&ds);
    try {
        const int n = ds.fieldCount();
        double widths = 0;
        for (int f = 0; f < n; ++f) widths += ds.field(f).displayWidth;
        wordproc::Table table = run.doc().tables().add(s.range(), 1, n);
        double total = table.columns().width();
        if (total != wordproc::wd::kUndefined && widths > 0) {
            total *= n;
            for (int f = 0; f < n; ++f)
                table.columns().item(f + 1).setWidth(
                    std::round(ds.field(f).displayWidth * total / widths), 0);
        }
        const bool bold = run.report.TableCaptionsBold;
        for (int f = 0; f < n; ++f) {
            if (bold) s.font().setBold(true);
            s.typeText(ds.field(f).displayLabel);
            s.moveRight(wordproc::wd::kCell, 1, false);
        }
        ds.first();
        while (!ds.eof()) {
            for (int f = 0; f < n; ++f) {
                if (bold) s.font().setBold(false);
                std::string text =
                    ds.field(f).type == dbf::DataType::Currency && !ds.value(f).isNull()
                        ? formatNumber(ds.value(f).asFloat(), "##,#0.00")
                        : plainText(run, ds, f);
                s.typeText(text);
                if (f + 1 < n) s.moveRight(wordproc::wd::kCell, 1, false);
            }
            ds.next();
            if (!ds.eof()) s.moveRight(wordproc::wd::kCell, 1, false);
        }
    } catch (const std::exception&) {
        // A table that fails is left as far as it was built.
    }
}

void fillScope(Run& run, dbf::DataSet& ds, const std::string& tag) {
    wordproc::Selection& s = run.sel();
    while (run.find(tag)) {
        s.setText({});
        if (!hasRecords(&ds)) continue;
        insertTable(run, ds);
        // Go on after the new table.
        wordproc::Tables here = s.tables();
        if (here.count() > 0) {
            wordproc::Range r = here.item(1).range();
            s.goTo(r.story(), r.end(), r.end());
        }
    }
}

}  // namespace

void fillGeneratedTables(Run& run, dbf::DataSet* ds, const std::string& name) {
    if (!run.report.AutoTables || !isActive(ds)) return;
    const std::string tag = run.prefix + std::string(words::kTable) + name + run.postfix;
    if (!run.hasTag(tag)) return;
    run.forEachTextShape([&] { fillScope(run, *ds, tag); });
    run.selectMainText();
    fillScope(run, *ds, tag);
}

}  // namespace report::pipeline

// Sums and counts: SUM(<#NAME.FIELD>) and SUM(<#NAME.FIELD:format>) over every record of a
// numeric field among the first 256, COUNT(<#NAME.*>) the records summed.
#include "dbf/number_text.h"
#include "report/number_format.h"
#include "report/pipeline/steps.h"
#include "report/pipeline/values.h"
#include "report/tag_language.h"

namespace report::pipeline {

void computeAggregates(Run& run, dbf::DataSet* ds) {
    TARWordReport& r = run.report;
    r.FieldSums.fill(0);
    r.FieldIsNumeric.fill(false);
    r.AggregateRecordCount = 0;
    if (!isActive(ds)) return;
    int n = std::min(ds->fieldCount(), TARWordReport::kMaxSummedFields);
    for (int f = 0; f < n; ++f)
        r.FieldIsNumeric[static_cast<size_t>(f)] = isNumericType(ds->field(f).type);
    if (ds->recordCount() == 0) return;
    DataSetVisit visit(ds);
    for (ds->first(); !ds->eof(); ds->next()) {
        for (int f = 0; f < n; ++f) {
            if (!r.FieldIsNumeric[static_cast<size_t>(f)]) continue;
            dbf::Value v = ds->value(f);
            if (!v.isNull()) r.FieldSums[static_cast<size_t>(f)] += v.asFloat();
        }
        ++r.AggregateRecordCount;
    }
}

void fillAggregationTags(Run& run, const dbf::DataSet& ds, const std::string& fieldPrefix) {
    TARWordReport& r = run.report;
    wordproc::Selection& s = run.sel();
    const int scopeStart = s.start(), scopeEnd = s.end();
    const std::string sumOpen = std::string(words::kSum) + fieldPrefix;
    const std::string closing = run.postfix + std::string(words::kClose);
    if (run.find(sumOpen)) {
        int n = std::min(ds.fieldCount(), TARWordReport::kMaxSummedFields);
        for (int f = 0; f < n; ++f) {
            if (!r.FieldIsNumeric[static_cast<size_t>(f)]) continue;
            s.goTo(s.story(), scopeStart, std::min(scopeEnd, s.storyObject().length()));
            while (run.selectBetween(sumOpen + ds.field(f).name, closing)) {
                SumTail tail = parseSumTail(s.text());
                double sum = r.FieldSums[static_cast<size_t>(f)];
                std::string text;
                if (tail.kind == SumTail::Kind::General) {
                    text = dbf::formatGeneral(sum);
                } else if (tail.kind == SumTail::Kind::Formatted) {
                    try {
                        text = formatNumber(sum, tail.format);
                    } catch (const std::exception&) {
                        text = dbf::formatGeneral(sum);
                    }
                }
                s.typeText(text);
            }
        }
    }
    s.goTo(s.story(), scopeStart, std::min(scopeEnd, s.storyObject().length()));
    run.replaceTag(std::string(words::kCount) + fieldPrefix + "*" + closing,
                   std::to_string(r.AggregateRecordCount));
}

}  // namespace report::pipeline

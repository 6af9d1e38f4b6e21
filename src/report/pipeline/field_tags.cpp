// Field tags of one data set: <#NAME.FIELD> becomes the value of the current record (a
// picture, formatted text or the document rendering), in the text boxes, the header and
// footer when asked and the main text; SUM(...) and COUNT(...) before them.
#include <algorithm>
#include <set>

#include "report/pipeline/steps.h"
#include "report/pipeline/values.h"
#include "report/text_helpers.h"

namespace report::pipeline {

namespace {

// Longest first, so <#DS.NAME2> is not taken for <#DS.NAME> followed by "2>".
std::vector<int> fieldsLongestFirst(const dbf::DataSet& ds) {
    std::vector<int> order(static_cast<size_t>(ds.fieldCount()));
    for (int i = 0; i < ds.fieldCount(); ++i) order[static_cast<size_t>(i)] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return ds.field(a).name.size() > ds.field(b).name.size();
    });
    return order;
}

struct FieldFiller {
    Run& run;
    dbf::DataSet& ds;
    std::string fieldPrefix;
    bool empty;
    std::vector<int> order;
    std::set<int> pictures;  // fields found to hold pictures during this filling

    void fillSelection() {
        std::string text = helpers::upperKeepingPositions(run.sel().text());
        for (int f : order) {
            std::string tag = fieldPrefix + ds.field(f).name + run.postfix;
            if (text.find(helpers::upperKeepingPositions(tag)) == std::string::npos) continue;
            if (empty) {
                run.replaceTag(tag, "");
                continue;
            }
            if (pictures.count(f) || contentOf(ds, f) == FieldContent::Picture) {
                pictures.insert(f);
                replaceTagByPicture(run, tag, ds, f);
            } else if (contentOf(ds, f) == FieldContent::FormattedText) {
                replaceTagByFormattedText(run, tag, ds, f);
            } else {
                run.replaceTag(tag, documentTextOf(run, ds, f));
            }
        }
    }
};

}  // namespace

void fillFieldTags(Run& run, dbf::DataSet* ds, const std::string& name) {
    if (!isActive(ds)) return;
    const std::string fieldPrefix = run.prefix + name + ".";
    if (!run.hasTag(fieldPrefix)) return;
    bool empty = ds->recordCount() == 0;
    if (run.report.Aggregation) computeAggregates(run, ds);
    FieldFiller filler{run, *ds, fieldPrefix, empty, fieldsLongestFirst(*ds), {}};
    // Tags are searched from the start of each scope: select it whole each time.
    auto scope = [&](const std::function<void()>& select, bool aggregate) {
        select();
        if (aggregate && run.report.Aggregation) {
            fillAggregationTags(run, *ds, fieldPrefix);
            select();
        }
        filler.fillSelection();
    };
    int count = run.shapeCount();
    for (int i = 1; i <= count && i <= run.shapeCount(); ++i) {
        auto frame = run.doc().shapes().item(i).textFrame();
        if (!frame.hasText()) continue;
        scope([&] { run.doc().shapes().item(i).textFrame().textRange().select(); }, true);
    }
    if (run.report.NeedHeaderFooterProc) run.forHeaderAndFooter([&] { filler.fillSelection(); });
    scope([&] { run.selectMainText(); }, true);
}

std::string fieldTagsInText(Run& run, dbf::DataSet* ds, const std::string& name, std::string text) {
    if (!hasRecords(ds)) return text;
    const std::string fieldPrefix = run.prefix + name + ".";
    if (helpers::upperKeepingPositions(text).find(helpers::upperKeepingPositions(fieldPrefix)) ==
        std::string::npos)
        return text;
    for (int f = 0; f < ds->fieldCount(); ++f) {
        std::string tag = fieldPrefix + ds->field(f).name + run.postfix;
        if (helpers::upperKeepingPositions(text).find(helpers::upperKeepingPositions(tag)) ==
            std::string::npos)
            continue;
        text = helpers::replaceAllNoCase(text, tag, textValue(run, *ds, f));
    }
    return text;
}

}  // namespace report::pipeline

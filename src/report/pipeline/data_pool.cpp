// The data pool step: each <DS:NAME> entry asks OnNeedSQL for a data set, which then
// fills its REPFOR blocks, REPEAT blocks, field tags, tables and text tables; <EXEC>
// entries run a statement; <RUNMACRO:> entries run a macro when RunMacro is on.
#include "report/errors.h"
#include "report/pipeline/steps.h"
#include "report/tag_language.h"
#include "report/text_helpers.h"

namespace report::pipeline {

namespace {

void writeErrorLine(Run& run, const std::string& message) {
    wordproc::Selection& s = run.sel();
    run.selectMainText();
    s.homeKey(wordproc::wd::kStory);
    s.setText(message + "\r");
    s.font().setSize(8);
    s.font().setColor(wordproc::wd::kColorRed);
}

// Entries are read one at a time from the working text, which earlier entries change.
struct PoolCursor {
    std::string text;
    size_t consumed = 0;
};

}  // namespace

void runDataPool(Run& run) {
    TARWordReport& r = run.report;
    std::string work = r.dataPoolText();
    dbf::DataSet* previous = nullptr;
    while (true) {
        PoolParse parsed = parsePool(work);
        if (parsed.entries.empty()) break;
        PoolEntry entry = parsed.entries.front();
        // Drop the entry just read from the working text (its end word included).
        std::string folded = helpers::upperKeepingPositions(work);
        std::string_view word = entry.kind == PoolEntry::Kind::DataSet ? words::kDsEntry
                                : entry.kind == PoolEntry::Kind::Exec  ? words::kExecEntry
                                                                       : words::kMacroEntry;
        size_t at = folded.find(helpers::upperKeepingPositions(std::string(word)));
        size_t end;
        if (entry.kind == PoolEntry::Kind::Macro) {
            end = work.find('>', at) + 1;
        } else {
            std::string_view endWord =
                entry.kind == PoolEntry::Kind::DataSet ? words::kDsEnd : words::kExecEnd;
            end = folded.find(helpers::upperKeepingPositions(std::string(endWord)), at) +
                  endWord.size();
        }
        work.erase(0, end);

        if (entry.kind == PoolEntry::Kind::Macro) {
            if (!r.RunMacro) continue;
            try {
                r.wordApp()->run(entry.name);
            } catch (const std::exception& e) {
                writeErrorLine(run, "ERROR: " + std::string(e.what()) + " (" +
                                        std::string(words::kMacroEntry) + entry.name + ">)");
            }
            continue;
        }
        if (helpers::trimmed(entry.name).empty() && entry.body.empty()) continue;
        if (!r.OnNeedSQL) continue;
        dbf::DataSet* result = previous;
        r.OnNeedSQL(r, entry.body, result);
        previous = result;
        if (!entry.name.empty()) work = expandRepfor(run, result, entry.name, work);
        if (!isActive(result)) continue;
        result->first();
        int index = r.DataSetList().count();
        r.DataSetList().addDataSet(result, entry.name);  // an empty name raises here
        const std::string name = r.DataSetList().item(index).DSName();
        try {
            fillRepeatBlocks(run, result, name);
        } catch (...) {
            r.DataSetList().remove(index);
            throw;
        }
        r.DataSetList().remove(index);
        result->first();
        fillFieldTags(run, result, name);
        work = fieldTagsInText(run, result, name, work);
        fillTemplateTables(run, result, name);
        fillGeneratedTables(run, result, name);
        fillTextTables(run, result, name);
        result->first();
    }
}

}  // namespace report::pipeline

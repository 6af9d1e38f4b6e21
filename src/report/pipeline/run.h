#pragma once
// What every step of one Process shares: the component, its word processor and document,
// the marks, and the few selection moves the steps are written in.
#include <functional>
#include <string>
#include <string_view>

#include "report/ar_word_report.h"
#include "wordproc/range.h"
#include "wordproc/shapes.h"

namespace report::pipeline {

class Run {
  public:
    explicit Run(TARWordReport& report);

    TARWordReport& report;
    const std::string prefix, postfix;

    wordproc::Application& app() const { return *report.wordApp(); }
    // The document can change under a step (a REPEAT block reloads it), so ask each time.
    wordproc::Document& doc() const { return *report.document(); }
    wordproc::Selection& sel() const { return doc().selection(); }

    void selectMainText() const;
    // Calls `fill` with the selection on the whole text of every drawing shape that holds
    // text, in shape order (counted once).
    void forEachTextShape(const std::function<void()>& fill) const;
    // Calls `fill` with the selection on the whole page header, then the page footer.
    void forHeaderAndFooter(const std::function<void()>& fill) const;

    // Searches forward from the selection; when found the selection covers the text.
    bool find(std::string_view text, int wrap = wordproc::wd::kFindAsk) const;
    // Finds `open` and then `close` after it, removes both and selects what lay between.
    // Without `open`: false, nothing changed. Without `close`: false, `open` removed.
    bool selectBetween(std::string_view open, std::string_view close) const;
    // The text of the selection's whole story.
    std::string storyText() const;
    // Replaces every `tag` in the selection's story by a plain text value (one replace-all,
    // or a find loop for long values and values holding "^", which a replace-all would read).
    void replaceTag(std::string_view tag, std::string_view value) const;
    // The same inside a range (a table row): search, set, search again from its start.
    void replaceTagInRange(wordproc::Range range, std::string_view tag,
                           std::string_view value) const;

    bool hasTag(std::string_view text) const;  // in the main text or any shape, case ignored

    // The document's shape count. Counting walks the whole document, and only structural
    // edits (which start a new generation) add or remove shapes, so it is kept per
    // document and generation.
    int shapeCount() const;

  private:
    mutable const wordproc::Document* m_countedDoc = nullptr;
    mutable unsigned m_countedGeneration = 0;
    mutable int m_shapeCount = 0;
};

// The record loops: the bookmark and the controls of a data set are given back however
// the loop ends.
class DataSetVisit {
  public:
    explicit DataSetVisit(dbf::DataSet* ds);
    ~DataSetVisit();
    DataSetVisit(const DataSetVisit&) = delete;
    DataSetVisit& operator=(const DataSetVisit&) = delete;

  private:
    dbf::DataSet* m_ds;
    dbf::DataSet::Bookmark m_mark;
};

bool isActive(const dbf::DataSet* ds);
bool hasRecords(const dbf::DataSet* ds);

}  // namespace report::pipeline

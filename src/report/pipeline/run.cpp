#include "report/pipeline/run.h"

#include "report/text_helpers.h"
#include "wordproc/shapes.h"
#include "wordproc/window.h"

namespace report::pipeline {

namespace wd = wordproc::wd;

Run::Run(TARWordReport& r) : report(r), prefix(r.Marks().Prefix), postfix(r.Marks().Postfix) {}

void Run::selectMainText() const {
    doc().activeWindow().view().setSeekView(wd::kSeekMainDocument);
    doc().content().select();
}

int Run::shapeCount() const {
    wordproc::Document& d = doc();
    if (m_countedDoc != &d || m_countedGeneration != d.generation()) {
        m_shapeCount = d.shapes().count();
        m_countedDoc = &d;
        m_countedGeneration = d.generation();
    }
    return m_shapeCount;
}

void Run::forEachTextShape(const std::function<void()>& fill) const {
    int count = shapeCount();
    for (int i = 1; i <= count; ++i) {
        if (i > shapeCount()) break;
        wordproc::Shape shape = doc().shapes().item(i);
        wordproc::TextFrame frame = shape.textFrame();
        if (!frame.hasText()) continue;
        frame.textRange().select();
        fill();
    }
}

void Run::forHeaderAndFooter(const std::function<void()>& fill) const {
    for (int seek : {wd::kSeekCurrentPageHeader, wd::kSeekCurrentPageFooter}) {
        doc().activeWindow().view().setSeekView(seek);
        wordproc::Selection& s = sel();
        s.homeKey(wd::kStory);
        s.endKey(wd::kStory, wd::kExtend);
        fill();
    }
    selectMainText();
}

bool Run::find(std::string_view text, int wrap) const {
    return sel().find().execute(text, false, false, false, false, false, true, wrap);
}

bool Run::selectBetween(std::string_view open, std::string_view close) const {
    if (!find(open)) return false;
    wordproc::Selection& s = sel();
    s.setText({});
    int from = s.start();
    if (!find(close)) return false;
    s.setText({});
    int to = s.start();
    s.goTo(s.story(), from, to);
    return true;
}

std::string Run::storyText() const {
    wordproc::Selection& s = sel();
    return wordproc::Range(doc(), s.story(), 0, s.storyObject().length()).text();
}

void Run::replaceTag(std::string_view tag, std::string_view value) const {
    wordproc::Selection& s = sel();
    if (value.size() <= 200 && value.find('^') == std::string_view::npos) {
        wordproc::Range story(doc(), s.story(), 0, s.storyObject().length());
        story.find().execute(tag, false, false, false, false, false, true, wd::kFindContinue, false,
                             value, wd::kReplaceAll);
        return;
    }
    s.goTo(s.story(), 0, 0);
    while (find(tag)) {
        s.setText(value);
        // Go on after the value, which may itself hold the tag.
        s.goTo(s.story(), s.end(), s.end());
    }
}

void Run::replaceTagInRange(wordproc::Range range, std::string_view tag,
                            std::string_view value) const {
    int start = range.start();
    int length = range.storyObject().length();
    int tail = length - range.end();  // the text after the range keeps its length
    int from = start;
    while (true) {
        wordproc::Range r(doc(), range.story(), from, range.storyObject().length() - tail);
        if (!r.find().execute(tag, false, false, false, false, false, true, wd::kFindStop)) return;
        r.setText(value);
        from = r.end();  // after the value, which may hold the tag again
    }
}

bool Run::hasTag(std::string_view text) const {
    std::string needle = helpers::upperKeepingPositions(text);
    auto holds = [&](const std::string& t) {
        return helpers::upperKeepingPositions(t).find(needle) != std::string::npos;
    };
    if (holds(doc().content().text())) return true;
    int count = shapeCount();
    for (int i = 1; i <= count; ++i) {
        auto frame = doc().shapes().item(i).textFrame();
        if (frame.hasText() && holds(frame.textRange().text())) return true;
    }
    return false;
}

DataSetVisit::DataSetVisit(dbf::DataSet* ds) : m_ds(isActive(ds) ? ds : nullptr) {
    if (!m_ds) return;
    m_mark = m_ds->bookmark();
    m_ds->disableControls();
}

DataSetVisit::~DataSetVisit() {
    if (!m_ds) return;
    try {
        if (m_mark) m_ds->gotoBookmark(m_mark);
        m_ds->freeBookmark(m_mark);
        m_ds->enableControls();
    } catch (...) {
        // Giving the cursor back must not hide the error that ended the loop.
    }
}

bool isActive(const dbf::DataSet* ds) { return ds && ds->isOpen(); }
bool hasRecords(const dbf::DataSet* ds) { return isActive(ds) && ds->recordCount() > 0; }

}  // namespace report::pipeline

#include "wordproc/range.h"

#include <algorithm>

#include "wordproc/edit.h"
#include "wordproc/errors.h"
#include "wordproc/tables.h"
#include "wordproc/utf.h"
#include "wordproc/xml_util.h"

namespace wordproc {

Range::Range(Document& doc, StoryRef story, int start, int end)
    : m_doc(&doc), m_story(story), m_start(start), m_end(std::max(start, end)) {}

void Range::clampToStory() {
    if (!m_doc->hasStory(m_story)) m_story = {};
    int len = storyObject().length();
    m_start = std::clamp(m_start, 0, len);
    m_end = std::clamp(m_end, m_start, len);
}

int Range::start() const { return std::min(m_start, storyObject().length()); }
int Range::end() const { return std::min(m_end, storyObject().length()); }

void Range::setStart(int pos) {
    m_start = std::clamp(pos, 0, storyObject().length());
    if (m_end < m_start) m_end = m_start;
}

void Range::setEnd(int pos) {
    m_end = std::clamp(pos, 0, storyObject().length());
    if (m_start > m_end) m_start = m_end;
}

void Range::setRange(int s, int e) {
    int len = storyObject().length();
    m_start = std::clamp(std::min(s, e), 0, len);
    m_end = std::clamp(std::max(s, e), 0, len);
}

std::string Range::text() const {
    int s = start(), e = end();
    return toUtf8(std::u32string_view(storyObject().text()).substr(s, e - s));
}

void Range::setText(std::string_view text) {
    auto t = edit::normalizeInput(text);
    int s = start();
    int e = m_doc->replaceText(m_story, s, end(), t);
    m_start = s;
    m_end = e;
}

void Range::deleteText() { setText({}); }

void Range::select() const {
    Selection& sel = m_doc->selection();
    sel.goTo(m_story, start(), end());
}

bool Range::information(int what) const {
    if (what == wd::kWithInTable) return inTable();
    if (what == wd::kStartOfRangeRowNumber) return rowNumber() > 0;
    return false;
}

bool Range::inTable() const {
    Story& st = storyObject();
    const Entry& en = st.entry(st.entryAt(start()));
    return en.rowEnd || static_cast<bool>(xml::ancestor(en.node, "w:tc"));
}

int Range::rowNumber() const {
    Story& st = storyObject();
    const Entry& en = st.entry(st.entryAt(start()));
    auto tr = en.rowEnd ? en.node : xml::ancestor(en.node, "w:tr");
    if (!tr) return -1;
    auto tbl = xml::ancestor(tr, "w:tbl");
    auto rows = tableRows(tbl);
    auto it = std::find(rows.begin(), rows.end(), tr);
    return static_cast<int>(it - rows.begin()) + 1;
}

Tables Range::tables() const {
    Story& st = storyObject();
    std::vector<int> ordinals;
    const auto& all = st.tables();
    const Entry& en = st.entry(st.entryAt(start()));
    auto inner = en.rowEnd ? xml::ancestor(en.node, "w:tbl") : xml::ancestor(en.node, "w:tbl");
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i] == inner) {
            ordinals.push_back(static_cast<int>(i));
            continue;
        }
        auto [ts, te] = st.span(all[i]);
        bool topLevel = !xml::ancestor(all[i], "w:tbl");
        if (topLevel && ts >= start() && ts < std::max(end(), start() + 1) && all[i] != inner)
            ordinals.push_back(static_cast<int>(i));
    }
    return Tables(*m_doc, m_story, ordinals, "range");
}

// --- Selection ---

void Selection::goTo(StoryRef story, int s, int e) {
    m_story = story;
    setRange(s, e);
    pending = {};
    lastFoundStart = lastFoundEnd = -1;
}

void Selection::setText(std::string_view text) {
    Range::setText(text);
    lastFoundStart = lastFoundEnd = -1;
}

void Selection::applyPendingFont(int s, int e) {
    if (pending.at != s || e <= s) return;
    Pending p = pending;
    Range r(*m_doc, m_story, s, e);
    Font f = r.font();
    if (p.bold) f.setBold(*p.bold);
    if (p.size) f.setSize(*p.size);
    if (p.color) f.setColor(*p.color);
}

void Selection::typeText(std::string_view text) {
    Document::EditScope scope(*m_doc);
    Pending p = pending;
    int s = start();
    Range::setText(text);
    bool formatted = p.at == s;
    if (formatted && m_end > s) {
        pending = p;
        applyPendingFont(s, m_end);
    }
    m_start = m_end;
    pending = {};
    if (formatted) {
        pending = p;
        pending.at = m_end;  // text typed next keeps the formatting
    }
    lastFoundStart = lastFoundEnd = -1;
}

void Selection::typeBackspace() {
    if (end() > start()) {
        setText({});
        return;
    }
    if (start() > 0) {
        setRange(start() - 1, start());
        setText({});
    }
}

int Selection::deleteChars(int, int count) {
    if (end() > start()) {
        setText({});
        return 1;
    }
    int s = start();
    int e = std::min(s + std::max(count, 1), storyObject().length());
    if (e <= s) return 0;
    setRange(s, e);
    setText({});
    return e - s;
}

namespace {
std::pair<int, int> lineOf(Story& st, int pos) {
    const Entry& en = st.entry(st.entryAt(pos));
    return {en.start, en.markPos()};
}
}  // namespace

void Selection::homeKey(int unit, int extend) {
    Story& st = storyObject();
    int target = unit == wd::kStory ? 0 : lineOf(st, start()).first;
    int anchor = start();
    pending = {};
    lastFoundStart = lastFoundEnd = -1;
    if (extend)
        setRange(target, anchor);
    else
        setRange(target, target);
}

void Selection::endKey(int unit, int extend) {
    Story& st = storyObject();
    int len = st.length();
    int anchor = start();
    pending = {};
    lastFoundStart = lastFoundEnd = -1;
    if (unit == wd::kStory) {
        if (extend)
            setRange(anchor, len);
        else
            setRange(len - 1, len - 1);
        return;
    }
    const Entry& en = st.entry(st.entryAt(end() > start() ? end() - 1 : end()));
    int mark = en.markPos();
    if (!extend) {
        setRange(mark, mark);
        return;
    }
    // Extending to the end of the line takes the paragraph mark, never a cell's end.
    setRange(anchor, en.cellEnd || en.rowEnd ? mark : mark + 1);
}

int Selection::moveLeft(int unit, int count, bool extend) {
    pending = {};
    lastFoundStart = lastFoundEnd = -1;
    if (unit == wd::kCell) return 0;
    int s = start(), e = end();
    if (extend) {
        setRange(s, std::max(s, e - count));
        return count;
    }
    if (e > s) {
        --count;
        e = s;
    }
    int to = std::max(0, s - std::max(count, 0));
    setRange(to, to);
    return s - to;
}

int Selection::moveRight(int unit, int count, bool extend) {
    pending = {};
    lastFoundStart = lastFoundEnd = -1;
    Story& st = storyObject();
    if (unit == wd::kCell) {
        int moved = 0;
        for (int k = 0; k < count; ++k) {
            const Entry& en = st.entry(st.entryAt(start()));
            auto tc = en.rowEnd ? pugi::xml_node() : xml::ancestor(en.node, "w:tc");
            if (!tc) return moved;
            auto tr = xml::ancestor(tc, "w:tr");
            auto tbl = xml::ancestor(tr, "w:tbl");
            auto cells = rowCells(tr);
            auto it = std::find(cells.begin(), cells.end(), tc);
            pugi::xml_node next;
            if (it + 1 != cells.end()) {
                next = *(it + 1);
            } else {
                auto rows = tableRows(tbl);
                auto rit = std::find(rows.begin(), rows.end(), tr);
                if (rit + 1 != rows.end()) {
                    next = rowCells(*(rit + 1)).front();
                } else {
                    // From the last cell a new row is added.
                    next = rowCells(tables::insertRow(*m_doc, m_story, tr, false)).front();
                }
            }
            Story& st2 = storyObject();
            auto [cs, ce] = st2.span(next);
            setRange(cs, ce - 1);
            ++moved;
        }
        return moved;
    }
    int s = start(), e = end(), len = st.length();
    if (extend) {
        setRange(s, std::min(len, e + count));
        return count;
    }
    if (e > s) {
        --count;
        s = e;
    }
    int to = std::min(len, s + std::max(count, 0));
    setRange(to, to);
    return to - s;
}

}  // namespace wordproc

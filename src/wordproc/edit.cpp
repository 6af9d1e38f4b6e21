#include "wordproc/edit.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "wordproc/utf.h"
#include "wordproc/xml_util.h"

namespace wordproc::edit {

namespace {

bool isProperties(pugi::xml_node n) {
    if (n.type() != pugi::node_element) return true;  // whitespace text between elements
    std::string_view name = n.name();
    return name.size() > 2 && name.substr(name.size() - 2) == "Pr";
}

void setT(pugi::xml_node t, std::u32string_view text) {
    if (!t.attribute("xml:space")) t.append_attribute("xml:space") = "preserve";
    t.text().set(toUtf8(text).c_str());
}

pugi::xml_node runOf(pugi::xml_node atomNode) {
    auto p = atomNode.parent();
    return xml::is(p, "w:r") ? p : pugi::xml_node();
}

void stripRevisions(pugi::xml_node rPr) {
    for (const char* n : {"w:ins", "w:del", "w:moveFrom", "w:moveTo", "w:rPrChange"})
        xml::removeChildren(rPr, n);
}

}  // namespace

std::u32string normalizeInput(std::string_view utf8) {
    std::u32string in = toU32(utf8), out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        char32_t c = in[i];
        if (c == U'\r') {
            if (i + 1 < in.size() && in[i + 1] == U'\n') ++i;
            out.push_back(kParagraphMark);
        } else if (c == U'\n' || c == kLineBreak) {
            out.push_back(kLineBreak);
        } else if (c == U'\t' || c == kPageBreak) {
            out.push_back(c);
        } else if (c >= 0x20 && xmlCanHold(c)) {
            out.push_back(c);
        }
    }
    return out;
}

namespace {
// An id for the second half of a split revision, far above those programs give.
long freshAnnotationId() {
    static std::atomic<long> next{900000000};
    return next++;
}
}  // namespace

Point pointBeforeAtom(const Atom& atom) {
    pugi::xml_node run = atom.node.parent();
    if (atom.kind == AtomKind::Text && atom.offset > 0) {
        std::u32string t = toU32(atom.node.child_value());
        auto t2 = run.insert_child_after("w:t", atom.node);
        setT(t2, std::u32string_view(t).substr(atom.offset));
        setT(atom.node, std::u32string_view(t).substr(0, atom.offset));
        return {run, t2};
    }
    return {run, atom.node};
}

Point splitUpTo(Point pt, pugi::xml_node ancestor) {
    while (pt.parent && pt.parent != ancestor) {
        pugi::xml_node parent = pt.parent, grand = parent.parent();
        if (!pt.before) {
            pt = {grand, parent.next_sibling()};
            continue;
        }
        bool contentBefore = false;
        for (auto c = parent.first_child(); c && c != pt.before; c = c.next_sibling())
            if (!isProperties(c)) {
                contentBefore = true;
                break;
            }
        if (!contentBefore) {
            pt = {grand, parent};
            continue;
        }
        auto second = grand.insert_child_after(parent.name(), parent);
        for (auto a : parent.attributes())
            if (std::strcmp(a.name(), "w14:paraId") != 0 &&
                std::strcmp(a.name(), "w14:textId") != 0)
                second.append_attribute(a.name()) = a.value();
        for (auto c = parent.first_child(); c && c != pt.before; c = c.next_sibling())
            if (c.type() == pugi::node_element && isProperties(c)) second.append_copy(c);
        // Two halves of a revision or content control are two of them.
        if (auto id = second.attribute("w:id")) id.set_value(freshAnnotationId());
        second.child("w:sdtPr").remove_child("w:id");
        for (auto c = pt.before; c;) {
            auto next = c.next_sibling();
            second.append_move(c);
            c = next;
        }
        pt = {grand, second};
    }
    return pt;
}

namespace {

// Marks that stand between characters and must outlive the text around them.
bool isAnchorMark(pugi::xml_node n) {
    return xml::is(n, "w:bookmarkStart") || xml::is(n, "w:bookmarkEnd") ||
           xml::is(n, "w:commentRangeStart") || xml::is(n, "w:commentRangeEnd") ||
           xml::is(n, "w:permStart") || xml::is(n, "w:permEnd");
}

// The place just after one character.
Point pointAfterAtom(const Atom& atom) {
    pugi::xml_node run = atom.node.parent();
    if (atom.kind == AtomKind::Text) {
        std::u32string t = toU32(atom.node.child_value());
        if (atom.offset + 1 < t.size()) {
            auto t2 = run.insert_child_after("w:t", atom.node);
            setT(t2, std::u32string_view(t).substr(atom.offset + 1));
            setT(atom.node, std::u32string_view(t).substr(0, atom.offset + 1));
            return {run, t2};
        }
    }
    return {run, atom.node.next_sibling()};
}

// The innermost element of a paragraph holding the runs of both characters: a
// hyperlink, content control, simple field, revision or the paragraph itself.
pugi::xml_node commonContainer(pugi::xml_node p, const Atom& a, const Atom& b) {
    std::vector<pugi::xml_node> chain;
    for (auto n = a.node.parent().parent(); n && n != p; n = n.parent()) chain.push_back(n);
    for (auto n = b.node.parent().parent(); n && n != p; n = n.parent())
        if (std::find(chain.begin(), chain.end(), n) != chain.end()) return n;
    return p;
}

// Removes an element; the bookmarks and comment anchors in it stay where it was.
void removeKeepingMarks(pugi::xml_node c) {
    auto parent = c.parent();
    std::vector<pugi::xml_node> keep;
    for (auto n = c; n; n = xml::nextInOrder(n, c))
        if (n.type() == pugi::node_element && isAnchorMark(n)) keep.push_back(n);
    for (auto k : keep)
        if (k != c) parent.insert_move_before(k, c);
    if (keep.empty() || keep.front() != c) parent.remove_child(c);
}

}  // namespace

void removeBetween(Point a, Point b) {
    for (auto c = a.before; c && c != b.before;) {
        auto next = c.next_sibling();
        removeKeepingMarks(c);
        c = next;
    }
}

Point deleteChars(Entry& e, int k1, int k2) {
    int n = static_cast<int>(e.atoms.size());
    k2 = std::min(k2, n);
    if (k1 >= k2) return insertionPoint(e, k1);
    // What replaces the characters stays inside the link, content control,
    // field or revision that held them all.
    pugi::xml_node container = commonContainer(e.node, e.atoms[k1], e.atoms[k2 - 1]);
    Point b = splitUpTo(pointAfterAtom(e.atoms[k2 - 1]), container);
    Point a = splitUpTo(pointBeforeAtom(e.atoms[k1]), container);
    removeBetween(a, b);
    return {container, b.before};
}

pugi::xml_node formattingOfRun(pugi::xml_node run, pugi::xml_document& holder) {
    holder.reset();
    auto rPr = run.child("w:rPr");
    if (!rPr) return {};
    auto copy = holder.append_copy(rPr);
    stripRevisions(copy);
    return copy;
}

pugi::xml_node formattingAt(const Entry& e, int k, pugi::xml_document& holder) {
    int n = static_cast<int>(e.atoms.size());
    pugi::xml_node run;
    if (k > 0 && k - 1 < n) run = runOf(e.atoms[k - 1].node);
    if (!run && k < n) run = runOf(e.atoms[k].node);
    if (run) return formattingOfRun(run, holder);
    holder.reset();
    auto mark = e.node.child("w:pPr").child("w:rPr");
    if (!mark) return {};
    auto copy = holder.append_copy(mark);
    copy.set_name("w:rPr");
    stripRevisions(copy);
    return copy;
}

Point insertionPoint(const Entry& e, int k) {
    int n = static_cast<int>(e.atoms.size());
    if (k < n) {
        Point pt = pointBeforeAtom(e.atoms[k]);
        return splitUpTo(pt, pt.parent.parent());
    }
    if (n > 0) {
        auto run = e.atoms[n - 1].node.parent();
        return {run.parent(), run.next_sibling()};
    }
    return {e.node, {}};
}

void setRunText(pugi::xml_node run, std::u32string_view text) {
    std::u32string buf;
    auto flush = [&] {
        if (buf.empty()) return;
        setT(run.append_child("w:t"), buf);
        buf.clear();
    };
    for (char32_t c : text) {
        if (c == U'\t') {
            flush();
            run.append_child("w:tab");
        } else if (c == kLineBreak) {
            flush();
            run.append_child("w:br");
        } else if (c == kPageBreak) {
            flush();
            run.append_child("w:br").append_attribute("w:type") = "page";
        } else if (c >= 0x20 && xmlCanHold(c)) {
            buf.push_back(c);
        }
    }
    flush();
}

pugi::xml_node insertRun(Point pt, pugi::xml_node rPr, std::u32string_view text) {
    if (text.empty()) return {};
    if (xml::is(pt.parent, "w:r")) pt = splitUpTo(pt, pt.parent.parent());
    auto r =
        pt.before ? pt.parent.insert_child_before("w:r", pt.before) : pt.parent.append_child("w:r");
    if (rPr) r.append_copy(rPr);
    setRunText(r, text);
    return r;
}

pugi::xml_node splitParagraph(pugi::xml_node p, Point pt) {
    auto p2 = p.parent().insert_child_after("w:p", p);
    for (auto a : p.attributes())
        if (std::strcmp(a.name(), "w14:paraId") != 0 && std::strcmp(a.name(), "w14:textId") != 0)
            p2.append_attribute(a.name()) = a.value();
    if (auto pPr = p.child("w:pPr")) {
        p2.append_copy(pPr);
        pPr.remove_child("w:sectPr");  // the section ends with the second half's mark
    }
    for (auto c = pt.before; c;) {
        auto next = c.next_sibling();
        if (!xml::is(c, "w:pPr")) p2.append_move(c);
        c = next;
    }
    return p2;
}

bool hasContent(pugi::xml_node p) {
    Entry tmp;
    Story::readParagraph(p, tmp);
    return !tmp.atoms.empty();
}

void mergeParagraphs(pugi::xml_node p1, pugi::xml_node p2) {
    auto pPr1 = p1.child("w:pPr"), pPr2 = p2.child("w:pPr");
    if (!hasContent(p1)) {
        if (pPr1) p1.remove_child(pPr1);
        if (pPr2) p1.prepend_copy(pPr2);
    } else {
        if (pPr1) pPr1.remove_child("w:sectPr");
        if (pPr2 && pPr2.child("w:sectPr")) {
            pPr1 = xml::ensureFirstChild(p1, "w:pPr");
            auto change = pPr1.child("w:pPrChange");
            if (change)
                pPr1.insert_copy_before(pPr2.child("w:sectPr"), change);
            else
                pPr1.append_copy(pPr2.child("w:sectPr"));
        }
    }
    for (auto c = p2.first_child(); c;) {
        auto next = c.next_sibling();
        if (!xml::is(c, "w:pPr")) p1.append_move(c);
        c = next;
    }
    p2.parent().remove_child(p2);
}

pugi::xml_node newParagraphAfter(pugi::xml_node block) {
    return block.parent().insert_child_after("w:p", block);
}

namespace {

void deleteInContainer(Story& st, pugi::xml_node container, int s, int e) {
    auto blocks = blockChildren(container);
    pugi::xml_node pending;
    for (size_t bi = 0; bi < blocks.size(); ++bi) {
        pugi::xml_node b = blocks[bi];
        auto [bs, be] = st.span(b);
        if (bs < 0 || be <= s) continue;
        bool last = bi + 1 == blocks.size();
        if (bs >= e) {
            if (pending && xml::is(b, "w:p")) mergeParagraphs(pending, b);
            pending = {};
            break;
        }
        if (xml::is(b, "w:p")) {
            Entry& en = st.entry(st.entriesOf(b).first);
            int ds = std::max(s, bs), de = std::min(e, be);
            bool markIn = de == be && !last;
            if (de == be) de = be - 1;
            if (ds == bs && markIn) {
                removeKeepingMarks(b);
                continue;
            }
            if (de > ds) deleteChars(en, ds - bs, de - bs);
            if (pending) {
                mergeParagraphs(pending, b);
                b = pending;
                pending = {};
            }
            if (markIn) pending = b;
        } else {
            if (s <= bs && be <= e) {
                removeKeepingMarks(b);
                continue;
            }
            pending = {};  // no paragraph merges across a table that stays
            for (auto row : tableRows(b)) {
                auto [rs, re] = st.span(row);
                if (rs < 0 || re <= s || rs >= e) continue;
                if (s <= rs && re <= e) {
                    removeKeepingMarks(row);
                    continue;
                }
                for (auto cell : rowCells(row)) {
                    auto [cs, ce] = st.span(cell);
                    if (cs < 0 || ce <= s || cs >= e) continue;
                    deleteInContainer(st, cell, std::max(s, cs), std::min(e, ce));
                }
            }
        }
    }
}

void normalizeContainer(pugi::xml_node c);

void normalizeTable(pugi::xml_node tbl) {
    for (auto row : tableRows(tbl)) {
        auto cells = rowCells(row);
        if (cells.empty()) {
            row.parent().remove_child(row);
            continue;
        }
        for (auto cell : cells) normalizeContainer(cell);
    }
    if (tableRows(tbl).empty()) tbl.parent().remove_child(tbl);
}

void normalizeContainer(pugi::xml_node c) {
    for (auto b : blockChildren(c))
        if (xml::is(b, "w:tbl")) normalizeTable(b);
    auto blocks = blockChildren(c);
    if (blocks.empty() || xml::is(blocks.back(), "w:tbl")) {
        auto sect = c.child("w:sectPr");
        if (sect)
            c.insert_child_before("w:p", sect);
        else
            c.append_child("w:p");
    }
}

}  // namespace

void deleteRange(Story& story, int s, int e) {
    if (e <= s) return;
    deleteInContainer(story, story.root(), s, e);
}

void normalize(pugi::xml_node storyRoot) { normalizeContainer(storyRoot); }

void freshenCopy(pugi::xml_node copy) {
    std::vector<pugi::xml_node> drop;
    for (auto n = copy; n; n = xml::nextInOrder(n, copy)) {
        if (n.type() != pugi::node_element) continue;
        n.remove_attribute("w14:paraId");
        n.remove_attribute("w14:textId");
        if (xml::is(n, "w:bookmarkStart") || xml::is(n, "w:bookmarkEnd")) drop.push_back(n);
        if (xml::is(n, "w:sdtPr")) n.remove_child("w:id");
    }
    for (auto n : drop) n.parent().remove_child(n);
}

}  // namespace wordproc::edit

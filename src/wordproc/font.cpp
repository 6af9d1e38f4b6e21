#include <cmath>
#include <cstdio>
#include <functional>
#include <set>

#include "wordproc/edit.h"
#include "wordproc/range.h"
#include "wordproc/xml_util.h"

namespace wordproc {

namespace {

// Calls fn on the run properties of every run of [s, e) and, when the range
// takes a paragraph mark, on the mark's properties.
void forEachRunProps(Range& r, const std::function<void(pugi::xml_node)>& fn) {
    Document& doc = r.document();
    Document::EditScope scope(doc);
    Story& st = r.storyObject();
    int s = r.start(), e = r.end();
    if (e <= s) return;
    int i1 = st.entryAt(s), i2 = st.entryAt(e - 1);
    std::vector<int> touched;
    for (int i = i1; i <= i2; ++i) {
        Entry& en = st.entry(i);
        if (en.rowEnd) continue;
        int n = static_cast<int>(en.atoms.size());
        int a = std::max(s, en.start) - en.start;
        int b = std::min(e, en.start + en.length()) - en.start;
        bool mark = b == en.length();
        int bChars = std::min(b, n);
        doc.touchParagraph(r.story(), en.node);
        touched.push_back(i);
        if (bChars > a) {
            if (bChars < n) {
                auto pt = edit::pointBeforeAtom(en.atoms[bChars]);
                edit::splitUpTo(pt, pt.parent.parent());
            }
            auto pt = edit::pointBeforeAtom(en.atoms[a]);
            edit::splitUpTo(pt, pt.parent.parent());
            Entry fresh;
            Story::readParagraph(en.node, fresh);
            std::set<const void*> seen;
            for (int k = a; k < bChars; ++k) {
                auto run = fresh.atoms[k].node.parent();
                if (!xml::is(run, "w:r") || !seen.insert(run.internal_object()).second) continue;
                fn(xml::ensureFirstChild(run, "w:rPr"));
            }
        }
        if (mark) {
            auto pPr = xml::ensureFirstChild(en.node, "w:pPr");
            auto rPr = pPr.child("w:rPr");
            if (!rPr) {
                auto before =
                    pPr.child("w:sectPr") ? pPr.child("w:sectPr") : pPr.child("w:pPrChange");
                rPr = before ? pPr.insert_child_before("w:rPr", before) : pPr.append_child("w:rPr");
            }
            fn(rPr);
        }
    }
    st.refresh(touched);
    doc.storyEdited(r.story());
}

pugi::xml_node firstRunProps(Range& r) {
    Story& st = r.storyObject();
    int s = r.start();
    const Entry& en = st.entry(st.entryAt(s));
    int k = s - en.start;
    if (en.rowEnd) return {};
    if (k < static_cast<int>(en.atoms.size())) return en.atoms[k].node.parent().child("w:rPr");
    return en.node.child("w:pPr").child("w:rPr");
}

void setToggle(pugi::xml_node rPr, const char* name, bool on) {
    auto el = xml::ensureChild(rPr, name, xml::kRPrOrder);
    xml::setVal(el, "w:val", on ? "1" : "0");
}

Selection* asPendingSelection(Range& r) {
    auto* sel = dynamic_cast<Selection*>(&r);
    if (sel && sel->start() == sel->end()) {
        if (sel->pending.at != sel->start()) sel->pending = {};
        sel->pending.at = sel->start();
        return sel;
    }
    return nullptr;
}

}  // namespace

bool Font::bold() const {
    auto b = firstRunProps(m_range).child("w:b");
    if (!b) return false;
    std::string_view v = b.attribute("w:val").value();
    return !(v == "0" || v == "false" || v == "off");
}

void Font::setBold(bool on) {
    if (auto* sel = asPendingSelection(m_range)) {
        sel->pending.bold = on;
        return;
    }
    forEachRunProps(m_range, [on](pugi::xml_node rPr) {
        setToggle(rPr, "w:b", on);
        setToggle(rPr, "w:bCs", on);
    });
}

double Font::size() const {
    auto sz = firstRunProps(m_range).child("w:sz");
    return sz ? sz.attribute("w:val").as_double() / 2 : 0;
}

void Font::setSize(double points) {
    if (auto* sel = asPendingSelection(m_range)) {
        sel->pending.size = points;
        return;
    }
    std::string half = std::to_string(static_cast<int>(std::lround(points * 2)));
    forEachRunProps(m_range, [&](pugi::xml_node rPr) {
        xml::setVal(xml::ensureChild(rPr, "w:sz", xml::kRPrOrder), "w:val", half);
        xml::setVal(xml::ensureChild(rPr, "w:szCs", xml::kRPrOrder), "w:val", half);
    });
}

int Font::color() const {
    auto c = firstRunProps(m_range).child("w:color");
    if (!c) return 0;
    unsigned rgb = static_cast<unsigned>(std::strtoul(c.attribute("w:val").value(), nullptr, 16));
    return static_cast<int>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

void Font::setColor(int color) {
    if (auto* sel = asPendingSelection(m_range)) {
        sel->pending.color = color;
        return;
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF,
                  (color >> 16) & 0xFF);
    forEachRunProps(m_range, [&](pugi::xml_node rPr) {
        auto c = xml::ensureChild(rPr, "w:color", xml::kRPrOrder);
        c.remove_attribute("w:themeColor");
        c.remove_attribute("w:themeShade");
        c.remove_attribute("w:themeTint");
        xml::setVal(c, "w:val", hex);
    });
}

}  // namespace wordproc

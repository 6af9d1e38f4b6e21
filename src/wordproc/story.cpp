#include "wordproc/story.h"

#include <algorithm>
#include <cstring>

#include "wordproc/utf.h"
#include "wordproc/xml_util.h"

namespace wordproc {

namespace {

void flatten(pugi::xml_node parent, std::string_view want, std::vector<pugi::xml_node>& out) {
    for (auto c = parent.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        if (xml::is(c, want)) {
            out.push_back(c);
        } else if (xml::is(c, "w:sdt")) {
            flatten(c.child("w:sdtContent"), want, out);
        } else if (xml::is(c, "w:customXml")) {
            flatten(c, want, out);
        }
    }
}

void collectInline(pugi::xml_node parent, Entry& e);

void collectRun(pugi::xml_node r, Entry& e) {
    for (auto c = r.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        const char* n = c.name();
        if (n[0] == 'w' && n[1] == ':') {
            const char* s = n + 2;
            if (std::strcmp(s, "t") == 0) {
                const char* v = c.child_value();
                std::u32string t = toU32(v);
                for (std::uint32_t k = 0; k < t.size(); ++k) {
                    e.text.push_back(t[k]);
                    e.atoms.push_back({c, k, AtomKind::Text});
                }
            } else if (std::strcmp(s, "tab") == 0 || std::strcmp(s, "ptab") == 0) {
                e.text.push_back(U'\t');
                e.atoms.push_back({c, 0, AtomKind::Tab});
            } else if (std::strcmp(s, "br") == 0 || std::strcmp(s, "cr") == 0) {
                std::string_view type = c.attribute("w:type").value();
                e.text.push_back(type == "page"     ? kPageBreak
                                 : type == "column" ? 0x0E
                                                    : kLineBreak);
                e.atoms.push_back({c, 0, AtomKind::Break});
            } else if (std::strcmp(s, "noBreakHyphen") == 0) {
                e.text.push_back(0x2011);
                e.atoms.push_back({c, 0, AtomKind::Tab});
            } else if (std::strcmp(s, "softHyphen") == 0) {
                e.text.push_back(0xAD);
                e.atoms.push_back({c, 0, AtomKind::Tab});
            } else if (std::strcmp(s, "sym") == 0) {
                e.text.push_back(static_cast<char32_t>(
                    std::strtoul(c.attribute("w:char").value(), nullptr, 16)));
                e.atoms.push_back({c, 0, AtomKind::Tab});
            } else if (std::strcmp(s, "drawing") == 0 || std::strcmp(s, "pict") == 0 ||
                       std::strcmp(s, "object") == 0) {
                if (isInlineObject(c)) {
                    e.text.push_back(kObjectChar);
                    e.atoms.push_back({c, 0, AtomKind::Object});
                }
            } else if (std::strcmp(s, "footnoteReference") == 0 ||
                       std::strcmp(s, "endnoteReference") == 0) {
                e.text.push_back(2);
                e.atoms.push_back({c, 0, AtomKind::Object});
            } else if (std::strcmp(s, "fldChar") == 0) {
                std::string_view type = c.attribute("w:fldCharType").value();
                if (type == "begin") {
                    e.text.push_back(kFieldBegin);
                    e.atoms.push_back({c, 0, AtomKind::FieldBegin});
                } else if (type == "separate") {
                    e.text.push_back(kFieldSeparator);
                    e.atoms.push_back({c, 0, AtomKind::FieldSep});
                } else if (type == "end") {
                    e.text.push_back(kFieldEnd);
                    e.atoms.push_back({c, 0, AtomKind::FieldEnd});
                }
            }
        } else if (xml::is(c, "mc:AlternateContent")) {
            if (isInlineObject(c)) {
                e.text.push_back(kObjectChar);
                e.atoms.push_back({c, 0, AtomKind::Object});
            }
        }
    }
}

void collectInline(pugi::xml_node parent, Entry& e) {
    for (auto c = parent.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        const char* n = c.name();
        if (std::strcmp(n, "w:r") == 0) {
            collectRun(c, e);
        } else if (std::strcmp(n, "w:hyperlink") == 0 || std::strcmp(n, "w:smartTag") == 0 ||
                   std::strcmp(n, "w:customXml") == 0 || std::strcmp(n, "w:ins") == 0 ||
                   std::strcmp(n, "w:moveTo") == 0 || std::strcmp(n, "w:fldSimple") == 0 ||
                   std::strcmp(n, "w:bdo") == 0 || std::strcmp(n, "w:dir") == 0 ||
                   std::strcmp(n, "w:sdtContent") == 0 || std::strcmp(n, "w:sdt") == 0) {
            collectInline(c, e);
        }
    }
}

}  // namespace

bool isInlineObject(pugi::xml_node el) {
    if (xml::is(el, "w:drawing")) return static_cast<bool>(el.child("wp:inline"));
    if (xml::is(el, "w:object")) return true;
    if (xml::is(el, "w:pict")) {
        // VML: a picture without absolute positioning stands in the line.
        for (auto c = xml::firstElement(el); c; c = xml::nextElement(c)) {
            if (c.child("v:textbox")) return false;
            std::string_view style = c.attribute("style").value();
            if (style.find("position:absolute") != std::string_view::npos) return false;
            if (c.child("v:imagedata")) return true;
        }
        return false;
    }
    if (xml::is(el, "mc:AlternateContent")) {
        auto choice = el.child("mc:Choice");
        for (auto c = xml::firstElement(choice); c; c = xml::nextElement(c))
            if (xml::is(c, "w:drawing")) return static_cast<bool>(c.child("wp:inline"));
        return false;
    }
    return false;
}

std::vector<pugi::xml_node> blockChildren(pugi::xml_node container) {
    std::vector<pugi::xml_node> out;
    for (auto c = container.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        if (xml::is(c, "w:p") || xml::is(c, "w:tbl")) {
            out.push_back(c);
        } else if (xml::is(c, "w:sdt")) {
            auto inner = blockChildren(c.child("w:sdtContent"));
            out.insert(out.end(), inner.begin(), inner.end());
        } else if (xml::is(c, "w:customXml")) {
            auto inner = blockChildren(c);
            out.insert(out.end(), inner.begin(), inner.end());
        }
    }
    return out;
}

std::vector<pugi::xml_node> tableRows(pugi::xml_node tbl) {
    std::vector<pugi::xml_node> out;
    flatten(tbl, "w:tr", out);
    return out;
}

std::vector<pugi::xml_node> rowCells(pugi::xml_node tr) {
    std::vector<pugi::xml_node> out;
    flatten(tr, "w:tc", out);
    return out;
}

void Story::readParagraph(pugi::xml_node p, Entry& e) {
    e.text.clear();
    e.atoms.clear();
    collectInline(p, e);
    e.text.push_back(e.cellEnd ? kCellMark : kParagraphMark);
}

void Story::restart() {
    m_entries.clear();
    m_blocks.clear();
    m_textValid = m_foldedValid = false;
}

void Story::addParagraph(pugi::xml_node p) {
    Entry e;
    e.node = p;
    readParagraph(p, e);
    int idx = static_cast<int>(m_entries.size());
    m_blocks[p.internal_object()] = {idx, idx};
    m_entries.push_back(std::move(e));
}

void Story::buildBlocks(pugi::xml_node container) {
    for (auto b : blockChildren(container)) {
        if (xml::is(b, "w:p"))
            addParagraph(b);
        else
            buildTable(b);
    }
}

void Story::buildRow(pugi::xml_node tr) {
    int rowFirst = static_cast<int>(m_entries.size());
    for (auto tc : rowCells(tr)) {
        int cellFirst = static_cast<int>(m_entries.size());
        buildBlocks(tc);
        if (static_cast<int>(m_entries.size()) > cellFirst) {
            Entry& last = m_entries.back();
            if (!last.rowEnd && xml::ancestor(last.node, "w:tc") == tc) {
                last.cellEnd = true;
                last.text.back() = kCellMark;
            }
        }
        m_blocks[tc.internal_object()] = {cellFirst, static_cast<int>(m_entries.size()) - 1};
    }
    Entry end;
    end.node = tr;
    end.rowEnd = true;
    end.text = std::u32string(1, kCellMark);
    m_entries.push_back(std::move(end));
    m_blocks[tr.internal_object()] = {rowFirst, static_cast<int>(m_entries.size()) - 1};
}

void Story::buildTable(pugi::xml_node tbl) {
    int first = static_cast<int>(m_entries.size());
    for (auto tr : tableRows(tbl)) buildRow(tr);
    if (static_cast<int>(m_entries.size()) > first)
        m_blocks[tbl.internal_object()] = {first, static_cast<int>(m_entries.size()) - 1};
}

void Story::build() {
    restart();
    buildBlocks(m_root);
    int pos = 0;
    for (auto& e : m_entries) {
        e.start = pos;
        pos += e.length();
    }
    m_built = true;
}

const std::vector<Entry>& Story::entries() {
    if (!m_built) build();
    return m_entries;
}

int Story::length() {
    entries();
    if (m_entries.empty()) return 0;
    return m_entries.back().start + m_entries.back().length();
}

const std::u32string& Story::text() {
    entries();
    if (!m_textValid) {
        m_text.clear();
        m_text.reserve(static_cast<size_t>(length()));
        for (const auto& e : m_entries) m_text += e.text;
        m_textValid = true;
    }
    return m_text;
}

const std::u32string& Story::foldedText() {
    if (!m_foldedValid) {
        m_folded = foldCase(text());
        m_foldedValid = true;
    }
    return m_folded;
}

int Story::entryAt(int pos) {
    entries();
    if (m_entries.empty()) return -1;
    auto it = std::upper_bound(m_entries.begin(), m_entries.end(), pos,
                               [](int p, const Entry& e) { return p < e.start; });
    int idx = static_cast<int>(it - m_entries.begin()) - 1;
    return std::clamp(idx, 0, static_cast<int>(m_entries.size()) - 1);
}

std::pair<int, int> Story::entriesOf(pugi::xml_node block) {
    entries();
    auto it = m_blocks.find(block.internal_object());
    if (it == m_blocks.end()) return {-1, -1};
    return it->second;
}

std::pair<int, int> Story::span(pugi::xml_node block) {
    auto [a, b] = entriesOf(block);
    if (a < 0) return {-1, -1};
    return {m_entries[a].start, m_entries[b].start + m_entries[b].length()};
}

void Story::rowInserted(pugi::xml_node tr) {
    if (!m_built) return;
    // Where the row goes: after the row before it, else before the row after it.
    auto rows = tableRows(xml::ancestor(tr, "w:tbl"));
    auto it = std::find(rows.begin(), rows.end(), tr);
    int at = -1;
    if (it != rows.begin() && it != rows.end()) {
        auto prev = m_blocks.find((it - 1)->internal_object());
        if (prev != m_blocks.end()) at = prev->second.second + 1;
    } else if (it != rows.end() && it + 1 != rows.end()) {
        auto next = m_blocks.find((it + 1)->internal_object());
        if (next != m_blocks.end()) at = next->second.first;
    }
    if (at < 0) {
        invalidate();
        return;
    }
    // The row's entries and blocks, counted from 0.
    std::vector<Entry> entries;
    std::unordered_map<const void*, std::pair<int, int>> blocks;
    std::swap(entries, m_entries);
    std::swap(blocks, m_blocks);
    buildRow(tr);
    std::swap(entries, m_entries);
    std::swap(blocks, m_blocks);
    int k = static_cast<int>(entries.size());
    // Blocks after it move down; the blocks holding it grow.
    std::vector<const void*> holders;
    for (auto a = tr.parent(); a && a != m_root; a = a.parent())
        holders.push_back(a.internal_object());
    for (auto& [key, range] : m_blocks) {
        if (std::find(holders.begin(), holders.end(), key) != holders.end()) {
            range.first = std::min(range.first, at);
            range.second += k;
        } else if (range.first >= at) {
            range.first += k;
            range.second += k;
        }
    }
    for (auto& [key, range] : blocks) m_blocks[key] = {range.first + at, range.second + at};
    int pos = at < static_cast<int>(m_entries.size())
                  ? m_entries[static_cast<size_t>(at)].start
                  : m_entries.back().start + m_entries.back().length();
    std::u32string added;
    for (auto& e : entries) {
        e.start = pos + static_cast<int>(added.size());
        added += e.text;
    }
    int shift = static_cast<int>(added.size());
    for (size_t i = static_cast<size_t>(at); i < m_entries.size(); ++i) m_entries[i].start += shift;
    m_entries.insert(m_entries.begin() + at, std::make_move_iterator(entries.begin()),
                     std::make_move_iterator(entries.end()));
    if (m_textValid) m_text.insert(static_cast<size_t>(pos), added);
    if (m_foldedValid) m_folded.insert(static_cast<size_t>(pos), foldCase(added));
}

void Story::refresh(const std::vector<int>& idx) {
    if (!m_built) return;
    // Patches the cached texts in place: a replacement touches one paragraph,
    // and re-joining the whole story for every one of them is what costs.
    std::vector<int> order(idx);
    std::sort(order.begin(), order.end());
    order.erase(std::unique(order.begin(), order.end()), order.end());
    int shift = 0;
    size_t next = 0;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        Entry& e = m_entries[i];
        e.start += shift;
        if (next < order.size() && order[next] == static_cast<int>(i)) {
            ++next;
            if (e.rowEnd) continue;
            int oldLen = e.length();
            readParagraph(e.node, e);
            if (m_textValid)
                m_text.replace(static_cast<size_t>(e.start), static_cast<size_t>(oldLen), e.text);
            if (m_foldedValid)
                m_folded.replace(static_cast<size_t>(e.start), static_cast<size_t>(oldLen),
                                 foldCase(e.text));
            shift += e.length() - oldLen;
        }
    }
}

}  // namespace wordproc

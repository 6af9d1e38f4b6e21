#include "wordproc/tables.h"

#include <algorithm>
#include <cmath>

#include "wordproc/edit.h"
#include "wordproc/errors.h"
#include "wordproc/xml_util.h"

namespace wordproc {

namespace {

template <typename T>
T at(const std::vector<T>& v, int index, const char* collection, const char* owner,
     const char* thing) {
    if (index < 1 || index > static_cast<int>(v.size()))
        throwNoMember(collection, index, owner, static_cast<int>(v.size()), thing);
    return v[static_cast<size_t>(index - 1)];
}

int textWidthTwips(Document& doc, pugi::xml_node p) {
    if (auto tc = xml::ancestor(p, "w:tc")) {
        auto w = tc.child("w:tcPr").child("w:tcW");
        if (std::string_view(w.attribute("w:type").value()) == "dxa" &&
            w.attribute("w:w").as_int() > 400)
            return w.attribute("w:w").as_int() - 216;
    }
    auto sect =
        doc.package().xml(doc.mainPart()).document_element().child("w:body").child("w:sectPr");
    int page = sect.child("w:pgSz").attribute("w:w").as_int();
    int left = sect.child("w:pgMar").attribute("w:left").as_int();
    int right = sect.child("w:pgMar").attribute("w:right").as_int();
    int width = page - left - right;
    return width > 1000 ? width : 9026;
}

void addBorders(pugi::xml_node tblPr) {
    auto borders = tblPr.append_child("w:tblBorders");
    for (const char* side : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"}) {
        auto b = borders.append_child(side);
        b.append_attribute("w:val") = "single";
        b.append_attribute("w:sz") = "4";
        b.append_attribute("w:space") = "0";
        b.append_attribute("w:color") = "auto";
    }
}

}  // namespace

namespace tables {

std::vector<pugi::xml_node> allTables(pugi::xml_node root) {
    std::vector<pugi::xml_node> out;
    for (auto n = xml::firstElement(root); n;) {
        // A paragraph holds tables only in text boxes, which are stories of their own.
        bool skip = xml::is(n, "w:p") || xml::is(n, "w:txbxContent") || xml::is(n, "mc:Fallback") ||
                    xml::is(n, "w:drawing") || xml::is(n, "w:pict");
        if (xml::is(n, "w:tbl")) out.push_back(n);
        n = xml::nextInOrder(n, root, skip);
    }
    return out;
}

pugi::xml_node tableAt(Document& doc, StoryRef story, int ordinal) {
    const auto& all = doc.story(story).tables();
    if (ordinal < 0 || ordinal >= static_cast<int>(all.size()))
        throw WordprocError("The table no longer exists.");
    return all[static_cast<size_t>(ordinal)];
}

int ordinalOf(Document& doc, StoryRef story, pugi::xml_node tbl) {
    const auto& all = doc.story(story).tables();
    auto it = std::find(all.begin(), all.end(), tbl);
    return it == all.end() ? -1 : static_cast<int>(it - all.begin());
}

namespace {

bool continuesMerge(pugi::xml_node tc) {
    auto vm = tc.child("w:tcPr").child("w:vMerge");
    return vm && std::string_view(vm.attribute("w:val").value()) != "restart";
}

// The cells of a row by the grid column each starts at.
std::vector<std::pair<int, pugi::xml_node>> cellsByColumn(pugi::xml_node tr) {
    std::vector<std::pair<int, pugi::xml_node>> out;
    int col = tr.child("w:trPr").child("w:gridBefore").attribute("w:val").as_int();
    for (auto tc : rowCells(tr)) {
        out.push_back({col, tc});
        col += std::max(1, tc.child("w:tcPr").child("w:gridSpan").attribute("w:val").as_int());
    }
    return out;
}

pugi::xml_node nextRow(pugi::xml_node tr) {
    if (auto n = tr.next_sibling("w:tr")) return n;
    if (xml::is(tr.parent(), "w:tbl")) return {};
    auto rows = tableRows(xml::ancestor(tr, "w:tbl"));
    auto it = std::find(rows.begin(), rows.end(), tr);
    return it == rows.end() || it + 1 == rows.end() ? pugi::xml_node() : *(it + 1);
}

}  // namespace

pugi::xml_node insertEmptyRowLike(pugi::xml_node row, bool before) {
    // The row that will follow the new one decides whether a vertical merge
    // runs through it: only a merge that continues below does.
    pugi::xml_node below = before ? row : nextRow(row);
    auto copy = before ? row.parent().insert_copy_before(row, row)
                       : row.parent().insert_copy_after(row, row);
    auto belowCells = below ? cellsByColumn(below) : std::vector<std::pair<int, pugi::xml_node>>{};
    for (auto [col, tc] : cellsByColumn(copy)) {
        if (auto vm = tc.child("w:tcPr").child("w:vMerge")) {
            bool inside = false;
            for (auto [bcol, btc] : belowCells)
                if (bcol == col) inside = continuesMerge(btc);
            if (inside)
                vm.remove_attribute("w:val");
            else
                vm.parent().remove_child(vm);
        }
        pugi::xml_document keep;
        pugi::xml_node pPr, runProps;
        auto blocks = blockChildren(tc);
        if (!blocks.empty() && xml::is(blocks.front(), "w:p")) {
            pPr = keep.append_copy(blocks.front().child("w:pPr"));
            for (auto n = blocks.front(); n; n = xml::nextInOrder(n, blocks.front()))
                if (xml::is(n, "w:r") && n.child("w:rPr")) {
                    runProps = keep.append_copy(n.child("w:rPr"));
                    break;
                }
        }
        for (auto c = tc.first_child(); c;) {
            auto next = c.next_sibling();
            if (!xml::is(c, "w:tcPr")) tc.remove_child(c);
            c = next;
        }
        auto p = tc.append_child("w:p");
        if (pPr) {
            auto np = p.append_copy(pPr);
            np.remove_child("w:sectPr");
            if (runProps) {
                np.remove_child("w:rPr");
                auto change = np.child("w:pPrChange");
                auto mark =
                    change ? np.insert_copy_before(runProps, change) : np.append_copy(runProps);
                mark.remove_child("w:rStyle");
            }
        } else if (runProps) {
            p.append_child("w:pPr").append_copy(runProps);
        }
    }
    edit::freshenCopy(copy);
    return copy;
}

pugi::xml_node insertRow(Document& doc, StoryRef story, pugi::xml_node row, bool before) {
    Document::EditScope scope(doc);
    auto added = insertEmptyRowLike(row, before);
    doc.recordInsertion(added);
    doc.story(story).rowInserted(added);
    doc.storyEdited(story);
    return added;
}

}  // namespace tables

const std::vector<pugi::xml_node>& Story::tables() {
    if (!m_tablesValid) {
        m_tables = tables::allTables(m_root);
        m_tablesValid = true;
    }
    return m_tables;
}

Tables Document::tables() {
    const auto& all = story({}).tables();
    std::vector<int> top;
    for (size_t i = 0; i < all.size(); ++i)
        if (!xml::ancestor(all[i], "w:tbl")) top.push_back(static_cast<int>(i));
    return Tables(*this, {}, top);
}

Table Tables::item(int index) const {
    return Table(*m_doc, m_story, at(m_ordinals, index, "Tables", m_owner, "table"));
}

Table Tables::add(const Range& range, int rows, int columns) {
    if (rows < 1 || columns < 1)
        throw WordprocError("The number of rows or columns is out of range.");
    Document& doc = *m_doc;
    Document::EditScope scope(doc);
    StoryRef ref = range.story();
    int s = range.start();
    if (range.end() > s) doc.replaceText(ref, s, range.end(), U"");
    doc.snapshot();
    Story& st = doc.story(ref);
    Entry& en = st.entry(st.entryAt(s));
    if (en.rowEnd) throw WordprocError("A table cannot be inserted at the end of a table row.");
    pugi::xml_node p = en.node;
    auto pt = edit::splitUpTo(edit::insertionPoint(en, s - en.start), p);
    pugi::xml_document keep;
    auto cellPPr = keep.append_copy(p.child("w:pPr"));
    if (cellPPr) {
        cellPPr.remove_child("w:sectPr");
        cellPPr.remove_child("w:numPr");
    }
    auto second = edit::splitParagraph(p, pt);
    int width = textWidthTwips(doc, p);
    int colW = width / columns;
    auto tbl = p.parent().insert_child_before("w:tbl", second);
    auto tblPr = tbl.append_child("w:tblPr");
    auto tblW = tblPr.append_child("w:tblW");
    tblW.append_attribute("w:w") = "0";
    tblW.append_attribute("w:type") = "auto";
    addBorders(tblPr);
    tblPr.append_child("w:tblLayout").append_attribute("w:type") = "fixed";
    auto grid = tbl.append_child("w:tblGrid");
    for (int c = 0; c < columns; ++c) grid.append_child("w:gridCol").append_attribute("w:w") = colW;
    for (int r = 0; r < rows; ++r) {
        auto tr = tbl.append_child("w:tr");
        for (int c = 0; c < columns; ++c) {
            auto tc = tr.append_child("w:tc");
            auto w = tc.append_child("w:tcPr").append_child("w:tcW");
            w.append_attribute("w:w") = colW;
            w.append_attribute("w:type") = "dxa";
            auto cp = tc.append_child("w:p");
            if (cellPPr) cp.append_copy(cellPPr);
        }
    }
    if (!edit::hasContent(p)) p.parent().remove_child(p);
    edit::normalize(st.root());
    st.invalidate();
    doc.storyEdited(ref);
    int ordinal = tables::ordinalOf(doc, ref, tbl);
    auto [cs, ce] = st.span(rowCells(tableRows(tbl).front()).front());
    doc.selection().goTo(ref, cs, cs);
    return Table(doc, ref, ordinal);
}

pugi::xml_node Table::node() { return tables::tableAt(*m_doc, m_story, m_ordinal); }

void Table::select() {
    auto [s, e] = m_doc->story(m_story).span(node());
    m_doc->selection().goTo(m_story, s, e);
}

Range Table::range() {
    auto [s, e] = m_doc->story(m_story).span(node());
    return Range(*m_doc, m_story, s, e);
}

int Table::nestingLevel() {
    int level = 1;
    for (auto a = xml::ancestor(node(), "w:tbl"); a; a = xml::ancestor(a, "w:tbl")) ++level;
    return level;
}

void Table::deleteTable() {
    Document::EditScope scope(*m_doc);
    m_doc->snapshot();
    auto tbl = node();
    tbl.parent().remove_child(tbl);
    Story& st = m_doc->story(m_story);
    edit::normalize(st.root());
    st.invalidate();
    m_doc->storyEdited(m_story);
}

int Rows::count() {
    return static_cast<int>(tableRows(tables::tableAt(*m_doc, m_story, m_table)).size());
}

Row Rows::item(int index) {
    if (index < 1 || index > count()) throwNoMember("Rows", index, "table", count(), "row");
    return Row(*m_doc, m_story, m_table, index);
}

Row Rows::add(int beforeRow) {
    Document::EditScope scope(*m_doc);
    auto rows = tableRows(tables::tableAt(*m_doc, m_story, m_table));
    int index;
    if (beforeRow >= 1) {
        auto row = at(rows, beforeRow, "Rows", "table", "row");
        tables::insertRow(*m_doc, m_story, row, true);
        index = beforeRow;
    } else {
        tables::insertRow(*m_doc, m_story, rows.back(), false);
        index = static_cast<int>(rows.size()) + 1;
    }
    return Row(*m_doc, m_story, m_table, index);
}

pugi::xml_node Row::node() {
    return at(tableRows(tables::tableAt(*m_doc, m_story, m_table)), m_row, "Rows", "table", "row");
}

void Row::select() {
    auto [s, e] = m_doc->story(m_story).span(node());
    m_doc->selection().goTo(m_story, s, e);
}

Range Row::range() {
    auto [s, e] = m_doc->story(m_story).span(node());
    return Range(*m_doc, m_story, s, e);
}

void Row::deleteRow() {
    Document::EditScope scope(*m_doc);
    m_doc->snapshot();
    auto tr = node();
    tr.parent().remove_child(tr);
    Story& st = m_doc->story(m_story);
    edit::normalize(st.root());
    st.invalidate();
    m_doc->storyEdited(m_story);
}

int Cells::count() {
    return static_cast<int>(rowCells(Row(*m_doc, m_story, m_table, m_row).node()).size());
}

Cell Cells::item(int index) {
    if (index < 1 || index > count()) throwNoMember("Cells", index, "row", count(), "cell");
    return Cell(*m_doc, m_story, m_table, m_row, index);
}

pugi::xml_node Cell::node() {
    return at(rowCells(Row(*m_doc, m_story, m_table, m_row).node()), m_cell, "Cells", "row",
              "cell");
}

void Cell::select() {
    auto [s, e] = m_doc->story(m_story).span(node());
    m_doc->selection().goTo(m_story, s, e);
}

Range Cell::range() {
    auto [s, e] = m_doc->story(m_story).span(node());
    return Range(*m_doc, m_story, s, e);
}

int Columns::count() {
    return static_cast<int>(
        std::distance(m_table.node().child("w:tblGrid").children("w:gridCol").begin(),
                      m_table.node().child("w:tblGrid").children("w:gridCol").end()));
}

double Columns::width() {
    int common = -1;
    for (auto g : m_table.node().child("w:tblGrid").children("w:gridCol")) {
        int w = g.attribute("w:w").as_int();
        if (common >= 0 && w != common) return wd::kUndefined;
        common = w;
    }
    return common < 0 ? wd::kUndefined : common / 20.0;
}

double Column::width() {
    int k = 1;
    for (auto g : m_table.node().child("w:tblGrid").children("w:gridCol"))
        if (k++ == m_index) return g.attribute("w:w").as_int() / 20.0;
    throwNoMember("Columns", m_index, "table", k - 1, "column");
}

void Column::setWidth(double points, int) {
    Document& doc = m_table.document();
    Document::EditScope scope(doc);
    doc.snapshot();
    auto tbl = m_table.node();
    int twips = static_cast<int>(std::lround(points * 20));
    int k = 1;
    bool found = false;
    for (auto g : tbl.child("w:tblGrid").children("w:gridCol"))
        if (k++ == m_index) {
            xml::setVal(g, "w:w", std::to_string(twips));
            found = true;
        }
    if (!found) throwNoMember("Columns", m_index, "table", k - 1, "column");
    for (auto tr : tableRows(tbl)) {
        int col = 1;
        for (auto tc : rowCells(tr)) {
            auto tcPr = xml::ensureFirstChild(tc, "w:tcPr");
            int span = std::max(1, tcPr.child("w:gridSpan").attribute("w:val").as_int());
            if (col == m_index && span == 1) {
                auto w = xml::ensureChild(tcPr, "w:tcW", xml::kTcPrOrder);
                xml::setVal(w, "w:w", std::to_string(twips));
                xml::setVal(w, "w:type", "dxa");
            }
            col += span;
        }
    }
    doc.story(m_table.story()).invalidate();
    doc.storyEdited(m_table.story());
}

// --- selection operations on rows ---

void Selection::deleteCells(int) {
    Document::EditScope scope(*m_doc);
    m_doc->snapshot();
    Story& st = storyObject();
    int s = start(), e = std::max(start(), end() - 1);
    std::vector<pugi::xml_node> rows;
    for (int i = st.entryAt(s); i <= st.entryAt(e); ++i) {
        const Entry& en = st.entry(i);
        auto tr = en.rowEnd ? en.node : xml::ancestor(en.node, "w:tr");
        if (tr && std::find(rows.begin(), rows.end(), tr) == rows.end()) rows.push_back(tr);
    }
    if (rows.empty()) throw WordprocError("The selection is not in a table.");
    for (auto tr : rows) tr.parent().remove_child(tr);
    edit::normalize(st.root());
    st.invalidate();
    m_doc->storyEdited(m_story);
    setRange(s, s);
}

void Selection::insertRowsAbove(int count) {
    Document::EditScope scope(*m_doc);
    Story& st = storyObject();
    const Entry& en = st.entry(st.entryAt(start()));
    auto tr = en.rowEnd ? en.node : xml::ancestor(en.node, "w:tr");
    if (!tr) throw WordprocError("The selection is not in a table.");
    pugi::xml_node first, last;
    for (int k = 0; k < std::max(count, 1); ++k) {
        last = tables::insertRow(*m_doc, m_story, tr, true);
        if (!first) first = last;
    }
    int s = st.span(first).first, e = st.span(last).second;
    goTo(m_story, s, e);
}

}  // namespace wordproc

#include "wordproc/formatted_text.h"

#include <algorithm>

#include "wordproc/edit.h"
#include "wordproc/errors.h"
#include "wordproc/picture.h"
#include "wordproc/range.h"
#include "wordproc/tables.h"
#include "wordproc/xml_util.h"

namespace wordproc {

namespace {

template <typename F>
void forEachElement(pugi::xml_node root, F fn) {
    for (auto n = root; n; n = xml::nextInOrder(n, root))
        if (n.type() == pugi::node_element) fn(n);
}

std::string contentTypeFor(Package& pkg, const std::string& part) {
    std::string t = overrideContentType(pkg, part);
    if (!t.empty()) return t;
    std::string ext = part.substr(part.rfind('.') + 1);
    for (auto& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto root = pkg.xml("[Content_Types].xml").document_element();
    for (auto d : root.children("Default")) {
        std::string e = d.attribute("Extension").value();
        for (auto& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (e == ext) return d.attribute("ContentType").value();
    }
    return "application/octet-stream";
}

}  // namespace

namespace formatted {

void collectResources(Document& source, const std::string& part, FormattedText& ft) {
    Relationships rels(source.package(), part);
    std::vector<std::string> seen;
    forEachElement(ft.root(), [&](pugi::xml_node n) {
        for (auto a : n.attributes()) {
            std::string_view name = a.name();
            if (name.rfind("r:", 0) != 0) continue;
            std::string id = a.value();
            if (std::find(seen.begin(), seen.end(), id) != seen.end()) continue;
            seen.push_back(id);
            const auto* rel = rels.byId(id);
            if (!rel) continue;
            FormattedText::Resource r;
            r.id = id;
            r.type = rel->type;
            r.target = rel->target;
            r.external = rel->external;
            if (!r.external) {
                r.partName = resolveTarget(part, rel->target);
                if (!source.package().has(r.partName)) continue;
                r.bytes = source.package().bytes(r.partName);
                r.contentType = contentTypeFor(source.package(), r.partName);
            }
            ft.resources.push_back(std::move(r));
        }
    });
    ft.source = &source;
    ft.sourcePart = part;
}

void remapResources(Document& target, const std::string& part, const FormattedText& ft,
                    const std::vector<pugi::xml_node>& inserted) {
    if (ft.source == &target && ft.sourcePart == part) return;
    std::vector<std::pair<std::string, std::string>> map;
    auto newId = [&](const std::string& old) -> std::string {
        for (auto& [o, n] : map)
            if (o == old) return n;
        const FormattedText::Resource* res = nullptr;
        for (const auto& r : ft.resources)
            if (r.id == old) res = &r;
        std::string id;
        if (!res) {
            id = old;
        } else if (res->external) {
            id = Relationships(target.package(), part).add(res->type, res->target, true);
        } else if (res->type == reltype::kImage) {
            std::string ext = res->partName.substr(res->partName.rfind('.') + 1);
            id = addMediaPart(target, part, res->bytes, ext, res->contentType, res->partName);
        } else {
            std::string name = res->partName;
            for (int n = 1;
                 target.package().has(name) && target.package().bytes(name) != res->bytes; ++n) {
                auto dot = res->partName.rfind('.');
                name = res->partName.substr(0, dot) + "_" + std::to_string(n) +
                       res->partName.substr(dot);
            }
            if (!target.package().has(name)) target.package().setBytes(name, res->bytes);
            ensureOverrideContentType(target.package(), name, res->contentType);
            id = Relationships(target.package(), part).add(res->type, relativeTarget(part, name));
        }
        map.push_back({old, id});
        return id;
    };
    for (auto node : inserted)
        forEachElement(node, [&](pugi::xml_node n) {
            for (auto a : n.attributes())
                if (std::string_view(a.name()).rfind("r:", 0) == 0)
                    a.set_value(newId(a.value()).c_str());
        });
}

FormattedText bodyOf(Document& source) {
    FormattedText ft;
    ft.kind = FormattedText::Kind::Blocks;
    ft.endsWithMark = true;
    ft.foreign = true;
    auto root = ft.xml->append_child("fragment");
    auto docRoot = source.package().xml(source.mainPart()).document_element();
    for (auto c = docRoot.child("w:body").first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element || xml::is(c, "w:sectPr")) continue;
        root.append_copy(c);
    }
    // Its sections end with it; notes and comments stay behind.
    std::vector<pugi::xml_node> drop;
    forEachElement(root, [&](pugi::xml_node n) {
        if (xml::is(n, "w:sectPr") || xml::is(n, "w:footnoteReference") ||
            xml::is(n, "w:endnoteReference") || xml::is(n, "w:commentReference") ||
            xml::is(n, "w:commentRangeStart") || xml::is(n, "w:commentRangeEnd"))
            drop.push_back(n);
    });
    for (auto n : drop) n.parent().remove_child(n);
    collectResources(source, source.mainPart(), ft);
    for (auto a : docRoot.attributes()) {
        std::string_view name = a.name();
        if (name.rfind("xmlns:", 0) == 0) ft.namespaces.push_back({a.name(), a.value()});
    }
    ft.ignorable = docRoot.attribute("mc:Ignorable").value();
    Relationships rels(source.package(), source.mainPart());
    std::string styles = rels.firstOfType(reltype::kStyles);
    std::string numbering = rels.firstOfType(reltype::kNumbering);
    if (!styles.empty() && source.package().has(styles)) {
        ft.styles = std::make_shared<pugi::xml_document>();
        ft.styles->reset(source.package().xml(styles));
    }
    if (!numbering.empty() && source.package().has(numbering)) {
        ft.numbering = std::make_shared<pugi::xml_document>();
        ft.numbering->reset(source.package().xml(numbering));
    }
    return ft;
}

}  // namespace formatted

// --- reading and writing formatted content of a range ---

FormattedText Range::formattedText() const {
    FormattedText ft;
    auto root = ft.xml->append_child("fragment");
    Document& doc = *m_doc;
    Story& st = storyObject();
    int s = start(), e = end();
    if (e <= s) return ft;
    int i1 = st.entryAt(s), i2 = st.entryAt(e - 1);
    Entry& last = st.entry(i2);
    if (last.rowEnd) {
        auto tbl = xml::ancestor(last.node, "w:tbl");
        auto rows = tableRows(tbl);
        for (size_t r = 0; r < rows.size(); ++r) {
            if (st.span(rows[r]).first != s) continue;
            ft.kind = FormattedText::Kind::Rows;
            for (size_t q = r; q < rows.size(); ++q) {
                root.append_copy(rows[q]);
                if (rows[q] == last.node) break;
            }
            ft.tableShell = std::make_shared<pugi::xml_document>();
            auto shell = ft.tableShell->append_child("w:tbl");
            if (auto p = tbl.child("w:tblPr")) shell.append_copy(p);
            if (auto g = tbl.child("w:tblGrid")) shell.append_copy(g);
            formatted::collectResources(doc, doc.partOf(m_story), ft);
            return ft;
        }
    }
    Entry& first = st.entry(i1);
    if (i1 == i2 && !first.rowEnd && e <= first.markPos()) {
        ft.kind = FormattedText::Kind::Inline;
        int k2 = e - first.start;
        edit::Point b = k2 < static_cast<int>(first.atoms.size())
                            ? edit::splitUpTo(edit::pointBeforeAtom(first.atoms[k2]), first.node)
                            : edit::deleteChars(first, k2, k2);
        edit::Point a =
            edit::splitUpTo(edit::pointBeforeAtom(first.atoms[s - first.start]), first.node);
        if (k2 >= static_cast<int>(first.atoms.size())) {
            auto run = first.atoms.back().node.parent();
            b = {first.node, run.next_sibling()};
        }
        for (auto c = a.before; c && c != b.before; c = c.next_sibling())
            if (c.type() == pugi::node_element) root.append_copy(c);
        st.refresh({i1});
    } else {
        ft.kind = FormattedText::Kind::Blocks;
        // Whole blocks of the story's top level, the first and last paragraph cut.
        for (auto block : blockChildren(st.root())) {
            auto [bs, be] = st.span(block);
            if (bs < 0 || be <= s || bs >= e) continue;
            auto copy = root.append_copy(block);
            if (!xml::is(block, "w:p")) continue;
            // Cut the copy with the character positions of the original.
            Entry tmp;
            tmp.node = copy;
            Story::readParagraph(copy, tmp);
            int n = static_cast<int>(tmp.atoms.size());
            int to = std::min(e - bs, n), from = std::max(0, s - bs);
            if (e < be) {
                if (to < n) edit::deleteChars(tmp, to, n);
            } else {
                ft.endsWithMark = true;
            }
            if (from > 0) {
                Story::readParagraph(copy, tmp);
                edit::deleteChars(tmp, 0, std::min(from, static_cast<int>(tmp.atoms.size())));
            }
            if (e < be) ft.endsWithMark = false;
        }
    }
    formatted::collectResources(doc, doc.partOf(m_story), ft);
    return ft;
}

void Range::setFormattedText(const FormattedText& given) {
    if (given.kind == FormattedText::Kind::Empty) {
        deleteText();
        return;
    }
    FormattedText ft = given;
    ft.xml = std::make_shared<pugi::xml_document>();
    ft.xml->reset(*given.xml);
    Document& doc = *m_doc;
    Document::EditScope scope(doc);
    doc.snapshot();
    if (ft.foreign) formatted::adoptForeign(doc, ft);
    std::string part = doc.partOf(m_story);
    int s = start(), e = end();
    std::vector<pugi::xml_node> inserted;

    if (ft.kind == FormattedText::Kind::Rows) {
        Story& st = storyObject();
        const Entry& en = st.entry(st.entryAt(s));
        auto tr = en.rowEnd ? en.node : xml::ancestor(en.node, "w:tr");
        if (!tr) {
            // Outside a table the rows become a table of their own.
            Tables(doc, m_story, {}).add(Range(doc, m_story, s, e), 1, 1);
            Story& st2 = storyObject();
            const Entry& cell = st2.entry(st2.entryAt(doc.selection().start()));
            auto tbl = xml::ancestor(cell.node, "w:tbl");
            while (tbl.first_child()) tbl.remove_child(tbl.first_child());
            for (auto c : ft.tableShell->document_element().children()) tbl.append_copy(c);
            for (auto r : ft.root().children()) inserted.push_back(tbl.append_copy(r));
        } else {
            // Rows put into a table go in above the row of the range, as pasted rows do.
            for (auto r : ft.root().children())
                inserted.push_back(tr.parent().insert_copy_before(r, tr));
        }
    } else {
        if (e > s) doc.replaceText(m_story, s, e, U"");
        Story& st = storyObject();
        Entry& en = st.entry(st.entryAt(s));
        if (en.rowEnd) throw WordprocError("Content cannot be inserted at the end of a table row.");
        int k = s - en.start;
        if (ft.kind == FormattedText::Kind::Inline) {
            auto pt = edit::insertionPoint(en, k);
            for (auto c : ft.root().children())
                inserted.push_back(pt.before ? pt.parent.insert_copy_before(c, pt.before)
                                             : pt.parent.append_copy(c));
        } else {
            pugi::xml_node p = en.node;
            auto pt = edit::splitUpTo(edit::insertionPoint(en, k), p);
            auto after = edit::splitParagraph(p, pt);
            for (auto c : ft.root().children())
                inserted.push_back(after.parent().insert_copy_before(c, after));
            if (!inserted.empty() && xml::is(inserted.front(), "w:p")) {
                if (!edit::hasContent(p)) {
                    p.parent().remove_child(p);
                } else {
                    edit::mergeParagraphs(p, inserted.front());
                    inserted.front() = p;
                }
            }
            if (!ft.endsWithMark && !inserted.empty() && xml::is(inserted.back(), "w:p") &&
                inserted.back() != p) {
                edit::mergeParagraphs(inserted.back(), after);
            }
        }
    }
    formatted::remapResources(doc, part, ft, inserted);
    for (auto n : inserted) {
        if (!ft.adopted) edit::freshenCopy(n);
        doc.renumberDrawings(n);
    }
    Story& st = storyObject();
    edit::normalize(st.root());
    st.invalidate();
    // The range covers what was put in.
    int endPos = s;
    for (auto n : inserted) {
        auto [bs, be] = st.span(n);
        if (be > endPos && bs >= 0) endPos = be;
    }
    if (ft.kind == FormattedText::Kind::Inline) {
        endPos = s;
        for (auto n : inserted) {
            Entry tmp;
            pugi::xml_document scratch;
            auto p = scratch.append_child("w:p");
            p.append_copy(n);
            Story::readParagraph(p, tmp);
            endPos += static_cast<int>(tmp.atoms.size());
        }
    }
    doc.storyEdited(m_story);
    m_start = s;
    m_end = std::max(s, endPos);
    clampToStory();
}

}  // namespace wordproc

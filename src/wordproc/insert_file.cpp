// Inserting another document: its body with the styles, lists, pictures and
// bookmarks it needs, made to fit the target.
#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "wordproc/application.h"
#include "wordproc/errors.h"
#include "wordproc/formatted_text.h"
#include "wordproc/range.h"
#include "wordproc/xml_util.h"

namespace wordproc {

namespace {

constexpr const char* kStylesType =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml";
constexpr const char* kNumberingType =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.numbering+xml";

template <typename F>
void forEachElement(pugi::xml_node root, F fn) {
    for (auto n = root; n; n = xml::nextInOrder(n, root))
        if (n.type() == pugi::node_element) fn(n);
}

pugi::xml_node styleById(pugi::xml_node root, const std::string& id) {
    for (auto s : root.children("w:style"))
        if (id == s.attribute("w:styleId").value()) return s;
    return {};
}

// A style of the same type whose name matches, letter case aside, as Word
// matches style names.
pugi::xml_node styleByName(pugi::xml_node root, pugi::xml_node style) {
    auto lower = [](std::string_view v) {
        std::string out(v);
        for (auto& c : out)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return out;
    };
    std::string name = lower(style.child("w:name").attribute("w:val").value());
    if (name.empty()) return {};
    std::string_view type = style.attribute("w:type").value();
    for (auto s : root.children("w:style"))
        if (type == s.attribute("w:type").value() &&
            lower(s.child("w:name").attribute("w:val").value()) == name)
            return s;
    return {};
}

pugi::xml_node partRoot(Document& doc, const char* relType, const char* contentType,
                        const char* fileName, const char* rootName) {
    Relationships rels(doc.package(), doc.mainPart());
    std::string part = rels.firstOfType(relType);
    if (part.empty() || !doc.package().has(part)) {
        part = partDirectory(doc.mainPart()) + "/" + fileName;
        doc.package().createXml(part, std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" "
                                                  "standalone=\"yes\"?>\n<") +
                                          rootName + " xmlns:w=\"" + xml::kNsW + "\"></" +
                                          rootName + ">");
        ensureOverrideContentType(doc.package(), part, contentType);
        rels.add(relType, relativeTarget(doc.mainPart(), part));
    }
    return doc.package().xml(part).document_element();
}

void mergeNamespaces(pugi::xml_node target, const FormattedText& ft) {
    for (const auto& [name, uri] : ft.namespaces)
        if (!target.attribute(name.c_str())) target.append_attribute(name.c_str()) = uri.c_str();
    if (ft.ignorable.empty()) return;
    std::string have = target.attribute("mc:Ignorable").value();
    std::set<std::string> prefixes;
    std::istringstream in(have);
    for (std::string p; in >> p;) prefixes.insert(p);
    std::istringstream more(ft.ignorable);
    for (std::string p; more >> p;) {
        if (prefixes.count(p) || !target.attribute(("xmlns:" + p).c_str())) continue;
        have += (have.empty() ? "" : " ") + p;
        prefixes.insert(p);
    }
    if (have.empty()) return;
    if (!target.attribute("mc:Ignorable")) target.append_attribute("mc:Ignorable");
    target.attribute("mc:Ignorable").set_value(have.c_str());
}

std::map<std::string, std::string> adoptStyles(Document& doc, FormattedText& ft,
                                               std::vector<pugi::xml_node>& copied) {
    std::map<std::string, std::string> rename;
    if (!ft.styles) return rename;
    auto src = ft.styles->document_element();
    std::vector<std::string> queue;
    forEachElement(ft.root(), [&](pugi::xml_node n) {
        if (xml::is(n, "w:pStyle") || xml::is(n, "w:rStyle") || xml::is(n, "w:tblStyle"))
            queue.push_back(n.attribute("w:val").value());
    });
    if (queue.empty()) return rename;
    auto target = partRoot(doc, reltype::kStyles, kStylesType, "styles.xml", "w:styles");
    mergeNamespaces(target, ft);
    while (!queue.empty()) {
        std::string id = queue.back();
        queue.pop_back();
        if (rename.count(id)) continue;
        auto style = styleById(src, id);
        if (!style) {
            rename[id] = id;
            continue;
        }
        // A style the target already has, by id or by name, keeps the
        // target's definition, as Word's insert does.
        pugi::xml_node have = styleById(target, id);
        if (!have) have = styleByName(target, style);
        if (have) {
            rename[id] = have.attribute("w:styleId").value();
            continue;
        }
        rename[id] = id;
        auto copy = target.append_copy(style);
        copy.remove_attribute("w:default");
        copied.push_back(copy);
        for (const char* link : {"w:basedOn", "w:next", "w:link"})
            if (auto l = copy.child(link)) queue.push_back(l.attribute("w:val").value());
    }
    auto apply = [&](pugi::xml_node root, std::initializer_list<const char*> names) {
        forEachElement(root, [&](pugi::xml_node n) {
            for (const char* nm : names)
                if (xml::is(n, nm)) {
                    auto it = rename.find(n.attribute("w:val").value());
                    if (it != rename.end()) n.attribute("w:val").set_value(it->second.c_str());
                }
        });
    };
    apply(ft.root(), {"w:pStyle", "w:rStyle", "w:tblStyle"});
    for (auto c : copied) apply(c, {"w:basedOn", "w:next", "w:link"});
    return rename;
}

void adoptNumbering(Document& doc, FormattedText& ft, const std::vector<pugi::xml_node>& styles) {
    if (!ft.numbering) return;
    std::vector<pugi::xml_node> refs;
    auto collect = [&](pugi::xml_node root) {
        forEachElement(root, [&](pugi::xml_node n) {
            if (xml::is(n, "w:numId") && xml::is(n.parent(), "w:numPr") &&
                std::string_view(n.attribute("w:val").value()) != "0")
                refs.push_back(n);
        });
    };
    collect(ft.root());
    for (auto s : styles) collect(s);
    if (refs.empty()) return;
    auto src = ft.numbering->document_element();
    auto target =
        partRoot(doc, reltype::kNumbering, kNumberingType, "numbering.xml", "w:numbering");
    mergeNamespaces(target, ft);
    int maxAbs = -1, maxNum = 0;
    for (auto a : target.children("w:abstractNum"))
        maxAbs = std::max(maxAbs, a.attribute("w:abstractNumId").as_int());
    for (auto n : target.children("w:num"))
        maxNum = std::max(maxNum, n.attribute("w:numId").as_int());
    std::map<std::string, int> numMap, absMap;
    std::mt19937 rng{std::random_device{}()};
    for (auto ref : refs) {
        std::string old = ref.attribute("w:val").value();
        if (!numMap.count(old)) {
            pugi::xml_node num;
            for (auto n : src.children("w:num"))
                if (old == n.attribute("w:numId").value()) num = n;
            if (!num) {
                numMap[old] = 0;
            } else {
                std::string absOld = num.child("w:abstractNumId").attribute("w:val").value();
                if (!absMap.count(absOld)) {
                    for (auto a : src.children("w:abstractNum")) {
                        if (absOld != a.attribute("w:abstractNumId").value()) continue;
                        auto firstNum = target.child("w:num");
                        auto copy = firstNum ? target.insert_copy_before(a, firstNum)
                                             : target.append_copy(a);
                        absMap[absOld] = ++maxAbs;
                        copy.attribute("w:abstractNumId").set_value(maxAbs);
                        if (auto nsid = copy.child("w:nsid")) {
                            char hex[9];
                            std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(rng()));
                            nsid.attribute("w:val").set_value(hex);
                        }
                    }
                }
                pugi::xml_node lastNum;
                for (auto n : target.children("w:num")) lastNum = n;
                auto cleanup = target.child("w:numIdMacAtCleanup");
                auto copy = lastNum   ? target.insert_copy_after(num, lastNum)
                            : cleanup ? target.insert_copy_before(num, cleanup)
                                      : target.append_copy(num);
                numMap[old] = ++maxNum;
                copy.attribute("w:numId").set_value(maxNum);
                if (absMap.count(absOld))
                    copy.child("w:abstractNumId").attribute("w:val").set_value(absMap[absOld]);
            }
        }
        ref.attribute("w:val").set_value(numMap[old]);
    }
}

void adoptBookmarks(Document& doc, FormattedText& ft) {
    auto body = doc.package().xml(doc.mainPart()).document_element();
    int maxId = 0;
    std::set<std::string> names;
    forEachElement(body, [&](pugi::xml_node n) {
        if (xml::is(n, "w:bookmarkStart") || xml::is(n, "w:bookmarkEnd"))
            maxId = std::max(maxId, n.attribute("w:id").as_int());
        if (xml::is(n, "w:bookmarkStart")) names.insert(n.attribute("w:name").value());
    });
    std::map<std::string, int> ids;
    forEachElement(ft.root(), [&](pugi::xml_node n) {
        if (!xml::is(n, "w:bookmarkStart") && !xml::is(n, "w:bookmarkEnd")) return;
        std::string old = n.attribute("w:id").value();
        if (!ids.count(old)) ids[old] = ++maxId;
        n.attribute("w:id").set_value(ids[old]);
        if (xml::is(n, "w:bookmarkStart")) {
            std::string name = n.attribute("w:name").value();
            std::string fresh = name;
            for (int k = 1; names.count(fresh); ++k) fresh = name + "_" + std::to_string(k);
            names.insert(fresh);
            n.attribute("w:name").set_value(fresh.c_str());
        }
    });
}

}  // namespace

namespace formatted {

void adoptForeign(Document& target, FormattedText& ft) {
    std::vector<pugi::xml_node> copiedStyles;
    adoptStyles(target, ft, copiedStyles);
    adoptNumbering(target, ft, copiedStyles);
    adoptBookmarks(target, ft);
    mergeNamespaces(target.package().xml(target.mainPart()).document_element(), ft);
    ft.foreign = false;
    ft.adopted = true;
}

}  // namespace formatted

void Range::insertFile(const std::string& fileName) {
    auto source = Document::fromTemplate(fileName, nullptr);
    insertDocument(*source);
}

void Range::insertDocument(Document& source) {
    FormattedText ft = formatted::bodyOf(source);
    Document::EditScope scope(*m_doc);
    m_doc->snapshot();
    formatted::adoptForeign(*m_doc, ft);
    ft.source = &source;
    ft.sourcePart = source.mainPart();
    setFormattedText(ft);
}

void Selection::insertFile(const std::string& fileName, const std::string&, bool, bool, bool) {
    Range r = range();
    r.insertFile(fileName);
    goTo(r.story(), r.end(), r.end());
}

void Selection::insertDocument(Document& source) {
    Range r = range();
    r.insertDocument(source);
    goTo(r.story(), r.end(), r.end());
}

}  // namespace wordproc

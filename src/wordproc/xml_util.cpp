#include "wordproc/xml_util.h"

#include <cstring>

namespace wordproc::xml {

const std::initializer_list<const char*> kRPrOrder = {"w:rStyle",
                                                      "w:rFonts",
                                                      "w:b",
                                                      "w:bCs",
                                                      "w:i",
                                                      "w:iCs",
                                                      "w:caps",
                                                      "w:smallCaps",
                                                      "w:strike",
                                                      "w:dstrike",
                                                      "w:outline",
                                                      "w:shadow",
                                                      "w:emboss",
                                                      "w:imprint",
                                                      "w:noProof",
                                                      "w:snapToGrid",
                                                      "w:vanish",
                                                      "w:webHidden",
                                                      "w:color",
                                                      "w:spacing",
                                                      "w:w",
                                                      "w:kern",
                                                      "w:position",
                                                      "w:sz",
                                                      "w:szCs",
                                                      "w:highlight",
                                                      "w:u",
                                                      "w:effect",
                                                      "w:bdr",
                                                      "w:shd",
                                                      "w:fitText",
                                                      "w:vertAlign",
                                                      "w:rtl",
                                                      "w:cs",
                                                      "w:em",
                                                      "w:lang",
                                                      "w:eastAsianLayout",
                                                      "w:specVanish",
                                                      "w:oMath"};

const std::initializer_list<const char*> kTcPrOrder = {
    "w:cnfStyle", "w:tcW",   "w:gridSpan",      "w:hMerge",    "w:vMerge", "w:tcBorders", "w:shd",
    "w:noWrap",   "w:tcMar", "w:textDirection", "w:tcFitText", "w:vAlign", "w:hideMark"};

pugi::xml_node firstElement(pugi::xml_node parent) {
    for (auto c = parent.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element) return c;
    return {};
}

pugi::xml_node nextElement(pugi::xml_node n) {
    for (auto c = n.next_sibling(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element) return c;
    return {};
}

pugi::xml_node nextInOrder(pugi::xml_node n, pugi::xml_node root, bool skipChildren) {
    if (!skipChildren && n.first_child()) return n.first_child();
    while (n && n != root) {
        if (n.next_sibling()) return n.next_sibling();
        n = n.parent();
    }
    return {};
}

pugi::xml_node ancestor(pugi::xml_node n, std::string_view name) {
    for (auto p = n.parent(); p; p = p.parent())
        if (is(p, name)) return p;
    return {};
}

bool isAncestorOf(pugi::xml_node a, pugi::xml_node n) {
    for (auto p = n.parent(); p; p = p.parent())
        if (p == a) return true;
    return false;
}

pugi::xml_node ensureChild(pugi::xml_node parent, const char* name,
                           std::initializer_list<const char*> order) {
    if (auto c = parent.child(name)) return c;
    int rank = 0, i = 0;
    for (const char* o : order) {
        if (std::strcmp(o, name) == 0) rank = i;
        ++i;
    }
    // Insert before the first child whose rank is greater.
    for (auto c = firstElement(parent); c; c = nextElement(c)) {
        int r = -1;
        i = 0;
        for (const char* o : order) {
            if (std::strcmp(o, c.name()) == 0) r = i;
            ++i;
        }
        if (r > rank || r < 0) return parent.insert_child_before(name, c);
    }
    return parent.append_child(name);
}

pugi::xml_node ensureFirstChild(pugi::xml_node parent, const char* name) {
    if (auto c = parent.child(name)) return c;
    return parent.prepend_child(name);
}

void removeChildren(pugi::xml_node parent, std::string_view name) {
    for (auto c = parent.first_child(); c;) {
        auto next = c.next_sibling();
        if (is(c, name)) parent.remove_child(c);
        c = next;
    }
}

void setVal(pugi::xml_node n, const char* attr, const std::string& value) {
    auto a = n.attribute(attr);
    if (!a) a = n.append_attribute(attr);
    a.set_value(value.c_str());
}

void ensureNamespace(pugi::xml_node root, const char* prefix, const char* uri) {
    std::string name = std::string("xmlns:") + prefix;
    if (!root.attribute(name.c_str())) root.append_attribute(name.c_str()) = uri;
}

}  // namespace wordproc::xml

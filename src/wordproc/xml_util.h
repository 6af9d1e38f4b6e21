#pragma once
// Small helpers over pugixml for WordprocessingML trees.
#include <initializer_list>
#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace wordproc::xml {

inline bool is(pugi::xml_node n, std::string_view name) {
    return n.type() == pugi::node_element && name == n.name();
}

pugi::xml_node firstElement(pugi::xml_node parent);
pugi::xml_node nextElement(pugi::xml_node n);
// The next node in document order (pre-order), staying inside `root`.
pugi::xml_node nextInOrder(pugi::xml_node n, pugi::xml_node root, bool skipChildren = false);
pugi::xml_node ancestor(pugi::xml_node n, std::string_view name);
bool isAncestorOf(pugi::xml_node a, pugi::xml_node n);

// Gets or creates the child `name` of `parent`, inserted where the schema's
// element order `order` puts it (Word refuses files whose children are out of order).
pugi::xml_node ensureChild(pugi::xml_node parent, const char* name,
                           std::initializer_list<const char*> order);
// Gets or creates the first child `name` (properties elements like w:rPr, w:pPr).
pugi::xml_node ensureFirstChild(pugi::xml_node parent, const char* name);
void removeChildren(pugi::xml_node parent, std::string_view name);
void setVal(pugi::xml_node n, const char* attr, const std::string& value);

// Adds a namespace declaration to the part's root element when it is missing.
void ensureNamespace(pugi::xml_node root, const char* prefix, const char* uri);

inline constexpr const char* kNsW = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
inline constexpr const char* kNsR =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr const char* kNsWp =
    "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
inline constexpr const char* kNsA = "http://schemas.openxmlformats.org/drawingml/2006/main";
inline constexpr const char* kNsPic = "http://schemas.openxmlformats.org/drawingml/2006/picture";

// Orders of child elements the code inserts into.
extern const std::initializer_list<const char*> kRPrOrder;
extern const std::initializer_list<const char*> kTcPrOrder;

}  // namespace wordproc::xml

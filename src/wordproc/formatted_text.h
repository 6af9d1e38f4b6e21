#pragma once
// Formatted content taken from a range: runs, paragraphs and tables, or table
// rows, with the pictures and links they refer to, so it can be put into
// another place, part or document.
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>

namespace wordproc {

class Document;

class FormattedText {
  public:
    enum class Kind { Empty, Inline, Blocks, Rows };
    Kind kind = Kind::Empty;
    // Children of the root element are the runs, blocks or rows.
    std::shared_ptr<pugi::xml_document> xml = std::make_shared<pugi::xml_document>();
    // Blocks: the last paragraph is taken with its mark.
    bool endsWithMark = false;
    // Rows taken without their table: the table's properties and grid.
    std::shared_ptr<pugi::xml_document> tableShell;

    struct Resource {
        std::string id, type, target;
        bool external = false;
        std::string partName, bytes, contentType;
    };
    std::vector<Resource> resources;
    const Document* source = nullptr;
    std::string sourcePart;

    // Content of another document: its styles, lists and namespaces come along.
    bool foreign = false;
    bool adopted = false;  // styles, lists and bookmarks already made to fit
    std::shared_ptr<pugi::xml_document> styles, numbering;
    std::vector<std::pair<std::string, std::string>> namespaces;
    std::string ignorable;

    pugi::xml_node root() const { return xml->document_element(); }
};

namespace formatted {
// The whole body of a document, without its section properties, for insertion
// into another document.
FormattedText bodyOf(Document& source);
// Puts the fragment's styles (renamed on a clash), lists (new ids) and
// bookmarks (renumbered) into the target and rewrites the fragment to match.
void adoptForeign(Document& target, FormattedText& ft);
// Remaps the relationships of inserted nodes into `part` of `target`.
void remapResources(Document& target, const std::string& part, const FormattedText& ft,
                    const std::vector<pugi::xml_node>& inserted);
void collectResources(Document& source, const std::string& part, FormattedText& ft);
}  // namespace formatted

}  // namespace wordproc

#pragma once
// An OOXML package: the zip entries of a .docx, parsed XML parts kept as trees,
// every other entry kept as it was read. Saving writes each entry deflated, in
// the order it was read, without data descriptors or zip64.
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>

namespace wordproc {

// How XML parts are parsed and written: whitespace-only text and the
// declaration kept, nothing re-indented.
constexpr unsigned kParseFlags = pugi::parse_full | pugi::parse_ws_pcdata;
constexpr unsigned kSaveFlags = pugi::format_raw;

class Package {
  public:
    // Reads a package; a clear error when the file is not a zip, holds unsafe
    // entry names or would decompress to an enormous size. `label` names the
    // file in messages.
    static Package read(const std::string& path, const std::string& label);
    void write(const std::string& path) const;

    bool has(const std::string& name) const;
    std::vector<std::string> names() const;
    // Raw bytes of an entry (serialises a parsed part).
    std::string bytes(const std::string& name) const;
    void setBytes(const std::string& name, std::string data);
    // The parsed tree of an XML part, parsed on first use.
    pugi::xml_document& xml(const std::string& name);
    // Creates an XML part from text (replacing any entry of that name).
    pugi::xml_document& createXml(const std::string& name, const std::string& text);
    void remove(const std::string& name);

    // Moves the current parsed trees out into the returned package and keeps
    // deep copies here, so node handles taken before stay valid in the copy
    // that is handed back by an undo.
    Package detachSnapshot();

    // Limits against packages that would fill the memory.
    static constexpr size_t kMaxEntryBytes = size_t{256} << 20;
    static constexpr size_t kMaxTotalBytes = size_t{768} << 20;
    static constexpr size_t kMaxEntries = 20000;

  private:
    struct Entry {
        std::string name;
        std::shared_ptr<const std::string> raw;
        std::shared_ptr<pugi::xml_document> doc;
        // The bytes read and the hash of their tree written out, so a part that
        // was parsed but not changed is written as it was read.
        std::shared_ptr<const std::string> original;
        size_t parsedHash = 0;
    };
    Entry* find(const std::string& name);
    const Entry* find(const std::string& name) const;
    std::vector<Entry> m_entries;
    std::string m_label;
};

// Part names and relationships.
std::string partDirectory(const std::string& part);
std::string relsPartFor(const std::string& part);
// Resolves a relationship target against the part that holds it.
std::string resolveTarget(const std::string& part, const std::string& target);
// A target written relative to the part's directory.
std::string relativeTarget(const std::string& fromPart, const std::string& toPart);

namespace reltype {
inline constexpr const char* kOfficeDocument =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
inline constexpr const char* kImage =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";
inline constexpr const char* kHeader =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/header";
inline constexpr const char* kFooter =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/footer";
inline constexpr const char* kStyles =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";
inline constexpr const char* kNumbering =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/numbering";
inline constexpr const char* kHyperlink =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/hyperlink";
}  // namespace reltype

// The relationships of one part (its .rels part created when missing).
class Relationships {
  public:
    Relationships(Package& package, std::string part);
    struct Rel {
        std::string id, type, target;
        bool external = false;
    };
    std::vector<Rel> all() const;
    const Rel* byId(const std::string& id) const;
    // The part name a relationship points at (empty for external targets).
    std::string partOf(const std::string& id) const;
    std::string firstOfType(const std::string& type) const;
    std::string add(const std::string& type, const std::string& target, bool external = false);

  private:
    Package& m_package;
    std::string m_part;
    std::vector<Rel> m_rels;
};

// [Content_Types].xml.
void ensureDefaultContentType(Package& package, const std::string& ext, const std::string& type);
void ensureOverrideContentType(Package& package, const std::string& part, const std::string& type);
std::string overrideContentType(Package& package, const std::string& part);

}  // namespace wordproc

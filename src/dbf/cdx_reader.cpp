// Reading a structural .CDX: the tag list and the keys of one tag. Every offset the file gives
// is checked before it is followed, so that a broken file raises DbfError and nothing else.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

#include "cdx_format.h"
#include "cdx_index.h"
#include "errors.h"

namespace dbf {
namespace {
namespace fs = std::filesystem;
constexpr int kMaxDepth = 64;  // far beyond any real tree; keeps a crafted chain off the stack

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto up = [](char c) {
            return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        };
        return up(x) == up(y);
    });
}

std::string trimmedName(std::string key) {
    while (!key.empty() && (key.back() == ' ' || key.back() == '\0')) key.pop_back();
    return key;
}

class CdxFile {
  public:
    explicit CdxFile(const fs::path& path) : m_path(path) {
        std::error_code ec;
        if (!fs::is_regular_file(path, ec))
            throw DbfError("Index file not found: " + path.string());
        // The size is taken from the file opened, not from the name: a writer may rename a
        // new index over the name between the two.
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
        if (size < 0) throw DbfError("Cannot read index file " + path.string());
        m_bytes.resize(static_cast<std::size_t>(size));
        in.seekg(0);
        if (!in.read(m_bytes.data(), size))
            throw DbfError("Cannot read index file " + path.string());
        if (m_bytes.size() < cdx::kHeaderSize)
            damaged("it holds " + std::to_string(m_bytes.size()) + " bytes, less than its header");
    }

    [[noreturn]] void damaged(const std::string& what) const {
        throw DbfError("Index file " + m_path.string() + " is damaged: " + what);
    }

    const fs::path& path() const { return m_path; }

    // The bytes of a header or node, after checking that the offset points at a whole one.
    std::string_view block(std::uint32_t offset, std::uint32_t size,
                           const std::string& what) const {
        if (offset % cdx::kPageSize != 0)
            damaged(what + " at offset " + std::to_string(offset) + " is not on a page boundary");
        if (std::uint64_t{offset} + size > m_bytes.size())
            damaged(what + " at offset " + std::to_string(offset) +
                    " lies past the end of the file (" + std::to_string(m_bytes.size()) +
                    " bytes)");
        return std::string_view(m_bytes).substr(offset, size);
    }

    cdx::Header header(std::uint32_t offset, const std::string& what) const {
        try {
            return cdx::decodeHeader(block(offset, cdx::kHeaderSize, what));
        } catch (const cdx::FormatError& e) {
            damaged(what + " at offset " + std::to_string(offset) + ": " + e.what());
        }
    }

    // All leaf entries of a tree, in order; each node is visited once, so loops end.
    std::vector<CdxKey> keys(const cdx::Header& h, char pad) const {
        std::vector<CdxKey> out;
        std::set<std::uint32_t> seen;
        collect(h.root, h.keyLength, pad, seen, out, 0);
        return out;
    }

  private:
    void collect(std::uint32_t offset, std::uint16_t keyLength, char pad,
                 std::set<std::uint32_t>& seen, std::vector<CdxKey>& out, int depth) const {
        if (offset < cdx::kHeaderSize)
            damaged("a node pointer (" + std::to_string(offset) + ") points into the file header");
        if (!seen.insert(offset).second)
            damaged("the node at offset " + std::to_string(offset) + " is reached twice");
        if (depth > kMaxDepth)
            damaged("a tree is deeper than " + std::to_string(kMaxDepth) + " levels");
        cdx::Node node;
        try {
            node = cdx::decodeNode(block(offset, cdx::kPageSize, "a node"), keyLength, pad);
        } catch (const cdx::FormatError& e) {
            damaged("the node at offset " + std::to_string(offset) + ": " + e.what());
        }
        if (node.leaf) {
            out.insert(out.end(), std::make_move_iterator(node.entries.begin()),
                       std::make_move_iterator(node.entries.end()));
            return;
        }
        for (std::uint32_t child : node.children)
            collect(child, keyLength, pad, seen, out, depth + 1);
    }

    fs::path m_path;
    std::string m_bytes;
};

struct StoredTag {
    IndexTag tag;
    cdx::Header header;
    std::uint32_t offset = 0;
};

// The tag list is a B-tree in name order; FoxPro lists the tags in the order their headers lie in
// the file (the order they were created in).
std::vector<StoredTag> storedTags(const CdxFile& file) {
    const cdx::Header list = file.header(0, "the file header");
    if ((list.options & cdx::kCompound) == 0) file.damaged("it is not a compound index");
    std::vector<StoredTag> tags;
    for (CdxKey& entry : file.keys(list, ' ')) {
        StoredTag t;
        t.tag.name = trimmedName(std::move(entry.key));
        if (t.tag.name.empty()) file.damaged("a tag has no name");
        t.offset = entry.recno;
        if (t.offset < cdx::kHeaderSize)
            file.damaged("the header of tag " + t.tag.name + " is misplaced");
        t.header = file.header(t.offset, "the header of tag " + t.tag.name);
        t.tag.keyExpression = t.header.keyExpression;
        t.tag.forExpression = t.header.forExpression;
        t.tag.descending = t.header.descending;
        t.tag.unique = (t.header.options & cdx::kUnique) != 0;
        t.tag.collation = t.header.collation;
        t.tag.keyLength = t.header.keyLength;
        tags.push_back(std::move(t));
    }
    std::stable_sort(tags.begin(), tags.end(),
                     [](const StoredTag& a, const StoredTag& b) { return a.offset < b.offset; });
    return tags;
}
}  // namespace

std::vector<IndexTag> readCdxTags(const std::filesystem::path& cdxPath) {
    const CdxFile file(cdxPath);
    std::vector<IndexTag> tags;
    for (StoredTag& t : storedTags(file)) tags.push_back(std::move(t.tag));
    return tags;
}

std::vector<CdxKey> readCdxKeys(const std::filesystem::path& cdxPath, std::string_view tagName,
                                char pad) {
    const CdxFile file(cdxPath);
    for (const StoredTag& t : storedTags(file))
        if (sameName(t.tag.name, tagName)) return file.keys(t.header, pad);
    throw DbfError("Index file " + cdxPath.string() + " has no tag " + std::string(tagName));
}

}  // namespace dbf

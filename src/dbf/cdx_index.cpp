// Rebuilding a structural .CDX from the table: which tags can be rebuilt, their sorted keys, and
// the file laid out as compound header, then each tag's header followed by its tree, then the
// tag list's tree. Trees are built bottom-up: full leaves linked left to right, then interior
// levels holding the last key of each child, until one node (the root) remains.
#include "cdx_index.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <optional>

#include "cdx_format.h"
#include "cdx_keys.h"
#include "errors.h"

namespace dbf {
namespace {
namespace fs = std::filesystem;

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return out;
}

bool isPlainName(std::string_view s) {
    const auto letter = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    };
    if (s.empty() || !letter(s.front())) return false;
    return std::all_of(s.begin(), s.end(),
                       [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

struct RebuildPlan {
    const FieldDef* field = nullptr;
    std::uint16_t keyLength = 0;
    std::string problem;  // empty when the tag can be rebuilt
};

RebuildPlan planRebuild(const IndexTag& tag, const CdxRecordSource& source) {
    RebuildPlan plan;
    const std::string collation = upper(trimmed(tag.collation));
    const std::string_view expression = trimmed(tag.keyExpression);
    if (!trimmed(tag.forExpression).empty()) {
        plan.problem = "it has a FOR clause";
    } else if (!collation.empty() && collation != "MACHINE") {
        plan.problem = "it uses the collation " + tag.collation;
    } else if (!isPlainName(expression)) {
        plan.problem = "its key " + std::string(expression) + " is not a plain field";
    } else if (plan.field = source.field ? source.field(expression) : nullptr; !plan.field) {
        plan.problem = "the table has no field " + std::string(expression);
    } else if (const auto length = cdxFieldKeyLength(*plan.field, tag.keyLength); !length) {
        plan.problem = "the keys of field " + plan.field->name + " cannot be reproduced";
    } else if (tag.keyLength != 0 && tag.keyLength != *length) {
        plan.problem = "its key length differs from that of field " + plan.field->name;
    } else {
        plan.keyLength = *length;
    }
    return plan;
}

std::vector<CdxKey> tagKeys(const IndexTag& tag, const RebuildPlan& plan,
                            const CdxRecordSource& source) {
    std::vector<CdxKey> keys;
    keys.reserve(source.recordCount);
    for (std::uint32_t recno = 1; recno <= source.recordCount && recno != 0; ++recno)
        keys.push_back(
            {cdxFieldKey(*plan.field, source.value(recno, *plan.field), plan.keyLength), recno});
    std::sort(keys.begin(), keys.end(), [](const CdxKey& a, const CdxKey& b) {
        return a.key != b.key ? a.key < b.key : a.recno < b.recno;
    });
    if (tag.unique)  // FoxPro keeps the first record of each key
        keys.erase(std::unique(keys.begin(), keys.end(),
                               [](const CdxKey& a, const CdxKey& b) { return a.key == b.key; }),
                   keys.end());
    return keys;
}

std::uint32_t nextOffset(const std::string& file) {
    if (file.size() > std::numeric_limits<std::uint32_t>::max() - cdx::kPageSize)
        throw cdx::FormatError("the index would exceed 4 GB");
    return static_cast<std::uint32_t>(file.size());
}

struct NodeRef {
    std::uint32_t offset;
    CdxKey last;  // the greatest entry below the node
};

// Appends the tree over the sorted entries to the file and returns the offset of its root.
std::uint32_t appendTree(std::string& file, const std::vector<CdxKey>& entries,
                         std::uint16_t keyLength, char pad) {
    const std::span<const CdxKey> all(entries);
    std::vector<std::pair<std::size_t, std::size_t>> leaves;  // first entry, count
    for (std::size_t i = 0; i < all.size();) {
        const std::size_t n = cdx::leafFill(all.subspan(i), keyLength, pad);
        leaves.emplace_back(i, n);
        i += n;
    }
    if (leaves.empty()) leaves.emplace_back(0, 0);  // an empty tag is one empty leaf

    std::uint32_t base = nextOffset(file);
    const auto at = [&](std::size_t i) {
        return static_cast<std::uint32_t>(base + i * cdx::kPageSize);
    };
    std::vector<NodeRef> level;
    for (std::size_t i = 0; i < leaves.size(); ++i) {
        const auto [first, count] = leaves[i];
        file += cdx::encodeLeaf(all.subspan(first, count), keyLength, pad, leaves.size() == 1,
                                i ? at(i - 1) : cdx::kNoNode,
                                i + 1 < leaves.size() ? at(i + 1) : cdx::kNoNode);
        level.push_back({at(i), count ? all[first + count - 1] : CdxKey{}});
    }
    const std::size_t capacity = cdx::interiorCapacity(keyLength);
    while (level.size() > 1) {
        const std::size_t groups = (level.size() + capacity - 1) / capacity;
        base = nextOffset(file);
        std::vector<NodeRef> parents;
        for (std::size_t g = 0; g < groups; ++g) {  // children spread evenly over the nodes
            const std::size_t begin = level.size() * g / groups;
            const std::size_t end = level.size() * (g + 1) / groups;
            std::vector<CdxKey> keys;
            std::vector<std::uint32_t> children;
            for (std::size_t c = begin; c < end; ++c) {
                keys.push_back(level[c].last);
                children.push_back(level[c].offset);
            }
            file += cdx::encodeInterior(keys, children, keyLength, groups == 1,
                                        g ? at(g - 1) : cdx::kNoNode,
                                        g + 1 < groups ? at(g + 1) : cdx::kNoNode);
            parents.push_back({at(g), level[end - 1].last});
        }
        level = std::move(parents);
    }
    return level.front().offset;
}

void checkTagNames(const std::vector<IndexTag>& tags) {
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const std::string& name = tags[i].name;
        if (name.empty() || name.size() > cdx::kTagNameLength || trimmed(name) != name)
            throw DbfError("Index tag name '" + name + "' is not 1 to 10 characters");
        for (std::size_t j = 0; j < i; ++j)
            if (upper(tags[j].name) == upper(name))
                throw DbfError("Index tag " + name + " appears twice");
    }
}

std::string buildFile(const std::vector<IndexTag>& tags, const CdxRecordSource& source,
                      const fs::path& cdxPath) {
    checkTagNames(tags);
    std::string file(cdx::kHeaderSize, '\0');
    std::vector<CdxKey> list;
    for (const IndexTag& tag : tags) {
        const RebuildPlan plan = planRebuild(tag, source);
        if (!plan.problem.empty() || !source.value)
            throw DbfError("Index tag " + tag.name + " of " + cdxPath.string() +
                           " cannot be rebuilt: " +
                           (plan.problem.empty() ? "the table gives no values" : plan.problem));
        const std::uint32_t headerAt = nextOffset(file);
        file.append(cdx::kHeaderSize, '\0');
        cdx::Header h;
        h.root =
            appendTree(file, tagKeys(tag, plan, source), plan.keyLength, cdxKeyPad(*plan.field));
        h.keyLength = plan.keyLength;
        h.options = cdx::kCompact | cdx::kCompound | (tag.unique ? cdx::kUnique : 0);
        h.descending = tag.descending;
        h.keyExpression = tag.keyExpression;
        h.collation = tag.collation;
        file.replace(headerAt, cdx::kHeaderSize, cdx::encodeHeader(h));
        std::string name = tag.name;
        name.resize(cdx::kTagNameLength, ' ');
        list.push_back({std::move(name), headerAt});
    }
    std::sort(list.begin(), list.end(),
              [](const CdxKey& a, const CdxKey& b) { return a.key < b.key; });
    cdx::Header h;
    h.root = appendTree(file, list, cdx::kTagNameLength, ' ');
    h.keyLength = cdx::kTagNameLength;
    h.options = cdx::kCompact | cdx::kCompound | cdx::kStructural;
    file.replace(0, cdx::kHeaderSize, cdx::encodeHeader(h));
    return file;
}

void replaceFile(const fs::path& cdxPath, const std::string& bytes) {
    // A name of this writer's own: two programs rebuilding at once must not rename each
    // other's half-written file into place.
    static std::atomic<unsigned> serial{0};
    fs::path temporary = cdxPath;
    temporary += "." + std::to_string(::getpid()) + "." + std::to_string(++serial) + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            throw DbfError("Cannot write index file " + temporary.string());
        }
    }
    std::error_code ec;
    fs::rename(temporary, cdxPath, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw DbfError("Cannot replace index file " + cdxPath.string() + ": " + ec.message());
    }
}
}  // namespace

void removeAbandonedTemporaries(const fs::path& cdxPath) {
    // Names are "<index>.<pid>.<serial>.tmp"; a file whose writer no longer runs was left by
    // a program that was stopped mid-rebuild. Another running writer's file is left alone.
    const std::string prefix = cdxPath.filename().string() + ".";
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(cdxPath.parent_path(), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        const std::string rest = name.substr(prefix.size());
        const auto dot = rest.find('.');
        if (dot == 0 || dot == std::string::npos || rest.find_first_not_of("0123456789") != dot)
            continue;
        const long pid = std::strtol(rest.c_str(), nullptr, 10);
        if (pid <= 0 || pid == ::getpid()) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH) {
            std::error_code ignored;
            fs::remove(entry.path(), ignored);
        }
    }
}

bool canRebuild(const IndexTag& tag, const CdxRecordSource& source) {
    return planRebuild(tag, source).problem.empty();
}

// Deleted records keep their keys, as FoxPro keeps them, so the deletion flags are not read.
void writeCdx(const std::filesystem::path& cdxPath, const std::vector<IndexTag>& tags,
              const CdxRecordSource& source) {
    std::string bytes;
    try {
        bytes = buildFile(tags, source, cdxPath);
    } catch (const cdx::FormatError& e) {
        throw DbfError("Cannot write index file " + cdxPath.string() + ": " + e.what());
    }
    replaceFile(cdxPath, bytes);
}

}  // namespace dbf

#include "cdx_format.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace dbf::cdx {
namespace {
constexpr std::size_t kLeafHeader = 24;  // node header and bit-field description
constexpr std::size_t kLeafSpace = 488;  // entries and keys of a leaf
constexpr std::size_t kInteriorHeader = 12;
constexpr std::size_t kInteriorSpace = 500;
constexpr std::size_t kCollationAt = 0x1EA;
constexpr std::size_t kCollationSize = 8;
constexpr std::size_t kPoolSize = kHeaderSize - kPageSize;

std::uint64_t getLittle(std::string_view b, std::size_t at, int bytes) {
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}
std::uint32_t getBig32(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}
void putLittle(std::string& b, std::size_t at, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
void putBig32(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * (3 - i))) & 0xFF);
}

// A text field of the header: up to the first zero byte, trailing blanks dropped.
std::string headerText(std::string_view b) {
    b = b.substr(0, std::min(b.find('\0'), b.size()));
    while (!b.empty() && b.back() == ' ') b.remove_suffix(1);
    return std::string(b);
}

std::string poolText(std::string_view pool, std::uint16_t pos, std::uint16_t len,
                     const char* what) {
    if (pos >= pool.size() || (len > 0 && pos + len > pool.size()))
        throw FormatError(std::string("the ") + what + " expression lies outside its header");
    return headerText(pool.substr(pos, len == 0 ? std::string_view::npos : len));
}

// Layout of the packed (record number, duplicate count, trailing count) of a leaf's entries:
// the counts get as many bits as the key length needs, the record number the rest of the
// fewest whole bytes (three at least) that hold the largest record number of the leaf.
struct LeafBits {
    int bytes;
    int recBits;
    int dupBits;
    int trailBits;
};

LeafBits leafBits(std::uint32_t maxRecno, std::uint16_t keyLength) {
    const int countBits = std::bit_width(keyLength);
    const int need = std::max(1, static_cast<int>(std::bit_width(maxRecno)));
    int bytes = 3;
    while (8 * bytes - 2 * countBits < need) ++bytes;
    LeafBits bits{bytes, 8 * bytes - 2 * countBits, countBits, countBits};
    if (bits.recBits > 32) {  // the record mask has 32 bits: the counts take the spare bits
        const int extra = bits.recBits - 32;
        bits.recBits = 32;
        bits.dupBits += extra / 2;
        bits.trailBits += extra - extra / 2;
    }
    return bits;
}

std::uint64_t lowMask(int bits) { return bits >= 64 ? ~0ULL : (1ULL << bits) - 1; }
std::uint64_t shiftDown(std::uint64_t v, int bits) { return bits >= 64 ? 0 : v >> bits; }

std::size_t trailingPad(const std::string& key, char pad) {
    std::size_t n = 0;
    while (n < key.size() && key[key.size() - 1 - n] == pad) ++n;
    return n;
}

// Bytes shared with the previous key of the same leaf, leaving the trimmed tail alone.
std::size_t sharedPrefix(const std::string& key, const std::string* previous, std::size_t trail) {
    if (previous == nullptr) return 0;
    const std::size_t limit = key.size() - trail;
    std::size_t n = 0;
    while (n < limit && key[n] == (*previous)[n]) ++n;
    return n;
}

void checkKeyLength(const CdxKey& entry, std::uint16_t keyLength) {
    if (entry.key.size() != keyLength) throw FormatError("a key does not have the key length");
}
}  // namespace

std::string encodeHeader(const Header& h) {
    std::string b(kHeaderSize, '\0');
    putLittle(b, 0x00, h.root, 4);
    putLittle(b, 0x04, kNoNode, 4);  // no free list
    putLittle(b, 0x0C, h.keyLength, 2);
    b[0x0E] = static_cast<char>(h.options);
    b[0x0F] = 1;  // signature
    std::memcpy(&b[kCollationAt], h.collation.data(), std::min(h.collation.size(), kCollationSize));
    putLittle(b, 0x1F6, h.descending ? 1 : 0, 2);
    const std::size_t keyLen = h.keyExpression.size() + 1;  // with the closing zero byte
    const std::size_t forLen = h.forExpression.size() + 1;
    if (keyLen + forLen > kPoolSize) throw FormatError("the key and FOR expressions are too long");
    putLittle(b, 0x1F8, keyLen, 2);  // FOR expression: position, length
    putLittle(b, 0x1FA, forLen, 2);
    putLittle(b, 0x1FC, 0, 2);  // key expression: position, length
    putLittle(b, 0x1FE, keyLen, 2);
    std::memcpy(&b[kPageSize], h.keyExpression.data(), h.keyExpression.size());
    std::memcpy(&b[kPageSize + keyLen], h.forExpression.data(), h.forExpression.size());
    return b;
}

Header decodeHeader(std::string_view b) {
    if (b.size() != kHeaderSize) throw FormatError("a header is cut short");
    Header h;
    h.root = static_cast<std::uint32_t>(getLittle(b, 0x00, 4));
    h.keyLength = static_cast<std::uint16_t>(getLittle(b, 0x0C, 2));
    h.options = static_cast<unsigned char>(b[0x0E]);
    h.descending = getLittle(b, 0x1F6, 2) != 0;
    if (h.keyLength == 0 || h.keyLength > kMaxKeyLength)
        throw FormatError("a header gives a key length of " + std::to_string(h.keyLength));
    h.collation = headerText(b.substr(kCollationAt, kCollationSize));
    const std::string_view pool = b.substr(kPageSize);
    const auto at = [&](std::size_t offset) {
        return static_cast<std::uint16_t>(getLittle(b, offset, 2));
    };
    h.keyExpression = poolText(pool, at(0x1FC), at(0x1FE), "key");
    h.forExpression = poolText(pool, at(0x1F8), at(0x1FA), "FOR");
    return h;
}

Node decodeNode(std::string_view page, std::uint16_t keyLength, char pad) {
    if (page.size() != kPageSize) throw FormatError("a node is cut short");
    const auto attributes = getLittle(page, 0, 2);
    if (attributes > 3)
        throw FormatError("a node has the unknown type " + std::to_string(attributes));
    Node node;
    node.root = (attributes & 1) != 0;
    node.leaf = (attributes & 2) != 0;
    node.left = static_cast<std::uint32_t>(getLittle(page, 4, 4));
    node.right = static_cast<std::uint32_t>(getLittle(page, 8, 4));
    const std::size_t count = getLittle(page, 2, 2);
    if (!node.leaf) {
        const std::size_t width = keyLength + 8u;
        if (count == 0 || kInteriorHeader + count * width > kPageSize)
            throw FormatError("an interior node gives " + std::to_string(count) + " keys");
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = kInteriorHeader + i * width;
            node.entries.push_back(
                {std::string(page.substr(at, keyLength)), getBig32(page, at + keyLength)});
            node.children.push_back(getBig32(page, at + keyLength + 4));
        }
        return node;
    }
    const std::uint64_t recMask = getLittle(page, 14, 4);
    const int dupMask = static_cast<unsigned char>(page[18]);
    const int trailMask = static_cast<unsigned char>(page[19]);
    const int recBits = static_cast<unsigned char>(page[20]);
    const int dupBits = static_cast<unsigned char>(page[21]);
    const int bytes = static_cast<unsigned char>(page[23]);
    if (bytes < 1 || bytes > 8 || recBits > 32 || recBits + dupBits > 8 * bytes)
        throw FormatError("a leaf node describes its entries wrongly");
    const std::size_t entriesEnd = kLeafHeader + count * bytes;
    if (entriesEnd > kPageSize)
        throw FormatError("a leaf node gives " + std::to_string(count) + " keys");
    std::size_t keyPos = kPageSize;
    std::string previous(keyLength, pad);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t v = getLittle(page, kLeafHeader + i * bytes, bytes);
        const auto recno = static_cast<std::uint32_t>(v & recMask & lowMask(recBits));
        const std::size_t dup = i == 0 ? 0 : shiftDown(v, recBits) & dupMask;
        const std::size_t trail = shiftDown(v, recBits + dupBits) & trailMask;
        if (dup + trail > keyLength) throw FormatError("a leaf entry is longer than the key");
        const std::size_t stored = keyLength - dup - trail;
        if (keyPos - entriesEnd < stored) throw FormatError("the keys of a leaf node overlap");
        keyPos -= stored;
        std::string key = previous.substr(0, dup);
        key.append(page.substr(keyPos, stored));
        key.append(trail, pad);
        previous = key;
        node.entries.push_back({std::move(key), recno});
    }
    return node;
}

std::size_t leafFill(std::span<const CdxKey> entries, std::uint16_t keyLength, char pad) {
    std::size_t used = 0;
    std::uint32_t maxRecno = 0;
    std::size_t n = 0;
    for (; n < entries.size(); ++n) {
        const std::string& key = entries[n].key;
        checkKeyLength(entries[n], keyLength);
        const std::size_t trail = trailingPad(key, pad);
        const std::size_t stored =
            keyLength - trail - sharedPrefix(key, n ? &entries[n - 1].key : nullptr, trail);
        const std::uint32_t newMax = std::max(maxRecno, entries[n].recno);
        const auto bits = leafBits(newMax, keyLength);
        if (n > 0 && (n + 1) * bits.bytes + used + stored > kLeafSpace) break;
        used += stored;
        maxRecno = newMax;
    }
    return n;
}

std::string encodeLeaf(std::span<const CdxKey> entries, std::uint16_t keyLength, char pad,
                       bool root, std::uint32_t left, std::uint32_t right) {
    std::string page(kPageSize, '\0');
    std::uint32_t maxRecno = 0;
    for (const auto& e : entries) maxRecno = std::max(maxRecno, e.recno);
    const LeafBits bits = leafBits(maxRecno, keyLength);
    putLittle(page, 0, 2 | (root ? 1 : 0), 2);
    putLittle(page, 2, entries.size(), 2);
    putLittle(page, 4, left, 4);
    putLittle(page, 8, right, 4);
    const std::size_t entriesEnd = kLeafHeader + entries.size() * bits.bytes;
    std::size_t keyPos = kPageSize;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& key = entries[i].key;
        checkKeyLength(entries[i], keyLength);
        const std::size_t trail = trailingPad(key, pad);
        const std::size_t dup = sharedPrefix(key, i ? &entries[i - 1].key : nullptr, trail);
        const std::size_t stored = keyLength - dup - trail;
        if (keyPos < entriesEnd + stored) throw FormatError("the keys do not fit one leaf node");
        keyPos -= stored;
        std::memcpy(&page[keyPos], key.data() + dup, stored);
        const std::uint64_t packed = entries[i].recno | (std::uint64_t{dup} << bits.recBits) |
                                     (std::uint64_t{trail} << (bits.recBits + bits.dupBits));
        putLittle(page, kLeafHeader + i * bits.bytes, packed, bits.bytes);
    }
    putLittle(page, 12, keyPos - entriesEnd, 2);  // free space
    putLittle(page, 14, lowMask(bits.recBits), 4);
    page[18] = static_cast<char>(lowMask(bits.dupBits));
    page[19] = static_cast<char>(lowMask(bits.trailBits));
    page[20] = static_cast<char>(bits.recBits);
    page[21] = static_cast<char>(bits.dupBits);
    page[22] = static_cast<char>(bits.trailBits);
    page[23] = static_cast<char>(bits.bytes);
    return page;
}

std::size_t interiorCapacity(std::uint16_t keyLength) { return kInteriorSpace / (keyLength + 8u); }

std::string encodeInterior(std::span<const CdxKey> keys, std::span<const std::uint32_t> children,
                           std::uint16_t keyLength, bool root, std::uint32_t left,
                           std::uint32_t right) {
    if (keys.size() != children.size() || keys.empty() || keys.size() > interiorCapacity(keyLength))
        throw FormatError("the keys do not fit one interior node");
    std::string page(kPageSize, '\0');
    putLittle(page, 0, root ? 1 : 0, 2);
    putLittle(page, 2, keys.size(), 2);
    putLittle(page, 4, left, 4);
    putLittle(page, 8, right, 4);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        checkKeyLength(keys[i], keyLength);
        const std::size_t at = kInteriorHeader + i * (keyLength + 8u);
        std::memcpy(&page[at], keys[i].key.data(), keyLength);
        putBig32(page, at + keyLength, keys[i].recno);
        putBig32(page, at + keyLength + 4, children[i]);
    }
    return page;
}

}  // namespace dbf::cdx

#pragma once
// The on-disk layout of a compact compound index (.CDX), after the published description of the
// FoxPro compact index file structure (.idx) and compound index file structure (.cdx):
// - the file opens with a compound header whose B-tree (keys: tag names padded with blanks to
//   10 bytes; record numbers: file offsets of the tag headers) lists the tags;
// - each tag has a header of its own and a B-tree of 512-byte nodes over its keys;
// - header numbers are little-endian; interior nodes hold (key, record number, child offset)
//   with both numbers big-endian ("normal left-to-right format"); leaf nodes pack record number,
//   duplicate count and trailing count into a little-endian bit field of a few bytes each
//   (record number in the low bits, then duplicate count, trailing count on top) and store the
//   remaining key bytes from the end of the node backwards.
// Fields the description marks as reserved follow what FoxPro-compatible engines read there:
// pool positions at 0x1F8 and 0x1FC beside the lengths, and the collation name at 0x1EA.
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "cdx_index.h"

namespace dbf::cdx {

constexpr std::uint32_t kPageSize = 512;
constexpr std::uint32_t kHeaderSize = 1024;  // header page plus expression pool page
constexpr std::uint32_t kNoNode = 0xFFFFFFFF;
constexpr std::uint16_t kMaxKeyLength = 240;
constexpr std::uint16_t kTagNameLength = 10;

// Header option bits. Tags carry compact|compound (0x60); the tag list adds structural (0xE0).
constexpr std::uint8_t kUnique = 0x01;
constexpr std::uint8_t kHasFor = 0x08;
constexpr std::uint8_t kCompact = 0x20;
constexpr std::uint8_t kCompound = 0x40;
constexpr std::uint8_t kStructural = 0x80;

// What is wrong with the bytes; the reader adds the file name.
class FormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Header {
    std::uint32_t root = 0;
    std::uint16_t keyLength = 0;
    std::uint8_t options = 0;
    bool descending = false;
    std::string keyExpression;
    std::string forExpression;
    std::string collation;
};

std::string encodeHeader(const Header& header);  // kHeaderSize bytes
Header decodeHeader(std::string_view bytes);     // kHeaderSize bytes

struct Node {
    bool leaf = false;
    bool root = false;
    std::uint32_t left = kNoNode;
    std::uint32_t right = kNoNode;
    std::vector<CdxKey> entries;          // leaf entries, or the last key below each child
    std::vector<std::uint32_t> children;  // interior nodes: one child offset per entry
};

Node decodeNode(std::string_view page, std::uint16_t keyLength, char pad);

// How many of the sorted entries, from the first on, go into one leaf.
std::size_t leafFill(std::span<const CdxKey> entries, std::uint16_t keyLength, char pad);
std::string encodeLeaf(std::span<const CdxKey> entries, std::uint16_t keyLength, char pad,
                       bool root, std::uint32_t left, std::uint32_t right);

std::size_t interiorCapacity(std::uint16_t keyLength);
std::string encodeInterior(std::span<const CdxKey> keys, std::span<const std::uint32_t> children,
                           std::uint16_t keyLength, bool root, std::uint32_t left,
                           std::uint32_t right);

}  // namespace dbf::cdx

#pragma once
// The memo file (.FPT) of a FoxPro table: a header naming the next free block and the
// block size, then blocks that each start with a big-endian type and length.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace dbf {

class MemoFile {
  public:
    enum BlockType : std::uint32_t { Picture = 0, Text = 1, Object = 2 };

    static std::unique_ptr<MemoFile> open(const std::filesystem::path& path, bool readOnly);
    static void create(const std::filesystem::path& path, std::uint16_t blockSize);
    ~MemoFile();

    std::uint32_t blockSize() const { return m_blockSize; }
    // The data of the memo that starts at `block`. Raises DbfError for a block or a
    // length that lies past the end of the file.
    std::string read(std::uint32_t block, std::uint32_t* type = nullptr) const;
    // Writes the data to new blocks at the end (never over a neighbour) and returns the
    // first block. The caller stores the pointer only after this returns.
    std::uint32_t write(std::string_view data, std::uint32_t type);

  private:
    MemoFile() = default;
    std::filesystem::path m_path;
    int m_fd = -1;
    std::uint32_t m_blockSize = 64;
};

// Big- and little-endian integers in file headers.
inline std::uint32_t readBE32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}
inline void writeBE32(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v >> 24);
    p[1] = static_cast<unsigned char>(v >> 16);
    p[2] = static_cast<unsigned char>(v >> 8);
    p[3] = static_cast<unsigned char>(v);
}
inline std::uint32_t readLE32(const unsigned char* p) {
    return (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) |
           p[0];
}
inline void writeLE32(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

// Byte-range locks the FoxPro way: on offsets past the end of any real file, so they
// never block reading. Held for the life of the object.
class RegionLock {
  public:
    RegionLock(int fd, std::uint64_t offset, std::uint64_t length = 1);
    ~RegionLock();
    RegionLock(const RegionLock&) = delete;
    RegionLock& operator=(const RegionLock&) = delete;

  private:
    int m_fd;
    std::uint64_t m_offset;
    std::uint64_t m_length;
};

// Whole-buffer positioned I/O that retries short transfers; raise DbfError on failure.
void preadAll(int fd, void* buffer, std::size_t length, std::uint64_t offset,
              const std::filesystem::path& path);
void pwriteAll(int fd, const void* buffer, std::size_t length, std::uint64_t offset,
               const std::filesystem::path& path);

}  // namespace dbf

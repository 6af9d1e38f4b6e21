#include "memo_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "errors.h"

namespace dbf {
namespace {
constexpr std::uint64_t kMemoLockOffset = 0x7FFFFFFE;  // where FoxPro locks a memo header
constexpr std::size_t kHeaderSize = 512;

std::uint32_t firstDataBlock(std::uint32_t blockSize) {
    return static_cast<std::uint32_t>((kHeaderSize + blockSize - 1) / blockSize);
}
}  // namespace

RegionLock::RegionLock(int fd, std::uint64_t offset, std::uint64_t length)
    : m_fd(fd), m_offset(offset), m_length(length) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = static_cast<off_t>(offset);
    lock.l_len = static_cast<off_t>(length);
    while (fcntl(fd, F_SETLKW, &lock) != 0) {
        if (errno != EINTR)
            throw DbfError(std::string("Could not lock the table: ") + std::strerror(errno));
    }
}

RegionLock::~RegionLock() {
    struct flock lock {};
    lock.l_type = F_UNLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = static_cast<off_t>(m_offset);
    lock.l_len = static_cast<off_t>(m_length);
    fcntl(m_fd, F_SETLK, &lock);
}

void preadAll(int fd, void* buffer, std::size_t length, std::uint64_t offset,
              const std::filesystem::path& path) {
    auto* p = static_cast<char*>(buffer);
    while (length > 0) {
        const ssize_t n = ::pread(fd, p, length, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw DbfError("Could not read " + path.string() + ": the file ends early");
        p += n;
        length -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
}

void pwriteAll(int fd, const void* buffer, std::size_t length, std::uint64_t offset,
               const std::filesystem::path& path) {
    const auto* p = static_cast<const char*>(buffer);
    while (length > 0) {
        const ssize_t n = ::pwrite(fd, p, length, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            throw DbfError("Could not write " + path.string() + ": " + std::strerror(errno));
        p += n;
        length -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
}

std::unique_ptr<MemoFile> MemoFile::open(const std::filesystem::path& path, bool readOnly) {
    std::unique_ptr<MemoFile> memo(new MemoFile);
    memo->m_path = path;
    memo->m_fd = ::open(path.c_str(), (readOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    if (memo->m_fd < 0) throw DbfError("Could not open the memo file " + path.string());
    unsigned char header[8];
    try {
        preadAll(memo->m_fd, header, sizeof header, 0, path);
    } catch (const DbfError&) {
        throw DbfError("The memo file " + path.string() + " is damaged: its header is cut short");
    }
    const std::uint32_t size = (std::uint32_t{header[6]} << 8) | header[7];
    // A block size of 0 in the header means blocks of one byte.
    memo->m_blockSize = size == 0 ? 1 : size;
    return memo;
}

void MemoFile::create(const std::filesystem::path& path, std::uint16_t blockSize) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) throw DbfError("Could not create " + path.string() + ": " + std::strerror(errno));
    std::vector<unsigned char> header(kHeaderSize, 0);
    writeBE32(header.data(), firstDataBlock(blockSize));
    header[6] = static_cast<unsigned char>(blockSize >> 8);
    header[7] = static_cast<unsigned char>(blockSize);
    try {
        pwriteAll(fd, header.data(), header.size(), 0, path);
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
}

MemoFile::~MemoFile() {
    if (m_fd >= 0) ::close(m_fd);
}

std::string MemoFile::read(std::uint32_t block, std::uint32_t* type) const {
    struct stat st {};
    fstat(m_fd, &st);
    const auto fileSize = static_cast<std::uint64_t>(st.st_size);
    const std::uint64_t offset = std::uint64_t{block} * m_blockSize;
    if (offset + 8 > fileSize)
        throw DbfError("The memo file " + m_path.filename().string() + " is damaged: block " +
                       std::to_string(block) + " lies past its end");
    unsigned char head[8];
    preadAll(m_fd, head, sizeof head, offset, m_path);
    if (type) *type = readBE32(head);
    const std::uint32_t length = readBE32(head + 4);
    if (offset + 8 + length > fileSize)
        throw DbfError("The memo file " + m_path.filename().string() +
                       " is damaged: the memo at block " + std::to_string(block) +
                       " runs past its end");
    std::string data(length, '\0');
    if (length > 0) preadAll(m_fd, data.data(), length, offset + 8, m_path);
    return data;
}

std::uint32_t MemoFile::write(std::string_view data, std::uint32_t type) {
    RegionLock lock(m_fd, kMemoLockOffset);
    unsigned char header[4];
    preadAll(m_fd, header, sizeof header, 0, m_path);
    std::uint32_t block = readBE32(header);
    if (block < firstDataBlock(m_blockSize)) block = firstDataBlock(m_blockSize);
    // Never trust a next-free pointer that points into existing data: start past the end.
    struct stat st {};
    fstat(m_fd, &st);
    const auto endBlock = static_cast<std::uint32_t>(
        (static_cast<std::uint64_t>(st.st_size) + m_blockSize - 1) / m_blockSize);
    if (block < endBlock) block = endBlock;

    std::string bytes(8, '\0');
    writeBE32(reinterpret_cast<unsigned char*>(bytes.data()), type);
    writeBE32(reinterpret_cast<unsigned char*>(bytes.data()) + 4,
              static_cast<std::uint32_t>(data.size()));
    bytes.append(data);
    const std::uint64_t used = (bytes.size() + m_blockSize - 1) / m_blockSize;
    bytes.resize(used * m_blockSize, '\0');
    pwriteAll(m_fd, bytes.data(), bytes.size(), std::uint64_t{block} * m_blockSize, m_path);
    writeBE32(header, static_cast<std::uint32_t>(block + used));
    pwriteAll(m_fd, header, sizeof header, 0, m_path);
    return block;
}

}  // namespace dbf

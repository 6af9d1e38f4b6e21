#include "dbf_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <utility>

#include "errors.h"
#include "memo_file.h"
#include "text_compare.h"

namespace dbf {
namespace {
// Visual FoxPro locks the header at this offset to append: past the end of any real
// file, so readers are never blocked.
constexpr std::uint64_t kHeaderLockOffset = 0x7FFFFFFE;
constexpr char kEndOfFile = 0x1A;

bool knownVersion(std::uint8_t v) {
    return v == 0x03 || v == 0x83 || v == 0xF5 || v == 0xFB || v == 0x30 || v == 0x31 || v == 0x32;
}

bool knownType(char t) {
    switch (t) {
        case 'C':
        case 'N':
        case 'F':
        case 'I':
        case 'B':
        case 'Y':
        case 'D':
        case 'T':
        case 'L':
        case 'M':
        case 'G':
        case 'P':
        case '0':
            return true;
        default:
            return false;
    }
}

// Whether a field of this type may be this wide: the binary types have one width (memo
// pointers two: FoxPro's ten digits and Visual FoxPro's four bytes); texts and numbers
// take what the header gives.
bool widthFitsType(char type, int length) {
    switch (type) {
        case 'I':
            return length == 4;
        case 'B':
        case 'Y':
        case 'T':
        case 'D':
            return length == 8;
        case 'L':
            return length == 1;
        case 'M':
        case 'G':
        case 'P':
            return length == 4 || length == 10;
        default:
            return length >= 1;
    }
}

std::filesystem::path memoPathFor(const std::filesystem::path& dbfPath) {
    auto stem = dbfPath.stem().string();
    for (const char* ext : {".FPT", ".fpt", ".Fpt"}) {
        auto candidate = dbfPath.parent_path() / (stem + ext);
        std::error_code ec;
        if (std::filesystem::exists(candidate, ec)) return candidate;
    }
    if (auto found = findFileNoCase(dbfPath.parent_path(), stem + ".fpt")) return *found;
    return dbfPath.parent_path() / (stem + ".FPT");
}
}  // namespace

std::optional<std::filesystem::path> findFileNoCase(const std::filesystem::path& dir,
                                                    std::string_view name) {
    // A name the file system refuses (too long, a loop of links) is looked for like any
    // other; opening it then says what is wrong instead of an uncaught file-system error.
    const auto exact = dir / std::string(name);
    std::error_code ec;
    if (std::filesystem::exists(exact, ec)) return exact;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        if (equalsNoCase(entry.path().filename().string(), name)) return entry.path();
    }
    return std::nullopt;
}

std::unique_ptr<DbfFile> DbfFile::open(const std::filesystem::path& path) {
    std::unique_ptr<DbfFile> file(new DbfFile);
    file->m_path = path;
    file->m_fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (file->m_fd < 0 && (errno == EACCES || errno == EROFS)) {
        file->m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        file->m_readOnly = true;
    }
    if (file->m_fd < 0) {
        if (errno == ENOENT) throw DbfError("Table does not exist: " + path.string());
        throw DbfError("Could not open " + path.string() + ": " + std::strerror(errno));
    }
    file->readHeader();
    file->mapFile();
    bool needsMemo = false;
    for (const auto& f : file->m_fields) needsMemo = needsMemo || f.isMemoLike();
    if (needsMemo) {
        const auto memoPath = memoPathFor(path);
        std::error_code ec;
        if (!std::filesystem::exists(memoPath, ec))
            throw DbfError("The memo file of " + path.filename().string() +
                           " is missing: " + memoPath.filename().string());
        file->m_memo = MemoFile::open(memoPath, file->m_readOnly);
    }
    file->m_stamp = file->statStamp();
    return file;
}

DbfFile::~DbfFile() {
    unmapFile();
    if (m_fd >= 0) ::close(m_fd);
}

void DbfFile::readHeader() {
    const std::string name = m_path.filename().string();
    // The header first, the size after: another program appends the record before it
    // raises the count, so a count read first never runs past the size read later.
    unsigned char h[32];
    const ssize_t got = ::pread(m_fd, h, sizeof h, 0);
    struct stat st {};
    fstat(m_fd, &st);
    const auto fileSize = static_cast<std::uint64_t>(st.st_size);
    if (got < 32 || fileSize < 32)
        throw DbfError(name + " is not a table: the file is shorter than a header");
    DbfHeader header;
    header.version = h[0];
    header.recordCount = readLE32(h + 4);
    header.headerLength = static_cast<std::uint16_t>(h[8] | (h[9] << 8));
    header.recordLength = static_cast<std::uint16_t>(h[10] | (h[11] << 8));
    header.tableFlags = h[28];
    header.codePageMark = h[29];
    if (!knownVersion(header.version))
        throw DbfError(name + " is not a FoxPro table (version byte 0x" + [&] {
            char b[8];
            std::snprintf(b, sizeof b, "%02X", header.version);
            return std::string(b);
        }() + ")");
    if (header.headerLength < 33 || header.headerLength > fileSize)
        throw DbfError(name + " is damaged: its header length (" +
                       std::to_string(header.headerLength) + ") does not fit the file (" +
                       std::to_string(fileSize) + " bytes)");
    if (header.recordLength < 1) throw DbfError(name + " is damaged: its record length is 0");

    std::string area(header.headerLength - 32u, '\0');
    preadAll(m_fd, area.data(), area.size(), 32, m_path);
    std::vector<FieldDef> fields;
    std::uint32_t offset = 1;
    int nullBit = 0;
    for (std::size_t pos = 0; pos + 32 <= area.size() && area[pos] != 0x0D; pos += 32) {
        const auto* d = reinterpret_cast<const unsigned char*>(area.data() + pos);
        FieldDef f;
        const char* rawName = reinterpret_cast<const char*>(d);
        f.name.assign(rawName, strnlen(rawName, 11));
        const char type = static_cast<char>(d[11]);
        if (!knownType(type))
            throw DbfError(name + ": field " + f.name + " has a type the engine does not read ('" +
                           std::string(1, type) + "')");
        f.type = static_cast<FieldType>(type);
        f.length = d[16];
        // A width the type cannot have would read past the field into its neighbour.
        if (!widthFitsType(type, f.length))
            throw DbfError(name + " is damaged: field " + f.name + " of type '" +
                           std::string(1, type) + "' is " + std::to_string(f.length) +
                           " bytes wide");
        f.decimals = d[17];
        f.flags = header.isVisualFoxPro() ? d[18] : 0;
        f.offset = offset;
        offset += f.length;
        if (f.isNullable()) f.nullBit = nullBit++;
        fields.push_back(std::move(f));
    }
    if (fields.empty()) throw DbfError(name + " is damaged: it has no field descriptors");
    if (offset > header.recordLength)
        throw DbfError(name + " is damaged: its fields (" + std::to_string(offset) +
                       " bytes) do not fit its record length (" +
                       std::to_string(header.recordLength) + ")");
    const std::uint64_t needed =
        header.headerLength + std::uint64_t{header.recordCount} * header.recordLength;
    if (needed > fileSize)
        throw DbfError(name + " is damaged: its header counts " +
                       std::to_string(header.recordCount) + " records but the file holds only " +
                       std::to_string((fileSize - header.headerLength) / header.recordLength));
    m_header = header;
    m_fields = std::move(fields);
}

void DbfFile::mapFile() {
    unmapFile();
    struct stat st {};
    fstat(m_fd, &st);
    m_mapLength = static_cast<std::size_t>(st.st_size);
    if (m_mapLength == 0) return;
    void* p = ::mmap(nullptr, m_mapLength, PROT_READ, MAP_SHARED, m_fd, 0);
    if (p == MAP_FAILED)
        throw DbfError("Could not read " + m_path.string() + ": " + std::strerror(errno));
    m_map = static_cast<const char*>(p);
}

void DbfFile::unmapFile() {
    if (m_map) ::munmap(const_cast<char*>(m_map), m_mapLength);
    m_map = nullptr;
    m_mapLength = 0;
}

std::uint64_t DbfFile::statStamp() const {
    struct stat st {};
    fstat(m_fd, &st);
    return static_cast<std::uint64_t>(st.st_size) * 1000003u ^
           (static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
            static_cast<std::uint64_t>(st.st_mtim.tv_nsec));
}

std::string_view DbfFile::record(std::uint32_t index) const {
    if (index >= m_header.recordCount)
        throw DbfError("Record " + std::to_string(index + 1) + " is out of range");
    const std::uint64_t start =
        m_header.headerLength + std::uint64_t{index} * m_header.recordLength;
    return {m_map + start, m_header.recordLength};
}

std::string_view DbfFile::checkedRecord(std::uint32_t index) const {
    const std::string_view rec = record(index);
    const auto end = static_cast<std::uint64_t>(rec.data() - m_map) + rec.size();
    struct stat st {};
    if (end > m_mapLength || fstat(m_fd, &st) != 0 || static_cast<std::uint64_t>(st.st_size) < end)
        throw DbfError(m_path.filename().string() +
                       " was cut short by another program while it was open: refresh it to see "
                       "its rows as they now are");
    return rec;
}

void DbfFile::forEachRecordBlock(
    const std::function<void(std::uint32_t, const char*, std::uint32_t)>& visit) const {
    const std::uint32_t count = m_header.recordCount;
    const std::uint32_t length = m_header.recordLength;
    if (count == 0) return;
    // Blocks of about 4 MiB, but no larger than the table: a pass over three rows reads
    // three rows' worth.
    const std::uint32_t perBlock = std::min(count, std::max<std::uint32_t>(1, (4u << 20) / length));
    std::vector<char> buffer(std::size_t{perBlock} * length);
    for (std::uint32_t first = 0; first < count; first += perBlock) {
        const std::uint32_t n = std::min(perBlock, count - first);
        preadAll(m_fd, buffer.data(), std::size_t{n} * length,
                 m_header.headerLength + std::uint64_t{first} * length, m_path);
        visit(first, buffer.data(), n);
    }
}

bool DbfFile::reloadIfChanged() {
    // A table replaced on disk (written anew and renamed over the old one) is another
    // file: take it up in place of the one still open.
    struct stat open {
    }, named{};
    if (fstat(m_fd, &open) == 0 && ::stat(m_path.c_str(), &named) == 0 &&
        (open.st_ino != named.st_ino || open.st_dev != named.st_dev)) {
        auto fresh = DbfFile::open(m_path);
        unmapFile();
        ::close(m_fd);
        m_fd = std::exchange(fresh->m_fd, -1);
        m_readOnly = fresh->m_readOnly;
        m_header = fresh->m_header;
        m_fields = std::move(fresh->m_fields);
        m_memo = std::move(fresh->m_memo);
        m_stamp = fresh->m_stamp;
        mapFile();
        return true;
    }
    const std::uint64_t stamp = statStamp();
    if (stamp == m_stamp) return false;
    readHeader();
    mapFile();
    m_stamp = stamp;
    return true;
}

bool DbfFile::underHeaderLock(const std::function<void()>& work) {
    RegionLock lock(m_fd, kHeaderLockOffset);
    const bool changed = reloadIfChanged();
    work();
    return changed;
}

void DbfFile::writeRecord(std::uint32_t index, std::string_view rec) {
    if (m_readOnly) throw DbfError(m_path.filename().string() + " is read-only");
    if (rec.size() != m_header.recordLength || index >= m_header.recordCount)
        throw DbfError("Record " + std::to_string(index + 1) + " cannot be written");
    pwriteAll(m_fd, rec.data(), rec.size(),
              m_header.headerLength + std::uint64_t{index} * m_header.recordLength, m_path);
    m_stamp = statStamp();
}

std::uint32_t DbfFile::appendRecord(std::string_view rec) {
    if (rec.size() != m_header.recordLength) throw DbfError("A record of the wrong length");
    return appendRecords(rec);
}

std::uint32_t DbfFile::appendRecords(std::string_view rec) {
    if (m_readOnly) throw DbfError(m_path.filename().string() + " is read-only");
    if (rec.empty() || rec.size() % m_header.recordLength != 0)
        throw DbfError("Records of the wrong length");
    const auto added = static_cast<std::uint32_t>(rec.size() / m_header.recordLength);
    std::uint32_t index = 0;
    {
        RegionLock lock(m_fd, kHeaderLockOffset);
        unsigned char h[8];
        preadAll(m_fd, h, sizeof h, 0, m_path);
        index = readLE32(h + 4);  // another program may have appended meanwhile
        std::string bytes(rec);
        bytes += kEndOfFile;
        pwriteAll(m_fd, bytes.data(), bytes.size(),
                  m_header.headerLength + std::uint64_t{index} * m_header.recordLength, m_path);
        if (m_appendInterrupt) m_appendInterrupt();
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        unsigned char update[7] = {static_cast<unsigned char>(local.tm_year % 100),
                                   static_cast<unsigned char>(local.tm_mon + 1),
                                   static_cast<unsigned char>(local.tm_mday),
                                   0,
                                   0,
                                   0,
                                   0};
        writeLE32(update + 3, index + added);
        pwriteAll(m_fd, update, sizeof update, 1, m_path);
    }
    m_header.recordCount = index + added;
    mapFile();
    m_stamp = statStamp();
    return index;
}

}  // namespace dbf

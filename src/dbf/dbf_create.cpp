// Creation of new, empty tables (for tools and tests).
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "dbf_file.h"
#include "errors.h"
#include "memo_file.h"
#include "text_compare.h"

namespace dbf {
namespace {

int fixedWidth(char type, bool visualFoxPro) {
    switch (type) {
        case 'I':
            return 4;
        case 'B':
        case 'Y':
        case 'D':
        case 'T':
            return 8;
        case 'L':
            return 1;
        case 'M':
        case 'G':
        case 'P':
            return visualFoxPro ? 4 : 10;
        default:
            return 0;
    }
}

}  // namespace

void createTable(const std::filesystem::path& path, const std::vector<NewField>& fields,
                 const NewTableOptions& options) {
    const bool vfp = options.version == 0x30 || options.version == 0x31 || options.version == 0x32;
    if (std::filesystem::exists(path)) throw DbfError("The table exists already: " + path.string());
    if (fields.empty()) throw DbfError("A table needs at least one field");

    std::vector<FieldDef> defs;
    std::uint32_t offset = 1;
    int nullable = 0;
    bool hasMemo = false;
    for (const auto& nf : fields) {
        if (nf.name.empty() || nf.name.size() > 10)
            throw DbfError("Field name '" + nf.name + "' must have 1 to 10 characters");
        for (const auto& d : defs)
            if (equalsNoCase(d.name, nf.name))
                throw DbfError("Field " + nf.name + " appears twice");
        const char type = asciiUpper(nf.type);
        if (std::string("CNFIBYDTLMGP").find(type) == std::string::npos)
            throw DbfError("Field " + nf.name + " has an unknown type '" + std::string(1, nf.type) +
                           "'");
        if (!vfp && std::string("IBYT").find(type) != std::string::npos)
            throw DbfError("Field " + nf.name + ": type " + std::string(1, type) +
                           " needs a Visual FoxPro table");
        if (nf.nullable && !vfp)
            throw DbfError("Field " + nf.name + ": nulls need a Visual FoxPro table");
        FieldDef d;
        d.name = upperAscii(nf.name);
        d.type = static_cast<FieldType>(type);
        int length = fixedWidth(type, vfp);
        if (length == 0) length = nf.length;
        if (length < 1 || length > 254)
            throw DbfError("Field " + nf.name + " needs a width from 1 to 254");
        if ((type == 'N' || type == 'F') && (nf.decimals < 0 || nf.decimals > length - 2) &&
            nf.decimals != 0)
            throw DbfError("Field " + nf.name + ": too many decimals for its width");
        d.length = static_cast<std::uint8_t>(length);
        d.decimals = static_cast<std::uint8_t>(type == 'N' || type == 'F' ? nf.decimals : 0);
        d.flags = static_cast<std::uint8_t>(nf.nullable ? 0x02 : 0);
        if (type == 'M' || type == 'G' || type == 'P') d.flags |= vfp ? 0x04 : 0;
        d.offset = offset;
        offset += d.length;
        if (nf.nullable) ++nullable;
        hasMemo = hasMemo || type == 'M' || type == 'G' || type == 'P';
        defs.push_back(d);
    }
    if (nullable > 0) {
        FieldDef flags;
        flags.name = "_NullFlags";
        flags.type = FieldType::NullFlags;
        flags.length = static_cast<std::uint8_t>((nullable + 7) / 8);
        flags.flags = 0x05;  // system, binary
        flags.offset = offset;
        offset += flags.length;
        defs.push_back(flags);
    }
    if (hasMemo && options.version == 0x03)
        throw DbfError("Memo fields need a table with a memo file (version 0xF5 or 0x30)");
    if (offset > 65535) throw DbfError("The record is too long");

    const std::size_t backlink = vfp ? 263 : 0;
    const std::size_t headerLength = 32 + 32 * defs.size() + 1 + backlink;
    std::string header(headerLength, '\0');
    auto* h = reinterpret_cast<unsigned char*>(header.data());
    h[0] = options.version;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    h[1] = static_cast<unsigned char>(local.tm_year % 100);
    h[2] = static_cast<unsigned char>(local.tm_mon + 1);
    h[3] = static_cast<unsigned char>(local.tm_mday);
    h[8] = static_cast<unsigned char>(headerLength & 0xFF);
    h[9] = static_cast<unsigned char>(headerLength >> 8);
    h[10] = static_cast<unsigned char>(offset & 0xFF);
    h[11] = static_cast<unsigned char>(offset >> 8);
    h[28] = static_cast<unsigned char>(hasMemo ? 0x02 : 0);
    h[29] = options.codePageMark;
    for (std::size_t i = 0; i < defs.size(); ++i) {
        unsigned char* d = h + 32 + 32 * i;
        std::memcpy(d, defs[i].name.data(), std::min<std::size_t>(defs[i].name.size(), 10));
        d[11] = static_cast<unsigned char>(defs[i].type);
        writeLE32(d + 12, vfp ? defs[i].offset : 0);
        d[16] = defs[i].length;
        d[17] = defs[i].decimals;
        d[18] = defs[i].flags;
    }
    h[32 + 32 * defs.size()] = 0x0D;
    header += '\x1A';

    if (hasMemo) {
        auto memoPath = path;
        memoPath.replace_extension(path.extension() == ".dbf" ? ".fpt" : ".FPT");
        if (std::filesystem::exists(memoPath))
            throw DbfError("The memo file exists already: " + memoPath.string());
        MemoFile::create(memoPath, options.memoBlockSize);
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) throw DbfError("Could not create " + path.string() + ": " + std::strerror(errno));
    try {
        pwriteAll(fd, header.data(), header.size(), 0, path);
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
}

}  // namespace dbf

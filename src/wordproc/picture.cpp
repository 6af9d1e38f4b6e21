#include "wordproc/picture.h"

#include <cstdint>
#include <cstdlib>

#include "wordproc/document.h"
#include "wordproc/errors.h"

namespace wordproc {

namespace {

unsigned be16(const std::string& b, size_t i) {
    return (static_cast<unsigned char>(b[i]) << 8) | static_cast<unsigned char>(b[i + 1]);
}
std::uint32_t be32(const std::string& b, size_t i) { return (be16(b, i) << 16) | be16(b, i + 2); }
unsigned le16(const std::string& b, size_t i) {
    return static_cast<unsigned char>(b[i]) | (static_cast<unsigned char>(b[i + 1]) << 8);
}
std::uint32_t le32(const std::string& b, size_t i) { return le16(b, i) | (le16(b, i + 2) << 16); }

bool jpegSize(const std::string& b, ImageInfo& info) {
    size_t i = 2;
    while (i + 9 < b.size()) {
        if (static_cast<unsigned char>(b[i]) != 0xFF) return false;
        unsigned marker = static_cast<unsigned char>(b[i + 1]);
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            i += 2;
            continue;
        }
        unsigned len = be16(b, i + 2);
        if (marker == 0xE0 && len >= 14 && i + 16 < b.size() && b.compare(i + 4, 4, "JFIF") == 0) {
            unsigned units = static_cast<unsigned char>(b[i + 11]);
            unsigned dx = be16(b, i + 12), dy = be16(b, i + 14);
            if (units == 1 && dx > 0 && dy > 0) info.dpiX = dx, info.dpiY = dy;
            if (units == 2 && dx > 0 && dy > 0) info.dpiX = dx * 2.54, info.dpiY = dy * 2.54;
        }
        bool sof =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (sof) {
            info.height = static_cast<int>(be16(b, i + 5));
            info.width = static_cast<int>(be16(b, i + 7));
            return info.width > 0 && info.height > 0;
        }
        i += 2 + len;
    }
    return false;
}

}  // namespace

ImageInfo probeImage(const std::string& b, const std::string& label) {
    ImageInfo info;
    auto bad = [&]() -> ImageInfo {
        throw WordprocError("The picture " + label + " is not a PNG, JPEG, BMP or GIF file.");
    };
    if (b.size() > 24 && b.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0) {
        info.extension = "png";
        info.contentType = "image/png";
        info.width = static_cast<int>(be32(b, 16));
        info.height = static_cast<int>(be32(b, 20));
        size_t i = 8;
        while (i + 12 <= b.size()) {
            std::uint32_t len = be32(b, i);
            if (b.compare(i + 4, 4, "pHYs") == 0 && i + 17 <= b.size() && b[i + 16] == 1) {
                info.dpiX = be32(b, i + 8) * 0.0254;
                info.dpiY = be32(b, i + 12) * 0.0254;
            }
            if (b.compare(i + 4, 4, "IDAT") == 0 || len > b.size()) break;
            i += 12 + len;
        }
    } else if (b.size() > 4 && static_cast<unsigned char>(b[0]) == 0xFF &&
               static_cast<unsigned char>(b[1]) == 0xD8) {
        info.extension = "jpeg";
        info.contentType = "image/jpeg";
        if (!jpegSize(b, info)) return bad();
    } else if (b.size() > 10 &&
               (b.compare(0, 6, "GIF87a") == 0 || b.compare(0, 6, "GIF89a") == 0)) {
        info.extension = "gif";
        info.contentType = "image/gif";
        info.width = static_cast<int>(le16(b, 6));
        info.height = static_cast<int>(le16(b, 8));
    } else if (b.size() > 30 && b.compare(0, 2, "BM") == 0) {
        info.extension = "bmp";
        info.contentType = "image/bmp";
        std::uint32_t header = le32(b, 14);
        if (header == 12) {
            info.width = static_cast<int>(le16(b, 18));
            info.height = static_cast<int>(le16(b, 20));
        } else {
            info.width = static_cast<int>(le32(b, 18));
            info.height = std::abs(static_cast<std::int32_t>(le32(b, 22)));
            if (header >= 40 && b.size() > 46) {
                std::uint32_t px = le32(b, 38), py = le32(b, 42);
                if (px > 0 && py > 0) info.dpiX = px * 0.0254, info.dpiY = py * 0.0254;
            }
        }
    } else {
        return bad();
    }
    if (info.width <= 0 || info.height <= 0 || info.width > 100000 || info.height > 100000)
        return bad();
    if (info.dpiX < 10 || info.dpiX > 10000) info.dpiX = 96;
    if (info.dpiY < 10 || info.dpiY > 10000) info.dpiY = 96;
    return info;
}

std::string addMediaPart(Document& doc, const std::string& fromPart, const std::string& bytes,
                         const std::string& extension, const std::string& contentType,
                         const std::string& preferredName) {
    Package& pkg = doc.package();
    std::string name;
    if (!preferredName.empty()) {
        if (!pkg.has(preferredName) || pkg.bytes(preferredName) == bytes) name = preferredName;
    }
    if (name.empty()) {
        std::string dir = partDirectory(doc.mainPart()) + "/media/";
        for (int n = 1;; ++n) {
            name = dir + "image" + std::to_string(n) + "." + extension;
            if (!pkg.has(name)) break;
            if (pkg.bytes(name) == bytes) break;  // the same picture is stored once
        }
    }
    if (!pkg.has(name)) pkg.setBytes(name, bytes);
    std::string ext = name.substr(name.rfind('.') + 1);
    ensureDefaultContentType(pkg, ext, contentType);
    return Relationships(pkg, fromPart).add(reltype::kImage, relativeTarget(fromPart, name));
}

}  // namespace wordproc

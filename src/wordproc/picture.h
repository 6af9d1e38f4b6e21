#pragma once
// Pictures: their format and size from the file's header, and their parts.
#include <string>

namespace wordproc {

class Document;

struct ImageInfo {
    std::string extension;  // png, jpeg, gif, bmp
    std::string contentType;
    int width = 0, height = 0;  // pixels
    double dpiX = 96, dpiY = 96;
};

// A clear error when the bytes are not a PNG, JPEG, BMP or GIF picture.
ImageInfo probeImage(const std::string& bytes, const std::string& label);

// Stores bytes as a new media part (renamed when the name is taken), with its
// content type and a relationship from `fromPart`; returns the relationship id.
std::string addMediaPart(Document& doc, const std::string& fromPart, const std::string& bytes,
                         const std::string& extension, const std::string& contentType,
                         const std::string& preferredName = {});

}  // namespace wordproc

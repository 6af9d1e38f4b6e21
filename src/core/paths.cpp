#include "paths.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace core {
namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::filesystem::path matchEntry(const std::filesystem::path& dir, const std::string& name) {
    std::error_code ec;
    if (std::filesystem::exists(dir / name, ec)) return dir / name;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (sameIgnoringCase(it->path().filename().string(), name)) return it->path();
    return dir / name;
}

}  // namespace

std::filesystem::path nativePath(std::string_view stored) {
    std::string text(stored);
    std::replace(text.begin(), text.end(), '\\', '/');
    std::filesystem::path result;
    std::size_t pos = 0;
    if (!text.empty() && text.front() == '/') {
        result = "/";
        pos = 1;
    }
    while (pos <= text.size()) {
        const std::size_t slash = std::min(text.find('/', pos), text.size());
        const std::string part = text.substr(pos, slash - pos);
        if (!part.empty() && part != ".") {
            result = (part == ".." || result.empty()) ? result / part : matchEntry(result, part);
        }
        pos = slash + 1;
    }
    return result;
}

std::filesystem::path nativePath(std::string_view applicationDirectory, std::string_view relative) {
    return nativePath(std::string(applicationDirectory) + std::string(relative));
}

std::string storedPath(const std::filesystem::path& path) {
    std::string text = path.string();
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

}  // namespace core

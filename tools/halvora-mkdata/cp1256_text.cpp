#include "cp1256_text.h"

#include <algorithm>

#include "dbf/codepage1256.h"
#include "errors.h"

namespace mkdata {

std::string toCp1256(std::string_view utf8, std::string_view what) {
    std::string bytes = dbf::cp1256::fromUtf8(utf8);
    // The converter writes '?' for a character it cannot map; a '?' of the text itself stays.
    if (std::count(bytes.begin(), bytes.end(), '?') != std::count(utf8.begin(), utf8.end(), '?'))
        throw MkdataError(std::string(what) +
                          " has a character that code page 1256 lacks: " + std::string(utf8));
    return bytes;
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace mkdata

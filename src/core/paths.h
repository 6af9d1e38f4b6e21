#pragma once
// Stored paths use backslashes, as the program always wrote them; they become this
// platform's paths only when a file is opened, with names matched without regard to case.
#include <filesystem>
#include <string>
#include <string_view>

namespace core {

// The stored path (absolute, with backslashes or slashes) as a path of this platform. Each
// component that does not exist as written is matched against its directory's entries
// without regard to case; components that match nothing are kept as written.
std::filesystem::path nativePath(std::string_view stored);
// The application directory and a path relative to it, both in stored form.
std::filesystem::path nativePath(std::string_view applicationDirectory, std::string_view relative);

// A path of this platform in stored form: separators become backslashes.
std::string storedPath(const std::filesystem::path& path);

}  // namespace core

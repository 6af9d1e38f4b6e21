#pragma once
// A Windows-style INI file (sections, Key=Value lines, CRLF line ends). Values are kept
// exactly as stored, backslashes included; saving changes only the lines of the keys set.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace core {

class IniFile {
  public:
    // Reads the file; a missing file gives an empty one. Raises std::runtime_error when it
    // exists but cannot be read.
    static IniFile load(const std::filesystem::path& path);

    std::optional<std::string> value(const std::string& section, const std::string& key) const;
    void setValue(const std::string& section, const std::string& key, const std::string& value);
    // Writes the whole file (CRLF line ends) through a temporary file renamed over it.
    void save(const std::filesystem::path& path) const;

  private:
    // The file's lines as read, without their line ends: comments, blank lines and lines
    // outside any section are written back as they were.
    std::vector<std::string> m_lines;
};

}  // namespace core

#pragma once
// A Windows-style INI file (sections, Key=Value lines, CRLF line ends). Values are kept
// exactly as stored, backslashes included.
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
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    std::vector<Section> m_sections;
};

}  // namespace core

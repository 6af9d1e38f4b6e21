#include "ini_file.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "dbf/text_compare.h"

namespace core {
namespace {
std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}
}  // namespace

IniFile IniFile::load(const std::filesystem::path& path) {
    IniFile ini;
    if (!std::filesystem::exists(path)) return ini;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("Cannot read " + path.string());
    std::string line;
    Section* current = nullptr;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            ini.m_sections.push_back({trim(line.substr(1, line.size() - 2)), {}});
            current = &ini.m_sections.back();
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos || !current) continue;
        current->entries.push_back({trim(line.substr(0, eq)), trim(line.substr(eq + 1))});
    }
    return ini;
}

std::optional<std::string> IniFile::value(const std::string& section,
                                          const std::string& key) const {
    for (const auto& s : m_sections) {
        if (!dbf::equalsNoCase(s.name, section)) continue;
        for (const auto& e : s.entries)
            if (dbf::equalsNoCase(e.key, key)) return e.value;
    }
    return std::nullopt;
}

void IniFile::setValue(const std::string& section, const std::string& key,
                       const std::string& value) {
    for (auto& s : m_sections) {
        if (!dbf::equalsNoCase(s.name, section)) continue;
        for (auto& e : s.entries) {
            if (dbf::equalsNoCase(e.key, key)) {
                e.value = value;
                return;
            }
        }
        s.entries.push_back({key, value});
        return;
    }
    m_sections.push_back({section, {{key, value}}});
}

void IniFile::save(const std::filesystem::path& path) const {
    std::ostringstream out;
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        if (i > 0) out << "\r\n";
        out << '[' << m_sections[i].name << "]\r\n";
        for (const auto& e : m_sections[i].entries) out << e.key << '=' << e.value << "\r\n";
    }
    auto temporary = path;
    temporary += ".new";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) throw std::runtime_error("Cannot write " + path.string());
        file << out.str();
        file.flush();
        if (!file) throw std::runtime_error("Cannot write " + path.string());
    }
    std::filesystem::rename(temporary, path);
}

}  // namespace core

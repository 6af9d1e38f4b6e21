#include "ini_file.h"

#include <fstream>
#include <optional>
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

namespace {

// The section a line opens ("[SYSTEM]" gives SYSTEM), or nothing.
std::optional<std::string> sectionOf(const std::string& line) {
    const std::string t = trim(line);
    if (t.size() >= 2 && t.front() == '[' && t.back() == ']')
        return trim(t.substr(1, t.size() - 2));
    return std::nullopt;
}

// The key of a Key=Value line, or nothing for other lines (comments among them).
std::optional<std::string> keyOf(const std::string& line) {
    const std::string t = trim(line);
    if (t.empty() || t[0] == ';') return std::nullopt;
    const auto eq = t.find('=');
    if (eq == std::string::npos) return std::nullopt;
    return trim(t.substr(0, eq));
}

}  // namespace

IniFile IniFile::load(const std::filesystem::path& path) {
    IniFile ini;
    if (!std::filesystem::exists(path)) return ini;
    if (!std::filesystem::is_regular_file(path))
        throw std::runtime_error("Cannot read " + path.string() + ": it is not a file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("Cannot read " + path.string());
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ini.m_lines.push_back(line);
    }
    if (in.bad()) throw std::runtime_error("Cannot read " + path.string());
    return ini;
}

std::optional<std::string> IniFile::value(const std::string& section,
                                          const std::string& key) const {
    bool inSection = false;
    for (const auto& line : m_lines) {
        if (const auto s = sectionOf(line)) {
            inSection = dbf::equalsNoCase(*s, section);
        } else if (inSection) {
            const auto k = keyOf(line);
            if (k && dbf::equalsNoCase(*k, key)) return trim(line.substr(line.find('=') + 1));
        }
    }
    return std::nullopt;
}

void IniFile::setValue(const std::string& section, const std::string& key,
                       const std::string& value) {
    bool inSection = false;
    std::optional<std::size_t> insertAt;  // after the section's last key (or its header)
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (const auto s = sectionOf(m_lines[i])) {
            inSection = dbf::equalsNoCase(*s, section);
            if (inSection && !insertAt) insertAt = i + 1;
            continue;
        }
        if (!inSection) continue;
        const auto k = keyOf(m_lines[i]);
        if (!k) continue;
        if (dbf::equalsNoCase(*k, key)) {
            m_lines[i] = *k + "=" + value;
            return;
        }
        insertAt = i + 1;
    }
    if (insertAt) {
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(*insertAt), key + "=" + value);
        return;
    }
    if (!m_lines.empty() && !trim(m_lines.back()).empty()) m_lines.emplace_back();
    m_lines.push_back("[" + section + "]");
    m_lines.push_back(key + "=" + value);
}

void IniFile::save(const std::filesystem::path& path) const {
    std::ostringstream out;
    for (const auto& line : m_lines) out << line << "\r\n";
    auto temporary = path;
    temporary += ".new";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) throw std::runtime_error("Cannot write " + path.string());
        file << out.str();
        file.flush();
        if (!file) throw std::runtime_error("Cannot write " + path.string());
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        throw std::runtime_error("Cannot write " + path.string());
    }
}

}  // namespace core

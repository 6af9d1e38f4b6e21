#include "tsv_file.h"

#include <fstream>

#include "dbf/number_text.h"
#include "errors.h"

namespace mkdata {
namespace {

std::vector<std::string> splitTabs(std::string_view line) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        cells.emplace_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) return cells;
        start = tab + 1;
    }
}

}  // namespace

TsvFile TsvFile::read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw MkdataError("Cannot read " + path.string());
    TsvFile file;
    file.m_path = path;
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (lineNo == 1) {
            file.m_header = splitTabs(line);
            if (line.empty()) throw MkdataError(path.string() + ":1: the header line is empty");
            continue;
        }
        if (line.empty()) continue;
        Row row{lineNo, splitTabs(line)};
        if (row.cells.size() != file.m_header.size())
            throw MkdataError(path.string() + ":" + std::to_string(lineNo) + ": " +
                              std::to_string(row.cells.size()) + " cells where the header has " +
                              std::to_string(file.m_header.size()));
        file.m_rows.push_back(std::move(row));
    }
    if (lineNo == 0) throw MkdataError(path.string() + " is empty");
    return file;
}

std::size_t TsvFile::column(std::string_view name) const {
    for (std::size_t i = 0; i < m_header.size(); ++i)
        if (m_header[i] == name) return i;
    throw MkdataError(m_path.string() + " has no column '" + std::string(name) + "'");
}

std::string TsvFile::where(std::size_t row) const {
    return m_path.string() + ":" + std::to_string(m_rows[row].line);
}

double parseNumber(std::string_view text, const std::string& where) {
    const auto value = dbf::parseFloat(text);
    if (!value) throw MkdataError(where + ": '" + std::string(text) + "' is not a number");
    return *value;
}

int parseWholeNumber(std::string_view text, const std::string& where) {
    const auto value = dbf::parseInteger(text);
    if (!value || *value < -2147483647 || *value > 2147483647)
        throw MkdataError(where + ": '" + std::string(text) + "' is not a whole number");
    return static_cast<int>(*value);
}

}  // namespace mkdata

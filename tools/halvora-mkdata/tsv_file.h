#pragma once
// Tab-separated text as the files under data/ keep it: UTF-8, one header line, one record a
// line, the same number of cells on every line.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace mkdata {

class TsvFile {
  public:
    // Raises MkdataError naming the file (and line) when it is missing or malformed.
    static TsvFile read(const std::filesystem::path& path);

    const std::filesystem::path& path() const { return m_path; }
    std::size_t rowCount() const { return m_rows.size(); }
    // The index of a header cell; raises MkdataError naming the file when there is none.
    std::size_t column(std::string_view name) const;
    const std::string& cell(std::size_t row, std::size_t column) const {
        return m_rows[row].cells[column];
    }
    const std::string& cell(std::size_t row, std::string_view name) const {
        return cell(row, column(name));
    }
    // "file:line" of a row, for messages.
    std::string where(std::size_t row) const;

  private:
    struct Row {
        int line = 0;
        std::vector<std::string> cells;
    };
    std::filesystem::path m_path;
    std::vector<std::string> m_header;
    std::vector<Row> m_rows;
};

// Strict number parsing of a cell; raises MkdataError with `where` when it is not a number.
double parseNumber(std::string_view text, const std::string& where);
int parseWholeNumber(std::string_view text, const std::string& where);

}  // namespace mkdata

#include "sql_tool.h"

#include <filesystem>

#include "dbf/codepage1256.h"
#include "dbf/date_value.h"
#include "dbf/errors.h"
#include "dbf/filter.h"
#include "dbf/number_text.h"
#include "dbf/query.h"
#include "dbf/sql/result_set.h"
#include "dbf/table_store.h"

namespace halvora::sqltool {
namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  halvora-sql DATA_DIR 'STATEMENT'\n"
    "      Runs a local SQL statement on the tables of DATA_DIR, for example\n"
    "      halvora-sql data 'SELECT N1, N2 FROM FOODS.DBF WHERE N1 = 5'\n"
    "  halvora-sql DATA_DIR --filter TABLE 'FILTER TEXT'\n"
    "      Lists every field of the rows of TABLE that a filter text selects, for example\n"
    "      halvora-sql data --filter RECAL.DBF \"R1 = 7 and R6 = '24/3/1'\"\n"
    "  halvora-sql --help\n"
    "\n"
    "Rows are written as CSV in UTF-8: a header of field names, then one line per row;\n"
    "empty values are empty fields and numbers are in the general number format.\n"
    "Several STATEMENT arguments are joined by blanks, as the lines of a statement.\n"
    "Bad input prints its error on standard error and exits with status 2.\n";

std::string cellText(const dbf::Value& v) {
    using Kind = dbf::Value::Kind;
    switch (v.kind()) {
        case Kind::Null:
            return {};
        case Kind::String:
        case Kind::Memo:
            return dbf::cp1256::toUtf8(v.bytes());
        case Kind::Blob:
            return "(" + std::to_string(v.bytes().size()) + " bytes)";
        case Kind::Boolean:
            return v.asBoolean() ? "true" : "false";
        case Kind::Date:
            return dbf::isoDateText(v.number(), false);
        case Kind::DateTime:
            return dbf::isoDateText(v.number(), true);
        default:
            return dbf::formatGeneral(v.number());
    }
}

void writeRow(std::ostream& out, const std::vector<std::string>& cells) {
    // A row of one empty field is written as "" so that CSV readers do not drop it as a
    // blank line.
    if (cells.size() == 1 && cells[0].empty()) {
        out << "\"\"\n";
        return;
    }
    for (std::size_t i = 0; i < cells.size(); ++i) out << (i ? "," : "") << csvField(cells[i]);
    out << '\n';
}

void runStatement(const std::filesystem::path& dir, const std::vector<std::string>& lines,
                  std::ostream& out) {
    dbf::Query query;
    query.setDirectory(dir);
    std::vector<std::string> converted;
    for (const auto& line : lines) converted.push_back(dbf::cp1256::fromUtf8(line));
    query.setSql(converted);
    query.open();
    const dbf::sql::ResultSet& result = *query.result();
    std::vector<std::string> cells;
    for (const auto& f : result.fields()) cells.push_back(dbf::cp1256::toUtf8(f.name));
    writeRow(out, cells);
    for (std::size_t row = 0; row < result.rowCount(); ++row) {
        cells.clear();
        for (int f = 0; f < static_cast<int>(result.fields().size()); ++f)
            cells.push_back(cellText(result.value(row, f)));
        writeRow(out, cells);
    }
}

void runFilter(const std::filesystem::path& dir, const std::string& table, const std::string& text,
               std::ostream& out) {
    auto store = dbf::TableStore::open(dir, table);
    const auto filter = dbf::compileFilter(dbf::cp1256::fromUtf8(text), *store);
    const auto rows = filter->select(*store, *store->liveRows());
    std::vector<std::string> cells;
    for (const auto& f : store->fields()) cells.push_back(dbf::cp1256::toUtf8(f.name));
    writeRow(out, cells);
    for (const std::uint32_t row : rows) {
        cells.clear();
        for (int f = 0; f < static_cast<int>(store->fields().size()); ++f)
            cells.push_back(cellText(store->value(row, f)));
        writeRow(out, cells);
    }
}

}  // namespace

std::string csvField(std::string_view text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return 0;
    }
    const bool filter = args.size() >= 2 && args[1] == "--filter";
    if (args.size() < 2 || (filter && args.size() != 4)) {
        err << kUsage;
        return 2;
    }
    const std::filesystem::path dir = args[0];
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        err << "Not a directory: " << dir.string() << '\n';
        return 2;
    }
    try {
        if (filter)
            runFilter(dir, args[2], args[3], out);
        else
            runStatement(dir, std::vector<std::string>(args.begin() + 1, args.end()), out);
    } catch (const dbf::DbfError& e) {
        // Messages quote statements (code page 1256) or name files (UTF-8 already).
        const std::string message = e.what();
        err << (dbf::cp1256::isUtf8(message) ? message : dbf::cp1256::toUtf8(message)) << '\n';
        return 2;
    }
    return 0;
}

}  // namespace halvora::sqltool

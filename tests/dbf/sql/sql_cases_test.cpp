// Runs the statement files of this folder: each *.sqltest file declares small tables
// and then cases of a statement with the rows it must give, or the error it must raise.
//
//   table FOODS.DBF                       a table, created fresh for every case
//   field N1 N 6 0                        name, type letter, length, decimals
//   row 1 | Apple | NULL                  values by field position; NULL is an empty field
//   deleted 9 | Gone | 1                  a row marked deleted
//   end
//
//   statement <title>                     the statement lines (joined by blanks), then
//   Select N1,N2 FROM FOODS.dbf           ----, the result's field names (name:Type
//   ----                                  checks the type too) and its rows in order;
//   N1:Integer | N2                       a blank line ends the case
//   1 | Apple
//
//   error <title>                         the statement, ----, and a text the error
//   ...                                   message must contain
//
// Texts are UTF-8 in the files and code page 1256 in tables and statements; numbers in
// results are written in the general number format.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "../fixture.h"
#include "dbf/codepage1256.h"
#include "dbf/errors.h"
#include "dbf/number_text.h"
#include "dbf/query.h"
#include "dbf/sql/result_set.h"
#include "dbf/table_store.h"

namespace dbf::testing {
namespace {

// Beside the engine's data folder (a lexical step: that folder need not exist).
const std::filesystem::path kCaseDir =
    std::filesystem::path(HALVORA_TEST_DATA).parent_path() / "sql";

struct TableSpec {
    std::string name;
    std::vector<NewField> fields;
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> deleted;
};

struct SqlCase {
    std::string file;
    int line = 0;
    std::string title;
    std::vector<TableSpec> tables;
    std::vector<std::string> statement;
    bool expectError = false;
    std::vector<std::string> expected;  // header and rows, or the error text
};

std::string trim(std::string_view s) { return std::string(trimBlanks(s)); }

std::vector<std::string> splitCells(const std::string& line) {
    std::vector<std::string> cells;
    std::string cell;
    for (const char c : line + "|") {
        if (c == '|') {
            cells.push_back(trim(cell));
            cell.clear();
        } else {
            cell += c;
        }
    }
    return cells;
}

std::vector<SqlCase> loadFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::vector<TableSpec> tables;
    std::vector<SqlCase> cases;
    std::string line;
    int lineNo = 0;
    const auto fail = [&](const std::string& why) {
        throw std::runtime_error(path.string() + ":" + std::to_string(lineNo) + ": " + why);
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (trim(line).empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (word == "table") {
            TableSpec t;
            words >> t.name;
            while (std::getline(in, line) && (++lineNo, trim(line) != "end")) {
                std::istringstream w(line);
                std::string kind;
                w >> kind;
                if (kind == "field") {
                    NewField f;
                    std::string type;
                    w >> f.name >> type >> f.length >> f.decimals;
                    f.type = type.at(0);
                    t.fields.push_back(f);
                } else if (kind == "row" || kind == "deleted") {
                    t.rows.push_back(splitCells(line.substr(line.find(kind) + kind.size())));
                    t.deleted.push_back(kind == "deleted");
                } else if (!trim(line).empty() && line[0] != '#') {
                    fail("unknown table line");
                }
            }
            tables.push_back(std::move(t));
        } else if (word == "statement" || word == "error") {
            SqlCase c;
            c.file = path.stem().string();
            c.line = lineNo;
            std::getline(words, c.title);
            c.title = trim(c.title);
            c.tables = tables;
            c.expectError = word == "error";
            bool inResult = false;
            while (std::getline(in, line) && (++lineNo, !trim(line).empty())) {
                if (trim(line) == "----")
                    inResult = true;
                else if (inResult)
                    c.expected.push_back(trim(line));
                else
                    c.statement.push_back(line);
            }
            if (!inResult) fail("a case without ----");
            cases.push_back(std::move(c));
        } else {
            fail("unknown line");
        }
    }
    return cases;
}

std::vector<SqlCase> loadAll() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(kCaseDir))
        if (entry.path().extension() == ".sqltest") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<SqlCase> all;
    for (const auto& f : files)
        for (auto& c : loadFile(f)) all.push_back(std::move(c));
    return all;
}

Value cellValue(const NewField& field, const std::string& text) {
    if (text == "NULL") return Value::null();
    switch (field.type) {
        case 'C':
            return Value::string(cp1256::fromUtf8(text));
        case 'M':
            return Value::memo(cp1256::fromUtf8(text));
        case 'L':
            return Value::boolean(text == "T");
        case 'I':
            return Value::integer(*parseInteger(text));
        default: {
            if (field.decimals == 0)
                if (const auto i = parseInteger(text)) return Value::integer(*i);
            const auto d = parseFloat(text);
            if (!d) throw std::runtime_error("not a number: " + text);
            return Value::real(*d);
        }
    }
}

void buildTables(const std::filesystem::path& dir, const std::vector<TableSpec>& tables) {
    for (const auto& t : tables) {
        std::vector<Row> rows;
        for (const auto& cells : t.rows) {
            Row row;
            for (std::size_t i = 0; i < cells.size() && i < t.fields.size(); ++i)
                row.push_back(cellValue(t.fields[i], cells[i]));
            rows.push_back(std::move(row));
        }
        makeTable(dir, t.name, t.fields, rows);
        auto store = TableStore::open(dir, t.name);
        for (std::size_t r = 0; r < t.deleted.size(); ++r)
            if (t.deleted[r]) store->markDeleted(static_cast<std::uint32_t>(r));
    }
}

const char* typeName(DataType t) {
    switch (t) {
        case DataType::String:
            return "String";
        case DataType::Integer:
            return "Integer";
        case DataType::Float:
            return "Float";
        case DataType::Currency:
            return "Currency";
        case DataType::Boolean:
            return "Boolean";
        case DataType::Date:
            return "Date";
        case DataType::DateTime:
            return "DateTime";
        case DataType::Memo:
            return "Memo";
        case DataType::Blob:
            return "Blob";
    }
    return "?";
}

// A result value as the files write it: texts compared in the table's code page.
std::string cellText(const Value& v) {
    if (v.isNull()) return "NULL";
    if (v.isText()) return std::string(v.bytes());
    return formatGeneral(v.number());
}

// gtest names a failing case by this instead of dumping its bytes.
void PrintTo(const SqlCase& c, std::ostream* os) { *os << c.file << ".sqltest:" << c.line; }

class SqlCaseTest : public ::testing::TestWithParam<SqlCase> {};

TEST_P(SqlCaseTest, GivesExpectedRows) {
    const SqlCase& c = GetParam();
    SCOPED_TRACE(c.file + ".sqltest:" + std::to_string(c.line) + " " + c.title);
    TempDir dir;
    buildTables(dir.path(), c.tables);
    Query query;
    query.setDirectory(dir.path());
    std::vector<std::string> lines;
    for (const auto& l : c.statement) lines.push_back(cp1256::fromUtf8(l));
    query.setSql(lines);
    if (c.expectError) {
        ASSERT_EQ(c.expected.size(), 1u);
        try {
            query.open();
            FAIL() << "no error; expected one containing: " << c.expected[0];
        } catch (const DbfError& e) {
            EXPECT_NE(std::string(e.what()).find(cp1256::fromUtf8(c.expected[0])),
                      std::string::npos)
                << "error text: " << e.what();
        }
        return;
    }
    query.open();
    ASSERT_FALSE(c.expected.empty());
    const auto header = splitCells(c.expected[0]);
    ASSERT_EQ(query.fieldCount(), static_cast<int>(header.size()));
    for (int f = 0; f < query.fieldCount(); ++f) {
        const std::string& cell = header[static_cast<std::size_t>(f)];
        const auto colon = cell.rfind(':');
        EXPECT_EQ(query.field(f).name, cell.substr(0, colon));
        if (colon != std::string::npos) {
            EXPECT_STREQ(typeName(query.field(f).type), cell.substr(colon + 1).c_str())
                << query.field(f).name;
        }
    }
    std::vector<std::string> got;
    for (query.first(); !query.eof(); query.next()) {
        std::string row;
        for (int f = 0; f < query.fieldCount(); ++f)
            row += (f ? " | " : "") + cellText(query.value(f));
        got.push_back(row);
    }
    std::vector<std::string> want;
    for (std::size_t i = 1; i < c.expected.size(); ++i) {
        std::string row;
        const auto cells = splitCells(c.expected[i]);
        for (std::size_t f = 0; f < cells.size(); ++f)
            row += (f ? " | " : "") + cp1256::fromUtf8(cells[f]);
        want.push_back(row);
    }
    EXPECT_EQ(got, want);
}

std::string caseName(const ::testing::TestParamInfo<SqlCase>& info) {
    std::string name = info.param.file + "_" + std::to_string(info.param.line);
    for (const char ch : "_" + info.param.title)
        name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Files, SqlCaseTest, ::testing::ValuesIn(loadAll()), caseName);

}  // namespace
}  // namespace dbf::testing

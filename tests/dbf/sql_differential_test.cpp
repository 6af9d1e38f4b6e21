// The local SQL against SQLite: the same rows in FoxPro tables and in an in-memory SQLite
// database, a few hundred statements from a fixed seed, and every answer compared row by
// row. Each statement is written twice, once in the engine's dialect and once for SQLite,
// so that both must mean the same thing (the rules below).
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <map>
#include <optional>
#include <random>
#include <sstream>

#include "dbf/errors.h"
#include "dbf/query.h"
#include "dbf/table_store.h"
#include "fixture.h"

namespace dbf::testing {
namespace {

// ---- The rows, one list for both databases -------------------------------------------------

using Num = std::optional<double>;
constexpr Num kNull = std::nullopt;

struct FoodRow {
    Num code;
    std::string name;
    Num kcal, prot;
    std::string qty;  // a C field that mostly holds numbers
    Num qtyNumber;    // QTY read as a number: its trimmed text, when that is a number
    bool deleted = false;
};

struct PortionRow {
    Num code;
    Num grams;
    std::string unit;
    bool deleted = false;
};

// Mixed case, a leading blank, a quote, blank fields, repeated codes (20 on rows side by side,
// with one portion) and an empty code, zero divisors, negatives, ties, and deleted rows
// (absent from SQLite).
const std::vector<FoodRow> kNamedFoods = {
    {1, "Apple", 52, 0.26, "12", 12},       {2, "apple pie", 237, 1.9, " 7.5", 7.5},
    {3, "BREAD", 265, 9, "abc", kNull},     {4, "Brown rice", 111, 2.58, "", kNull},
    {5, "rice cake", 387, 8, "-3", -3},     {6, " oat", 389, 16.9, "0", 0},
    {7, "Ghost", 1, 1, "1", 1, true},       {8, "", 40, kNull, "+4", 4},
    {9, "Milk", kNull, 3.4, "1e2", 100},    {10, "Butter", 717, 0.85, "5 x", kNull},
    {11, "Cheddar", 403, 24.9, "  25", 25}, {12, "cheddar", 403, 24.9, "25", 25},
    {13, "Oil", 884, 0, ".", kNull},        {kNull, "Water", 0, 0, "0.0", 0},
    {14, "Egg", 155, 13, "-0.5", -0.5},     {15, "Baker's bun", 304, 0.3, "2", 2},
    {5, "Rice Cake", 380, 7.5, "3", 3},     {16, "Pear", 57, 0.36, "", kNull},
    {17, "Tofu", 76, 8, "1.25", 1.25},      {18, "YOGURT", 59, 10, "10", 10},
    {19, "Lentils", 116, 9.02, "9", 9},     {21, "Adjust", -10.5, -1.25, "-1", -1},
    {20, "Spinach", 23, 2.86, "x1", kNull}, {20, "spinach leaf", 23, 2.9, "30", 30},
    {20, "SPINACH", 23, 2.86, "", kNull},
};

// Enough further rows (with no portions) that a statement reading a handful of foods reads
// them record by record, as it does in a large table, instead of through decoded columns.
std::vector<FoodRow> allFoods() {
    std::vector<FoodRow> rows = kNamedFoods;
    static const char* names[] = {"Item", "item", "ITEM", "Rice mix", "oat bran"};
    for (int i = 0; i < 40; ++i) {
        FoodRow r{100 + i,
                  std::string(names[i % 5]) + " " + std::to_string(i),
                  (i * 37 % 9000) / 10.0,
                  i % 7 == 0 ? kNull : Num((i * 13 % 2500) / 100.0),
                  "",
                  kNull};
        if (i % 5 != 0) {
            r.qty = std::to_string(i % 30);
            r.qtyNumber = i % 30;
        }
        rows.push_back(r);
    }
    return rows;
}
const std::vector<FoodRow> kFoods = allFoods();

// Several portions per food, portions of no food, an empty code and grams of zero.
const std::vector<PortionRow> kPortions = {
    {1, 100, "cup"},     {1, 30, "Slice"},   {2, 125, "slice"},  {3, 25, "slice"},
    {3, 50, "SLICE"},    {3, kNull, "loaf"}, {5, 9, "piece"},    {5, 9, "Piece"},
    {6, 40, "cup"},      {8, 0, "g"},        {9, 244, "Cup"},    {9, 122, "half cup"},
    {11, 28, ""},        {12, 28.35, "oz"},  {13, 13.6, "tbsp"}, {13, 4.5, "tsp"},
    {14, 50, "piece"},   {14, 100, "g"},     {15, 60, "piece"},  {17, 0, "cup"},
    {18, 245, "CUP"},    {18, 170, "pot"},   {19, 198, "cup"},   {22, 10, "cup"},
    {kNull, 5, "pinch"}, {7, 99, "cup"},     {21, 1, "unit"},    {4, 195, "cup", true},
    {16, 178, "Pear"},   {20, 30, "cup"},    {5, 0.5, " g"},
};

Value numberValue(Num v, bool whole) {
    if (!v) return Null();
    return whole ? I(static_cast<std::int64_t>(*v)) : F(*v);
}

// Returns the tables open, as the program holds its tables: the statement cache keeps a
// statement only while its tables stay open.
std::vector<std::shared_ptr<TableStore>> makeDbfTables(const std::filesystem::path& dir) {
    std::vector<Row> foods, portions;
    for (const auto& f : kFoods)
        foods.push_back({numberValue(f.code, true), S(f.name), numberValue(f.kcal, false),
                         numberValue(f.prot, false), S(f.qty)});
    for (const auto& p : kPortions)
        portions.push_back({numberValue(p.code, true), numberValue(p.grams, false), S(p.unit)});
    makeTable(dir, "FOODS.DBF",
              {{"CODE", 'N', 5, 0},
               {"NAME", 'C', 14, 0},
               {"KCAL", 'N', 7, 1},
               {"PROT", 'N', 6, 2},
               {"QTY", 'C', 6, 0}},
              foods);
    makeTable(dir, "PORTIONS.DBF", {{"CODE", 'N', 5, 0}, {"GRAMS", 'N', 7, 2}, {"UNIT", 'C', 8, 0}},
              portions);
    auto foodStore = TableStore::open(dir, "FOODS.DBF");
    for (std::size_t r = 0; r < kFoods.size(); ++r)
        if (kFoods[r].deleted) foodStore->markDeleted(static_cast<std::uint32_t>(r));
    auto portionStore = TableStore::open(dir, "PORTIONS.DBF");
    for (std::size_t r = 0; r < kPortions.size(); ++r)
        if (kPortions[r].deleted) portionStore->markDeleted(static_cast<std::uint32_t>(r));
    return {foodStore, portionStore};
}

void sqliteExec(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string text = error ? error : "?";
        sqlite3_free(error);
        throw std::runtime_error(text);
    }
}

void bindNumber(sqlite3_stmt* s, int i, Num v) {
    if (v)
        sqlite3_bind_double(s, i, *v);
    else
        sqlite3_bind_null(s, i);
}

// A blank field is NULL here.
void bindText(sqlite3_stmt* s, int i, const std::string& v) {
    if (v.empty())
        sqlite3_bind_null(s, i);
    else
        sqlite3_bind_text(s, i, v.c_str(), -1, SQLITE_TRANSIENT);
}

// REAL columns: SQLite never divides two integers.
sqlite3* makeSqliteTables() {
    sqlite3* db = nullptr;
    if (sqlite3_open(":memory:", &db) != SQLITE_OK) throw std::runtime_error("sqlite3_open");
    sqliteExec(db,
               "CREATE TABLE FOODS (CODE REAL, NAME TEXT, KCAL REAL, PROT REAL, QTY TEXT, "
               "QTYNUM REAL);"
               "CREATE TABLE PORTIONS (CODE REAL, GRAMS REAL, UNIT TEXT);");
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO FOODS VALUES (?,?,?,?,?,?)", -1, &s, nullptr);
    for (const auto& f : kFoods) {
        if (f.deleted) continue;
        bindNumber(s, 1, f.code);
        bindText(s, 2, f.name);
        bindNumber(s, 3, f.kcal);
        bindNumber(s, 4, f.prot);
        bindText(s, 5, f.qty);
        bindNumber(s, 6, f.qtyNumber);
        sqlite3_step(s);
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    sqlite3_prepare_v2(db, "INSERT INTO PORTIONS VALUES (?,?,?)", -1, &s, nullptr);
    for (const auto& p : kPortions) {
        if (p.deleted) continue;
        bindNumber(s, 1, p.code);
        bindNumber(s, 2, p.grams);
        bindText(s, 3, p.unit);
        sqlite3_step(s);
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    return db;
}

// ---- The statements -------------------------------------------------------------------------
//
// The engine's rules where they differ from SQLite's, and how the SQLite text follows them:
//
// - Conditions have two values. A comparison, BETWEEN or LIKE with an empty operand does not
//   hold, and NOT of it does. Every SQLite comparison is written COALESCE(comparison, 0).
// - NOT BETWEEN with an empty operand does not hold either, where SQLite's holds when the
//   known bound alone decides it; SQLite's BETWEEN is also asked that all three are known.
// - A C field keeps no trailing blanks, and a blank one reads as an empty text, which counts
//   as empty (null) in conditions, COUNT and ordering. A quoted text loses its trailing blanks
//   too, and one of blanks only is empty. SQLite holds NULL for blank fields and gets the
//   quoted texts trimmed (NULL for blanks); the answers read an empty text as NULL.
// - An all-blank N field is null.
// - A text compared with a number is read as a number: a field's trimmed text row by row
//   (empty when it is no number), a quoted text once. SQLite compares QTYNUM, which the
//   fixture fills with that number, and gets a quoted number unquoted.
// - Arithmetic is in doubles and division by zero gives null (as SQLite's does); SQLite gets
//   every number literal with a decimal point, so that it divides no integers.
// - Text comparisons and ordering go by bytes, case counting (SQLite's BINARY); LIKE ignores
//   the case of Latin letters (as SQLite's LIKE does for ASCII), `%` and `_` as usual.
// - Empty values sort first ascending and last descending (as in SQLite).
// - A text may stand in double quotes; SQLite always gets single quotes (doubled inside).
// - The dialect has no IN and no GROUP BY: the generator writes IN as a chain of ORs for the
//   engine (IN for SQLite) and groups nothing. Aggregates stand alone in their statement.
// - SUM, AVG, MIN and MAX of no value are null; COUNT counts values that are not empty.
// - ORDER BY a bare number names a select item in both; a select item that is a bare
//   number is therefore ordered by its position.

struct Sql {
    std::string engine;
    std::string sqlite;
};

Sql operator+(const Sql& a, const Sql& b) { return {a.engine + b.engine, a.sqlite + b.sqlite}; }
Sql operator+(const Sql& a, const std::string& s) { return {a.engine + s, a.sqlite + s}; }
Sql operator+(const std::string& s, const Sql& a) { return {s + a.engine, s + a.sqlite}; }

enum class Kind { Number, Text, NumberText /* a text that also meets numbers */ };

struct ColumnModel {
    std::string name;
    Kind kind;
    std::string sqliteNumber;  // NumberText: the SQLite column of its number
};

struct TableModel {
    std::string file;  // as the engine names it
    std::string name;  // as SQLite does
    std::vector<ColumnModel> columns;
};

const TableModel kFoodsModel{"FOODS.DBF",
                             "FOODS",
                             {{"CODE", Kind::Number, ""},
                              {"NAME", Kind::Text, ""},
                              {"KCAL", Kind::Number, ""},
                              {"PROT", Kind::Number, ""},
                              {"QTY", Kind::NumberText, "QTYNUM"}}};
const TableModel kPortionsModel{
    "PORTIONS.DBF",
    "PORTIONS",
    {{"CODE", Kind::Number, ""}, {"GRAMS", Kind::Number, ""}, {"UNIT", Kind::Text, ""}}};

struct Column {
    const ColumnModel* model;
    std::string qualifier;  // empty: written bare
};

// FilteredJoin: joins whose conditions the executor tests after the join, on rows that stand
// in several tuples.
enum class Shape { SingleTable, Join, FilteredJoin, Aggregate };

struct Statement {
    Sql text;
    bool totalOrder = false;
    std::vector<int> orderedColumns;  // result columns ORDER BY sorts by first, in order
};

class Generator {
  public:
    explicit Generator(std::uint32_t seed) : m_shape(seed), m_numbers(seed * 7919u + 1u) {}

    Statement next(Shape shape) {
        m_saved = m_shape;
        return build(shape);
    }
    // The last statement again with other numbers: the statement cache takes it as a re-use.
    Statement sameShape(Shape shape) {
        m_shape = m_saved;
        return build(shape);
    }
    bool chance(int percent) { return pick(100) < percent; }

  private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_shape); }
    template <typename T>
    const T& oneOf(const std::vector<T>& v) {
        return v[static_cast<std::size_t>(pick(static_cast<int>(v.size())))];
    }
    std::string keyword(const std::string& upper) {
        if (!chance(10)) return upper;
        std::string lower = upper;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return lower;
    }

    // Numbers come from their own generator, so that the shape of a statement does not
    // depend on them.
    Sql number() {
        static const double pool[] = {0,  0.5, 1,    2,  2.5, 3,   5,   9,   10,
                                      12, 13,  24.9, 50, 100, 111, 250, 403, 1000};
        const double v =
            pool[std::uniform_int_distribution<std::size_t>(0, std::size(pool) - 1)(m_numbers)];
        std::ostringstream os;
        os << v;
        const std::string text = os.str();
        return {text, text.find('.') == std::string::npos ? text + ".0" : text};
    }

    Sql quoted(const std::string& text) {
        std::string trimmed = text;
        while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
        const auto quote = [](const std::string& s, char q) {
            std::string out(1, q);
            for (const char c : s) out += c == q ? std::string(2, q) : std::string(1, c);
            return out + q;
        };
        return {quote(text, chance(15) ? '"' : '\''),
                trimmed.empty() ? "NULL" : quote(trimmed, '\'')};
    }

    Sql textLiteral() {
        static const std::vector<std::string> pool = {
            "Apple",   "apple",   "APPLE", "apple pie", "Brown rice",  "rice cake", "Rice Cake",
            "Cheddar", "cheddar", " oat",  "oat",       "Milk",        "M",         "b",
            "c",       "Egg",     "Pear",  "Tofu   ",   "Baker's bun", "cup",       "Cup",
            "slice",   "g",       "zzz",   "12",        "25",          "abc",       "   "};
        return quoted(oneOf(pool));
    }

    std::vector<Column> columns(bool (*wanted)(Kind)) const {
        std::vector<Column> out;
        for (const auto& t : m_tables)
            for (const auto& c : t.model->columns)
                if (wanted(c.kind) && (!m_only || m_only == t.model))
                    out.push_back({&c, t.qualifier});
        return out;
    }
    Column anyColumn(bool (*wanted)(Kind)) { return oneOf(columns(wanted)); }
    static bool isNumber(Kind k) { return k == Kind::Number; }
    static bool isText(Kind k) { return k != Kind::Number; }
    static bool isNumberText(Kind k) { return k == Kind::NumberText; }
    static bool isAny(Kind) { return true; }

    // A column as written: qualified when two tables share its name, and now and then anyway.
    Sql ref(const Column& c, bool asNumber = false) {
        const std::string prefix = c.qualifier.empty() ? ""
                                   : m_tables.size() > 1 && (c.model->name == "CODE" || chance(50))
                                       ? c.qualifier + "."
                                   : m_tables.size() == 1 && chance(15) ? c.qualifier + "."
                                                                        : "";
        const std::string sqliteName =
            asNumber && c.model->kind == Kind::NumberText ? c.model->sqliteNumber : c.model->name;
        return {prefix + c.model->name, prefix + sqliteName};
    }

    static Sql parenthesized(const Sql& x) { return "(" + x + ")"; }

    Sql numberExpr(int depth) {
        const int r = pick(100);
        if (depth <= 0 || r < 40) return ref(anyColumn(isNumber));
        if (r < 55) return number();
        if (r < 62) {
            const Sql x = numberExpr(depth - 1);
            // "--" would start a comment in SQLite.
            const bool atom = x.engine.find_first_of(" ()-") == std::string::npos;
            return "-" + (atom ? x : parenthesized(x));
        }
        static const std::vector<std::string> ops = {" + ", " - ", " * ", " / "};
        const std::string op = oneOf(ops);
        // Constants on both sides now and then: the engine folds them when it binds.
        const Sql a = r < 67 ? number() : numberExpr(depth - 1);
        const Sql b = r < 67 ? number() : numberExpr(depth - 1);
        const Sql e = a + op + b;
        return chance(70) ? parenthesized(e) : e;
    }

    // A number operand of a comparison: also a text field read as a number.
    Sql comparedNumber(int depth) {
        if (!columns(isNumberText).empty() && chance(15)) return ref(anyColumn(isNumberText), true);
        return numberExpr(depth);
    }

    std::string compareOp() {
        static const std::vector<std::string> ops = {
            " = ", " <> ", " < ", " <= ", " > ", " >= ", " != "};
        return oneOf(ops);
    }

    Sql leaf() {
        switch (pick(10)) {
            case 0:
            case 1: {
                if (chance(12)) {  // a quoted number: only a number makes it one
                    const Sql left = numberExpr(2);
                    const std::string o = compareOp();
                    const Sql n = number();
                    const std::string blank = chance(30) ? " " : "";
                    return left + o + Sql{"'" + blank + n.engine + "'", n.sqlite};
                }
                // A text field against a number; two texts would compare as texts.
                const bool textFirst = pick(2);
                const Sql text = comparedNumber(2);
                const Sql other = numberExpr(2);
                return textFirst ? text + compareOp() + other : other + compareOp() + text;
            }
            case 2: {
                const Sql left = ref(anyColumn(isText));
                const Sql right = chance(80) ? textLiteral() : ref(anyColumn(isText));
                return left + compareOp() + right;
            }
            case 3: {
                // SQLite's NOT BETWEEN holds when the known bound decides it alone.
                const std::string no = chance(30) ? "NOT " : "";
                const bool text = chance(25);
                const Sql x = text ? ref(anyColumn(isText)) : comparedNumber(1);
                const Sql low = text ? textLiteral() : numberExpr(1);
                const Sql high = text ? textLiteral() : numberExpr(1);
                const std::string known = "(" + x.sqlite + (text ? " || " : " + ") + low.sqlite +
                                          (text ? " || " : " + ") + high.sqlite + ") IS NOT NULL";
                const Sql between = x + " " + no + "BETWEEN " + low + " AND " + high;
                return {between.engine, between.sqlite + " AND " + known};
            }
            case 4: {  // x IN (a, b, c)
                const bool text = chance(35);
                const Sql x = text ? ref(anyColumn(isText)) : comparedNumber(1);
                const int n = 2 + pick(3);
                Sql engine{"(", ""};
                std::string list;
                for (int i = 0; i < n; ++i) {
                    const Sql v = text ? textLiteral() : number();
                    engine.engine += (i ? " OR " : "") + x.engine + " = " + v.engine;
                    list += (i ? ", " : "") + v.sqlite;
                }
                return {engine.engine + ")", x.sqlite + " IN (" + list + ")"};
            }
            case 5: {
                const int r = pick(3);
                const Sql x = r == 0   ? ref(anyColumn(isText))
                              : r == 1 ? ref(anyColumn(isNumber))
                                       : numberExpr(2);
                return x + (chance(40) ? " IS NOT NULL" : " IS NULL");
            }
            case 6:
            case 7: {
                static const std::vector<std::string> patterns = {
                    "%ri%", "%RI%", "ri%",  "Ri%", "%e",  "%E",   "_p%", "%a_e%", "%",
                    "c%",   "C%",   "%'s%", "b%",  "%z%", "%ce%", "_",   "__%",   "%u_"};
                std::string p = oneOf(patterns);
                std::string escaped;
                for (const char c : p) escaped += c == '\'' ? "''" : std::string(1, c);
                return ref(anyColumn(isText)) + (chance(30) ? " NOT LIKE '" : " LIKE '") + escaped +
                       "'";
            }
            default: {
                const Sql left = numberExpr(2);
                return left + compareOp() + numberExpr(1);
            }
        }
    }

    Sql condition(int depth) {
        if (depth > 0 && chance(45)) {
            switch (pick(3)) {
                case 0:
                case 1: {
                    const Sql a = condition(depth - 1);
                    const Sql b = condition(depth - 1);
                    const Sql e = a + (pick(2) ? " AND " : " OR ") + b;
                    return chance(60) ? parenthesized(e) : e;
                }
                default:
                    return "NOT " + parenthesized(condition(depth - 1));
            }
        }
        const Sql l = leaf();
        return {l.engine, "COALESCE(" + l.sqlite + ", 0)"};
    }

    struct Item {
        Sql expr;
        std::string alias;
        bool bareNumber = false;
    };

    void chooseTables(bool join) {
        m_tables.clear();
        m_from = {};
        std::vector<const TableModel*> models = {&kFoodsModel, &kPortionsModel};
        if (!join) models = {chance(65) ? &kFoodsModel : &kPortionsModel};
        if (join && pick(2)) std::swap(models[0], models[1]);
        const bool aliases = chance(70);
        for (const TableModel* t : models) {
            std::string file = t->file;
            if (chance(20)) file = t->name;  // without the extension
            if (chance(20))
                for (char& c : file)
                    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            std::string qualifier = t->name;
            Sql from{file, t->name};
            if (aliases) {
                qualifier = t->name.substr(0, 1);
                from = from + (chance(30) ? " AS " : " ") + qualifier;
            }
            m_from = m_from.engine.empty() ? from : m_from + ", " + from;
            m_tables.push_back({t, qualifier});
        }
    }

    Sql codesEqual() {
        const Sql a{m_tables[0].qualifier + ".CODE", m_tables[0].qualifier + ".CODE"};
        const Sql b{m_tables[1].qualifier + ".CODE", m_tables[1].qualifier + ".CODE"};
        const Sql eq = pick(2) ? a + " = " + b : b + " = " + a;
        return {eq.engine, "COALESCE(" + eq.sqlite + ", 0)"};
    }

    std::vector<Sql> anyWhere() {
        std::vector<Sql> where;
        if (m_tables.size() > 1 && !chance(10)) where.push_back(codesEqual());
        if (chance(m_tables.size() > 1 ? 70 : 85)) where.push_back(condition(2));
        if (where.size() > 1 && pick(2)) std::swap(where[0], where[1]);
        return where;
    }

    // The plan tests a table's own conditions before the join only when that table drives:
    // the one with `CODE = k`, else the one whose condition comes first. So the other table
    // mostly gets a condition of its own, mostly written first, and the subject's conditions
    // run on the joined tuples, where a subject row stands once per partner. Code runs of the
    // other table put those repeats side by side and in order, which no other condition does.
    std::vector<Sql> filteredJoinWhere() {
        const TableModel* subject = m_tables[static_cast<std::size_t>(pick(2))].model;
        const TableModel* other = subject == &kFoodsModel ? &kPortionsModel : &kFoodsModel;
        std::vector<Sql> own;
        m_only = other;
        const int r = pick(10);  // none (the subject drives), a code run, anything
        if (r >= 2 && r < 7)
            own = codeRun();
        else if (r >= 7)
            own.push_back(condition(1));
        m_only = subject;
        std::vector<Sql> tested{fastLeaf()};
        if (chance(25)) tested.push_back(fastLeaf());
        m_only = nullptr;
        std::vector<Sql> where = own;
        where.insert(chance(75) ? where.end() : where.begin(), tested.begin(), tested.end());
        if (!chance(10))
            where.insert(where.begin() + pick(static_cast<int>(where.size()) + 1), codesEqual());
        return where;
    }

    // Codes of the `m_only` table that span runs of equal codes in both tables; most give
    // enough tuples that the foods are read by column, which the tight loops need.
    std::vector<Sql> codeRun() {
        static const int runs[][2] = {{1, 3},   {9, 14},  {13, 15}, {13, 19}, {18, 20},
                                      {19, 21}, {20, 20}, {3, 3},   {5, 5},   {1, 21}};
        const auto& run =
            runs[std::uniform_int_distribution<std::size_t>(0, std::size(runs) - 1)(m_numbers)];
        const auto scope = std::find_if(m_tables.begin(), m_tables.end(),
                                        [&](const InScope& t) { return t.model == m_only; });
        const Sql c = ref({&m_only->columns[0], scope->qualifier});  // CODE
        const std::string lo = std::to_string(run[0]), hi = std::to_string(run[1]);
        const auto holds = [](const Sql& x) {
            return Sql{x.engine, "COALESCE(" + x.sqlite + ", 0)"};
        };
        switch (pick(4)) {
            case 0:
                return {holds(c + " = " + lo)};
            case 1:
                return {holds(c + " BETWEEN " + lo + " AND " + hi)};
            case 2:
                return {holds(c + " >= " + lo), holds(c + " <= " + hi)};
            default:
                return {holds(lo + " <= " + c), holds(c + " < " + std::to_string(run[1] + 1))};
        }
    }

    // A condition of one of the shapes the executor tests in a tight loop: a pattern, a text
    // or a number against constants.
    Sql fastLeaf() {
        Sql leaf;
        switch (pick(8)) {
            case 0:
            case 1:
            case 2: {
                // Needles that rows of the code runs hold, and some that none does.
                static const std::map<std::string, std::vector<std::string>> needles = {
                    {"NAME", {"pp", "re", "il", "ch", "IN", "g", "e", "'s", "zz", " "}},
                    {"QTY", {"2", "5", ".", "0", "-"}},
                    {"UNIT", {"up", "C", "li", "p", "e"}}};
                const Column x = anyColumn(isText);
                leaf = like(x, "%" + oneOf(needles.at(x.model->name)) + "%");
                break;
            }
            case 3: {
                static const std::vector<std::string> patterns = {"a%",   "C%",  "s%",    "%e",
                                                                  "%P",   "_p%", "%a_e%", "c_p",
                                                                  "%l_e", "__",  "%i%e%", "b%n"};
                leaf = like(anyColumn(isText), oneOf(patterns));
                break;
            }
            case 4: {
                const Sql x = ref(anyColumn(isText));
                const Sql k = textLiteral();
                leaf = chance(15) ? k + compareOp() + x : x + compareOp() + k;
                break;
            }
            case 5:
            case 6: {
                const Sql x = ref(anyColumn(isNumber));
                leaf = chance(30) ? number() + compareOp() + x : x + compareOp() + number();
                break;
            }
            default: {
                const Sql x = ref(anyColumn(isNumber));
                leaf = x + (chance(30) ? " NOT" : "") + " BETWEEN " + number() + " AND " + number();
            }
        }
        return {leaf.engine, "COALESCE(" + leaf.sqlite + ", 0)"};
    }

    Sql like(const Column& x, const std::string& pattern) {
        std::string escaped;
        for (const char c : pattern) escaped += c == '\'' ? "''" : std::string(1, c);
        return ref(x) + (chance(35) ? " NOT LIKE '" : " LIKE '") + escaped + "'";
    }

    Statement build(Shape shape) {
        chooseTables(shape == Shape::Join || shape == Shape::FilteredJoin ||
                     (shape == Shape::Aggregate && chance(50)));
        if (shape == Shape::SingleTable && chance(12)) return ranking();
        const std::vector<Sql> where =
            shape == Shape::FilteredJoin ? filteredJoinWhere() : anyWhere();
        // Counts show a tuple lost or doubled as plainly as rows do.
        const bool aggregate =
            shape == Shape::Aggregate || (shape == Shape::FilteredJoin && chance(25));

        Statement s;
        std::vector<Item> items;
        bool star = false;
        if (aggregate) {
            static const std::vector<std::string> fns = {"SUM", "AVG", "MIN", "MAX", "COUNT"};
            const int n = 1 + pick(4);
            for (int i = 0; i < n; ++i) {
                const int r = pick(10);
                if (r < 2) {
                    items.push_back({Sql{keyword("COUNT") + "(*)", "COUNT(*)"}, ""});
                } else if (r < 4) {
                    items.push_back({"COUNT(" + ref(anyColumn(isAny)) + ")", ""});
                } else {
                    const std::string fn = fns[static_cast<std::size_t>(pick(4))];
                    items.push_back({Sql{keyword(fn), fn} + "(" + numberExpr(1) + ")", ""});
                }
            }
        } else if (chance(8)) {
            star = true;
            for (const auto& t : m_tables)
                for (const auto& c : t.model->columns)
                    items.push_back(
                        {Sql{t.qualifier + "." + c.name, t.qualifier + "." + c.name}, ""});
        } else {
            const int n = 1 + pick(4);
            for (int i = 0; i < n; ++i) {
                Item item;
                const int r = pick(10);
                item.expr = r < 4   ? ref(anyColumn(isNumber))
                            : r < 7 ? ref(anyColumn(isText))
                                    : numberExpr(2);
                item.bareNumber = std::isdigit(static_cast<unsigned char>(item.expr.engine[0]));
                if (chance(20)) item.alias = "X" + std::to_string(i + 1);
                items.push_back(item);
            }
        }

        Sql select{keyword("SELECT") + " ", "SELECT "};
        if (star) {
            select.engine += "*";
            for (std::size_t i = 0; i < items.size(); ++i)
                select.sqlite += (i ? ", " : "") + items[i].expr.sqlite;
        } else {
            for (std::size_t i = 0; i < items.size(); ++i) {
                const Item& it = items[i];
                const std::string as = it.alias.empty() ? ""
                                       : chance(50)     ? " " + it.alias
                                                        : " AS " + it.alias;
                select = select + (i ? ", " : "") + it.expr +
                         Sql{as, it.alias.empty() ? "" : " AS " + it.alias};
            }
        }
        s.text = select + " " + Sql{keyword("FROM"), "FROM"} + " " + m_from;
        for (std::size_t i = 0; i < where.size(); ++i)
            s.text = s.text + (i ? " AND " : " " + keyword("WHERE") + " ") + where[i];
        if (!aggregate) orderBy(s, items, star);
        if (chance(5)) s.text = s.text + ";";
        return s;
    }

    // The rankings and the range search: one number field in ranges of constants, and
    // ordered by it alone (the engine reads these from the field's kept order).
    Statement ranking() {
        const Column c = anyColumn(isNumber);
        static const std::vector<std::string> ops = {" = ", " < ", " <= ", " > ", " >= "};
        std::vector<Sql> where;
        for (int k = pick(3); k > 0; --k) {
            const Sql range = chance(25) ? ref(c) + " BETWEEN " + number() + " AND " + number()
                              : pick(2)  ? ref(c) + oneOf(ops) + number()
                                         : number() + oneOf(ops) + ref(c);
            where.push_back({range.engine, "COALESCE(" + range.sqlite + ", 0)"});
        }
        Statement s;
        s.text = "SELECT " + ref(c);
        for (int k = pick(3); k > 0; --k) s.text = s.text + ", " + ref(anyColumn(isAny));
        s.text = s.text + " FROM " + m_from;
        for (std::size_t i = 0; i < where.size(); ++i)
            s.text = s.text + (i ? " AND " : " WHERE ") + where[i];
        s.text = s.text + " ORDER BY " + ref(c) + (pick(2) ? " DESC" : "");
        s.orderedColumns = {0};
        return s;
    }

    // Every select item (a total order), some of them, those and a field no column shows, or
    // nothing.
    void orderBy(Statement& s, const std::vector<Item>& items, bool star) {
        const int mode = pick(100);
        if (mode < 20) return;
        std::vector<int> keys(items.size());
        for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = static_cast<int>(i);
        std::shuffle(keys.begin(), keys.end(), m_shape);
        if (mode >= 65)
            keys.resize(1 + static_cast<std::size_t>(pick(static_cast<int>(keys.size()))));
        std::vector<Sql> terms;
        for (const int k : keys) {
            const Item& it = items[static_cast<std::size_t>(k)];
            const int how = pick(10);
            const std::string position = std::to_string(k + 1);
            if ((how < 2 || it.bareNumber) && !star)
                terms.push_back({position, position});
            else if (how < 4 && !it.alias.empty())
                terms.push_back({it.alias, it.alias});
            else
                terms.push_back(it.expr);
        }
        if (mode >= 85) {  // only the keys before the hidden one order the columns
            const int at = pick(static_cast<int>(terms.size()) + 1);
            terms.insert(terms.begin() + at, ref(anyColumn(isAny)));
            keys.resize(static_cast<std::size_t>(at));
        }
        s.totalOrder = mode < 65;
        s.orderedColumns = keys;
        Sql text{" " + keyword("ORDER") + " " + keyword("BY") + " ", " ORDER BY "};
        for (std::size_t i = 0; i < terms.size(); ++i) {
            const int dir = pick(3);
            text = text + (i ? ", " : "") + terms[i] +
                   (dir == 0   ? ""
                    : dir == 1 ? " " + keyword("ASC")
                               : " " + keyword("DESC"));
        }
        s.text = s.text + text;
    }

    struct InScope {
        const TableModel* model;
        std::string qualifier;
    };

    std::mt19937 m_shape;
    std::mt19937 m_numbers;
    std::mt19937 m_saved;
    std::vector<InScope> m_tables;
    const TableModel* m_only = nullptr;  // columns are drawn from this table alone
    Sql m_from;
};

// ---- Running and comparing ------------------------------------------------------------------

struct Cell {
    enum class Type { Null, Number, Text } type = Type::Null;
    double number = 0;
    std::string text;
};
using Answer = std::vector<std::vector<Cell>>;

Cell textCell(std::string text) {
    if (text.empty()) return {};  // a blank field
    return {Cell::Type::Text, 0, std::move(text)};
}

bool sameCell(const Cell& a, const Cell& b) {
    if (a.type != b.type) return false;
    if (a.type == Cell::Type::Text) return a.text == b.text;
    const double scale = std::max({1.0, std::fabs(a.number), std::fabs(b.number)});
    return std::fabs(a.number - b.number) <= 1e-9 * scale;
}

bool sameRows(const Answer& a, const Answer& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return std::equal(x.begin(), x.end(), y.begin(), y.end(), sameCell);
    });
}

bool cellBefore(const Cell& a, const Cell& b) {
    if (a.type != b.type) return a.type < b.type;
    if (a.type == Cell::Type::Text) return a.text < b.text;
    return a.number < b.number && !sameCell(a, b);
}

Answer sorted(Answer rows) {
    std::sort(rows.begin(), rows.end(), [](const auto& x, const auto& y) {
        return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), cellBefore);
    });
    return rows;
}

Answer columnsOf(const Answer& rows, const std::vector<int>& columns) {
    Answer out;
    for (const auto& row : rows) {
        std::vector<Cell> picked;
        for (const int c : columns) picked.push_back(row[static_cast<std::size_t>(c)]);
        out.push_back(std::move(picked));
    }
    return out;
}

std::string show(const Answer& rows) {
    std::ostringstream os;
    os << std::setprecision(15);
    const std::size_t shown = std::min<std::size_t>(rows.size(), 40);
    for (std::size_t r = 0; r < shown; ++r) {
        os << "    ";
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const Cell& cell = rows[r][c];
            os << (c ? " | " : "");
            if (cell.type == Cell::Type::Null)
                os << "NULL";
            else if (cell.type == Cell::Type::Number)
                os << cell.number;
            else
                os << '\'' << cell.text << '\'';
        }
        os << '\n';
    }
    if (shown < rows.size()) os << "    ... " << rows.size() - shown << " more\n";
    return os.str() + "    (" + std::to_string(rows.size()) + " rows)\n";
}

class SqlDifferential : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_dir = new TempDir;
        s_open = new std::vector(makeDbfTables(s_dir->path()));
        s_db = makeSqliteTables();
    }
    static void TearDownTestSuite() {
        sqlite3_close(s_db);
        delete s_open;
        delete s_dir;
    }

    static Answer engineAnswer(const std::string& sql, int& columns) {
        Query query;
        query.setDirectory(s_dir->path());
        query.setSql({sql});
        query.open();
        columns = query.fieldCount();
        Answer rows;
        for (query.first(); !query.eof(); query.next()) {
            std::vector<Cell> row;
            for (int f = 0; f < query.fieldCount(); ++f) {
                const Value v = query.value(f);
                if (v.isNull())
                    row.push_back({});
                else if (v.isText())
                    row.push_back(textCell(v.bytes()));
                else
                    row.push_back({Cell::Type::Number, v.number(), ""});
            }
            rows.push_back(std::move(row));
        }
        return rows;
    }

    static Answer sqliteAnswer(const std::string& sql, int& columns) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(s_db, sql.c_str(), -1, &s, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(s_db));
        columns = sqlite3_column_count(s);
        Answer rows;
        while (sqlite3_step(s) == SQLITE_ROW) {
            std::vector<Cell> row;
            for (int c = 0; c < columns; ++c) {
                switch (sqlite3_column_type(s, c)) {
                    case SQLITE_NULL:
                        row.push_back({});
                        break;
                    case SQLITE_TEXT:
                        row.push_back(
                            textCell(reinterpret_cast<const char*>(sqlite3_column_text(s, c))));
                        break;
                    default:
                        row.push_back({Cell::Type::Number, sqlite3_column_double(s, c), ""});
                }
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(s);
        return rows;
    }

    // Empty when both agree, else what the failure shows.
    static std::string compare(const Statement& s) {
        int engineColumns = 0, sqliteColumns = 0;
        Answer engine, sqlite;
        try {
            engine = engineAnswer(s.text.engine, engineColumns);
        } catch (const DbfError& e) {
            return "engine error: " + std::string(e.what());
        }
        try {
            sqlite = sqliteAnswer(s.text.sqlite, sqliteColumns);
        } catch (const std::runtime_error& e) {
            return "SQLite error: " + std::string(e.what());
        }
        const bool agree = engineColumns == sqliteColumns &&
                           (s.totalOrder ? sameRows(engine, sqlite)
                                         : sameRows(sorted(engine), sorted(sqlite)) &&
                                               sameRows(columnsOf(engine, s.orderedColumns),
                                                        columnsOf(sqlite, s.orderedColumns)));
        if (agree) return {};
        return "engine (" + std::to_string(engineColumns) + " columns):\n" + show(engine) +
               "SQLite (" + std::to_string(sqliteColumns) + " columns):\n" + show(sqlite);
    }

    // `count` statements of `shape`, and now and then the same one with other numbers.
    static void agreeOn(Shape shape, std::uint32_t seed, int count) {
        Generator generator(seed);
        int failures = 0;
        for (int i = 0; i < count && failures < 10; ++i) {
            std::vector<Statement> statements{generator.next(shape)};
            if (generator.chance(30)) statements.push_back(generator.sameShape(shape));
            for (const Statement& s : statements) {
                const std::string difference = compare(s);
                if (difference.empty()) continue;
                ++failures;
                ADD_FAILURE() << "statement " << i << "\n  engine: " << s.text.engine
                              << "\n  SQLite: " << s.text.sqlite << "\n"
                              << difference;
            }
        }
    }

    static TempDir* s_dir;
    static std::vector<std::shared_ptr<TableStore>>* s_open;
    static sqlite3* s_db;
};

TempDir* SqlDifferential::s_dir = nullptr;
std::vector<std::shared_ptr<TableStore>>* SqlDifferential::s_open = nullptr;
sqlite3* SqlDifferential::s_db = nullptr;

TEST_F(SqlDifferential, SingleTableStatementsAgreeWithSqlite) {
    agreeOn(Shape::SingleTable, 1, 200);
}

TEST_F(SqlDifferential, JoinsAgreeWithSqlite) { agreeOn(Shape::Join, 2, 150); }

TEST_F(SqlDifferential, ConditionsTestedAfterAJoinAgreeWithSqlite) {
    agreeOn(Shape::FilteredJoin, 4, 300);
}

TEST_F(SqlDifferential, AggregatesAgreeWithSqlite) { agreeOn(Shape::Aggregate, 3, 120); }

}  // namespace
}  // namespace dbf::testing

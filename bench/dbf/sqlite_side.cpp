// SQLite through its C API: the same data in a :memory: database, with the indexes a
// careful user would add, queried with the program's statements in SQLite's dialect.
#include <sqlite3.h>

#include <stdexcept>

#include "dbf/codepage1256.h"
#include "sides.h"

namespace bench {
namespace {

class Statement {
  public:
    Statement(sqlite3* db, const std::string& sql) : m_db(db) {
        if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &m_st, nullptr) !=
            SQLITE_OK)
            throw std::runtime_error(std::string("SQLite: ") + sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(m_st); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool step() {
        const int rc = sqlite3_step(m_st);
        if (rc == SQLITE_ROW) return true;
        if (rc != SQLITE_DONE)
            throw std::runtime_error(std::string("SQLite: ") + sqlite3_errmsg(m_db));
        return false;
    }
    void reset() { sqlite3_reset(m_st); }
    void bindInt(int i, std::int64_t v) { sqlite3_bind_int64(m_st, i, v); }
    void bindNumber(int i, const NumberColumn& c, std::size_t row) {
        if (c.nulls[row])
            sqlite3_bind_null(m_st, i);
        else
            sqlite3_bind_double(m_st, i, c.values[row]);
    }
    void bindText(int i, const std::string& utf8) {
        sqlite3_bind_text(m_st, i, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    }
    sqlite3_stmt* get() const { return m_st; }

  private:
    sqlite3* m_db;
    sqlite3_stmt* m_st = nullptr;
};

void exec(sqlite3* db, const std::string& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string text = err ? err : "error";
        sqlite3_free(err);
        throw std::runtime_error("SQLite: " + text + " in " + sql.substr(0, 60));
    }
}

std::string nutrientColumns(const char* type) {
    std::string s;
    for (int k = kFirstNutrient; k <= kLastNutrient; ++k)
        s += ", N" + std::to_string(k) + " " + type;
    return s;
}

std::string placeholders(int n) {
    std::string s = "?";
    for (int i = 1; i < n; ++i) s += ",?";
    return s;
}

// The program's statement in SQLite's dialect: table names without ".DBF", patterns in
// single quotes, text in UTF-8 (the database holds its text as UTF-8).
std::string sqliteText(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + " ";
    for (std::size_t pos = 0; (pos = s.find_first_of(".\"", pos)) != std::string::npos;) {
        if (s[pos] == '"') {
            s[pos++] = '\'';
        } else if (pos + 4 <= s.size() && (s[pos + 1] | 0x20) == 'd' &&
                   (s[pos + 2] | 0x20) == 'b' && (s[pos + 3] | 0x20) == 'f') {
            s.erase(pos, 4);
        } else {
            ++pos;
        }
    }
    return dbf::cp1256::toUtf8(s);
}

class SqliteSide : public Side {
  public:
    explicit SqliteSide(const BenchData& d) {
        if (sqlite3_open(":memory:", &m_db) != SQLITE_OK)
            throw std::runtime_error("SQLite: cannot open");
        exec(m_db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF");
        loadFoods(d.foods);
        loadContents(d.contents);
        loadRecall(d.recall);
        // The indexes a careful user adds: N1 is the rowid (INTEGER PRIMARY KEY), the join
        // and filter columns of the sums, and the column ranked and searched by range.
        exec(m_db, "CREATE INDEX FOODS_N45 ON FOODS(N45)");
        exec(m_db, "CREATE INDEX CONTENTS_CON1 ON CONTENTS(CON1)");
        exec(m_db, "CREATE INDEX RECAL_R1 ON RECAL(R1)");
        exec(m_db, "ANALYZE");
    }
    ~SqliteSide() override { sqlite3_close(m_db); }

    RowsResult rows(RowQuery query, const RowParams& params) override {
        const bool keyed = query == RowQuery::Range || query == RowQuery::Ranking;
        Statement st(m_db, sqliteText(rowStatement(query, params)));
        RowsResult r;
        double last = 0;
        bool haveLast = false;
        while (st.step()) {
            sqlite3_stmt* s = st.get();
            ++r.count;
            r.codeSum += sqlite3_column_int64(s, 0);
            if (keyed && sqlite3_column_type(s, 3) != SQLITE_NULL) {
                const double key = sqlite3_column_double(s, 3);
                if (haveLast && key > last) r.ordered = false;
                last = key;
                haveLast = true;
            }
            if (r.count <= kPageRows) {
                sqlite3_column_text(s, 1);
                sqlite3_column_text(s, 2);
                r.pageBytes += sqlite3_column_bytes(s, 1) + sqlite3_column_bytes(s, 2);
            }
        }
        return r;
    }

    SumsResult recipeSum(int recipe, const std::string& divisor) override {
        return sums(recipeSumStatement(recipe, divisor));
    }
    SumsResult recallSum(int subject) override { return sums(recallSumStatement(subject)); }

    // How SQLite runs a statement: its EXPLAIN QUERY PLAN details, joined.
    std::string plan(const std::vector<std::string>& lines) {
        Statement st(m_db, "EXPLAIN QUERY PLAN " + sqliteText(lines));
        std::string out;
        while (st.step()) {
            if (!out.empty()) out += "; ";
            out += reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 3));
        }
        return out;
    }

    // The sums as a careful SQLite user writes them: prepared once with parameters, then
    // only bound and stepped.
    SumsResult recipeSumBound(int recipe, const std::string& divisor) {
        if (!m_recipeBound) {
            auto lines = recipeSumStatement(0, "?1");
            lines.back() = "WHERE CON2 = N1 AND CON1=?2";
            m_recipeBound = std::make_unique<Statement>(m_db, sqliteText(lines));
        }
        m_recipeBound->reset();
        sqlite3_bind_double(m_recipeBound->get(), 1, std::stod(divisor));
        m_recipeBound->bindInt(2, recipe);
        return read(*m_recipeBound);
    }
    SumsResult recallSumBound(int subject) {
        if (!m_recallBound) {
            auto lines = recallSumStatement(0);
            lines.back() = "WHERE R1=?1";
            m_recallBound = std::make_unique<Statement>(m_db, sqliteText(lines));
        }
        m_recallBound->reset();
        m_recallBound->bindInt(1, subject);
        return read(*m_recallBound);
    }

  private:
    SumsResult sums(const std::vector<std::string>& lines) {
        Statement st(m_db, sqliteText(lines));
        return read(st);
    }

    static SumsResult read(Statement& st) {
        SumsResult r;
        r.values.assign(kNutrientCount, 0.0);
        r.nulls.assign(kNutrientCount, 1);
        if (st.step()) {
            for (int i = 0; i < kNutrientCount; ++i) {
                if (sqlite3_column_type(st.get(), i) == SQLITE_NULL) continue;
                r.values[static_cast<std::size_t>(i)] = sqlite3_column_double(st.get(), i);
                r.nulls[static_cast<std::size_t>(i)] = 0;
            }
        }
        return r;
    }

    void loadFoods(const FoodsData& f) {
        exec(m_db, "CREATE TABLE FOODS(N1 INTEGER PRIMARY KEY, N2 TEXT, N3 TEXT, N4 INTEGER" +
                       nutrientColumns("REAL") + ")");
        exec(m_db, "BEGIN");
        Statement ins(m_db, "INSERT INTO FOODS VALUES(" + placeholders(4 + kNutrientCount) + ")");
        for (std::size_t i = 0; i < f.size(); ++i) {
            ins.bindInt(1, f.code[i]);
            ins.bindText(2, f.nameEn[i]);
            ins.bindText(3, dbf::cp1256::toUtf8(f.nameFa[i]));
            ins.bindInt(4, f.group[i]);
            for (int k = 0; k < kNutrientCount; ++k)
                ins.bindNumber(5 + k, f.nutrients[static_cast<std::size_t>(k)], i);
            ins.step();
            ins.reset();
        }
        exec(m_db, "COMMIT");
    }

    void loadContents(const ContentsData& c) {
        exec(m_db, "CREATE TABLE CONTENTS(CON1 INTEGER, CON2 INTEGER, CON3 TEXT, CON4 REAL)");
        exec(m_db, "BEGIN");
        Statement ins(m_db, "INSERT INTO CONTENTS VALUES(?,?,?,?)");
        for (std::size_t i = 0; i < c.size(); ++i) {
            ins.bindInt(1, c.recipe[i]);
            ins.bindInt(2, c.food[i]);
            ins.bindText(3, dbf::cp1256::toUtf8(c.name[i]));
            sqlite3_bind_double(ins.get(), 4, c.weight[i]);
            ins.step();
            ins.reset();
        }
        exec(m_db, "COMMIT");
    }

    void loadRecall(const RecallData& r) {
        exec(m_db,
             "CREATE TABLE RECAL(R INTEGER, R1 INTEGER, R2 INTEGER, R3 TEXT, R4 REAL, R5 INTEGER, "
             "R6 TEXT" +
                 nutrientColumns("REAL") + ")");
        exec(m_db, "BEGIN");
        Statement ins(m_db, "INSERT INTO RECAL VALUES(" + placeholders(7 + kNutrientCount) + ")");
        for (std::size_t i = 0; i < r.size(); ++i) {
            ins.bindInt(1, r.kind[i]);
            ins.bindInt(2, r.subject[i]);
            ins.bindInt(3, r.item[i]);
            ins.bindText(4, dbf::cp1256::toUtf8(r.name[i]));
            ins.bindNumber(5, r.amount, i);
            ins.bindInt(6, r.meal[i]);
            ins.bindText(7, r.date[i]);
            for (int k = 0; k < kNutrientCount; ++k)
                ins.bindNumber(8 + k, r.nutrients[static_cast<std::size_t>(k)], i);
            ins.step();
            ins.reset();
        }
        exec(m_db, "COMMIT");
    }

    sqlite3* m_db = nullptr;
    std::unique_ptr<Statement> m_recipeBound;
    std::unique_ptr<Statement> m_recallBound;
};

// SQLite with the sums prepared once; the row queries as before.
class BoundSums : public Side {
  public:
    explicit BoundSums(SqliteSide& s) : m_s(s) {}
    RowsResult rows(RowQuery query, const RowParams& params) override {
        return m_s.rows(query, params);
    }
    SumsResult recipeSum(int recipe, const std::string& divisor) override {
        return m_s.recipeSumBound(recipe, divisor);
    }
    SumsResult recallSum(int subject) override { return m_s.recallSumBound(subject); }

  private:
    SqliteSide& m_s;
};

}  // namespace

std::unique_ptr<Side> makeSqliteSide(const BenchData& data) {
    return std::make_unique<SqliteSide>(data);
}

std::string sqlitePlans(Side& sqlite) {
    auto& s = static_cast<SqliteSide&>(sqlite);
    const RowParams p;
    const std::pair<const char*, std::vector<std::string>> statements[] = {
        {"listing", rowStatement(RowQuery::Listing, p)},
        {"name search", rowStatement(RowQuery::NameEnglish, p)},
        {"range search", rowStatement(RowQuery::Range, p)},
        {"ranking", rowStatement(RowQuery::Ranking, p)},
        {"recipe sums", recipeSumStatement(1, "2.5")},
        {"recall sums", recallSumStatement(1)},
    };
    std::string out;
    for (const auto& [name, lines] : statements)
        out += std::string("  ") + name + ": " + s.plan(lines) + "\n";
    return out;
}

std::unique_ptr<Side> makeSqliteBoundSums(Side& sqlite) {
    return std::make_unique<BoundSums>(static_cast<SqliteSide&>(sqlite));
}

}  // namespace bench

// Our engine: the program's statements through dbf::Query, read through the DataSet
// interface the way the program reads its results.
#include "sides.h"

#if HALVORA_BENCH_HAVE_QUERY
#include "dbf/query.h"
#include "dbf/table.h"
#endif

#include <stdexcept>

namespace bench {

#if HALVORA_BENCH_HAVE_QUERY
namespace {

class OursSide : public Side {
  public:
    // Opens the tables as the program's main form does: they stay open for its life, so
    // the shared stores (and their decoded columns) outlive each query.
    OursSide(const std::filesystem::path& dir, bool walk) : m_walk(walk) {
        for (auto [table, name] :
             {std::pair{&m_foods, "Foods.DBF"}, std::pair{&m_contents, "CONTENTS.DBF"},
              std::pair{&m_recall, "RECAL.DBF"}}) {
            table->setDirectory(dir);
            table->setTableName(name);
            table->open();
        }
        m_rows.setDirectory(dir);
        m_sums.setDirectory(dir);
    }

    RowsResult rows(RowQuery query, const RowParams& params) override {
        const bool keyed = query == RowQuery::Range || query == RowQuery::Ranking;
        dbf::Query& q = m_rows;
        q.close();
        q.setSql(rowStatement(query, params));
        q.setRequestLive(true);
        q.open();
        RowsResult r;
        const std::int64_t count = q.recordCount();
        if (!m_walk) {
            r.count = count;
            return r;
        }
        double last = 0;
        bool haveLast = false;
        for (q.first(); !q.eof(); q.next()) {
            ++r.count;
            r.codeSum += static_cast<std::int64_t>(q.value(0).asFloat());
            if (keyed) {
                const dbf::Value key = q.value(3);
                if (!key.isNull()) {
                    const double k = key.asFloat();
                    if (haveLast && k > last) r.ordered = false;
                    last = k;
                    haveLast = true;
                }
            }
            if (r.count <= kPageRows) {
                const dbf::Value en = q.value(1);
                const dbf::Value fa = q.value(2);
                r.pageBytes += static_cast<std::int64_t>((en.isNull() ? 0 : en.bytes().size()) +
                                                         (fa.isNull() ? 0 : fa.bytes().size()));
            }
        }
        if (count != r.count) throw std::runtime_error("record count differs from the rows walked");
        return r;
    }

    SumsResult recipeSum(int recipe, const std::string& divisor) override {
        return sums(recipeSumStatement(recipe, divisor));
    }
    SumsResult recallSum(int subject) override { return sums(recallSumStatement(subject)); }

  private:
    SumsResult sums(std::vector<std::string> lines) {
        dbf::Query& q = m_sums;
        q.close();
        q.setSql(std::move(lines));
        q.setRequestLive(false);
        q.open();
        SumsResult r;
        r.values.assign(kNutrientCount, 0.0);
        r.nulls.assign(kNutrientCount, 1);
        if (q.fieldCount() != kNutrientCount) throw std::runtime_error("wrong number of sums");
        if (!q.eof()) {
            for (int i = 0; i < kNutrientCount; ++i) {
                const dbf::Value v = q.value(i);
                if (v.isNull()) continue;
                r.values[static_cast<std::size_t>(i)] = v.asFloat();
                r.nulls[static_cast<std::size_t>(i)] = 0;
            }
        }
        q.close();
        return r;
    }

    bool m_walk = true;
    dbf::Table m_foods;  // as the program's DBF2, DBF4 and DBF8
    dbf::Table m_contents;
    dbf::Table m_recall;
    dbf::Query m_rows;  // as the program's Query1
    dbf::Query m_sums;  // as its Query2
};

}  // namespace

bool oursAvailable() { return true; }
std::unique_ptr<Side> makeOursSide(const std::filesystem::path& dir, bool walk) {
    return std::make_unique<OursSide>(dir, walk);
}

#else

bool oursAvailable() { return false; }
std::unique_ptr<Side> makeOursSide(const std::filesystem::path&, bool) {
    throw std::runtime_error("this build has no query engine");
}

#endif

}  // namespace bench

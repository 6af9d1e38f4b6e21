#pragma once
// A statement parsed, bound to its tables and planned; it runs as often as asked, each
// time on the tables' current data.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "binder.h"
#include "plan.h"
#include "result_set.h"

namespace dbf::sql {

class PreparedStatement {
  public:
    // Raises DbfError for a malformed statement, a missing table or an unknown field.
    static std::unique_ptr<PreparedStatement> prepare(std::string_view text,
                                                      const std::filesystem::path& dir);

    const std::vector<OutputColumn>& columns() const { return m_statement.columns; }
    std::unique_ptr<ResultSet> execute() const;

  private:
    friend class StatementCache;

    // A bound constant that holds a number literal of the text as written.
    struct LiteralSite {
        Bound* node;
        int literal;
    };

    PreparedStatement() = default;
    // The constants that still hold their literal, and the literals the binding used up
    // (folded, ORDER BY k) with their values: those a re-use must match.
    void findLiterals(const std::vector<double>& literals);
    // Whether the literals the binding used up hold the same values and neither the
    // directory nor any table (all held again) changed since the statement was bound.
    bool stillFits(const std::vector<double>& literals,
                   std::filesystem::file_time_type dirStamp) const;
    // Takes other values of the same literals and the column names the new text gives
    // them, and plans again (the plan copies constants).
    void rebind(const std::vector<double>& literals, std::string_view text,
                const std::vector<std::pair<int, int>>& tokenSpans);

    BoundStatement m_statement;
    Plan m_plan;  // points into m_statement

    // Kept by the statement cache.
    std::string m_cacheKey;  // empty: not to be cached
    std::vector<LiteralSite> m_sites;
    std::vector<std::pair<int, double>> m_fixed;
    std::vector<std::uint64_t> m_versions;  // of the tables when they were bound
    std::filesystem::file_time_type m_dirStamp;
};

}  // namespace dbf::sql

#pragma once
// A statement parsed, bound to its tables and planned; it runs as often as asked, each
// time on the tables' current data.
#include <filesystem>
#include <memory>
#include <string_view>

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
    PreparedStatement() = default;

    BoundStatement m_statement;
    Plan m_plan;  // points into m_statement
};

}  // namespace dbf::sql

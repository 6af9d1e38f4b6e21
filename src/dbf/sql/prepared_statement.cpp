#include "prepared_statement.h"

#include "executor.h"
#include "parser.h"

namespace dbf::sql {

std::unique_ptr<PreparedStatement> PreparedStatement::prepare(std::string_view text,
                                                              const std::filesystem::path& dir) {
    const SelectStatement parsed = parseStatement(text);
    std::unique_ptr<PreparedStatement> p(new PreparedStatement);
    p->m_statement = bindStatement(parsed, dir);
    p->m_plan = makePlan(p->m_statement);
    return p;
}

std::unique_ptr<ResultSet> PreparedStatement::execute() const {
    return sql::execute(m_statement, m_plan);
}

}  // namespace dbf::sql

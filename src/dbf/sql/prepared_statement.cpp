#include "prepared_statement.h"

#include "../table_store.h"
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

void PreparedStatement::findLiterals(const std::vector<double>& literals) {
    m_sites.clear();
    m_fixed.clear();
    std::vector<Bound*> stack;
    for (auto& col : m_statement.columns) stack.push_back(col.expr.get());
    if (m_statement.where) stack.push_back(m_statement.where.get());
    for (auto& key : m_statement.orderBy) stack.push_back(key.expr.get());
    std::vector<bool> held(literals.size(), false);
    while (!stack.empty()) {
        Bound* b = stack.back();
        stack.pop_back();
        if (b->isConstant() && b->literal >= 0 &&
            static_cast<std::size_t>(b->literal) < literals.size()) {
            m_sites.push_back({b, b->literal});
            held[static_cast<std::size_t>(b->literal)] = true;
        }
        for (auto& a : b->args) stack.push_back(a.get());
    }
    for (std::size_t i = 0; i < literals.size(); ++i)
        if (!held[i]) m_fixed.emplace_back(static_cast<int>(i), literals[i]);
}

bool PreparedStatement::stillFits(const std::vector<double>& literals,
                                  std::filesystem::file_time_type dirStamp) const {
    for (const auto& [literal, value] : m_fixed)
        if (literals[static_cast<std::size_t>(literal)] != value) return false;
    if (dirStamp != m_dirStamp) return false;
    const auto& tables = m_statement.tables;
    for (std::size_t i = 0; i < tables.size(); ++i) {
        if (!tables[i].store) return false;
        tables[i].store->syncWithDisk();
        if (tables[i].store->version() != m_versions[i]) return false;
    }
    return true;
}

void PreparedStatement::rebind(const std::vector<double>& literals, std::string_view text,
                               const std::vector<std::pair<int, int>>& tokenSpans) {
    for (const auto& site : m_sites)
        site.node->number = site.node->sign * literals[static_cast<std::size_t>(site.literal)];
    for (auto& col : m_statement.columns) {
        if (col.nameFirstToken < 0) continue;
        const int from = tokenSpans[static_cast<std::size_t>(col.nameFirstToken)].first;
        const int to = tokenSpans[static_cast<std::size_t>(col.nameLastToken)].second;
        const std::string_view name =
            text.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from));
        if (col.info.name != name) col.info.name.assign(name);
        if (col.info.displayLabel != name) col.info.displayLabel.assign(name);
    }
    m_plan = makePlan(m_statement);
}

}  // namespace dbf::sql

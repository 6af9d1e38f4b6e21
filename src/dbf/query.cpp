#include "query.h"

#include <new>

#include "errors.h"
#include "sql/prepared_statement.h"
#include "sql/result_set.h"
#include "sql/statement_cache.h"

namespace dbf {

Query::Query() = default;

Query::~Query() { unprepare(); }

void Query::unprepare() { sql::StatementCache::release(std::move(m_prepared)); }

void Query::setDirectory(std::filesystem::path dir) {
    m_dir = std::move(dir);
    unprepare();
}

void Query::setSql(std::vector<std::string> lines) {
    close();
    unprepare();
    m_lines = std::move(lines);
}

std::string Query::statementText() const {
    std::string text;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (i > 0) text += ' ';
        text += m_lines[i];
    }
    return text;
}

void Query::prepare() {
    unprepare();
    m_prepared = sql::StatementCache::prepare(statementText(), m_dir);
}

void Query::open() {
    if (!m_prepared) prepare();
    // The result is read-only whether or not a live result was asked for.
    try {
        m_result = m_prepared->execute();
    } catch (const std::bad_alloc&) {
        throw DbfError("There is not enough memory for the statement: " + statementText());
    }
    setOpenState(true, m_result->fields());
}

void Query::close() {
    if (!isOpen() && !m_result) return;
    m_result.reset();
    setOpenState(false, {});
}

std::size_t Query::rowCount() const { return m_result ? m_result->rowCount() : 0; }

Value Query::valueAt(std::size_t position, int fieldIndex) const {
    if (!m_result || position >= m_result->rowCount()) return Value::null();
    return m_result->value(position, fieldIndex);
}

}  // namespace dbf

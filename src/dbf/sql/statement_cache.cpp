#include "statement_cache.h"

#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "../errors.h"
#include "../table_store.h"
#include "lexer.h"

namespace dbf::sql {
namespace {

// The tokens of a text with every number literal replaced by a mark, and the literals'
// values and the tokens' places apart.
struct Shape {
    std::string key;
    std::vector<double> literals;
    std::vector<std::pair<int, int>> spans;  // 1-based start and end of every token
};

bool lexShape(std::string_view text, const std::string& dir, Shape& out) {
    out.key.assign(dir);
    out.key += '\0';
    out.literals.clear();
    out.spans.clear();
    try {
        Lexer lexer(text);
        for (Token t = lexer.next(); t.kind != Token::Kind::End; t = lexer.next()) {
            out.spans.emplace_back(t.position, t.position + t.length);
            switch (t.kind) {
                case Token::Kind::Number:
                    out.key += '\1';
                    out.literals.push_back(t.number);
                    break;
                case Token::Kind::String:  // its length first: a text may hold any byte
                    out.key += '\2';
                    out.key += std::to_string(t.text.size());
                    out.key += ':';
                    out.key += t.text;
                    break;
                default:
                    out.key += t.text;
                    break;
            }
            out.key += ' ';
        }
    } catch (const DbfError&) {
        return false;  // the parser reports the text's first mistake
    }
    return true;
}

struct Entry {
    std::unique_ptr<PreparedStatement> statement;
    std::vector<std::weak_ptr<TableStore>> stores;
};

bool dirStamp(const std::filesystem::path& dir, std::filesystem::file_time_type& stamp) {
    std::error_code ec;
    stamp = std::filesystem::last_write_time(dir, ec);
    return !ec;
}

class Cache {
  public:
    // The entry of `key`, out of the cache (a statement serves one user at a time).
    std::optional<Entry> take(const std::string& key) {
        std::lock_guard lock(m_mutex);
        const auto found = m_index.find(key);
        if (found == m_index.end()) return std::nullopt;
        const auto it = found->second;
        Entry entry = std::move(it->second);
        m_index.erase(found);
        m_order.erase(it);
        return entry;
    }

    void count(bool hit) {
        std::lock_guard lock(m_mutex);
        ++(hit ? m_hits : m_misses);
    }

    void put(std::string key, Entry entry) {
        std::lock_guard lock(m_mutex);
        if (const auto found = m_index.find(key); found != m_index.end()) {
            m_order.erase(found->second);
            m_index.erase(found);
        }
        m_order.emplace_front(key, std::move(entry));
        m_index.emplace(std::move(key), m_order.begin());
        while (m_order.size() > StatementCache::kCapacity) {
            m_index.erase(m_order.back().first);
            m_order.pop_back();
        }
    }

    StatementCache::Counts counts() {
        std::lock_guard lock(m_mutex);
        return {m_hits, m_misses, m_order.size()};
    }

    void clear() {
        std::lock_guard lock(m_mutex);
        m_index.clear();
        m_order.clear();
        m_hits = m_misses = 0;
    }

  private:
    std::mutex m_mutex;
    std::list<std::pair<std::string, Entry>> m_order;  // most recently used first
    std::unordered_map<std::string, std::list<std::pair<std::string, Entry>>::iterator> m_index;
    std::size_t m_hits = 0;
    std::size_t m_misses = 0;
};

Cache& cache() {
    static Cache c;
    return c;
}

}  // namespace

std::unique_ptr<PreparedStatement> StatementCache::prepare(std::string_view text,
                                                           const std::filesystem::path& dir) {
    thread_local Shape shape;
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(dir, ec);
    std::filesystem::file_time_type stamp;
    const bool cacheable = !ec && dirStamp(dir, stamp) && lexShape(text, absolute.native(), shape);
    if (cacheable) {
        if (auto entry = cache().take(shape.key)) {
            PreparedStatement& kept = *entry->statement;
            auto& tables = kept.m_statement.tables;
            for (std::size_t i = 0; i < tables.size(); ++i)
                tables[i].store = entry->stores[i].lock();
            if (kept.stillFits(shape.literals, stamp)) {
                cache().count(true);
                kept.rebind(shape.literals, text, shape.spans);
                return std::move(entry->statement);
            }
        }
    }
    cache().count(false);
    auto statement = PreparedStatement::prepare(text, dir);
    if (cacheable) {
        statement->m_cacheKey = shape.key;
        statement->findLiterals(shape.literals);
        statement->m_dirStamp = stamp;
        for (const auto& t : statement->m_statement.tables)
            statement->m_versions.push_back(t.store->version());
    }
    return statement;
}

void StatementCache::release(std::unique_ptr<PreparedStatement> statement) {
    if (!statement || statement->m_cacheKey.empty()) return;
    Entry entry;
    // The cache holds its tables weakly: a table nobody has open is let go.
    for (auto& t : statement->m_statement.tables) {
        entry.stores.push_back(t.store);
        t.store.reset();
    }
    std::string key = statement->m_cacheKey;
    entry.statement = std::move(statement);
    cache().put(std::move(key), std::move(entry));
}

StatementCache::Counts StatementCache::counts() { return cache().counts(); }

void StatementCache::clear() { cache().clear(); }

}  // namespace dbf::sql

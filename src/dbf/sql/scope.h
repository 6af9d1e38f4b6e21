#pragma once
// The tables a statement or a filter text names, and the binding of its expressions
// against them: fields looked up in every table (or in the one a qualifier names),
// types given to every node, constants folded.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "../table_store.h"
#include "../text_compare.h"
#include "ast.h"
#include "bound.h"

namespace dbf::sql {

struct ScopeTable {
    std::string name;   // as written
    std::string alias;  // may be empty
    const TableStore* store;
    std::unordered_map<std::string, int> fieldsByName = {};  // upper case; filled on first use

    // A statement of 113 sums names 226 fields: a hash beats a scan of 116 names each.
    int fieldIndex(const std::string& fieldName) {
        if (fieldsByName.empty()) {
            const auto& fields = store->fields();
            for (std::size_t i = 0; i < fields.size(); ++i)
                fieldsByName.emplace(upperAscii(fields[i].name), static_cast<int>(i));
        }
        const auto it = fieldsByName.find(upperAscii(fieldName));
        return it == fieldsByName.end() ? -1 : it->second;
    }
};

class Scope {
  public:
    explicit Scope(std::vector<ScopeTable> tables);
    ~Scope();

    // Raise DbfError naming an unknown or ambiguous field or a wrongly typed expression.
    BoundPtr condition(const Expr& e);                    // must be a condition
    BoundPtr value(const Expr& e, bool allowAggregates);  // must not be one
    const TableStore& store(int table) const;
    int tableCount() const;

  private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
};

// The error form of binding: the message and the expression's position.
[[noreturn]] void failAt(const Expr& at, const std::string& message);

}  // namespace dbf::sql

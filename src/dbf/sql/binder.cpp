#include "binder.h"

#include <cmath>

#include "../errors.h"
#include "../number_text.h"
#include "../table_store.h"
#include "../text_compare.h"
#include "scope.h"

namespace dbf::sql {

BoundPtr bindCondition(const Expr& condition, const TableStore& store) {
    Scope scope({ScopeTable{store.tableName(), "", &store}});
    return scope.condition(condition);
}

BoundStatement bindStatement(const SelectStatement& statement, const std::filesystem::path& dir) {
    BoundStatement out;
    std::vector<ScopeTable> scopeTables;
    if (statement.tables.size() > 16) throw DbfError("A statement can read at most 16 tables");
    for (const auto& t : statement.tables) {
        for (const auto& other : out.tables)
            if (!t.alias.empty() && equalsNoCase(other.alias, t.alias))
                throw DbfError("The alias '" + t.alias + "' is declared twice");
        out.tables.push_back({t.name, t.alias, TableStore::open(dir, t.name)});
    }
    for (const auto& t : out.tables) scopeTables.push_back({t.name, t.alias, t.store.get()});
    Scope scope(std::move(scopeTables));

    bool anyAggregate = false;
    bool anyPlain = false;
    const Expr* firstPlain = nullptr;
    for (const auto& item : statement.items) {
        if (!item.expr) {  // *: every field of every table
            for (int t = 0; t < scope.tableCount(); ++t) {
                const auto& fields = scope.store(t).fields();
                for (std::size_t f = 0; f < fields.size(); ++f) {
                    auto b = std::make_unique<Bound>();
                    b->kind = Bound::Kind::Column;
                    b->table = t;
                    b->field = static_cast<int>(f);
                    out.columns.push_back({fieldInfoFor(fields[f]), std::move(b)});
                }
            }
            anyPlain = true;
            continue;
        }
        OutputColumn col;
        col.expr = scope.value(*item.expr, true);
        if (col.expr->isColumn()) {
            col.info = fieldInfoFor(
                scope.store(col.expr->table).fields()[static_cast<std::size_t>(col.expr->field)]);
        } else {
            col.info.name = item.text;
            if (item.alias.empty()) {
                col.nameFirstToken = item.firstToken;
                col.nameLastToken = item.lastToken;
            }
            const bool counts = col.expr->kind == Bound::Kind::Aggregate &&
                                col.expr->aggregate == AggregateFn::Count;
            col.info.type = col.expr->type == ValueType::Text ? DataType::String
                            : counts                          ? DataType::Integer
                                                              : DataType::Float;
            col.info.size =
                col.expr->type == ValueType::Text ? static_cast<int>(col.expr->text.size()) : 8;
            col.info.displayWidth = col.expr->type == ValueType::Text ? col.info.size : 15;
        }
        if (!item.alias.empty()) col.info.name = item.alias;
        col.info.displayLabel = col.info.name;
        if (col.expr->kind == Bound::Kind::Aggregate) {
            anyAggregate = true;
        } else if (!col.expr->isConstant()) {
            anyPlain = true;
            if (!firstPlain) firstPlain = item.expr.get();
        }
        out.columns.push_back(std::move(col));
    }
    for (const auto& col : out.columns) {
        // Aggregates may only stand at the top of an item: SUM(N8)+1 sums nothing per row.
        std::vector<const Bound*> stack{col.expr.get()};
        while (!stack.empty()) {
            const Bound* b = stack.back();
            stack.pop_back();
            for (const auto& a : b->args) {
                if (a->kind == Bound::Kind::Aggregate)
                    throw DbfError("An aggregate must be a whole select item: " + col.info.name);
                stack.push_back(a.get());
            }
        }
    }
    if (anyAggregate && anyPlain)
        throw DbfError("A field outside an aggregate cannot be selected with aggregates" +
                       (firstPlain ? " (position " + std::to_string(firstPlain->position) + ")"
                                   : std::string()));
    out.aggregate = anyAggregate;

    if (statement.where) out.where = scope.condition(*statement.where);

    for (const auto& item : statement.orderBy) {
        OrderKey key;
        key.descending = item.descending;
        const Expr& e = *item.expr;
        if (e.kind == Expr::Kind::Number) {  // ORDER BY 2: the second select item
            const double k = e.number;
            if (k != std::floor(k) || k < 1 || k > static_cast<double>(statement.items.size()) ||
                !statement.items[static_cast<std::size_t>(k) - 1].expr)
                failAt(e, "ORDER BY " + formatGeneral(k) + " names no select item");
            key.expr = scope.value(*statement.items[static_cast<std::size_t>(k) - 1].expr, false);
        } else {
            const Expr* target = &e;
            if (e.kind == Expr::Kind::Column && e.qualifier.empty()) {
                for (const auto& si : statement.items)
                    if (si.expr && !si.alias.empty() && equalsNoCase(si.alias, e.name))
                        target = si.expr.get();
            }
            key.expr = scope.value(*target, false);
        }
        if (key.expr->type == ValueType::Other) failAt(e, "A memo field cannot be sorted");
        out.orderBy.push_back(std::move(key));
    }
    return out;
}

}  // namespace dbf::sql

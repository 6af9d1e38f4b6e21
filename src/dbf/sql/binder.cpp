#include "binder.h"

#include <cmath>
#include <unordered_map>

#include "../codepage1256.h"
#include "../errors.h"
#include "../number_text.h"
#include "../table_store.h"
#include "../text_compare.h"

namespace dbf::sql {
namespace {

[[noreturn]] void fail(const Expr& at, const std::string& message) {
    throw DbfError(message + " (position " + std::to_string(at.position) + ")");
}

std::string stem(std::string_view fileName) {
    if (fileName.size() > 4 && equalsNoCase(fileName.substr(fileName.size() - 4), ".DBF"))
        fileName.remove_suffix(4);
    return std::string(fileName);
}

BoundPtr constant(double number) {
    auto b = std::make_unique<Bound>();
    b->number = number;
    return b;
}

BoundPtr nullConstant() {
    auto b = constant(0);
    b->isNull = true;
    return b;
}

BoundPtr booleanConstant(bool value) {
    auto b = constant(value ? 1 : 0);
    b->type = ValueType::Boolean;
    return b;
}

double arith(ArithOp op, double a, double b) {
    switch (op) {
        case ArithOp::Add:
            return a + b;
        case ArithOp::Subtract:
            return a - b;
        case ArithOp::Multiply:
            return a * b;
        case ArithOp::Divide:
            return a / b;
    }
    return 0;
}

struct ScopeTable {
    std::string name;
    std::string alias;
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
    explicit Scope(std::vector<ScopeTable> tables) : m_tables(std::move(tables)) {}

    BoundPtr condition(const Expr& e) {
        auto b = bind(e, false);
        if (b->type != ValueType::Boolean) fail(e, "A condition is expected here");
        return b;
    }
    BoundPtr value(const Expr& e, bool allowAggregates) {
        auto b = bind(e, allowAggregates);
        if (b->type == ValueType::Boolean) fail(e, "A condition cannot be selected");
        return b;
    }
    const TableStore& store(int table) const {
        return *m_tables[static_cast<std::size_t>(table)].store;
    }
    int tableCount() const { return static_cast<int>(m_tables.size()); }

  private:
    BoundPtr bind(const Expr& e, bool allowAggregates) {
        switch (e.kind) {
            case Expr::Kind::Number:
                return constant(e.number);
            case Expr::Kind::Null:
                return nullConstant();
            case Expr::Kind::String: {
                auto b = constant(0);
                b->type = ValueType::Text;
                b->text = std::string(trimTrailing(e.text));
                return b;
            }
            case Expr::Kind::Column:
                return column(e);
            case Expr::Kind::Negate: {
                auto operand = number(*e.args[0], allowAggregates);
                if (operand->isConstant()) {
                    operand->number = -operand->number;
                    return operand;
                }
                auto b = std::make_unique<Bound>();
                b->kind = Bound::Kind::Negate;
                b->args.push_back(std::move(operand));
                return b;
            }
            case Expr::Kind::Arith: {
                auto left = number(*e.args[0], allowAggregates);
                auto right = number(*e.args[1], allowAggregates);
                if (left->isConstant() && right->isConstant()) {
                    if (left->isNull || right->isNull) return nullConstant();
                    // Division by zero gives an empty value, as every other undefined result.
                    const double v = arith(e.arith, left->number, right->number);
                    return std::isfinite(v) ? constant(v) : nullConstant();
                }
                auto b = std::make_unique<Bound>();
                b->kind = Bound::Kind::Arith;
                b->arith = e.arith;
                b->args.push_back(std::move(left));
                b->args.push_back(std::move(right));
                return b;
            }
            case Expr::Kind::Compare:
                return comparison(e);
            case Expr::Kind::Between:
                return between(e);
            case Expr::Kind::Like:
                return like(e);
            case Expr::Kind::IsNull: {
                auto operand = bind(*e.args[0], false);
                if (operand->type == ValueType::Boolean) fail(e, "IS NULL needs a value");
                if (operand->isConstant()) return booleanConstant(operand->isNull != e.negated);
                auto b = std::make_unique<Bound>();
                b->kind = Bound::Kind::IsNull;
                b->type = ValueType::Boolean;
                b->negated = e.negated;
                b->args.push_back(std::move(operand));
                return b;
            }
            case Expr::Kind::And:
            case Expr::Kind::Or:
            case Expr::Kind::Not: {
                auto b = std::make_unique<Bound>();
                b->kind = e.kind == Expr::Kind::And  ? Bound::Kind::And
                          : e.kind == Expr::Kind::Or ? Bound::Kind::Or
                                                     : Bound::Kind::Not;
                b->type = ValueType::Boolean;
                for (const auto& arg : e.args) b->args.push_back(condition(*arg));
                return b;
            }
            case Expr::Kind::Aggregate: {
                if (!allowAggregates) fail(e, "An aggregate is not allowed here");
                auto b = std::make_unique<Bound>();
                b->kind = Bound::Kind::Aggregate;
                b->aggregate = e.aggregate;
                if (!e.args.empty()) {
                    if (e.aggregate == AggregateFn::Count) {
                        auto arg = bind(*e.args[0], false);
                        if (arg->type == ValueType::Boolean || arg->type == ValueType::Other)
                            fail(*e.args[0], "COUNT needs a number or a text");
                        b->args.push_back(std::move(arg));
                    } else {
                        b->args.push_back(number(*e.args[0], false));
                    }
                }
                return b;
            }
        }
        fail(e, "Unsupported expression");
    }

    static std::string_view trimTrailing(std::string_view s) {
        while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
        return s;
    }

    BoundPtr column(const Expr& e) {
        int foundTable = -1;
        int foundField = -1;
        bool qualifierKnown = e.qualifier.empty();
        for (int t = 0; t < tableCount(); ++t) {
            ScopeTable& table = m_tables[static_cast<std::size_t>(t)];
            if (!e.qualifier.empty()) {
                const bool named = equalsNoCase(e.qualifier, table.alias) ||
                                   equalsNoCase(e.qualifier, table.name) ||
                                   equalsNoCase(e.qualifier, stem(table.name));
                if (!named) continue;
                qualifierKnown = true;
            }
            const int f = table.fieldIndex(e.name);
            if (f < 0) continue;
            if (foundTable >= 0)
                fail(e, "Field '" + e.name + "' is ambiguous: both " +
                            m_tables[static_cast<std::size_t>(foundTable)].name + " and " +
                            table.name + " have it");
            foundTable = t;
            foundField = f;
        }
        if (!qualifierKnown) fail(e, "Table or alias '" + e.qualifier + "' not found");
        if (foundTable < 0) {
            const std::string shown = e.qualifier.empty() ? e.name : e.qualifier + "." + e.name;
            fail(e, "Field '" + shown + "' not found");
        }
        auto b = std::make_unique<Bound>();
        b->kind = Bound::Kind::Column;
        b->table = foundTable;
        b->field = foundField;
        const FieldDef& def = store(foundTable).fields()[static_cast<std::size_t>(foundField)];
        b->type = def.type == FieldType::Character ? ValueType::Text
                  : def.isMemoLike()               ? ValueType::Other
                                                   : ValueType::Number;
        return b;
    }

    // An operand of arithmetic or of an aggregate: a number.
    BoundPtr number(const Expr& e, bool allowAggregates) {
        auto b = bind(e, allowAggregates);
        if (b->type != ValueType::Number)
            fail(e, "'" + describe(e) + "' is not a number and cannot be used in arithmetic");
        return b;
    }

    static std::string describe(const Expr& e) {
        if (e.kind == Expr::Kind::Column) return e.name;
        if (e.kind == Expr::Kind::String) return e.text;
        return "expression";
    }

    // Brings two or three operands of a comparison to one type: text stays text when all
    // are text; otherwise text fields are read as numbers row by row, and a quoted text
    // must be a number already here.
    void unify(std::vector<BoundPtr>& operands, const std::vector<const Expr*>& exprs) {
        bool anyNumber = false;
        for (std::size_t i = 0; i < operands.size(); ++i) {
            const ValueType t = operands[i]->type;
            if (t == ValueType::Other)
                fail(*exprs[i], "The memo field '" + describe(*exprs[i]) + "' cannot be compared");
            if (t == ValueType::Boolean) fail(*exprs[i], "A value is expected here");
            if (t == ValueType::Number) anyNumber = true;
        }
        if (!anyNumber) return;
        for (std::size_t i = 0; i < operands.size(); ++i) {
            auto& op = operands[i];
            if (op->type != ValueType::Text) continue;
            if (op->isConstant()) {
                const auto n = parseFloat(op->text);
                if (!n)
                    fail(*exprs[i], "'" + exprs[i]->text +
                                        "' is not a number and cannot be compared with a number");
                op->type = ValueType::Number;
                op->number = *n;
                op->text.clear();
            } else {
                auto wrap = std::make_unique<Bound>();
                wrap->kind = Bound::Kind::TextToNumber;
                wrap->args.push_back(std::move(op));
                op = std::move(wrap);
            }
        }
    }

    BoundPtr comparison(const Expr& e) {
        std::vector<BoundPtr> ops;
        ops.push_back(bind(*e.args[0], false));
        ops.push_back(bind(*e.args[1], false));
        unify(ops, {e.args[0].get(), e.args[1].get()});
        for (const auto& op : ops)
            if (op->isConstant() && op->isNull) return booleanConstant(false);
        auto b = std::make_unique<Bound>();
        b->kind = Bound::Kind::Compare;
        b->type = ValueType::Boolean;
        b->compare = e.compare;
        b->args = std::move(ops);
        return b;
    }

    BoundPtr between(const Expr& e) {
        std::vector<BoundPtr> ops;
        for (const auto& arg : e.args) ops.push_back(bind(*arg, false));
        unify(ops, {e.args[0].get(), e.args[1].get(), e.args[2].get()});
        for (const auto& op : ops)
            if (op->isConstant() && op->isNull) return booleanConstant(false);
        auto b = std::make_unique<Bound>();
        b->kind = Bound::Kind::Between;
        b->type = ValueType::Boolean;
        b->negated = e.negated;
        b->args = std::move(ops);
        return b;
    }

    BoundPtr like(const Expr& e) {
        auto subject = bind(*e.args[0], false);
        if (subject->type != ValueType::Text)
            fail(e, "LIKE needs a text field, and '" + describe(*e.args[0]) + "' is not one");
        auto b = std::make_unique<Bound>();
        b->kind = Bound::Kind::Like;
        b->type = ValueType::Boolean;
        b->negated = e.negated;
        std::string pattern = e.args[1]->text;
        cp1256::foldForSearch(pattern);
        b->like = std::make_shared<const LikePattern>(std::move(pattern));
        b->args.push_back(std::move(subject));
        return b;
    }

    std::vector<ScopeTable> m_tables;
};

}  // namespace

FieldInfo fieldInfoFor(const FieldDef& f) {
    FieldInfo info;
    info.name = f.name;
    info.displayLabel = f.name;
    info.size = f.length;
    info.decimals = f.decimals;
    info.displayWidth = f.length;
    switch (f.type) {
        case FieldType::Character:
            info.type = DataType::String;
            break;
        case FieldType::Numeric:
            info.type = f.decimals == 0 ? DataType::Integer : DataType::Float;
            break;
        case FieldType::Integer:
            info.type = DataType::Integer;
            info.displayWidth = 11;
            break;
        case FieldType::Currency:
            info.type = DataType::Currency;
            info.displayWidth = 20;
            break;
        case FieldType::Date:
            info.type = DataType::Date;
            info.displayWidth = 10;
            break;
        case FieldType::DateTime:
            info.type = DataType::DateTime;
            info.displayWidth = 18;
            break;
        case FieldType::Logical:
            info.type = DataType::Boolean;
            break;
        case FieldType::Memo:
            info.type = DataType::Memo;
            info.displayWidth = 10;
            break;
        case FieldType::General:
        case FieldType::Picture:
            info.type = DataType::Blob;
            info.displayWidth = 10;
            break;
        case FieldType::Double:
            info.type = DataType::Float;
            info.displayWidth = 20;
            break;
        default:
            info.type = DataType::Float;
            break;
    }
    return info;
}

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
                fail(e, "ORDER BY " + std::to_string(static_cast<long long>(k)) +
                            " names no select item");
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
        if (key.expr->type == ValueType::Other) fail(e, "A memo field cannot be sorted");
        out.orderBy.push_back(std::move(key));
    }
    return out;
}

}  // namespace dbf::sql

#include "scope.h"

#include <cmath>

#include "../codepage1256.h"
#include "../errors.h"
#include "../number_text.h"
#include "../table_store.h"
#include "../text_compare.h"

namespace dbf::sql {
namespace {

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

}  // namespace

[[noreturn]] void failAt(const Expr& at, const std::string& message) {
    throw DbfError(message + " (position " + std::to_string(at.position) + ")");
}

class Scope::Impl {
  public:
    explicit Impl(std::vector<ScopeTable> tables) : m_tables(std::move(tables)) {}

    BoundPtr condition(const Expr& e) {
        auto b = bind(e, false);
        if (b->type != ValueType::Boolean) failAt(e, "A condition is expected here");
        return b;
    }
    BoundPtr value(const Expr& e, bool allowAggregates) {
        auto b = bind(e, allowAggregates);
        if (b->type == ValueType::Boolean) failAt(e, "A condition cannot be selected");
        return b;
    }
    const TableStore& store(int table) const {
        return *m_tables[static_cast<std::size_t>(table)].store;
    }
    int tableCount() const { return static_cast<int>(m_tables.size()); }

  private:
    BoundPtr bind(const Expr& e, bool allowAggregates) {
        switch (e.kind) {
            case Expr::Kind::Number: {
                auto b = constant(e.number);
                b->literal = e.literal;
                return b;
            }
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
                    operand->sign = -operand->sign;
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
                if (operand->type == ValueType::Boolean) failAt(e, "IS NULL needs a value");
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
                if (!allowAggregates) failAt(e, "An aggregate is not allowed here");
                auto b = std::make_unique<Bound>();
                b->kind = Bound::Kind::Aggregate;
                b->aggregate = e.aggregate;
                if (!e.args.empty()) {
                    if (e.aggregate == AggregateFn::Count) {
                        auto arg = bind(*e.args[0], false);
                        if (arg->type == ValueType::Boolean || arg->type == ValueType::Other)
                            failAt(*e.args[0], "COUNT needs a number or a text");
                        b->args.push_back(std::move(arg));
                    } else {
                        b->args.push_back(number(*e.args[0], false));
                    }
                }
                return b;
            }
        }
        failAt(e, "Unsupported expression");
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
                failAt(e, "Field '" + e.name + "' is ambiguous: both " +
                              m_tables[static_cast<std::size_t>(foundTable)].name + " and " +
                              table.name + " have it");
            foundTable = t;
            foundField = f;
        }
        if (!qualifierKnown) failAt(e, "Table or alias '" + e.qualifier + "' not found");
        if (foundTable < 0) {
            const std::string shown = e.qualifier.empty() ? e.name : e.qualifier + "." + e.name;
            failAt(e, "Field '" + shown + "' not found");
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
            failAt(e, "'" + describe(e) + "' is not a number and cannot be used in arithmetic");
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
                failAt(*exprs[i],
                       "The memo field '" + describe(*exprs[i]) + "' cannot be compared");
            if (t == ValueType::Boolean) failAt(*exprs[i], "A value is expected here");
            if (t == ValueType::Number) anyNumber = true;
        }
        if (!anyNumber) return;
        for (std::size_t i = 0; i < operands.size(); ++i) {
            auto& op = operands[i];
            if (op->type != ValueType::Text) continue;
            if (op->isConstant()) {
                const auto n = parseFloat(op->text);
                if (!n)
                    failAt(*exprs[i], "'" + exprs[i]->text +
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
            failAt(e, "LIKE needs a text field, and '" + describe(*e.args[0]) + "' is not one");
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

Scope::Scope(std::vector<ScopeTable> tables) : m_impl(std::make_unique<Impl>(std::move(tables))) {}
Scope::~Scope() = default;
BoundPtr Scope::condition(const Expr& e) { return m_impl->condition(e); }
BoundPtr Scope::value(const Expr& e, bool allowAggregates) {
    return m_impl->value(e, allowAggregates);
}
const TableStore& Scope::store(int table) const { return m_impl->store(table); }
int Scope::tableCount() const { return m_impl->tableCount(); }

}  // namespace dbf::sql

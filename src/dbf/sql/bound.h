#pragma once
// Expressions with their names looked up: columns are (table, field) positions and every
// node knows its type. Shared by statements and filter texts.
#include <memory>
#include <string>
#include <vector>

#include "ast.h"
#include "like.h"

namespace dbf::sql {

enum class ValueType { Number, Text, Boolean, Other /* memo and blob fields */ };

struct Bound {
    enum class Kind {
        Constant,      // `number`, or `text` for a Text constant; `isNull` for NULL
        Column,        // `table`, `field`
        TextToNumber,  // the text of args[0] read as a number (null when it is none)
        Negate,
        Arith,
        Compare,
        Between,
        Like,  // args[0] LIKE `like`
        IsNull,
        And,
        Or,
        Not,
        Aggregate,  // `aggregate` over args[0]; COUNT(*) has none
    };
    Kind kind = Kind::Constant;
    ValueType type = ValueType::Number;
    bool isNull = false;
    double number = 0;
    std::string text;                         // Text constant
    std::shared_ptr<const LikePattern> like;  // LIKE pattern, folded
    int table = -1;
    int field = -1;
    CompareOp compare = CompareOp::Equal;
    ArithOp arith = ArithOp::Add;
    AggregateFn aggregate = AggregateFn::Sum;
    bool negated = false;
    // A constant that is the text's number literal `literal` as written (times `sign`):
    // a cached statement takes new values there. -1 for every other node.
    int literal = -1;
    double sign = 1;
    std::vector<std::unique_ptr<Bound>> args;

    bool isConstant() const { return kind == Kind::Constant; }
    bool isColumn() const { return kind == Kind::Column; }
};

using BoundPtr = std::unique_ptr<Bound>;

}  // namespace dbf::sql

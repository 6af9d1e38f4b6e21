#pragma once
// The syntax tree of statements and filter texts, as written: names are not yet
// looked up (the binder does that).
#include <memory>
#include <string>
#include <vector>

namespace dbf::sql {

enum class CompareOp { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };
enum class ArithOp { Add, Subtract, Multiply, Divide };
enum class AggregateFn { Sum, Count, Avg, Min, Max };

struct Expr {
    enum class Kind {
        Number,   // `number`
        String,   // `text`
        Null,     // the word NULL
        Column,   // `qualifier` (may be empty) and `name`
        Negate,   // -args[0]
        Arith,    // args[0] `arith` args[1]
        Compare,  // args[0] `compare` args[1]
        Between,  // args[0] BETWEEN args[1] AND args[2]  (`negated`: NOT BETWEEN)
        Like,     // args[0] LIKE args[1]                 (`negated`: NOT LIKE)
        IsNull,   // args[0] IS NULL                      (`negated`: IS NOT NULL)
        And,
        Or,
        Not,
        Aggregate,  // `aggregate`(args[0]); COUNT(*) has no argument
    };
    Kind kind = Kind::Number;
    double number = 0;
    std::string text;
    std::string qualifier;
    std::string name;
    CompareOp compare = CompareOp::Equal;
    ArithOp arith = ArithOp::Add;
    AggregateFn aggregate = AggregateFn::Sum;
    bool negated = false;
    std::vector<std::unique_ptr<Expr>> args;
    int position = 0;  // 1-based position of the expression's first character
    int end = 0;       // 1-based position just after its last character
    int literal = -1;  // Number: its place among the text's number literals
};

using ExprPtr = std::unique_ptr<Expr>;

struct SelectItem {
    ExprPtr expr;       // null for `*`
    std::string text;   // the item as written (names an expression column)
    std::string alias;  // AS name, or empty
    int position = 0;
    int firstToken = -1;  // the tokens `text` spans (indexes, both included)
    int lastToken = -1;
};

struct TableRef {
    std::string name;   // as written: FOODS.dbf, Foods
    std::string alias;  // empty when none was declared
    int position = 0;
};

struct OrderItem {
    ExprPtr expr;
    bool descending = false;
};

struct SelectStatement {
    std::vector<SelectItem> items;
    std::vector<TableRef> tables;
    ExprPtr where;  // may be null
    std::vector<OrderItem> orderBy;
};

}  // namespace dbf::sql

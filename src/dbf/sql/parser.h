#pragma once
// Recursive-descent parser of the local SQL and of table filter texts.
//
//   statement := SELECT item {, item} FROM table {, table} [WHERE expr]
//                [ORDER BY expr [ASC|DESC] {, ...}] [;]
//   item      := * | expr [[AS] alias]          table := name[.ext] | 'name' [[AS] alias]
//   expr      := and {OR and}                   and   := not {AND not}
//   not       := NOT not | predicate
//   predicate := sum [cmp sum | [NOT] BETWEEN sum AND sum | [NOT] LIKE string
//                     | IS [NOT] NULL]
//   sum       := term {(+|-) term}              term  := unary {(*|/) unary}
//   unary     := - unary | + unary | primary
//   primary   := number | string | NULL | ( expr ) | fn ( expr ) | COUNT(*) | name[.name]
#include <string_view>

#include "ast.h"

namespace dbf::sql {

// Raises DbfError naming the offending token and its position.
SelectStatement parseStatement(std::string_view text);

// A whole text that is one condition (a filter text).
ExprPtr parseCondition(std::string_view text);

}  // namespace dbf::sql

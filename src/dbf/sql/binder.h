#pragma once
// Looks the names of a statement or filter up against its tables: tables by file name
// (any case, ".DBF" optional), fields by name in every table of FROM (or in the one a
// qualifier names), and gives every expression its type.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../dataset.h"
#include "../field_def.h"
#include "../field_info.h"
#include "ast.h"
#include "bound.h"

namespace dbf {
class TableStore;
}

namespace dbf::sql {

struct BoundTable {
    std::string name;   // as written in FROM
    std::string alias;  // may be empty
    std::shared_ptr<TableStore> store;
};

struct OutputColumn {
    FieldInfo info;  // name and type of the result field
    BoundPtr expr;
    // The tokens of the select item whose text names the column (both included); -1 when
    // a field or an alias names it.
    int nameFirstToken = -1;
    int nameLastToken = -1;
};

struct OrderKey {
    BoundPtr expr;
    bool descending = false;
};

struct BoundStatement {
    std::vector<BoundTable> tables;
    std::vector<OutputColumn> columns;
    BoundPtr where;  // may be null
    std::vector<OrderKey> orderBy;
    bool aggregate = false;  // one result row of aggregates
};

// Opens the tables of FROM in `dir`. Raises DbfError naming a missing table, an unknown
// or ambiguous field, or an expression of the wrong type.
BoundStatement bindStatement(const SelectStatement& statement, const std::filesystem::path& dir);

// A condition over the fields of one table (a filter text); columns get table 0.
BoundPtr bindCondition(const Expr& condition, const TableStore& store);

using dbf::fieldInfoFor;

}  // namespace dbf::sql

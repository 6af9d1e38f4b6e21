#pragma once
// The one form of the messages about malformed statement and filter texts: they name
// the offending token and its 1-based character position.
#include <string>

#include "../errors.h"

namespace dbf::sql {

inline DbfError syntaxError(int position, const std::string& detail) {
    return DbfError("Syntax error at position " + std::to_string(position) + ": " + detail);
}

}  // namespace dbf::sql

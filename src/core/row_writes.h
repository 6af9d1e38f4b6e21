#pragma once
// Writing one row as the handlers do: a new row appended, or the current row edited, its
// values set by `fill`, then posted. A value the table refuses cancels the row, so nothing
// half-written stays pending to be posted later behind the user's back; the error goes on
// to the default error display.
#include "dbf/table.h"

namespace core {

template <typename Fill>
void appendRow(dbf::Table& table, Fill&& fill) {
    try {
        table.append();
        fill(table);
        table.post();
    } catch (...) {
        table.cancel();
        throw;
    }
}

template <typename Fill>
void editRow(dbf::Table& table, Fill&& fill) {
    try {
        table.edit();
        fill(table);
        table.post();
    } catch (...) {
        table.cancel();
        throw;
    }
}

}  // namespace core

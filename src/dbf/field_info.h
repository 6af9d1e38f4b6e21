#pragma once
// What a data set tells of a table field: its type, size and display width.
#include "dataset.h"
#include "field_def.h"

namespace dbf {

FieldInfo fieldInfoFor(const FieldDef& field);

}  // namespace dbf

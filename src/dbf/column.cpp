#include "column.h"

namespace dbf {

Value Column::value(std::uint32_t row) const {
    if (isNull(row)) return Value::null();
    switch (kind) {
        case Kind::Text: return Value::string(std::string(textAt(row)));
        case Kind::Other: return values[row];
        case Kind::Number: break;
    }
    const double d = numbers[row];
    switch (field.type) {
        case FieldType::Integer: return Value::integer(static_cast<std::int64_t>(d));
        case FieldType::Numeric:
            return field.decimals == 0 ? Value::integer(static_cast<std::int64_t>(d)) : Value::real(d);
        case FieldType::Currency: return Value::currency(d);
        case FieldType::Date: return Value::date(d);
        case FieldType::DateTime: return Value::dateTime(d);
        case FieldType::Logical: return Value::boolean(d != 0);
        default: return Value::real(d);
    }
}

}  // namespace dbf

#include "field_info.h"

namespace dbf {

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

}  // namespace dbf

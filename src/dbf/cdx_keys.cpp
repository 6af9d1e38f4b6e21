#include "cdx_keys.h"

#include <bit>
#include <cmath>

#include "date_value.h"

namespace dbf {
namespace {
void putBigEndian(std::string& out, std::uint64_t bits, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
}

// Dates key as their Julian day number; a date-time adds the time of day as the fraction.
double dateKeyValue(const FieldDef& field, const Value& value) {
    if (value.isNull()) return 0;
    const double days = value.asDate();
    const double julian = static_cast<double>(julianDayFromDays(days));
    if (field.type == FieldType::DateTime) return julian + (days - std::floor(days));
    return julian;
}
}  // namespace

std::string cdxNumberKey(double value) {
    if (value == 0) value = 0;  // folds minus zero into zero
    std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    bits = (bits & 0x8000000000000000ULL) ? ~bits : bits ^ 0x8000000000000000ULL;
    std::string out;
    putBigEndian(out, bits, 8);
    return out;
}

std::optional<std::uint16_t> cdxFieldKeyLength(const FieldDef& field, std::uint16_t storedLength) {
    if (field.isSystem() || field.isNullable()) return std::nullopt;
    switch (field.type) {
        case FieldType::Character:
            if (field.length == 0) return std::nullopt;
            return field.length;
        case FieldType::Integer:
            return storedLength == 4 ? 4 : 8;
        case FieldType::Numeric:
        case FieldType::Float:
        case FieldType::Double:
        case FieldType::Currency:
        case FieldType::Date:
        case FieldType::DateTime:
            return 8;
        case FieldType::Logical:
            return 1;
        default:
            return std::nullopt;
    }
}

char cdxKeyPad(const FieldDef& field) { return field.type == FieldType::Character ? ' ' : '\0'; }

std::string cdxFieldKey(const FieldDef& field, const Value& value, std::uint16_t keyLength) {
    switch (field.type) {
        case FieldType::Character: {
            std::string key = value.isNull()   ? std::string()
                              : value.isText() ? value.bytes()
                                               : value.asString();
            key.resize(keyLength, ' ');
            return key;
        }
        case FieldType::Logical:
            return (!value.isNull() && value.asBoolean()) ? "T" : "F";
        case FieldType::Date:
        case FieldType::DateTime:
            return cdxNumberKey(dateKeyValue(field, value));
        default:
            break;
    }
    if (keyLength == 4) {  // a 4-byte Integer key: the value with its sign bit flipped
        const auto v = static_cast<std::int32_t>(value.isNull() ? 0 : value.asInteger());
        std::string out;
        putBigEndian(out, static_cast<std::uint32_t>(v) ^ 0x80000000U, 4);
        return out;
    }
    return cdxNumberKey(value.isNull() ? 0 : value.asFloat());
}

}  // namespace dbf

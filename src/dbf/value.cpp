#include "value.h"

#include <cmath>

#include "date_value.h"
#include "errors.h"
#include "number_text.h"

namespace dbf {
namespace {
[[noreturn]] void cannotConvert(Value::Kind from, const char* to) {
    throw ConversionError(std::string("Could not convert variant of type (") +
                          Value::typeName(from) + ") into type (" + to + ")");
}
}  // namespace

const char* Value::typeName(Kind kind) {
    switch (kind) {
        case Kind::Null:
            return "Null";
        case Kind::Integer:
            return "Integer";
        case Kind::Float:
            return "Double";
        case Kind::Currency:
            return "Currency";
        case Kind::Boolean:
            return "Boolean";
        case Kind::Date:
        case Kind::DateTime:
            return "Date";
        case Kind::String:
        case Kind::Memo:
            return "String";
        case Kind::Blob:
            return "Array Byte";
    }
    return "Unknown";
}

bool Value::isNumeric() const {
    return m_kind == Kind::Integer || m_kind == Kind::Float || m_kind == Kind::Currency ||
           m_kind == Kind::Boolean;
}

double Value::number() const {
    if (const auto* i = std::get_if<std::int64_t>(&m_data)) return static_cast<double>(*i);
    if (const auto* d = std::get_if<double>(&m_data)) return *d;
    return 0;
}

const std::string& Value::bytes() const {
    static const std::string empty;
    if (const auto* s = std::get_if<std::string>(&m_data)) return *s;
    return empty;
}

std::int64_t Value::asInteger() const {
    switch (m_kind) {
        case Kind::Integer:
        case Kind::Boolean:
            return std::get<std::int64_t>(m_data);
        case Kind::Float:
        case Kind::Currency:
        case Kind::Date:
        case Kind::DateTime: {
            const double d = std::get<double>(m_data);
            if (!(std::fabs(d) < 9.2e18)) cannotConvert(m_kind, "Integer");
            return static_cast<std::int64_t>(std::nearbyint(d));  // halves to even
        }
        case Kind::String:
        case Kind::Memo: {
            const std::string& s = bytes();
            if (const auto v = parseInteger(s)) return *v;
            throw ConversionError("'" + s + "' is not a valid integer value");
        }
        default:
            cannotConvert(m_kind, "Integer");
    }
}

double Value::asFloat() const {
    switch (m_kind) {
        case Kind::Integer:
        case Kind::Boolean:
            return static_cast<double>(std::get<std::int64_t>(m_data));
        case Kind::Float:
        case Kind::Currency:
        case Kind::Date:
        case Kind::DateTime:
            return std::get<double>(m_data);
        case Kind::String:
        case Kind::Memo: {
            const std::string& s = bytes();
            if (const auto v = parseFloat(s)) return *v;
            throw ConversionError("'" + s + "' is not a valid floating point value");
        }
        default:
            cannotConvert(m_kind, "Double");
    }
}

std::string Value::asString() const {
    switch (m_kind) {
        case Kind::Integer:
            return std::to_string(std::get<std::int64_t>(m_data));
        case Kind::Boolean:
            return std::get<std::int64_t>(m_data) ? "True" : "False";
        case Kind::Float:
        case Kind::Currency:
            return formatGeneral(std::get<double>(m_data));
        case Kind::Date:
            return isoDateText(std::get<double>(m_data), false);
        case Kind::DateTime:
            return isoDateText(std::get<double>(m_data), true);
        case Kind::String:
        case Kind::Memo:
            return bytes();
        default:
            cannotConvert(m_kind, "String");
    }
}

double Value::asDate() const {
    switch (m_kind) {
        case Kind::Date:
        case Kind::DateTime:
        case Kind::Float:
        case Kind::Currency:
            return std::get<double>(m_data);
        case Kind::Integer:
            return static_cast<double>(std::get<std::int64_t>(m_data));
        default:
            cannotConvert(m_kind, "Date");
    }
}

bool Value::asBoolean() const {
    switch (m_kind) {
        case Kind::Boolean:
        case Kind::Integer:
            return std::get<std::int64_t>(m_data) != 0;
        case Kind::Float:
        case Kind::Currency:
            return std::get<double>(m_data) != 0;
        default:
            cannotConvert(m_kind, "Boolean");
    }
}

bool Value::operator==(const Value& other) const {
    return m_kind == other.m_kind && m_data == other.m_data;
}

}  // namespace dbf

#pragma once
// A field value as the engine hands it out: null, a number, text bytes (code page
// 1256 in the program's tables), a date, or memo and blob content.
#include <cstdint>
#include <string>
#include <variant>

namespace dbf {

class Value {
  public:
    enum class Kind { Null, Integer, Float, Currency, Boolean, Date, DateTime, String, Memo, Blob };

    Value() = default;
    static Value null() { return {}; }
    static Value integer(std::int64_t v) { return Value(Kind::Integer, v); }
    static Value real(double v) { return Value(Kind::Float, v); }
    static Value currency(double v) { return Value(Kind::Currency, v); }
    static Value boolean(bool v) { return Value(Kind::Boolean, std::int64_t{v ? 1 : 0}); }
    // Days since 30 December 1899; a date-time carries the time as the fraction.
    static Value date(double days) { return Value(Kind::Date, days); }
    static Value dateTime(double days) { return Value(Kind::DateTime, days); }
    static Value string(std::string bytes) { return Value(Kind::String, std::move(bytes)); }
    static Value memo(std::string bytes) { return Value(Kind::Memo, std::move(bytes)); }
    static Value blob(std::string bytes) { return Value(Kind::Blob, std::move(bytes)); }

    Kind kind() const { return m_kind; }
    bool isNull() const { return m_kind == Kind::Null; }
    bool isNumeric() const;  // integer, float, currency, boolean
    bool isText() const { return m_kind == Kind::String || m_kind == Kind::Memo; }

    // Conversions raise ConversionError with the user-visible texts:
    // null -> "Could not convert variant of type (Null) into type (Integer)",
    // bad text -> "'abc' is not a valid integer value".
    std::int64_t asInteger() const;
    double asFloat() const;
    std::string asString() const;  // numbers in the general number format
    double asDate() const;
    bool asBoolean() const;

    // The raw payload, without conversion (valid for the matching kinds).
    double number() const;
    const std::string& bytes() const;

    // The variant type name used in conversion messages ("Null", "Integer", ...).
    static const char* typeName(Kind kind);

    bool operator==(const Value& other) const;

  private:
    Value(Kind kind, std::int64_t v) : m_kind(kind), m_data(v) {}
    Value(Kind kind, double v) : m_kind(kind), m_data(v) {}
    Value(Kind kind, std::string v) : m_kind(kind), m_data(std::move(v)) {}

    Kind m_kind = Kind::Null;
    std::variant<std::monostate, std::int64_t, double, std::string> m_data;
};

}  // namespace dbf

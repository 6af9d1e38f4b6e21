#include "text_boundary.h"

#include "dbf/codepage1256.h"
#include "dbf/errors.h"
#include "dbf/number_text.h"
#include "formats.h"

namespace core {

namespace {

// `text` between two `quote`s, every inner `quote` doubled.
std::string quoted(const std::string& text, char quote) {
    std::string out(1, quote);
    for (char c : text) {
        out += c;
        if (c == quote) out += quote;
    }
    out += quote;
    return out;
}

}  // namespace

std::string controlText(const dbf::Value& value) {
    if (value.isNull()) return {};
    if (value.isText()) return dbf::cp1256::toUtf8Farsi(value.bytes());
    if (value.kind() == dbf::Value::Kind::Date || value.kind() == dbf::Value::Kind::DateTime)
        return shortDate(value.number());
    return value.asString();
}

dbf::Value fieldText(const std::string& controlText) {
    return dbf::Value::string(dbf::cp1256::fromUtf8(controlText));
}

std::string textLiteral(const std::string& controlText) {
    return quoted(dbf::cp1256::fromUtf8(controlText), '\'');
}

std::string likePattern(const std::string& controlText) {
    return quoted("%" + dbf::cp1256::fromUtf8(controlText) + "%", '"');
}

std::string codeLiteral(std::int64_t code) { return std::to_string(code); }

std::int64_t integerOf(const std::string& controlText) {
    if (const auto v = dbf::parseInteger(dbf::cp1256::fromUtf8(controlText))) return *v;
    throw dbf::ConversionError("'" + controlText + "' is not a valid integer value");
}

double numberOf(const std::string& controlText) {
    if (const auto v = dbf::parseFloat(dbf::cp1256::fromUtf8(controlText))) return *v;
    throw dbf::ConversionError("'" + controlText + "' is not a valid floating point value");
}

std::string requiredText(const dbf::Value& value) {
    if (value.isText() && trimmed(value.bytes()).empty()) return dbf::Value::null().asString();
    return value.asString();
}

std::string trimmed(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    return text.substr(begin, end - begin);
}

}  // namespace core

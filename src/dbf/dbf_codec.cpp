// Decoding and encoding of field values inside raw records.
#include <cmath>
#include <cstring>

#include "date_value.h"
#include "dbf_file.h"
#include "errors.h"
#include "memo_file.h"
#include "number_text.h"

namespace dbf {
namespace {

const FieldDef* nullFlagsField(const std::vector<FieldDef>& fields) {
    for (const auto& f : fields)
        if (f.type == FieldType::NullFlags) return &f;
    return nullptr;
}

bool allBlank(std::string_view s) {
    for (const char c : s)
        if (c != ' ' && c != '\0') return false;
    return true;
}

std::string_view rightTrim(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.remove_suffix(1);
    return s;
}

std::int64_t readLE64(const unsigned char* p) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
    return static_cast<std::int64_t>(v);
}

void writeLE64(unsigned char* p, std::int64_t value) {
    auto v = static_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i, v >>= 8) p[i] = static_cast<unsigned char>(v);
}

std::uint32_t memoBlock(std::string_view raw, bool binaryPointer) {
    if (binaryPointer) return readLE32(reinterpret_cast<const unsigned char*>(raw.data()));
    const auto text = trimBlanks(raw);
    if (text.empty()) return 0;
    const auto n = parseInteger(text);
    return n && *n > 0 ? static_cast<std::uint32_t>(*n) : 0;
}

std::string describe(const FieldDef& f) {
    std::string s = f.name + " (" + static_cast<char>(f.type) + " " + std::to_string(f.length);
    if (f.decimals) s += "." + std::to_string(f.decimals);
    return s + ")";
}

double numberFor(const FieldDef& f, const Value& v) {
    if (v.isText()) {
        if (const auto n = parseFloat(v.bytes())) return *n;
        throw ConversionError("'" + v.bytes() + "' is not a valid floating point value");
    }
    (void)f;
    return v.asFloat();
}

}  // namespace

bool DbfFile::isNullIn(std::string_view rec, const FieldDef& field) const {
    if (field.nullBit >= 0) {
        if (const FieldDef* flags = nullFlagsField(m_fields)) {
            const auto byte = static_cast<unsigned char>(rec[flags->offset + field.nullBit / 8]);
            if (byte & (1u << (field.nullBit % 8))) return true;
        }
    }
    const std::string_view raw = rec.substr(field.offset, field.length);
    switch (field.type) {
        case FieldType::Numeric:
        case FieldType::Float:
        case FieldType::Date:
            return allBlank(raw);
        default:
            return false;
    }
}

Value DbfFile::decode(std::string_view rec, const FieldDef& field) const {
    if (isNullIn(rec, field)) return Value::null();
    const std::string_view raw = rec.substr(field.offset, field.length);
    const auto* u = reinterpret_cast<const unsigned char*>(raw.data());
    switch (field.type) {
        case FieldType::Character:
            return Value::string(std::string(rightTrim(raw)));
        case FieldType::Numeric:
        case FieldType::Float: {
            const auto text = trimBlanks(raw);
            if (field.decimals == 0 && field.type == FieldType::Numeric)
                if (const auto i = parseInteger(text)) return Value::integer(*i);
            if (const auto d = parseFloat(text)) return Value::real(*d);
            return Value::null();  // an overflow mark ("*****") or garbage holds no number
        }
        case FieldType::Integer:
            return Value::integer(static_cast<std::int32_t>(readLE32(u)));
        case FieldType::Double: {
            double d;
            std::memcpy(&d, raw.data(), sizeof d);
            // Not a number is no value: it reads as empty, so it sorts and groups as nulls do
            // instead of comparing unequal to itself.
            if (std::isnan(d)) return Value::null();
            return Value::real(d);
        }
        case FieldType::Currency:
            return Value::currency(static_cast<double>(readLE64(u)) / 10000.0);
        case FieldType::Date: {
            const auto days = daysFromDbfDate(raw);
            return days ? Value::date(*days) : Value::null();
        }
        case FieldType::DateTime: {
            const auto julian = static_cast<std::int32_t>(readLE32(u));
            const auto ms = static_cast<std::int32_t>(readLE32(u + 4));
            if (julian == 0 && ms == 0) return Value::null();
            if (allBlank(raw)) return Value::null();
            return Value::dateTime(daysFromJulianDay(julian) + ms / 86400000.0);
        }
        case FieldType::Logical: {
            const char c = raw.empty() ? ' ' : raw[0];
            if (c == 'T' || c == 't' || c == 'Y' || c == 'y') return Value::boolean(true);
            if (c == 'F' || c == 'f' || c == 'N' || c == 'n') return Value::boolean(false);
            return Value::null();
        }
        case FieldType::Memo:
        case FieldType::General:
        case FieldType::Picture: {
            const std::uint32_t block = memoBlock(raw, field.length == 4);
            if (block == 0 || !m_memo) return Value::null();
            std::uint32_t type = 0;
            std::string data = m_memo->read(block, &type);
            if (field.type == FieldType::Memo && type == MemoFile::Text)
                return Value::memo(std::move(data));
            return Value::blob(std::move(data));
        }
        case FieldType::NullFlags:
            return Value::null();
    }
    return Value::null();
}

std::string DbfFile::blankRecord() const {
    std::string rec(m_header.recordLength, ' ');
    for (const auto& f : m_fields) {
        const bool binary = f.type == FieldType::Integer || f.type == FieldType::Double ||
                            f.type == FieldType::Currency || f.type == FieldType::DateTime ||
                            f.type == FieldType::NullFlags || (f.isMemoLike() && f.length == 4);
        if (binary) std::memset(rec.data() + f.offset, 0, f.length);
    }
    // New rows of Visual FoxPro tables start null wherever a field allows it.
    if (const FieldDef* flags = nullFlagsField(m_fields)) {
        for (const auto& f : m_fields)
            if (f.nullBit >= 0)
                rec[flags->offset + f.nullBit / 8] =
                    static_cast<char>(rec[flags->offset + f.nullBit / 8] | (1 << (f.nullBit % 8)));
    }
    return rec;
}

void DbfFile::encode(std::string& rec, const FieldDef& field, const Value& value) {
    char* raw = rec.data() + field.offset;
    auto* u = reinterpret_cast<unsigned char*>(raw);
    const FieldDef* flags = nullFlagsField(m_fields);
    auto setNullBit = [&](bool isNull) {
        if (field.nullBit < 0 || !flags) return;
        char& byte = rec[flags->offset + field.nullBit / 8];
        const int mask = 1 << (field.nullBit % 8);
        byte = static_cast<char>(isNull ? (byte | mask) : (byte & ~mask));
    };
    const bool binary = field.type == FieldType::Integer || field.type == FieldType::Double ||
                        field.type == FieldType::Currency || field.type == FieldType::DateTime ||
                        (field.isMemoLike() && field.length == 4);
    if (value.isNull() || (value.isText() && field.type != FieldType::Character &&
                           !field.isMemoLike() && trimBlanks(value.bytes()).empty())) {
        // Without a null flag a binary field stores its blank form (zero), as FoxPro does.
        std::memset(raw, binary ? 0 : ' ', field.length);
        setNullBit(true);
        return;
    }
    setNullBit(false);
    switch (field.type) {
        case FieldType::Character: {
            const std::string text = value.isText() ? value.bytes() : value.asString();
            if (rightTrim(text).size() > field.length)
                throw DbfError("The text is too long for field " + describe(field) + ": " +
                               std::to_string(text.size()) + " characters");
            std::memset(raw, ' ', field.length);
            std::memcpy(raw, text.data(), std::min<std::size_t>(text.size(), field.length));
            return;
        }
        case FieldType::Numeric:
        case FieldType::Float: {
            const double d = numberFor(field, value);
            const std::string text = formatFixed(d, field.decimals);
            if (text.size() > field.length)
                throw DbfError("The number " + formatGeneral(d) + " does not fit field " +
                               describe(field));
            std::memset(raw, ' ', field.length);
            std::memcpy(raw + field.length - text.size(), text.data(), text.size());
            return;
        }
        case FieldType::Integer: {
            const double d = numberFor(field, value);
            const double r = std::nearbyint(d);
            if (r < -2147483648.0 || r > 2147483647.0)
                throw DbfError("The number " + formatGeneral(d) + " does not fit field " +
                               describe(field));
            writeLE32(u, static_cast<std::uint32_t>(static_cast<std::int32_t>(r)));
            return;
        }
        case FieldType::Double: {
            const double d = numberFor(field, value);
            std::memcpy(raw, &d, sizeof d);
            return;
        }
        case FieldType::Currency: {
            const double d = numberFor(field, value) * 10000.0;
            if (!(std::fabs(d) < 9.2e18))
                throw DbfError("The number does not fit field " + describe(field));
            writeLE64(u, static_cast<std::int64_t>(std::llround(d)));
            return;
        }
        case FieldType::Date: {
            const double days = value.isText() ? [&] {
                const auto parsed = daysFromDbfDate(std::string(trimBlanks(value.bytes())));
                if (!parsed) throw ConversionError("'" + value.bytes() + "' is not a valid date");
                return *parsed;
            }()
                                               : value.asDate();
            const std::string text = dbfDateFromDays(days);
            if (text.size() != 8) throw DbfError("The date does not fit field " + describe(field));
            std::memcpy(raw, text.data(), 8);
            return;
        }
        case FieldType::DateTime: {
            const double days = value.asDate();
            const double day = std::floor(days);
            auto ms = static_cast<std::int32_t>(std::llround((days - day) * 86400000.0));
            writeLE32(u, static_cast<std::uint32_t>(julianDayFromDays(day)));
            writeLE32(u + 4, static_cast<std::uint32_t>(ms));
            return;
        }
        case FieldType::Logical:
            raw[0] = value.asBoolean() ? 'T' : 'F';
            return;
        case FieldType::Memo:
        case FieldType::General:
        case FieldType::Picture: {
            if (!m_memo) throw DbfError(m_path.filename().string() + " has no memo file");
            const std::string data = value.isText() || value.kind() == Value::Kind::Blob
                                         ? value.bytes()
                                         : value.asString();
            const auto type = field.type == FieldType::Memo ? MemoFile::Text : MemoFile::Picture;
            // Unchanged content keeps its blocks; anything else goes to new blocks, and
            // only then is the pointer changed.
            const std::uint32_t old = memoBlock({raw, field.length}, field.length == 4);
            if (old != 0) {
                try {
                    if (m_memo->read(old) == data) return;
                } catch (const DbfError&) {
                    // a damaged old memo is simply replaced
                }
            }
            const std::uint32_t block = m_memo->write(data, type);
            if (field.length == 4) {
                writeLE32(u, block);
            } else {
                const std::string text = std::to_string(block);
                std::memset(raw, ' ', field.length);
                std::memcpy(raw + field.length - text.size(), text.data(), text.size());
            }
            return;
        }
        case FieldType::NullFlags:
            return;
    }
}

}  // namespace dbf

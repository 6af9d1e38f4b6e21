#pragma once
// One field of a DBF table as its descriptor in the file header gives it.
#include <cstdint>
#include <string>

namespace dbf {

// The DBF type letters the engine reads and writes.
enum class FieldType : char {
    Character = 'C',
    Numeric = 'N',
    Float = 'F',
    Integer = 'I',
    Double = 'B',
    Currency = 'Y',
    Date = 'D',
    DateTime = 'T',
    Logical = 'L',
    Memo = 'M',
    General = 'G',
    Picture = 'P',
    NullFlags = '0',  // the hidden _NullFlags system field of Visual FoxPro
};

struct FieldDef {
    std::string name;  // as stored (upper case in files FoxPro wrote)
    FieldType type = FieldType::Character;
    std::uint8_t length = 0;
    std::uint8_t decimals = 0;
    std::uint8_t flags = 0;  // Visual FoxPro field flags (0x01 system, 0x02 nullable, 0x04 binary)
    std::uint32_t offset = 0;  // byte offset inside the record (the deletion flag is byte 0)
    int nullBit = -1;          // bit in _NullFlags that marks a null, or -1

    bool isSystem() const { return (flags & 0x01) != 0; }
    bool isNullable() const { return (flags & 0x02) != 0; }
    bool isMemoLike() const {
        return type == FieldType::Memo || type == FieldType::General || type == FieldType::Picture;
    }
    bool isNumber() const {
        return type == FieldType::Numeric || type == FieldType::Float ||
               type == FieldType::Integer || type == FieldType::Double ||
               type == FieldType::Currency;
    }
};

}  // namespace dbf

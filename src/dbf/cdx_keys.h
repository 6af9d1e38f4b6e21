#pragma once
// Index key bytes as FoxPro builds them under machine collation, so that comparing the bytes
// (memcmp) gives the order of the values.
#include <cstdint>
#include <optional>
#include <string>

#include "field_def.h"
#include "value.h"

namespace dbf {

// A number as 8 bytes: the big-endian IEEE double with the sign bit flipped for values >= 0 and
// every bit inverted for negative values. Minus zero counts as zero.
std::string cdxNumberKey(double value);

// The key length FoxPro gives a key on the bare field, or nullopt when such a key cannot be
// reproduced (memo-like, system or nullable fields). `storedLength` is the length an existing
// tag already has (0 when unknown): an Integer field keeps a 4-byte key when it has one.
std::optional<std::uint16_t> cdxFieldKeyLength(const FieldDef& field, std::uint16_t storedLength);

// The byte FoxPro trims from the end of keys of this field: blank for characters, else zero.
char cdxKeyPad(const FieldDef& field);

// The key of one field value. An empty (null) value keys as the blank field does: blanks, zero,
// the empty date (day 0) or "F".
std::string cdxFieldKey(const FieldDef& field, const Value& value, std::uint16_t keyLength);

}  // namespace dbf

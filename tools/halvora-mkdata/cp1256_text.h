#pragma once
// Text for the tables: UTF-8 from the source files, code page 1256 in the tables.
#include <string>
#include <string_view>

namespace mkdata {

// The code page 1256 bytes of a UTF-8 text (Persian yeh and digits mapped as the engine maps
// them). Raises MkdataError naming `what` when a character has no byte in the code page, so
// that no text ever reaches a table with a '?' in place of a letter.
std::string toCp1256(std::string_view utf8, std::string_view what);

// The text trimmed of blanks at both ends.
std::string trimmed(std::string_view text);

}  // namespace mkdata

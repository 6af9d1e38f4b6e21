#pragma once
// Plain text helpers of the report unit. Text is UTF-8; positions are 1-based
// byte positions as the report engine counts them, 0 meaning "not found".
#include <string>
#include <string_view>

namespace wordproc::helpers {

// Single-byte text in a code page to Unicode (UTF-8). Code pages 1256 (Arabic,
// Windows), 1252, 28591 (Latin-1) and 65001 (UTF-8); empty text gives empty text.
std::string codePageToUnicode(std::string_view bytes, int codePage);

// "Dec 31 1999", enclosed in double quotes when `quoted`.
std::string dateText(bool quoted, int year, int month, int day);
// The same for a date value (days since 30 December 1899; the time of day is ignored).
std::string dateText(bool quoted, double dateValue);

// Every occurrence of `from`, found comparing upper-cased copies, replaced by
// `to`, non-overlapping, left to right.
std::string replaceAllNoCase(std::string_view text, std::string_view from, std::string_view to);
// The same, case-sensitive.
std::string replaceAllExact(std::string_view text, std::string_view from, std::string_view to);

// The text after the first `open` up to the next `close`; empty when either is missing.
std::string textBetween(std::string_view text, std::string_view open, std::string_view close);

struct Block {
    size_t position = 0;  // of the first `open`, 1-based; 0 when none
    std::string inner;    // between open and the next close; empty without a close
    size_t length = 0;    // from open to the end of close
};
Block blockSearch(std::string_view text, std::string_view open, std::string_view close);

// Every CR LF first becomes LF, then every LF becomes CR LF.
std::string normalizeLineBreaks(std::string_view text);
// For document values: every CR LF, then every remaining CR, becomes LF.
std::string normalizeLineBreaksWide(std::string_view text);

}  // namespace wordproc::helpers

#pragma once
// Plain text helpers of the report component. Text is UTF-8; positions are 1-based
// byte positions, 0 meaning "not found".
#include <string>
#include <string_view>

namespace report::helpers {

// Single-byte text in a code page to Unicode (UTF-8): code pages 1256 (Arabic,
// Windows; the table engine's own table), 1252, 28591 (Latin-1) and 65001 (UTF-8).
// Empty text gives empty text; another code page raises ReportError.
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
// Upper-cased copy with the same byte positions (the folds used keep UTF-8 lengths).
std::string upperKeepingPositions(std::string_view text);

// The text after the first `open` up to the next `close`; empty when either is missing.
std::string textBetween(std::string_view text, std::string_view open, std::string_view close);

struct Block {
    size_t position = 0;  // of the first `open`, 1-based; 0 when none
    std::string inner;    // between open and the next close; empty without a close
    size_t length = 0;    // from open to the end of close; 0 without a close
};
// Case is ignored when `noCase`.
Block blockSearch(std::string_view text, std::string_view open, std::string_view close,
                  bool noCase = false);

// Every CR LF first becomes LF, then every LF becomes CR LF.
std::string normalizeLineBreaks(std::string_view text);
// For document values: every CR LF, then every remaining CR, becomes LF.
std::string normalizeLineBreaksWide(std::string_view text);

// Blanks and control characters trimmed from both ends, as the component trims.
std::string trimmed(std::string_view text);

}  // namespace report::helpers

#pragma once
// The tag language of report templates: its literals and one small grammar for every
// construct the component interprets. Shaped like the SQL engine: a lexer turns a piece
// of text into tokens, a parser turns the tokens into a small tree.
//
//   tag        := PREFIX body POSTFIX
//   body       := "REPEAT:" NAME | "/REPEAT:" NAME | "REPFOR:" NAME | "/REPFOR:" NAME
//               | "table:" NAME | "txttable:" NAME
//               | NAME "." "*"                         -- the record count of COUNT(...)
//               | NAME "." FIELD [ ":" FORMAT ]        -- a field (FORMAT only in SUM(...))
//               | NAME                                 -- a custom value
//               | TEXT                                 -- an open tag, for OnTag
//   sum        := "SUM(" PREFIX NAME "." FIELD [ ":" FORMAT ] POSTFIX ")"
//   count      := "COUNT(" PREFIX NAME ".*" POSTFIX ")"
//   cell       := "" | "*" TEXT | FIELD [ ":" ( "IMG" | "RTF" | "TXT" | FORMAT ) ]
//   condition  := "%IF " TEXT "%THEN" TEXT "%ELSE" TEXT "%ENDIF"      -- TEXT an integer
//   numerator  := "%N" DIGITS [ "+" | "S" | CHAR ]
//   pool       := "<DataPool>" { TEXT entry } "</DataPool>"
//   entry      := "<DS:" NAME ">" TEXT "</DS>" | "<EXEC" NAME ">" TEXT "</EXEC>"
//               | "<RUNMACRO:" NAME ">"
//
// Keywords are matched ignoring case (the component upper-cases names); blanks are
// significant inside tags: "<# REGIM.D6>" is an open tag, not a field.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace report {

namespace words {
inline constexpr std::string_view kSum = "SUM(";
inline constexpr std::string_view kCount = "COUNT(";
inline constexpr std::string_view kClose = ")";
inline constexpr std::string_view kRepeat = "REPEAT:";
inline constexpr std::string_view kRepeatEnd = "/REPEAT:";
inline constexpr std::string_view kRepfor = "REPFOR:";
inline constexpr std::string_view kRepforEnd = "/REPFOR:";
inline constexpr std::string_view kTable = "table:";
inline constexpr std::string_view kTextTable = "txttable:";
inline constexpr std::string_view kIf = "%IF ";
inline constexpr std::string_view kThen = "%THEN";
inline constexpr std::string_view kElse = "%ELSE";
inline constexpr std::string_view kEndIf = "%ENDIF";
inline constexpr std::string_view kNumerator = "%N";
inline constexpr std::string_view kPoolStart = "<DataPool>";
inline constexpr std::string_view kPoolEnd = "</DataPool>";
inline constexpr std::string_view kDsEntry = "<DS:";
inline constexpr std::string_view kDsEnd = "</DS>";
inline constexpr std::string_view kExecEntry = "<EXEC";
inline constexpr std::string_view kExecEnd = "</EXEC>";
inline constexpr std::string_view kMacroEntry = "<RUNMACRO:";
inline constexpr std::string_view kConditionError = "CONDITION ERROR-";
}  // namespace words

// ---- lexer ----
enum class TokenKind { Text, Dot, Colon, Star, End };
struct Token {
    TokenKind kind;
    std::string text;
    size_t offset;  // in the lexed text
};
// Splits a tag body or cell text at ".", ":" and a leading "*"; everything after the first
// ":" is one Text token (a number format may hold dots and colons).
std::vector<Token> lexTagBody(std::string_view body);

// ---- parse trees ----
struct TagNode {
    enum class Kind {
        CustomValue,
        Field,
        Count,
        Repeat,
        RepeatEnd,
        Repfor,
        RepforEnd,
        Table,
        TextTable,
        Open
    };
    Kind kind = Kind::Open;
    std::string dataSet;  // upper case
    std::string name;     // custom value name, or field name
    std::optional<std::string> format;
    std::string text;  // the whole body
};
TagNode parseTagBody(std::string_view body);

struct CellSpec {
    enum class Kind { Static, Field, Picture, FormattedText, Text, Formatted };
    Kind kind = Kind::Static;
    std::string field;
    std::string format;  // Formatted
    // The format list entry the filler keeps: "*" for a static cell.
    std::string formatEntry() const;
};
// The cell's text trimmed, trailing characters below code 32 removed.
CellSpec parseCellSpec(std::string_view cellText);

// The text after a sum tag's field name, up to the postfix.
struct SumTail {
    enum class Kind { General, Formatted, Invalid };
    Kind kind = Kind::General;
    std::string format;
};
SumTail parseSumTail(std::string_view tail);

// A condition's text as an integer (blanks ignored; negative values become 0).
std::optional<long long> parseConditionValue(std::string_view text);

// What follows a numerator marker.
enum class NumeratorStep { Increase, Restart, Before, Replace };
NumeratorStep numeratorStep(char32_t next);

struct PoolEntry {
    enum class Kind { DataSet, Exec, Macro };
    Kind kind = Kind::DataSet;
    std::string name;  // upper case (macro names as written)
    std::string body;  // trimmed, paragraph ends turned into blanks
};
struct PoolParse {
    std::vector<PoolEntry> entries;
    bool stoppedEarly = false;  // an entry without its ">" or its end word ended the reading
};
PoolParse parsePool(std::string_view text);

}  // namespace report

#pragma once
// Where text crosses between the tables and the controls. Field values hold bytes in code
// page 1256; control texts are UTF-8. Handlers cross only here, never by hand: a forgotten
// conversion matches nothing and says nothing, so the right way is made the short way.
//
//   controlText(table.value("N3"))          a field as the user sees it
//   fieldText(form.tab.Edit4.text())        what the user typed, as a field holds it
//   "WHERE L2 = " + textLiteral(name)        a quoted text in a filter or statement
//   "WHERE N3 LIKE " + likePattern(text)     the double-quoted "contains" pattern
//   "AND CON1=" + codeLiteral(code)          a code in decimal
#include <cstdint>
#include <string>

#include "dbf/value.h"

namespace core {

// A field's value as a control shows it: text converted from code page 1256 (Persian yeh
// for Farsi readers), numbers in the general number format, dates in the short date
// format, nothing for an empty field.
std::string controlText(const dbf::Value& value);
// A control's text as a text field stores it.
dbf::Value fieldText(const std::string& controlText);

// A quoted text literal for filters and statements: single quotes, every inner single
// quote doubled, in code page 1256.
std::string textLiteral(const std::string& controlText);
// The pattern that finds the text anywhere in a field: "%text%" in double quotes, every
// inner double quote doubled, in code page 1256.
std::string likePattern(const std::string& controlText);
// A code in decimal, as filters and statements take it.
std::string codeLiteral(std::int64_t code);

// A control's text read as a number, as the program's conversions read it (blanks around
// it allowed, Persian digits read as digits); the conversion error, quoting the text as
// the user typed it ("'12ب' is not a valid integer value"), when it is none.
std::int64_t integerOf(const std::string& controlText);
double numberOf(const std::string& controlText);

// A text field's value that must hold something: a blank one reads as no value at all,
// and reading it raises the engine's conversion error, as an empty field does.
std::string requiredText(const dbf::Value& value);

// The text without the blanks (and other control characters) around it.
std::string trimmed(const std::string& text);

}  // namespace core

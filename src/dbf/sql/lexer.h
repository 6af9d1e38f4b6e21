#pragma once
// Splits statement and filter texts into tokens. One lexer serves both: the local SQL
// and the filter texts of tables share their expression grammar.
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace dbf::sql {

struct Token {
    enum class Kind {
        Identifier,  // names and keywords (keywords are told apart by the parser)
        Number,
        String,  // single- or double-quoted; `text` holds the content, doubled quotes undone
        Symbol,  // ( ) , . * / + - = <> != < > <= >= ;
        End,
    };
    Kind kind = Kind::End;
    std::string_view text;  // as written (the content for strings); valid while the lexer lives
    // The keyword in upper case when the name is a reserved word (SELECT, AND, NULL, ...),
    // which is never taken as a name or an alias; empty otherwise.
    std::string_view reserved;
    double number = 0;  // for numbers
    int position = 0;   // 1-based character position in the text
    int length = 0;     // characters the token takes in the text, quotes included
    int index = 0;      // 0-based place among the text's tokens
    int literal = -1;   // for numbers: 0-based place among the text's number literals

    bool is(std::string_view symbol) const { return kind == Kind::Symbol && text == symbol; }
    bool isKeyword(std::string_view upperWord) const;
    // How an error message shows the token: 'FROMM', or "end of text".
    std::string describe() const;
};

// Reads tokens one at a time, so that a parser meets the first mistake of a text first.
// Raises DbfError for a character the grammar has no use for, an unclosed quote or a
// malformed number ("12a"), naming it and its position.
class Lexer {
  public:
    explicit Lexer(std::string_view text) : m_text(text) {}
    Token next();  // End, again and again, once the text is used up

  private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_tokens = 0;
    int m_numbers = 0;
    std::deque<std::string> m_unescaped;  // contents of quoted texts with doubled quotes
};

}  // namespace dbf::sql

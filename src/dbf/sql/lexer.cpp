#include "lexer.h"

#include <cctype>

#include "../errors.h"
#include "../number_text.h"
#include "../text_compare.h"
#include "syntax_error.h"

namespace dbf::sql {
namespace {

bool isNameStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool isNameChar(unsigned char c) { return isNameStart(c) || std::isdigit(c); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

constexpr std::string_view kReserved[] = {
    "SELECT", "FROM", "WHERE", "AND", "OR", "NOT",  "BETWEEN", "LIKE",   "ORDER",
    "BY",     "ASC",  "DESC",  "AS",  "IS", "NULL", "GROUP",   "HAVING",
};

std::string_view reservedWord(std::string_view name) {
    if (name.size() < 2 || name.size() > 7) return {};
    for (const auto w : kReserved)
        if (equalsNoCase(name, w)) return w;
    return {};
}

}  // namespace

bool Token::isKeyword(std::string_view upperWord) const {
    if (kind != Kind::Identifier) return false;
    if (!reserved.empty()) return reserved == upperWord;  // decided once, by the lexer
    return equalsNoCase(text, upperWord);
}

std::string Token::describe() const {
    return kind == Kind::End ? "end of text" : "'" + std::string(text) + "'";
}

Token Lexer::next() {
    const std::string_view text = m_text;
    std::size_t& i = m_pos;
    const std::size_t n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
    Token t;
    t.position = static_cast<int>(i) + 1;
    t.index = m_tokens;
    if (i == n) return t;
    ++m_tokens;
    const std::size_t start = i;
    const char c = text[i];
    if (isNameStart(static_cast<unsigned char>(c))) {
        while (i < n && isNameChar(static_cast<unsigned char>(text[i]))) ++i;
        t.kind = Token::Kind::Identifier;
        t.text = text.substr(start, i - start);
        t.reserved = reservedWord(t.text);
    } else if (isDigit(c) || (c == '.' && i + 1 < n && isDigit(text[i + 1]))) {
        while (i < n && isDigit(text[i])) ++i;
        if (i < n && text[i] == '.') {
            ++i;
            while (i < n && isDigit(text[i])) ++i;
        }
        if (i < n && (text[i] == 'e' || text[i] == 'E')) {
            std::size_t j = i + 1;
            if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
            if (j < n && isDigit(text[j])) {
                i = j;
                while (i < n && isDigit(text[i])) ++i;
            }
        }
        // A number glued to letters or a second point ("12a", "1.2.3") is a typo,
        // not a number followed by a name.
        const std::size_t end = i;
        while (i < n && (isNameChar(static_cast<unsigned char>(text[i])) || text[i] == '.')) ++i;
        const std::string_view word = text.substr(start, i - start);
        const auto value = parseFloat(word);
        if (i != end || !value)
            throw syntaxError(t.position, "'" + std::string(word) + "' is not a valid number");
        t.kind = Token::Kind::Number;
        t.text = word;
        t.number = *value;
        t.literal = m_numbers++;
    } else if (c == '\'' || c == '"') {
        ++i;
        const std::size_t from = i;
        bool closed = false;
        bool doubled = false;
        while (i < n) {
            if (text[i] == c) {
                if (i + 1 < n && text[i + 1] == c) {  // a doubled quote stands for one
                    doubled = true;
                    i += 2;
                    continue;
                }
                closed = true;
                break;
            }
            ++i;
        }
        if (!closed)
            throw syntaxError(t.position, std::string("the quote ") + c + " is not closed");
        t.kind = Token::Kind::String;
        t.text = text.substr(from, i - from);
        if (doubled) {
            std::string content;
            for (std::size_t j = 0; j < t.text.size(); ++j) {
                content += t.text[j];
                if (t.text[j] == c) ++j;
            }
            m_unescaped.push_back(std::move(content));
            t.text = m_unescaped.back();
        }
        ++i;
    } else {
        static constexpr std::string_view twoChar[] = {"<>", "!=", "<=", ">="};
        t.kind = Token::Kind::Symbol;
        for (const auto sym : twoChar)
            if (text.substr(i, 2) == sym) t.text = sym;
        if (t.text.empty()) {
            if (std::string_view("(),.*/+-=<>;").find(c) == std::string_view::npos)
                throw syntaxError(t.position, "unexpected character '" + std::string(1, c) + "'");
            t.text = text.substr(i, 1);
        }
        i += t.text.size();
    }
    t.length = static_cast<int>(i - start);
    return t;
}

}  // namespace dbf::sql

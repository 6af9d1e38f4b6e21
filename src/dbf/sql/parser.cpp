#include "parser.h"

#include "lexer.h"
#include "syntax_error.h"

namespace dbf::sql {
namespace {

bool isReserved(const Token& t) { return !t.reserved.empty(); }

class Parser {
  public:
    explicit Parser(std::string_view text) : m_text(text), m_lexer(text) {}

    SelectStatement statement() {
        SelectStatement s;
        expectKeyword("SELECT");
        do s.items.push_back(selectItem());
        while (acceptSymbol(","));
        expectKeyword("FROM");
        do s.tables.push_back(tableRef());
        while (acceptSymbol(","));
        if (acceptKeyword("WHERE")) s.where = expression();
        if (acceptKeyword("ORDER")) {
            expectKeyword("BY");
            do {
                OrderItem item;
                item.expr = expression();
                if (acceptKeyword("DESC"))
                    item.descending = true;
                else
                    acceptKeyword("ASC");
                s.orderBy.push_back(std::move(item));
            } while (acceptSymbol(","));
        }
        acceptSymbol(";");
        expectEnd();
        return s;
    }

    ExprPtr condition() {
        auto e = expression();
        expectEnd();
        return e;
    }

  private:
    // How deep parentheses, signs and NOTs may nest: each level is a frame of the parser
    // and later of the binder and evaluator, so a text of thousands of them would exhaust
    // the stack. No statement a person writes comes near it.
    static constexpr int kMaxDepth = 1000;  // a parenthesis takes two
    struct Deeper {
        explicit Deeper(Parser& p) : parser(p) {
            if (++parser.m_depth > kMaxDepth)
                throw syntaxError(parser.peek().position, "the expression nests too deeply");
        }
        ~Deeper() { --parser.m_depth; }
        Parser& parser;
    };

    // The token `ahead` places on (0 or 1); tokens are read from the text only as far as
    // needed.
    const Token& peek(std::size_t ahead = 0) {
        while (m_count <= ahead) m_ahead[(m_first + m_count++) % 2] = m_lexer.next();
        return m_ahead[(m_first + ahead) % 2];
    }
    Token take() {
        const Token t = peek();
        m_first = (m_first + 1) % 2;
        --m_count;
        m_lastEnd = t.position + t.length;
        m_lastIndex = t.index;
        return t;
    }
    bool acceptSymbol(std::string_view s) {
        if (!peek().is(s)) return false;
        take();
        return true;
    }
    bool acceptKeyword(std::string_view w) {
        if (!peek().isKeyword(w)) return false;
        take();
        return true;
    }
    [[noreturn]] void fail(const std::string& expected) {
        const Token& t = peek();
        std::string detail =
            t.kind == Token::Kind::End ? "unexpected end of text" : "unexpected " + t.describe();
        if (!expected.empty()) detail += ", expected " + expected;
        throw syntaxError(t.position, detail);
    }
    void expectSymbol(std::string_view s) {
        if (!acceptSymbol(s)) fail("'" + std::string(s) + "'");
    }
    void expectKeyword(std::string_view w) {
        if (!acceptKeyword(w)) fail(std::string(w));
    }
    void expectEnd() {
        if (peek().kind != Token::Kind::End) fail("");
    }
    std::string name(const char* what) {
        const Token& t = peek();
        if (t.kind != Token::Kind::Identifier || isReserved(t)) fail(what);
        return std::string(take().text);
    }
    std::string optionalAlias() {
        if (acceptKeyword("AS")) return name("an alias");
        if (peek().kind == Token::Kind::Identifier && !isReserved(peek()))
            return std::string(take().text);
        return {};
    }

    SelectItem selectItem() {
        SelectItem item;
        item.position = peek().position;
        item.firstToken = peek().index;
        if (acceptSymbol("*")) {
            item.text = "*";
            return item;
        }
        item.expr = expression();
        item.text = std::string(m_text.substr(item.position - 1, item.expr->end - item.position));
        item.lastToken = m_lastIndex;
        item.alias = optionalAlias();
        return item;
    }

    TableRef tableRef() {
        TableRef t;
        t.position = peek().position;
        if (peek().kind == Token::Kind::String) {
            t.name = std::string(take().text);
        } else {
            t.name = name("a table name");
            if (acceptSymbol(".")) t.name += "." + name("a file name extension");
        }
        t.alias = optionalAlias();
        return t;
    }

    ExprPtr node(Expr::Kind kind, int position) {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->position = position;
        return e;
    }
    ExprPtr binary(Expr::Kind kind, ExprPtr left, ExprPtr right) {
        auto e = node(kind, left->position);
        e->end = right->end;
        e->args.push_back(std::move(left));
        e->args.push_back(std::move(right));
        return e;
    }

    ExprPtr expression() {
        auto left = conjunction();
        while (acceptKeyword("OR")) left = binary(Expr::Kind::Or, std::move(left), conjunction());
        return left;
    }
    ExprPtr conjunction() {
        auto left = negation();
        while (acceptKeyword("AND")) left = binary(Expr::Kind::And, std::move(left), negation());
        return left;
    }
    ExprPtr negation() {
        const Deeper guard(*this);
        if (peek().isKeyword("NOT")) {
            auto e = node(Expr::Kind::Not, take().position);
            e->args.push_back(negation());
            e->end = e->args[0]->end;
            return e;
        }
        return predicate();
    }

    ExprPtr predicate() {
        auto left = sum();
        static const std::pair<std::string_view, CompareOp> ops[] = {
            {"=", CompareOp::Equal},         {"<>", CompareOp::NotEqual},
            {"!=", CompareOp::NotEqual},     {"<", CompareOp::Less},
            {"<=", CompareOp::LessEqual},    {">", CompareOp::Greater},
            {">=", CompareOp::GreaterEqual},
        };
        for (const auto& [symbol, op] : ops) {
            if (acceptSymbol(symbol)) {
                auto e = binary(Expr::Kind::Compare, std::move(left), sum());
                e->compare = op;
                return e;
            }
        }
        if (acceptKeyword("IS")) {
            auto e = node(Expr::Kind::IsNull, left->position);
            e->negated = acceptKeyword("NOT");
            expectKeyword("NULL");
            e->end = m_lastEnd;
            e->args.push_back(std::move(left));
            return e;
        }
        const bool negated =
            peek().isKeyword("NOT") && (peek(1).isKeyword("BETWEEN") || peek(1).isKeyword("LIKE"));
        if (negated) take();
        if (acceptKeyword("BETWEEN")) {
            auto e = node(Expr::Kind::Between, left->position);
            e->negated = negated;
            e->args.push_back(std::move(left));
            e->args.push_back(sum());
            expectKeyword("AND");
            e->args.push_back(sum());
            e->end = e->args[2]->end;
            return e;
        }
        if (acceptKeyword("LIKE")) {
            if (peek().kind != Token::Kind::String) fail("a quoted pattern");
            auto pattern = node(Expr::Kind::String, peek().position);
            pattern->text = std::string(take().text);
            pattern->end = m_lastEnd;
            auto e = binary(Expr::Kind::Like, std::move(left), std::move(pattern));
            e->negated = negated;
            return e;
        }
        if (negated) fail("BETWEEN or LIKE");
        return left;
    }

    ExprPtr sum() {
        auto left = term();
        while (peek().is("+") || peek().is("-")) {
            const ArithOp op = take().text == "+" ? ArithOp::Add : ArithOp::Subtract;
            left = binary(Expr::Kind::Arith, std::move(left), term());
            left->arith = op;
        }
        return left;
    }
    ExprPtr term() {
        auto left = unary();
        while (peek().is("*") || peek().is("/")) {
            const ArithOp op = take().text == "*" ? ArithOp::Multiply : ArithOp::Divide;
            left = binary(Expr::Kind::Arith, std::move(left), unary());
            left->arith = op;
        }
        return left;
    }
    ExprPtr unary() {
        const Deeper guard(*this);
        if (peek().is("-") || peek().is("+")) {
            const Token& sign = take();
            const bool minus = sign.text == "-";
            auto operand = unary();
            if (!minus) {
                operand->position = sign.position;
                return operand;
            }
            auto e = node(Expr::Kind::Negate, sign.position);
            e->end = operand->end;
            e->args.push_back(std::move(operand));
            return e;
        }
        return primary();
    }

    ExprPtr primary() {
        const Token t = peek();
        if (t.kind == Token::Kind::Number) {
            auto e = node(Expr::Kind::Number, t.position);
            e->literal = t.literal;
            e->number = take().number;
            e->end = m_lastEnd;
            return e;
        }
        if (t.kind == Token::Kind::String) {
            auto e = node(Expr::Kind::String, t.position);
            e->text = std::string(take().text);
            e->end = m_lastEnd;
            return e;
        }
        if (t.isKeyword("NULL")) {
            auto e = node(Expr::Kind::Null, take().position);
            e->end = m_lastEnd;
            return e;
        }
        if (t.is("(")) {
            const int position = take().position;
            auto e = expression();
            expectSymbol(")");
            e->position = position;
            e->end = m_lastEnd;
            return e;
        }
        if (t.kind == Token::Kind::Identifier && !isReserved(t)) {
            if (peek(1).is("(")) return aggregate();
            return column();
        }
        fail("an expression");
    }

    ExprPtr aggregate() {
        static const std::pair<std::string_view, AggregateFn> fns[] = {
            {"SUM", AggregateFn::Sum}, {"COUNT", AggregateFn::Count}, {"AVG", AggregateFn::Avg},
            {"MIN", AggregateFn::Min}, {"MAX", AggregateFn::Max},
        };
        const Token t = peek();
        auto e = node(Expr::Kind::Aggregate, t.position);
        bool known = false;
        for (const auto& [word, fn] : fns) {
            if (t.isKeyword(word)) {
                e->aggregate = fn;
                known = true;
            }
        }
        if (!known) throw syntaxError(t.position, "unknown function '" + std::string(t.text) + "'");
        take();
        expectSymbol("(");
        if (e->aggregate == AggregateFn::Count && acceptSymbol("*")) {
            // COUNT(*) counts rows: no argument
        } else {
            e->args.push_back(expression());
        }
        expectSymbol(")");
        e->end = m_lastEnd;
        return e;
    }

    ExprPtr column() {
        auto e = node(Expr::Kind::Column, peek().position);
        std::vector<std::string> parts{std::string(take().text)};
        while (acceptSymbol(".")) parts.push_back(name("a field name"));
        e->name = parts.back();
        parts.pop_back();
        for (const auto& p : parts) e->qualifier += (e->qualifier.empty() ? "" : ".") + p;
        e->end = m_lastEnd;
        return e;
    }

    std::string_view m_text;
    Lexer m_lexer;
    int m_depth = 0;
    Token m_ahead[2];
    std::size_t m_first = 0;
    std::size_t m_count = 0;
    int m_lastEnd = 1;
    int m_lastIndex = -1;
};

}  // namespace

SelectStatement parseStatement(std::string_view text) { return Parser(text).statement(); }

ExprPtr parseCondition(std::string_view text) { return Parser(text).condition(); }

}  // namespace dbf::sql

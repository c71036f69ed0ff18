#include "agenda/DbfFilter.h"

#include <cctype>
#include <charconv>
#include <cstring>
#include <vector>

struct DbfFilter::Node {
    enum class Kind { Or, And, Not, Compare } kind = Kind::Compare;
    enum class Op { Eq, Ne, Lt, Gt, Le, Ge } op = Op::Eq;
    std::unique_ptr<Node> left, right;
    // Operands of a comparison: a field (index >= 0) or a literal.
    struct Operand {
        int field = -1;
        bool isString = false;
        int64_t integer = 0;
        std::string text;
    } a, b;
};

namespace {

using Node = DbfFilter::Node;

enum class Tok { End, Name, Integer, String, LParen, RParen, Op, And, Or, Not };

struct Token {
    Tok kind = Tok::End;
    std::string text;
    Node::Op op = Node::Op::Eq;
    int64_t value = 0;
    size_t at = 0;
};

bool keyword(std::string_view word, const char* kw)
{
    if (word.size() != std::strlen(kw))
        return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(word[i])) != kw[i])
            return false;
    return true;
}

DbfStatus lex(std::string_view s, std::vector<Token>& out)
{
    size_t i = 0;
    auto error = [&](const std::string& what) {
        return DbfStatus::invalid(what + " at position " + std::to_string(i + 1));
    };
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        Token t;
        t.at = i;
        if (std::isspace(c)) {
            ++i;
            continue;
        }
        if (c == '(' || c == ')') {
            t.kind = c == '(' ? Tok::LParen : Tok::RParen;
            ++i;
        } else if (c == '"' || c == '\'') {
            const size_t end = s.find(static_cast<char>(c), i + 1);
            if (end == std::string_view::npos)
                return error("unterminated string");
            t.kind = Tok::String;
            t.text = std::string(s.substr(i + 1, end - i - 1));
            i = end + 1;
        } else if (std::isdigit(c) ||
                   (c == '-' && i + 1 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1])))) {
            size_t end = i + 1;
            while (end < s.size() && std::isdigit(static_cast<unsigned char>(s[end])))
                ++end;
            const auto [p, ec] = std::from_chars(s.data() + i, s.data() + end, t.value);
            if (ec != std::errc() || p != s.data() + end)
                return error("number out of range");
            t.kind = Tok::Integer;
            i = end;
        } else if (c == '=' || c == '<' || c == '>' || c == '#' || c == '!') {
            const char next = i + 1 < s.size() ? s[i + 1] : '\0';
            t.kind = Tok::Op;
            size_t len = 1;
            if (c == '=') {
                t.op = Node::Op::Eq;
                len = next == '=' ? 2 : 1;
            } else if (c == '#') {
                t.op = Node::Op::Ne;
            } else if (c == '!') {
                if (next != '=')
                    return error("unexpected '!'");
                t.op = Node::Op::Ne;
                len = 2;
            } else if (c == '<') {
                t.op = next == '=' ? Node::Op::Le : next == '>' ? Node::Op::Ne : Node::Op::Lt;
                len = next == '=' || next == '>' ? 2 : 1;
            } else {
                t.op = next == '=' ? Node::Op::Ge : Node::Op::Gt;
                len = next == '=' ? 2 : 1;
            }
            i += len;
        } else if (std::isalpha(c) || c == '_' || c == '.') {
            const bool dotted = c == '.';
            size_t end = i + 1;
            while (end < s.size() && (std::isalnum(static_cast<unsigned char>(s[end])) || s[end] == '_'))
                ++end;
            std::string_view word = s.substr(i + (dotted ? 1 : 0), end - i - (dotted ? 1 : 0));
            if (dotted) {
                if (end >= s.size() || s[end] != '.')
                    return error("unexpected '.'");
                ++end;
            }
            if (keyword(word, "and"))
                t.kind = Tok::And;
            else if (keyword(word, "or"))
                t.kind = Tok::Or;
            else if (keyword(word, "not"))
                t.kind = Tok::Not;
            else if (dotted)
                return error("unknown operator");
            else {
                t.kind = Tok::Name;
                t.text = std::string(word);
            }
            i = end;
        } else {
            return error("unexpected character");
        }
        out.push_back(std::move(t));
    }
    Token end;
    end.at = s.size();
    out.push_back(end);
    return DbfStatus::ok();
}

class Parser {
public:
    Parser(const std::vector<Token>& tokens, const DbfHeader& header) : m_t(tokens), m_header(header) {}

    DbfStatus parse(std::unique_ptr<Node>& root)
    {
        if (DbfStatus s = orExpr(root); !s.isOk())
            return s;
        if (peek().kind != Tok::End)
            return fail("unexpected text");
        return DbfStatus::ok();
    }

private:
    const Token& peek() const { return m_t[m_pos]; }
    DbfStatus fail(const std::string& what) const
    {
        return DbfStatus::invalid(what + " at position " + std::to_string(peek().at + 1));
    }

    DbfStatus orExpr(std::unique_ptr<Node>& out) { return binary(out, Tok::Or, Node::Kind::Or, &Parser::andExpr); }
    DbfStatus andExpr(std::unique_ptr<Node>& out) { return binary(out, Tok::And, Node::Kind::And, &Parser::unary); }

    DbfStatus binary(std::unique_ptr<Node>& out, Tok tok, Node::Kind kind,
                     DbfStatus (Parser::*next)(std::unique_ptr<Node>&))
    {
        if (DbfStatus s = (this->*next)(out); !s.isOk())
            return s;
        while (peek().kind == tok) {
            ++m_pos;
            auto n = std::make_unique<Node>();
            n->kind = kind;
            n->left = std::move(out);
            if (DbfStatus s = (this->*next)(n->right); !s.isOk())
                return s;
            out = std::move(n);
        }
        return DbfStatus::ok();
    }

    DbfStatus unary(std::unique_ptr<Node>& out)
    {
        if (++m_depth > 200)
            return fail("expression nested too deeply");
        DbfStatus s;
        if (peek().kind == Tok::Not) {
            ++m_pos;
            out = std::make_unique<Node>();
            out->kind = Node::Kind::Not;
            s = unary(out->left);
        } else if (peek().kind == Tok::LParen) {
            ++m_pos;
            s = orExpr(out);
            if (s.isOk() && peek().kind != Tok::RParen)
                s = fail("')' expected");
            if (s.isOk())
                ++m_pos;
        } else {
            s = comparison(out);
        }
        --m_depth;
        return s;
    }

    DbfStatus operand(Node::Operand& o)
    {
        const Token& t = peek();
        if (t.kind == Tok::Name) {
            o.field = m_header.fieldIndex(t.text);
            if (o.field < 0)
                return fail("unknown field " + t.text);
            const char type = m_header.fields()[static_cast<size_t>(o.field)].type;
            if (type != 'C' && type != 'I')
                return fail("field " + t.text + " cannot be compared");
            o.isString = type == 'C';
        } else if (t.kind == Tok::Integer) {
            o.integer = t.value;
        } else if (t.kind == Tok::String) {
            o.isString = true;
            o.text = t.text;
        } else {
            return fail("field or value expected");
        }
        ++m_pos;
        return DbfStatus::ok();
    }

    DbfStatus comparison(std::unique_ptr<Node>& out)
    {
        auto n = std::make_unique<Node>();
        if (DbfStatus s = operand(n->a); !s.isOk())
            return s;
        if (peek().kind != Tok::Op)
            return fail("comparison expected");
        n->op = peek().op;
        ++m_pos;
        if (DbfStatus s = operand(n->b); !s.isOk())
            return s;
        if (n->a.isString != n->b.isString)
            return fail("text compared with a number");
        out = std::move(n);
        return DbfStatus::ok();
    }

    const std::vector<Token>& m_t;
    const DbfHeader& m_header;
    size_t m_pos = 0;
    int m_depth = 0;
};

// dBase with SET EXACT OFF: the right side's length decides how much of the left is compared.
int compareText(std::string_view a, std::string_view b)
{
    for (size_t i = 0; i < b.size(); ++i) {
        const unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : ' ';
        const unsigned char y = static_cast<unsigned char>(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

bool evaluate(const Node& n, const DbfRecord& r)
{
    switch (n.kind) {
    case Node::Kind::Or: return evaluate(*n.left, r) || evaluate(*n.right, r);
    case Node::Kind::And: return evaluate(*n.left, r) && evaluate(*n.right, r);
    case Node::Kind::Not: return !evaluate(*n.left, r);
    case Node::Kind::Compare: break;
    }
    int c = 0;
    if (n.a.isString) {
        const std::string_view a = n.a.field >= 0 ? r.raw(n.a.field) : std::string_view(n.a.text);
        const std::string_view b = n.b.field >= 0 ? r.raw(n.b.field) : std::string_view(n.b.text);
        c = compareText(a, b);
    } else {
        const int64_t a = n.a.field >= 0 ? r.integer(n.a.field).value_or(0) : n.a.integer;
        const int64_t b = n.b.field >= 0 ? r.integer(n.b.field).value_or(0) : n.b.integer;
        c = a < b ? -1 : a > b ? 1 : 0;
    }
    switch (n.op) {
    case Node::Op::Eq: return c == 0;
    case Node::Op::Ne: return c != 0;
    case Node::Op::Lt: return c < 0;
    case Node::Op::Gt: return c > 0;
    case Node::Op::Le: return c <= 0;
    case Node::Op::Ge: return c >= 0;
    }
    return false;
}

} // namespace

DbfFilter::DbfFilter() = default;
DbfFilter::~DbfFilter() = default;
DbfFilter::DbfFilter(DbfFilter&&) noexcept = default;
DbfFilter& DbfFilter::operator=(DbfFilter&&) noexcept = default;

DbfStatus DbfFilter::compile(std::string_view expression, const DbfHeader& header, DbfFilter& out)
{
    DbfFilter f;
    f.m_text = std::string(expression);
    std::vector<Token> tokens;
    if (DbfStatus s = lex(expression, tokens); !s.isOk())
        return s;
    if (tokens.size() > 1)
        if (DbfStatus s = Parser(tokens, header).parse(f.m_root); !s.isOk())
            return s;
    out = std::move(f);
    return DbfStatus::ok();
}

bool DbfFilter::passes(const DbfRecord& record) const
{
    return !m_root || evaluate(*m_root, record);
}

#include <charconv>
#include <limits>

#include "db/error.h"
#include "db/sql.h"
#include "db/sql_lexer.h"

namespace planora::db::sql {

namespace {

using detail::isKeyword;
using detail::Source;
using detail::Token;
using detail::TokenKind;

// Deep enough for any real criteria, shallow enough for the stack under sanitizers.
constexpr int kMaxDepth = 100;
// A chain of And or Or grows the tree one level a term, whatever the parentheses: capping the
// operators bounds the depth that binding, evaluation and destruction recurse to.
constexpr int kMaxOperators = 1000;

class Parser {
  public:
    explicit Parser(const Source& source) : source_(source), tokens_(detail::tokenize(source)) {}

    SelectStatement statement() {
        SelectStatement select = selectBody();
        if (current().kind == TokenKind::Semicolon) {
            advance();
        }
        expectEnd(msg::SqlItem::EndOfStatement);
        return select;
    }

    ExprPtr criteria() {
        ExprPtr expr = expression();
        expectEnd(msg::SqlItem::OperatorOrEnd);
        return expr;
    }

  private:
    const Token& current() const { return tokens_[at_]; }
    const Token& peek() const { return tokens_[at_ + 1 < tokens_.size() ? at_ + 1 : at_]; }
    const Token& advance() { return tokens_[at_ < tokens_.size() - 1 ? at_++ : at_]; }
    std::size_t position() const { return current().position; }

    [[noreturn]] void expected(msg::SqlItem what) const {
        source_.fail(current().offset, msg::expected(what));
    }

    void expectEnd(msg::SqlItem what) const {
        if (current().kind != TokenKind::End) {
            expected(what);
        }
    }

    bool acceptKeyword(std::string_view keyword) {
        if (isKeyword(current(), keyword)) {
            advance();
            return true;
        }
        return false;
    }

    void expectKeyword(std::string_view keyword, std::string_view shown) {
        if (!acceptKeyword(keyword)) {
            source_.fail(current().offset, msg::expectedWord(shown));
        }
    }

    void expect(TokenKind kind, std::string_view shown) {
        if (current().kind != kind) {
            source_.fail(current().offset, msg::expectedWord(shown));
        }
        advance();
    }

    bool atName() const {
        const Token& token = current();
        return token.kind == TokenKind::BracketName ||
               (token.kind == TokenKind::Word && !detail::isReservedWord(token.text));
    }

    std::string name(msg::SqlItem what) {
        if (!atName()) {
            expected(what);
        }
        return std::string(advance().text);
    }

    // Guards every recursive descent: parentheses, Not and sub-queries.
    struct Nesting {
        explicit Nesting(Parser& parser) : parser_(parser) {
            if (++parser_.depth_ > kMaxDepth) {
                parser_.source_.fail(parser_.current().offset, msg::nestedTooDeep(kMaxDepth));
            }
        }
        ~Nesting() { --parser_.depth_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;
        Parser& parser_;
    };

    // Select (* | col) From T [In 'file'] [Where e] [Order by col [Asc|Desc], ...]
    // A sub-query of "In" names its one column, or takes "*" of a one-column table.
    SelectStatement selectBody() {
        Nesting nesting(*this);
        SelectStatement select;
        expectKeyword("select", "Select");
        if (current().kind == TokenKind::Star) {
            advance();
        } else {
            select.column = name(msg::SqlItem::StarOrColumn);
        }
        expectKeyword("from", "From");
        select.table = name(msg::SqlItem::TableName);
        if (acceptKeyword("in")) {
            if (current().kind != TokenKind::Text) {
                expected(msg::SqlItem::FileNameInQuotes);
            }
            select.inFile = detail::unquote(advance());
        }
        if (acceptKeyword("where")) {
            select.where = expression();
        }
        if (acceptKeyword("order")) {
            expectKeyword("by", "By");
            select.orderBy = orderKeys();
        }
        return select;
    }

    std::vector<OrderKey> orderKeys() {
        std::vector<OrderKey> keys;
        do {
            OrderKey key;
            key.column = name(msg::SqlItem::ColumnName);
            if (acceptKeyword("desc")) {
                key.descending = true;
            } else {
                acceptKeyword("asc");
            }
            keys.push_back(std::move(key));
        } while (current().kind == TokenKind::Comma && (advance(), true));
        return keys;
    }

    ExprPtr node(Expr::Kind kind, std::size_t position) {
        if (kind != Expr::Kind::Literal && kind != Expr::Kind::Field &&
            ++operators_ > kMaxOperators) {
            source_.fail(current().offset, msg::tooManyOperators(kMaxOperators));
        }
        auto expr = std::make_unique<Expr>();
        expr->kind = kind;
        expr->position = position;
        return expr;
    }

    ExprPtr binary(Expr::Kind kind, ExprPtr left, ExprPtr right) {
        ExprPtr expr = node(kind, left->position);
        expr->children.push_back(std::move(left));
        expr->children.push_back(std::move(right));
        return expr;
    }

    ExprPtr expression() {
        ExprPtr left = conjunction();
        while (acceptKeyword("or")) {
            left = binary(Expr::Kind::Or, std::move(left), conjunction());
        }
        return left;
    }

    ExprPtr conjunction() {
        ExprPtr left = negation();
        while (acceptKeyword("and")) {
            left = binary(Expr::Kind::And, std::move(left), negation());
        }
        return left;
    }

    ExprPtr negation() {
        if (isKeyword(current(), "not")) {
            ExprPtr expr = node(Expr::Kind::Not, position());
            advance();
            Nesting nesting(*this);
            expr->children.push_back(negation());
            return expr;
        }
        return predicate();
    }

    static bool compareOp(TokenKind kind, Expr::CompareOp& op) {
        switch (kind) {
            case TokenKind::Equal:
                op = Expr::CompareOp::Eq;
                return true;
            case TokenKind::NotEqual:
                op = Expr::CompareOp::Ne;
                return true;
            case TokenKind::Less:
                op = Expr::CompareOp::Lt;
                return true;
            case TokenKind::LessEqual:
                op = Expr::CompareOp::Le;
                return true;
            case TokenKind::Greater:
                op = Expr::CompareOp::Gt;
                return true;
            case TokenKind::GreaterEqual:
                op = Expr::CompareOp::Ge;
                return true;
            default:
                return false;
        }
    }

    ExprPtr negated(ExprPtr expr, std::size_t position) {
        ExprPtr result = node(Expr::Kind::Not, position);
        result->children.push_back(std::move(expr));
        return result;
    }

    // operand [op operand | [Not] Like operand | [Not] In (...) | Is [Not] Null]
    ExprPtr predicate() {
        ExprPtr left = operand();
        Expr::CompareOp op{};
        if (compareOp(current().kind, op)) {
            advance();
            ExprPtr expr = binary(Expr::Kind::Compare, std::move(left), operand());
            expr->op = op;
            return expr;
        }
        if (isKeyword(current(), "is")) {
            return isNull(std::move(left));
        }
        const std::size_t notPosition = position();
        const bool negate =
            isKeyword(current(), "not") && (isKeyword(peek(), "like") || isKeyword(peek(), "in"));
        if (negate) {
            advance();
        }
        if (acceptKeyword("like")) {
            ExprPtr expr = binary(Expr::Kind::Like, std::move(left), operand());
            return negate ? negated(std::move(expr), notPosition) : std::move(expr);
        }
        if (acceptKeyword("in")) {
            ExprPtr expr = membership(std::move(left));
            return negate ? negated(std::move(expr), notPosition) : std::move(expr);
        }
        return left;
    }

    ExprPtr isNull(ExprPtr left) {
        const std::size_t isPosition = position();
        advance();
        const bool negate = acceptKeyword("not");
        expectKeyword("null", "Null");
        ExprPtr expr = node(Expr::Kind::IsNull, left->position);
        expr->children.push_back(std::move(left));
        return negate ? negated(std::move(expr), isPosition) : std::move(expr);
    }

    // In (value, ...) or In (Select col From ...)
    ExprPtr membership(ExprPtr left) {
        expect(TokenKind::LeftParen, "(");
        ExprPtr expr = node(Expr::Kind::InList, left->position);
        expr->children.push_back(std::move(left));
        if (isKeyword(current(), "select")) {
            expr->kind = Expr::Kind::InSelect;
            expr->position = position();  // messages about the sub-query point at it
            expr->subquery = std::make_shared<const SelectStatement>(selectBody());
        } else {
            do {
                expr->children.push_back(operand());
            } while (current().kind == TokenKind::Comma && (advance(), true));
        }
        expect(TokenKind::RightParen, ")");
        return expr;
    }

    ExprPtr literal(Value value, std::size_t position) {
        ExprPtr expr = node(Expr::Kind::Literal, position);
        expr->literal = std::move(value);
        return expr;
    }

    // A literal, a field name or a parenthesised expression.
    ExprPtr operand() {
        const Token& token = current();
        const std::size_t at = position();
        switch (token.kind) {
            case TokenKind::Number:
                return literal(number(advance(), false), at);
            case TokenKind::Minus:
            case TokenKind::Plus:
                return signedNumber(at);
            case TokenKind::Text:
                return literal(Value::text(detail::unquote(advance())), at);
            case TokenKind::BracketName:
                return field(at);
            case TokenKind::LeftParen:
                return parenthesised();
            case TokenKind::Word:
                return word(at);
            default:
                expected(msg::SqlItem::Value);
        }
    }

    ExprPtr word(std::size_t at) {
        if (acceptKeyword("null")) {
            return literal(Value(), at);
        }
        if (acceptKeyword("true")) {
            return literal(Value::boolean(true), at);
        }
        if (acceptKeyword("false")) {
            return literal(Value::boolean(false), at);
        }
        if (!atName()) {
            expected(msg::SqlItem::Value);
        }
        return field(at);
    }

    ExprPtr field(std::size_t at) {
        ExprPtr expr = node(Expr::Kind::Field, at);
        expr->name = std::string(advance().text);
        return expr;
    }

    ExprPtr parenthesised() {
        advance();
        Nesting nesting(*this);
        ExprPtr expr = expression();
        expect(TokenKind::RightParen, ")");
        return expr;
    }

    ExprPtr signedNumber(std::size_t at) {
        const bool negative = advance().kind == TokenKind::Minus;
        if (current().kind != TokenKind::Number) {
            expected(msg::SqlItem::Number);
        }
        return literal(number(advance(), negative), at);
    }

    Value number(const Token& token, bool negative) {
        const std::string_view digits = token.text;
        const char* begin = digits.data();
        const char* end = begin + digits.size();
        if (digits.find_first_of(".eE") == std::string_view::npos) {
            std::uint64_t magnitude = 0;
            auto result = std::from_chars(begin, end, magnitude);
            constexpr auto kMax =
                static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
            if (result.ec == std::errc() && magnitude <= kMax + (negative ? 1 : 0)) {
                // Negate in unsigned arithmetic so that the most negative integer is exact.
                const std::uint64_t bits = negative ? 0 - magnitude : magnitude;
                return Value::integer(static_cast<std::int64_t>(bits));
            }
        }
        double value = 0.0;
        auto result = std::from_chars(begin, end, value);
        if (result.ec != std::errc() || result.ptr != end) {
            source_.fail(token.offset, msg::numberOutOfRange());
        }
        return Value::real(negative ? -value : value);
    }

    const Source& source_;
    std::vector<Token> tokens_;
    std::size_t at_ = 0;
    int depth_ = 0;
    int operators_ = 0;
};

}  // namespace

bool looksLikeSelect(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && detail::isBlank(text[i])) {
        ++i;
    }
    constexpr std::string_view kSelect = "select";
    if (text.size() - i < kSelect.size()) {
        return false;
    }
    for (std::size_t k = 0; k < kSelect.size(); ++k) {
        if (detail::lowerAscii(text[i + k]) != kSelect[k]) {
            return false;
        }
    }
    const std::size_t after = i + kSelect.size();
    return after == text.size() || !detail::isNamePart(text[after]);
}

SelectStatement parseSelect(std::string_view text) {
    const Source source{text, msg::SqlText::Statement};
    return Parser(source).statement();
}

ExprPtr parseCriteria(std::string_view text) {
    const Source source{text, msg::SqlText::Criteria};
    return Parser(source).criteria();
}

}  // namespace planora::db::sql

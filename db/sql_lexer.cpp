#include "db/sql_lexer.h"

#include <array>

#include "db/error.h"

namespace planora::db::sql::detail {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Bytes from 0x80 up belong to UTF-8 letters such as "è": accepted in bare names.
bool isNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}
// Every byte but the continuation bytes of UTF-8 sequences starts a character.
bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

class Lexer {
  public:
    explicit Lexer(const Source& source) : source_(source), text_(source.text) {}

    std::vector<Token> run() {
        std::vector<Token> tokens;
        for (;;) {
            while (at_ < text_.size() && isBlank(text_[at_])) {
                ++at_;
            }
            if (at_ == text_.size()) {
                tokens.push_back({TokenKind::End, {}, at_, 0});
                tokens.back().position = positionOf(at_);
                return tokens;
            }
            tokens.push_back(next());
            tokens.back().position = positionOf(tokens.back().offset);
        }
    }

  private:
    Token next() {
        const std::size_t start = at_;
        const char c = text_[at_];
        if (isNameStart(c)) {
            while (at_ < text_.size() && isNamePart(text_[at_])) {
                ++at_;
            }
            return make(TokenKind::Word, start, at_);
        }
        if (isDigit(c) || (c == '.' && at_ + 1 < text_.size() && isDigit(text_[at_ + 1]))) {
            return number();
        }
        if (c == '\'' || c == '"') {
            return quoted(c);
        }
        if (c == '[') {
            return bracketName();
        }
        return symbol();
    }

    Token make(TokenKind kind, std::size_t from, std::size_t to) const {
        return {kind, text_.substr(from, to - from), from, 0};
    }

    void skipDigits() {
        while (at_ < text_.size() && isDigit(text_[at_])) {
            ++at_;
        }
    }

    Token number() {
        const std::size_t start = at_;
        skipDigits();
        if (at_ < text_.size() && text_[at_] == '.') {
            ++at_;
            skipDigits();
        }
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            std::size_t j = at_ + 1;
            if (j < text_.size() && (text_[j] == '+' || text_[j] == '-')) {
                ++j;
            }
            if (j < text_.size() && isDigit(text_[j])) {
                at_ = j;
                skipDigits();
            }
        }
        return make(TokenKind::Number, start, at_);
    }

    Token quoted(char quote) {
        const std::size_t start = at_++;
        for (;;) {
            if (at_ >= text_.size()) {
                source_.fail(start, msg::unclosedText());
            }
            if (text_[at_] == quote) {
                if (at_ + 1 < text_.size() && text_[at_ + 1] == quote) {
                    at_ += 2;
                    continue;
                }
                Token token = make(TokenKind::Text, start + 1, at_);
                token.offset = start;
                token.quote = quote;
                ++at_;
                return token;
            }
            ++at_;
        }
    }

    Token bracketName() {
        const std::size_t start = at_++;
        const std::size_t close = text_.find(']', at_);
        if (close == std::string_view::npos) {
            source_.fail(start, msg::unclosedBracket());
        }
        if (close == at_) {
            source_.fail(start, msg::emptyBracketName());
        }
        Token token = make(TokenKind::BracketName, at_, close);
        token.offset = start;
        at_ = close + 1;
        return token;
    }

    Token symbol() {
        const std::size_t start = at_;
        const char c = text_[at_++];
        const char following = at_ < text_.size() ? text_[at_] : '\0';
        auto two = [&](TokenKind kind) {
            ++at_;
            return make(kind, start, at_);
        };
        switch (c) {
            case '=':
                return make(TokenKind::Equal, start, at_);
            case '<':
                if (following == '>') {
                    return two(TokenKind::NotEqual);
                }
                if (following == '=') {
                    return two(TokenKind::LessEqual);
                }
                return make(TokenKind::Less, start, at_);
            case '>':
                if (following == '=') {
                    return two(TokenKind::GreaterEqual);
                }
                return make(TokenKind::Greater, start, at_);
            case '(':
                return make(TokenKind::LeftParen, start, at_);
            case ')':
                return make(TokenKind::RightParen, start, at_);
            case ',':
                return make(TokenKind::Comma, start, at_);
            case ';':
                return make(TokenKind::Semicolon, start, at_);
            case '*':
                return make(TokenKind::Star, start, at_);
            case '-':
                return make(TokenKind::Minus, start, at_);
            case '+':
                return make(TokenKind::Plus, start, at_);
            default:
                break;
        }
        source_.fail(start, msg::characterNotAllowed());
    }

    // Tokens come in order, so the character count goes on from the previous token.
    std::size_t positionOf(std::size_t offset) {
        for (; counted_ < offset; ++counted_) {
            characters_ += isContinuationByte(text_[counted_]) ? 0 : 1;
        }
        return characters_ + 1;
    }

    const Source& source_;
    std::string_view text_;
    std::size_t at_ = 0;
    std::size_t counted_ = 0, characters_ = 0;
};

}  // namespace

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isNamePart(char c) {
    return isNameStart(c) || isDigit(c);
}
char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
}

std::size_t Source::position(std::size_t offset) const {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        characters += isContinuationByte(text[i]) ? 0 : 1;
    }
    return characters + 1;
}

void Source::fail(std::size_t offset, std::string_view problem) const {
    throw Error(msg::syntaxError(kind, text, position(offset), problem));
}

std::vector<Token> tokenize(const Source& source) {
    return Lexer(source).run();
}

std::string unquote(const Token& token) {
    std::string text;
    text.reserve(token.text.size());
    for (std::size_t i = 0; i < token.text.size(); ++i) {
        text += token.text[i];
        if (token.text[i] == token.quote) {
            ++i;  // the second of a doubled quote
        }
    }
    return text;
}

bool isKeyword(const Token& token, std::string_view keyword) {
    if (token.kind != TokenKind::Word || token.text.size() != keyword.size()) {
        return false;
    }
    for (std::size_t i = 0; i < keyword.size(); ++i) {
        if (lowerAscii(token.text[i]) != keyword[i]) {
            return false;
        }
    }
    return true;
}

bool isReservedWord(std::string_view word) {
    static constexpr std::array<std::string_view, 16> kReserved = {
        "select", "from", "in",  "where", "order", "by",   "asc",  "desc",
        "and",    "or",   "not", "is",    "null",  "like", "true", "false"};
    const Token token{TokenKind::Word, word, 0, 0};
    for (std::string_view reserved : kReserved) {
        if (isKeyword(token, reserved)) {
            return true;
        }
    }
    return false;
}

}  // namespace planora::db::sql::detail

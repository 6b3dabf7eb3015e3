#pragma once

// The tokens of the SQL dialect and of criteria, and the syntax error messages that point at
// one of them. Private to the SQL parser.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "messages/db_messages.h"

namespace planora::db::sql::detail {

// The text being parsed, to quote it in messages.
struct Source {
    std::string_view text;
    msg::SqlText kind;

    // 1-based character (not byte) position of a byte offset.
    std::size_t position(std::size_t offset) const;
    [[noreturn]] void fail(std::size_t offset, std::string_view problem) const;
};

enum class TokenKind {
    End,
    Word,         // a bare name or a keyword
    BracketName,  // [name with blanks]; text is what lies between the brackets
    Number,
    Text,  // '...' or "..."; text is the raw inside, quotes still doubled
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    LeftParen,
    RightParen,
    Comma,
    Semicolon,
    Star,
    Minus,
    Plus,
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string_view text;
    std::size_t offset = 0;    // byte offset in the source
    char quote = 0;            // the quote character of a Text token
    std::size_t position = 0;  // 1-based character position, for messages and the tree
};

// Throws planora::Error for a character that starts no token or an unterminated text or name.
std::vector<Token> tokenize(const Source& source);

// The inside of a Text token with its doubled quotes made single.
std::string unquote(const Token& token);

// Character classes of the dialect, shared by the lexer, looksLikeSelect and Like.
bool isBlank(char c);
bool isNamePart(char c);
char lowerAscii(char c);

// Keywords are words compared without regard to (ASCII) case.
bool isKeyword(const Token& token, std::string_view keyword);
bool isReservedWord(std::string_view word);

}  // namespace planora::db::sql::detail

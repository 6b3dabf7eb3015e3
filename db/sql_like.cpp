#include <cstddef>
#include <string_view>

#include "db/sql.h"
#include "db/sql_lexer.h"

namespace planora::db::sql {

namespace {

using detail::lowerAscii;

// Length of the UTF-8 sequence at i; a stray or cut byte counts as one character.
std::size_t characterLength(std::string_view s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 1;
    if (lead >= 0xF0 && lead < 0xF8) {
        length = 4;
    } else if (lead >= 0xE0) {
        length = lead < 0xF0 ? 3 : 1;
    } else if (lead >= 0xC0) {
        length = 2;
    }
    if (i + length > s.size()) {
        return 1;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return length;
}

std::string_view characterAt(std::string_view s, std::size_t i) {
    return s.substr(i, characterLength(s, i));
}

// One character against a class body "abc", "a-z" or "!a-z" (without the brackets).
bool inClass(std::string_view c, std::string_view body) {
    bool negate = false;
    std::size_t i = 0;
    if (!body.empty() && body[0] == '!') {
        negate = true;
        i = 1;
    }
    bool found = false;
    while (i < body.size() && !found) {
        const std::string_view low = characterAt(body, i);
        i += low.size();
        std::string_view high = low;
        if (i + 1 < body.size() && body[i] == '-') {
            high = characterAt(body, i + 1);
            i += 1 + high.size();
        }
        found = compareText(low, c) <= 0 && compareText(c, high) <= 0;
    }
    return found != negate;
}

// Matches the pattern element at p against the text at t (not at its end). On success gives
// the text characters used (0 for the empty class "[]") and where the next element starts.
bool matchElement(std::string_view text, std::size_t t, std::string_view pattern, std::size_t p,
                  std::size_t& used, std::size_t& next) {
    const std::string_view c = characterAt(text, t);
    used = c.size();
    switch (pattern[p]) {
        case '?':
            next = p + 1;
            return true;
        case '#':
            next = p + 1;
            return c.size() == 1 && c[0] >= '0' && c[0] <= '9';
        case '[': {
            const std::size_t close = pattern.find(']', p + 1);
            if (close == std::string_view::npos) {
                break;  // an unclosed "[" is an ordinary character
            }
            next = close + 1;
            const std::string_view body = pattern.substr(p + 1, close - p - 1);
            if (body.empty()) {
                used = 0;
                return true;
            }
            return body == "!" || inClass(c, body);
        }
        default:
            break;
    }
    const std::string_view literal = characterAt(pattern, p);
    next = p + literal.size();
    if (c.size() == 1 && literal.size() == 1) {
        return lowerAscii(c[0]) == lowerAscii(literal[0]);
    }
    return compareText(c, literal) == 0;
}

// Elements that can match nothing at the end of the text: "*" and the empty class "[]".
std::size_t skipEmptyMatches(std::string_view pattern, std::size_t p) {
    for (;;) {
        if (p < pattern.size() && pattern[p] == '*') {
            ++p;
        } else if (pattern.substr(p, 2) == "[]") {
            p += 2;
        } else {
            return p;
        }
    }
}

}  // namespace

// Greedy matching that goes back only to the last "*": enough because every other element
// matches a fixed number of characters.
bool likeMatch(std::string_view text, std::string_view pattern) {
    std::size_t t = 0, p = 0;
    std::size_t starPattern = std::string_view::npos, starText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = ++p;
            starText = t;
            continue;
        }
        std::size_t used = 0, next = 0;
        if (p < pattern.size() && matchElement(text, t, pattern, p, used, next)) {
            t += used;
            p = next;
            continue;
        }
        if (starPattern == std::string_view::npos) {
            return false;
        }
        starText += characterLength(text, starText);
        t = starText;
        p = starPattern;
    }
    return skipEmptyMatches(pattern, p) == pattern.size();
}

}  // namespace planora::db::sql

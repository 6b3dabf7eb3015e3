#include "db/quote.h"

namespace planora::db {

namespace {

// The text between two marks, every mark inside doubled: the quoting rule of both SQL dialects.
std::string enclose(std::string_view text, char mark) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += mark;
    for (char c : text) {
        quoted += c;
        if (c == mark) {
            quoted += mark;
        }
    }
    quoted += mark;
    return quoted;
}

}  // namespace

std::string quote(std::string_view text) {
    return enclose(text, '\'');
}

std::string quoteIdentifier(std::string_view name) {
    return enclose(name, '"');
}

}  // namespace planora::db

#include "db/quote.h"

namespace planora::db {

std::string quote(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '\'';
    for (char c : text) {
        quoted += c;
        if (c == '\'') {
            quoted += '\'';
        }
    }
    quoted += '\'';
    return quoted;
}

}  // namespace planora::db

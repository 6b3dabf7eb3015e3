#pragma once

#include <string>
#include <string_view>

namespace planora::db {

// A text literal for a criteria or SQL text: 'text' with every quote inside doubled, so that a
// room "1'A" or a company "L'ALBA" cannot break the expression. Every value that comes from the
// user or from a database goes into criteria through this function.
std::string quote(std::string_view text);

// A table or column name for an SQLite statement: "name" with every double quote doubled.
std::string quoteIdentifier(std::string_view name);

}  // namespace planora::db

#pragma once

// Writes parsed expressions and statements back as text of the dialect, with every name in
// brackets and parentheses where grouping needs them, so that parsing the text gives the same
// tree.

#include <string>

#include "db/sql.h"

namespace planora::db::sql {

std::string printExpr(const Expr& expr);
std::string printSelect(const SelectStatement& select);

}  // namespace planora::db::sql

#pragma once

#include <string>

#include "db/sql.h"
#include "db/sqlite_table.h"

namespace planora::db::sqlite {

// A condition in SQLite's own SQL that holds for every row on which the Where may be true as
// the Access engine evaluates it (texts without regard to case, Null as unknown): a superset,
// which the record access layer filters again exactly. Only what provably gives the same
// answer is translated: a field of text affinity against a text of printable ASCII (SQLite's
// NOCASE folds ASCII letters as the engine does, and no other byte of a stored text can tie
// with one of the literal), a field of integer type against an integer, Is Null, And, Or and
// In lists of those. Anything else stands for "every row"; a Where that may fail on a row
// (sub-queries) is not translated at all. Empty when the condition would keep every row.
std::string supersetCondition(const sql::Expr& where, const TableShape& shape);

}  // namespace planora::db::sqlite

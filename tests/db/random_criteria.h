#pragma once

// Random criteria of the record access layer's dialect over the fields of a guest card
// (NumeroHotel, a number; NumeroCamera and Nome, texts), for the checks that a backend's
// narrowed reads keep the rows the engine keeps.

#include <random>
#include <string>
#include <vector>

#include "db/recordset.h"

namespace planora::testing {

// Literals of the criteria: printable ASCII of every sort, and others that a backend must not
// be asked to compare.
extern const std::vector<std::string> kCriteriaLiterals;

// Comparisons both ways round, In lists, Is Null, Like, And, Or and Not, nested to depth.
std::string randomCriteria(std::mt19937& random, int depth);

// The Id field of the records that the criteria finds, in the record set's order.
std::vector<std::int64_t> idsFound(db::RecordSet& set, const std::string& criteria);

}  // namespace planora::testing

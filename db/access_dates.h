#pragma once

#include <optional>

#include "db/value.h"

namespace planora::db {

// An Access date/time value: days since 30 December 1899, the fraction being the time of day
// (for dates before 1899 too, the fraction counts forward from midnight). Rounded to the
// second. Empty outside the years 100 to 9999 that Access allows, as in a damaged file.
std::optional<DateTime> dateTimeFromAccessDays(double days);

}  // namespace planora::db

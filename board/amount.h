#pragma once

#include <string>

#include "db/value.h"

namespace planora::board {

// A money field as an exact amount: Currency as it is, other numbers rounded to four decimals,
// Null (and text without a number) as 0.
db::Currency currencyOf(const db::Value& value);

// "#,##0.00" with the Italian marks the hotel's settings give, whatever the process locale:
// 1.234,50. Rounded half away from zero to two decimals.
std::string formatAmount(db::Currency amount);

}  // namespace planora::board

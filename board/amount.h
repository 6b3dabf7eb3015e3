#pragma once

#include <string>

#include "db/value.h"
#include "messages/board_messages.h"

namespace planora::board {

// A money field as an exact amount: Currency as it is, other numbers rounded to four decimals,
// Null (and text without a number) as 0. A value that is not a number or beyond the range of
// amounts throws planora::Error naming the room, the table, the field and the value.
db::Currency currencyOf(const db::Value& value, const msg::FieldPlace& place);

// sum + amount; throws planora::Error naming the room and the field when the sum would pass the
// range of amounts.
db::Currency addAmounts(db::Currency sum, db::Currency amount, const msg::FieldPlace& place);

// "#,##0.00" with the Italian marks the hotel's settings give, whatever the process locale:
// 1.234,50. Rounded half away from zero to two decimals.
std::string formatAmount(db::Currency amount);

}  // namespace planora::board

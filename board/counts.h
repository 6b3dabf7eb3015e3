#pragma once

#include <optional>

#include "board/builder.h"
#include "db/value.h"
#include "messages/board_messages.h"

// Counts read from the databases and the counters of the totals, checked: a value that is no
// whole number in range, or a counter that would pass its largest value, stops the run with a
// message instead of an undefined conversion or sum.
namespace planora::board {

// The most persons a room's count may hold (the 16-bit count of the hotel's databases).
inline constexpr long long kMostPersons = 32767;

// The whole number a field holds, when it is one from minimum to maximum; Null reads as 0.
std::optional<long long> wholeNumber(const db::Value& value, long long minimum, long long maximum);

// A count of persons read from a field. Throws planora::Error naming the room, the table, the
// field and the value when it is negative, fractional, not a number or above kMostPersons.
int personsOf(const db::Value& value, const msg::FieldPlace& place);

// counter += amount; throws planora::Error naming the counter when the sum would not fit.
void addToCounter(int& counter, long long amount, msg::Counter which);

// Adds the guests of a room to the counter of an arrangement kind ("S" PN, "C" B&B, "M" or "1"
// HB, "P" FB); any other kind adds nothing.
void addToKind(std::string_view kind, int guests, Totals& totals);

}  // namespace planora::board

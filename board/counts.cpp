#include "board/counts.h"

#include <cmath>
#include <limits>

#include "db/error.h"

namespace planora::board {

std::optional<long long> wholeNumber(const db::Value& value, long long minimum, long long maximum) {
    if (value.kind() == db::Value::Kind::Integer) {
        const long long number = value.asInteger();
        if (number < minimum || number > maximum) {
            return std::nullopt;
        }
        return number;
    }
    const double number = value.toNumber();
    // NaN fails every comparison, so it is refused with the values out of range.
    if (!(number >= static_cast<double>(minimum) && number <= static_cast<double>(maximum)) ||
        std::trunc(number) != number) {
        return std::nullopt;
    }
    return static_cast<long long>(number);
}

int personsOf(const db::Value& value, const msg::FieldPlace& place) {
    const auto persons = wholeNumber(value, 0, kMostPersons);
    if (!persons) {
        throw Error(msg::badCount(place, value.toText(), kMostPersons));
    }
    return static_cast<int>(*persons);
}

void addToCounter(int& counter, long long amount, msg::Counter which) {
    int sum = 0;
    if (amount > std::numeric_limits<int>::max() || amount < std::numeric_limits<int>::min() ||
        __builtin_add_overflow(counter, static_cast<int>(amount), &sum)) {
        throw Error(msg::counterOverflow(which));
    }
    counter = sum;
}

void addToKind(std::string_view kind, int guests, Totals& totals) {
    if (kind == "S") {
        addToCounter(totals.pn, guests, msg::Counter::Pn);
    } else if (kind == "C") {
        addToCounter(totals.bb, guests, msg::Counter::Bb);
    } else if (kind == "M" || kind == "1") {
        addToCounter(totals.hb, guests, msg::Counter::Hb);
    } else if (kind == "P") {
        addToCounter(totals.fb, guests, msg::Counter::Fb);
    }
}

}  // namespace planora::board

#include "board/amount.h"

#include <cmath>
#include <cstdint>

#include "db/error.h"

namespace planora::board {

db::Currency currencyOf(const db::Value& value, const msg::FieldPlace& place) {
    if (value.kind() == db::Value::Kind::Currency) {
        return value.asCurrency();
    }
    const double scaled = std::round(value.toNumber() * 10000.0);
    // 2^63 itself is out of range; NaN fails both tests.
    if (!(scaled >= -0x1p63 && scaled < 0x1p63)) {
        throw Error(msg::badAmount(place, value.toText()));
    }
    return db::Currency{static_cast<std::int64_t>(scaled)};
}

db::Currency addAmounts(db::Currency sum, db::Currency amount, const msg::FieldPlace& place) {
    db::Currency result;
    if (__builtin_add_overflow(sum.scaled, amount.scaled, &result.scaled)) {
        throw Error(msg::amountSumOverflow(place));
    }
    return result;
}

namespace {

// Thousands marked with '.', from the right.
std::string groupThousands(std::uint64_t units) {
    std::string digits = std::to_string(units);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += '.';
        }
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace

std::string formatAmount(db::Currency amount) {
    const bool negative = amount.scaled < 0;
    // Magnitude in ten-thousandths, then cents rounded half away from zero.
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(amount.scaled)
                                             : static_cast<std::uint64_t>(amount.scaled);
    const std::uint64_t cents = (magnitude + 50) / 100;
    const std::uint64_t fraction = cents % 100;
    std::string text = negative && cents > 0 ? "-" : "";
    text += groupThousands(cents / 100);
    text += ',';
    text += static_cast<char>('0' + fraction / 10);
    text += static_cast<char>('0' + fraction % 10);
    return text;
}

}  // namespace planora::board

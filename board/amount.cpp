#include "board/amount.h"

#include <cmath>
#include <cstdint>

namespace planora::board {

db::Currency currencyOf(const db::Value& value) {
    if (value.kind() == db::Value::Kind::Currency) {
        return value.asCurrency();
    }
    return db::Currency{static_cast<std::int64_t>(std::llround(value.toNumber() * 10000.0))};
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

#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "board/clock.h"

namespace planora::board {

// Days of each month, indexed 1 to 12. DataValida rewrites February for the year it checks.
struct GiorniMese {
    std::array<std::int16_t, 13> giorni{0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::int16_t& operator[](int month) { return giorni.at(static_cast<std::size_t>(month)); }
    std::int16_t operator[](int month) const { return giorni.at(static_cast<std::size_t>(month)); }
};

// The leading-number reading of a text: leading blanks skipped, reading stops at the first
// character that cannot continue a number, no number reads as 0.
double numericValue(std::string_view text);

// Frame bytes (code page 437 box drawing, in a single-byte board text) to '|' and '-'.
// Converts in place and returns the text.
std::string& ConvertiGrafici(std::string& text);

// ddmmyy and ddmmyyyy to dd/mm/yyyy, in place; any other length comes back unchanged.
// A two-digit year yy is 20yy up to the current year's yy plus 20, else 19yy.
std::string& FormattaData(std::string& text, const Clock& clock);

// Upper case; mode 0 drops apostrophes, mode 1 keeps only digits, ',' and '-'.
// An empty result is " " in mode 0 and "0" in the other modes. Text is UTF-8.
std::string PulisciTesto(std::string_view text, std::int16_t mode);

bool Bisestile(std::int16_t year);

// A dd/mm/yyyy date check. When the trimmed text is 10 characters long the caller's text is
// replaced by it and February of giorniMese is set for the year.
bool DataValida(std::string& text, GiorniMese& giorniMese);

}  // namespace planora::board

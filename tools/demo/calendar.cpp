#include "tools/demo/calendar.h"

namespace planora::demo {

namespace {

std::string padded(long value, std::size_t width) {
    const std::string digits = std::to_string(value);
    return std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
}

}  // namespace

// Days since 1 March of year 0 of the proleptic Gregorian calendar (the era algorithm: years
// start in March so that the leap day ends them).
DayNumber dayNumber(int year, int month, int day) {
    const long y = month <= 2 ? year - 1 : year;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yearOfEra = y - era * 400;
    const long dayOfYear = (153L * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}

DayNumber today(const board::Clock& clock) {
    const board::LocalDateTime now = clock.now();
    return dayNumber(now.year, now.month, now.day);
}

std::string dateKey(DayNumber day) {
    const long era = (day >= 0 ? day : day - 146096) / 146097;
    const long dayOfEra = day - era * 146097;
    const long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long monthIndex = (5 * dayOfYear + 2) / 153;
    const long dayOfMonth = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const long month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return padded(year, 4) + padded(month, 2) + padded(dayOfMonth, 2);
}

}  // namespace planora::demo

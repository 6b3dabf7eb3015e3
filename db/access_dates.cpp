#include "db/access_dates.h"

#include <cmath>
#include <cstdint>

namespace planora::db {

namespace {

// 100-01-01 and 9999-12-31 23:59:59 as Access day numbers.
constexpr double firstAccessDay = -657434.0;
constexpr double lastAccessDay = 2958466.0;
constexpr std::int64_t accessEpochFromUnixEpoch = -25569;  // 1899-12-30
constexpr std::int64_t secondsPerDay = 86400;

// Gregorian calendar date of a day count from 1970-01-01 (H. Hinnant's civil_from_days).
void civilFromDays(std::int64_t z, DateTime& out) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    out.year = static_cast<int>(yoe + era * 400 + (out.month <= 2 ? 1 : 0));
}

}  // namespace

std::optional<DateTime> dateTimeFromAccessDays(double days) {
    if (!(days >= firstAccessDay && days < lastAccessDay)) {
        return std::nullopt;
    }
    std::int64_t day = static_cast<std::int64_t>(std::trunc(days));
    std::int64_t seconds = std::llround(std::fabs(days - std::trunc(days)) * secondsPerDay);
    if (seconds == secondsPerDay) {
        seconds = 0;
        ++day;
    }
    DateTime out;
    civilFromDays(day + accessEpochFromUnixEpoch, out);
    out.hour = static_cast<int>(seconds / 3600);
    out.minute = static_cast<int>(seconds / 60 % 60);
    out.second = static_cast<int>(seconds % 60);
    return out;
}

}  // namespace planora::db

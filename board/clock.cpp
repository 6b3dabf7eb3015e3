#include "board/clock.h"

#include <cstdio>
#include <ctime>

namespace planora::board {

LocalDateTime SystemClock::now() const {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string todayText(const Clock& clock) {
    const LocalDateTime now = clock.now();
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", now.day, now.month, now.year);
    return text;
}

}  // namespace planora::board

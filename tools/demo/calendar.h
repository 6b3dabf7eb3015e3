#pragma once

#include <string>

#include "board/clock.h"

namespace planora::demo {

// A day as a count of days, so that stays can be laid out by adding nights.
using DayNumber = long;

DayNumber dayNumber(int year, int month, int day);
DayNumber today(const board::Clock& clock);
// The day as the databases keep dates: yyyymmdd.
std::string dateKey(DayNumber day);

}  // namespace planora::demo

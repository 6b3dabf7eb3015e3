#pragma once

#include <filesystem>
#include <vector>

#include "tools/demo/demo_names.h"
#include "tools/demo/demo_stays.h"

namespace planora::demo {

// The pieces of a demo hotel, written in turn by writeDemoHotel.

struct ShowcaseCounts {
    int currentCards = 0;
    int historyCards = 0;
};

// One stay of every kind the board shows, in the first rooms of hotel 1's main building and
// a few of hotel 2; these rooms get no generated stays around today.
ShowcaseCounts writeShowcase(StayWriter& stays, DayNumber day);
bool isShowcaseRoom(const DemoRoom& room);

struct GeneratedCounts {
    int currentCards = 0;
    int historyCards = 0;
};

void writeGeneratedStays(StayWriter& stays, DemoRandom& random, const std::vector<DemoRoom>& rooms,
                         DayNumber day, GeneratedCounts counts);

// Stampanti, SetStampa and Contatori.
void writePrintSettings(HotelData& data);

}  // namespace planora::demo

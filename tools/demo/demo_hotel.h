#pragma once

#include <cstdint>
#include <filesystem>

#include "board/clock.h"

namespace planora::demo {

// How big a demo hotel is. The fixed showcase stays (one of each kind of board row) are
// always written; the counts add generated rooms and stays up to these totals.
struct DemoSize {
    int rooms = 60;          // over both hotels and all their board layouts
    int cards = 150;         // current guest cards (Scheda_Cliente)
    int history = 800;       // guest cards of past stays (SchedaStoricoClienti)
    std::uint64_t seed = 1;  // same seed, same hotel
};

// Writes a complete data folder: two hotels with two board layouts each, guests, parties,
// reservations, history, companies, agencies, arrangements and print settings, dated around
// the clock's today. The folder is created when missing. Throws planora::Error when a
// database file is already there.
void writeDemoHotel(const std::filesystem::path& folder, const DemoSize& size,
                    const board::Clock& clock);

}  // namespace planora::demo

#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "board/clock.h"
#include "board/request.h"

namespace planora::board {

// Where a board run works: the data folder (databases in, board file out), the station code
// and the clock of the title line.
struct BoardContext {
    std::filesystem::path dataFolder;
    std::string stationCode;
    const Clock* clock = nullptr;
};

struct Totals {
    int arrivi = 0, partenze = 0, fermate = 0, presenze = 0;
    int camArrivate = 0, camPartenza = 0, camFermata = 0, camPresenti = 0;
    int pn = 0, bb = 0, hb = 0, fb = 0;
    int generale = 0;
};

// What a run counts and what it has to tell besides the board.
struct RunTally {
    Totals totals;
    // Things the board shows differently from the data, for the user to check (Italian texts):
    // an amount too wide for its column.
    std::vector<std::string> warnings;
};

struct BoardResult {
    std::filesystem::path file;  // the board file written
    Totals totals;
    std::vector<std::string> warnings;  // see RunTally
};

// Builds the board file of one request. Throws planora::Error; on failure the previous board
// file is left as it was.
BoardResult CreaTableau(const BoardRequest& request, const BoardOptions& options,
                        const BoardContext& context);

}  // namespace planora::board

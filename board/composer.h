#pragma once

#include <cstdint>
#include <string>

#include "board/run_context.h"

namespace planora::board {

// RigaCamera: the board row of a room from the history files (guests already checked out),
// for rooms whose current guests and reservations gave no name. Adds to the run's totals.
// The databases and queries it needs are opened once per run through `run` and shared by
// every call; the row is the same as if each call opened them anew. Returns an empty text
// when no room of the range is found.
std::string RigaCamera(RunContext& run, std::int16_t hotel, std::int16_t tableau,
                       const std::string& firstRoom, const std::string& lastRoom,
                       const std::string& referenceDate, std::int16_t addArrangement,
                       const std::string& selectionKey);

}  // namespace planora::board

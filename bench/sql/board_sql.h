#pragma once

// The board of the benchmark written as SQL over the same SQLite files: what an SQL engine
// takes for the same work, as the yardstick of the board run. The queries select the rooms in
// range, the counted guests with the fields their states need, the heads' arrangements and
// their leaders', agencies, last companies, reservations still to arrive and the history cards
// of the rooms still empty; every row is materialised, and the rows are composed into room
// rows and totals by the same rules as the board, so that the two can be checked against each
// other.

#include <filesystem>
#include <string>
#include <vector>

#include "board/builder.h"
#include "board/request.h"

namespace planora::bench {

// The fields of a room row that the comparison looks at, as board text (Windows-1252, cut and
// trimmed like the board's columns).
struct SqlRoomRow {
    std::string room, name, company, arrangement, state;
    int persons = 0;
    friend bool operator==(const SqlRoomRow&, const SqlRoomRow&) = default;
};

struct SqlBoard {
    std::vector<SqlRoomRow> rows;  // the rooms the board shows, in its order
    board::Totals totals;
};

// The board of the request without company filter (the benchmark's requests), day or
// arrivals/departures mode as the request and options say.
SqlBoard sqlBoard(const std::filesystem::path& folder, const board::BoardRequest& request,
                  const board::BoardOptions& options);

// The same fields read back from a board file.
SqlBoard readBoardFile(const std::filesystem::path& boardFile);

// An empty text when the two agree, else what differs first.
std::string compareBoards(const SqlBoard& expected, const SqlBoard& actual);

}  // namespace planora::bench

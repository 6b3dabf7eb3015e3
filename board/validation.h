#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "board/helpers.h"
#include "board/request.h"

namespace planora::board {

// What the user typed into the main window, as texts.
struct RequestEntry {
    std::int16_t hotel = 0;
    std::int16_t tableau = 0;
    std::string firstRoom;
    std::string lastRoom;
    std::string referenceDate;
    bool addArrangement = false;
    std::string selectionDate;
    std::string ditta;  // the company text beside "per Ditta"
};

// A notice for the message dialog (shown with button set 48).
struct Message {
    std::string title;
    std::string text;
};

Message roomRangeMessage();  // "Camere errate!"
Message dateMessage();       // "Data errata!"

// The checks of "&Stampa". First every typed text as the window's fields take it: no control
// character (a line break would split the board's title) and no more characters than the field
// holds (6, 6, 10, 40 and 40, the company text included); then the room order, then the
// reference date. The first failure is the only one reported. The selection date is not
// checked as a date here.
std::variant<BoardRequest, Message> validaRichiesta(const RequestEntry& entry,
                                                    GiorniMese& giorniMese);

}  // namespace planora::board

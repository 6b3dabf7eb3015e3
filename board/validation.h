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
};

// A notice for the message dialog (shown with button set 48).
struct Message {
    std::string title;
    std::string text;
};

Message roomRangeMessage();  // "Camere errate!"
Message dateMessage();       // "Data errata!"

// The checks of "&Stampa": room order first, then the reference date; the first failure is the
// only one reported. The selection date is not checked here.
std::variant<BoardRequest, Message> validaRichiesta(const RequestEntry& entry,
                                                    GiorniMese& giorniMese);

}  // namespace planora::board

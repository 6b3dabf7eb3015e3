#pragma once

#include <cstdint>
#include <string>

namespace planora::board {

// The seven inputs of one board run, in call order.
struct BoardRequest {
    std::int16_t hotel = 0;
    std::int16_t tableau = 0;
    std::string firstRoom;
    std::string lastRoom;
    std::string referenceDate;        // dd/mm/yyyy as typed
    std::int16_t addArrangement = 0;  // "Aggiungere arrangiamento": non-zero means on
    std::string selectionDate;        // "Data ", may be empty
};

// The three choices of the main window that the board run reads besides the request.
struct BoardOptions {
    bool arrivi = true;     // "Arrivi" selected (else "Partenze")
    bool perDitta = false;  // "per Ditta" ticked
    std::string ditta;      // the company text beside "per Ditta"
};

}  // namespace planora::board

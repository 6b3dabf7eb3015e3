#include "board/validation.h"

namespace planora::board {

Message roomRangeMessage() {
    return {"Camere errate!", "Controllare l'intervallo di camere richiesto!"};
}

Message dateMessage() {
    return {"Data errata!", "La data deve essere inserita \r\nnel formato gg/mm/aaaa"};
}

std::variant<BoardRequest, Message> validaRichiesta(const RequestEntry& entry,
                                                    GiorniMese& giorniMese) {
    // Room numbers are texts: std::string orders them by character code, and equal is fine.
    if (entry.lastRoom < entry.firstRoom) {
        return roomRangeMessage();
    }
    std::string date = entry.referenceDate;  // the check trims its copy, the request keeps it
    if (!DataValida(date, giorniMese)) {
        return dateMessage();
    }
    return BoardRequest{
        entry.hotel,         entry.tableau,
        entry.firstRoom,     entry.lastRoom,
        entry.referenceDate, static_cast<std::int16_t>(entry.addArrangement ? 1 : 0),
        entry.selectionDate};
}

}  // namespace planora::board

#pragma once

#include <array>
#include <optional>
#include <string>
#include <variant>

#include "board/clock.h"
#include "board/helpers.h"
#include "board/request.h"
#include "board/validation.h"

// What the main window does with the user's entries: Enter in an entry field and "&Stampa".
namespace planora::board {

// The entry fields, by their index on the window.
enum class EntryField {
    FirstRoom = 0,
    LastRoom = 1,
    ReferenceDate = 2,
    Ditta = 3,
    SelectionDate = 4
};

using EntryTexts = std::array<std::string, 5>;  // the texts of the fields, by index

// Where the focus goes after an entry: nowhere (it stays), to a field, or to "&Stampa".
enum class FocusTarget { Stay, FirstRoom, LastRoom, ReferenceDate, Ditta, SelectionDate, Stampa };

struct EnterOutcome {
    std::string text;                // the field's new text
    std::optional<Message> message;  // a notice to show, with the text already in the field
    std::optional<std::string> afterMessage;  // the field's text once the notice is answered
    FocusTarget focus = FocusTarget::Stay;
};

// Enter in a field: its text is cleaned (PulisciTesto mode 0), then checked by the field's rule:
// the last room must sort after the first, dates are completed and must be valid (a wrong
// date is replaced by today's).
EnterOutcome onEnter(EntryField field, const EntryTexts& texts, const Clock& clock,
                     GiorniMese& giorniMese);

struct StampaRejection {
    Message message;
    FocusTarget focus = FocusTarget::Stay;
    std::optional<std::string> referenceDate;  // the reference date field's new text, if any
};

// "&Stampa": the request checked as typed, without the Enter clean-up.
std::variant<BoardRequest, StampaRejection> onStampa(const RequestEntry& entry, const Clock& clock,
                                                     GiorniMese& giorniMese);

}  // namespace planora::board

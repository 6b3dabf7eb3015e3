#include "board/entry_rules.h"

namespace planora::board {

namespace {

const std::string& textOf(const EntryTexts& texts, EntryField field) {
    return texts.at(static_cast<std::size_t>(field));
}

EnterOutcome dateEntered(std::string text, const Clock& clock, GiorniMese& giorniMese) {
    FormattaData(text, clock);
    EnterOutcome outcome;
    if (DataValida(text, giorniMese)) {
        outcome.focus = FocusTarget::Stampa;
    } else {
        outcome.message = dateMessage();
        outcome.afterMessage = todayText(clock);
    }
    outcome.text = std::move(text);
    return outcome;
}

}  // namespace

EnterOutcome onEnter(EntryField field, const EntryTexts& texts, const Clock& clock,
                     GiorniMese& giorniMese) {
    std::string text = PulisciTesto(textOf(texts, field), 0);
    switch (field) {
        case EntryField::FirstRoom:
            return {std::move(text), std::nullopt, std::nullopt, FocusTarget::LastRoom};
        case EntryField::LastRoom: {
            if (text > textOf(texts, EntryField::FirstRoom)) {
                return {std::move(text), std::nullopt, std::nullopt, FocusTarget::ReferenceDate};
            }
            return {std::move(text), roomRangeMessage(), std::nullopt, FocusTarget::Stay};
        }
        case EntryField::ReferenceDate:
        case EntryField::SelectionDate:
            return dateEntered(std::move(text), clock, giorniMese);
        case EntryField::Ditta:
            break;
    }
    return {std::move(text), std::nullopt, std::nullopt, FocusTarget::Stampa};
}

std::variant<BoardRequest, StampaRejection> onStampa(const RequestEntry& entry, const Clock& clock,
                                                     GiorniMese& giorniMese) {
    auto checked = validaRichiesta(entry, giorniMese);
    if (auto* request = std::get_if<BoardRequest>(&checked)) {
        return std::move(*request);
    }
    Message message = std::get<Message>(std::move(checked));
    if (message.title == dateMessage().title) {
        return StampaRejection{std::move(message), FocusTarget::ReferenceDate, todayText(clock)};
    }
    return StampaRejection{std::move(message), FocusTarget::FirstRoom, std::nullopt};
}

}  // namespace planora::board

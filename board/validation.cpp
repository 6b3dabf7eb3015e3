#include "board/validation.h"

#include <array>
#include <optional>
#include <string_view>

#include "board/encoding.h"
#include "messages/board_messages.h"

namespace planora::board {

namespace {

// An entry field as the main window limits it: its caption and its maximum length.
struct FieldLimit {
    std::string_view caption;
    std::size_t most;
};

bool hasControlCharacter(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return true;
        }
    }
    return false;
}

std::optional<Message> fieldRejection(const FieldLimit& limit, std::string_view text) {
    if (hasControlCharacter(text)) {
        return Message{msg::controlCharacterTitle(), msg::controlCharacter(limit.caption, text)};
    }
    if (decodeUtf8(text).size() > limit.most) {
        return Message{msg::valueTooLongTitle(),
                       msg::valueTooLong(limit.caption, limit.most, text)};
    }
    return std::nullopt;
}

std::optional<Message> typedTextRejection(const RequestEntry& entry) {
    const std::array<std::pair<FieldLimit, const std::string*>, 5> fields{{
        {{"Dalla Camera", 6}, &entry.firstRoom},
        {{"Alla Camera", 6}, &entry.lastRoom},
        {{"Data riferim.", 10}, &entry.referenceDate},
        {{"per Ditta", 40}, &entry.ditta},
        {{"Data", 40}, &entry.selectionDate},
    }};
    for (const auto& [limit, text] : fields) {
        if (auto rejection = fieldRejection(limit, *text)) {
            return rejection;
        }
    }
    return std::nullopt;
}

}  // namespace

Message roomRangeMessage() {
    return {msg::roomRangeTitle(), msg::roomRangeText()};
}

Message dateMessage() {
    return {msg::dateTitle(), msg::dateText()};
}

std::variant<BoardRequest, Message> validaRichiesta(const RequestEntry& entry,
                                                    GiorniMese& giorniMese) {
    if (auto rejection = typedTextRejection(entry)) {
        return *std::move(rejection);
    }
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

#include "board/desk_lists.h"

#include <cstdint>

#include "board/counts.h"
#include "board/helpers.h"
#include "db/database.h"
#include "db/error.h"
#include "db/quote.h"
#include "messages/board_messages.h"

namespace planora::board {

namespace {

constexpr std::size_t kCodeWidth = 3;
// The character of code 255 in UTF-8: above every room number, so any room replaces it.
constexpr std::string_view kAboveAnyRoom = "\xC3\xBF";
constexpr std::string_view kBoardRoomKind = "C";

// The code of a list item; a value that is no whole number of 64 bits stops the listing.
std::int64_t codeOf(const db::RecordSet& records, std::string_view table,
                    std::string_view codeField) {
    const db::Value value = records.field(codeField);
    const auto code = wholeNumber(value, INT64_MIN, INT64_MAX);
    if (!code) {
        throw Error(msg::badListCode(table, codeField, value.toText()));
    }
    return *code;
}

std::vector<std::string> itemsWhere(db::RecordSet& records, std::string_view table,
                                    const std::string& criteria, std::string_view codeField,
                                    std::string_view nameField) {
    std::vector<std::string> items;
    for (records.findFirst(criteria); !records.noMatch(); records.findNext(criteria)) {
        items.push_back(
            listItem(codeOf(records, table, codeField), records.field(nameField).toText()));
    }
    return items;
}

bool isBoardRoom(db::RecordSet& tipiCamere, const std::string& tipoCamera) {
    tipiCamere.findFirst("Sigla = " + db::quote(tipoCamera));
    return !tipiCamere.noMatch() && tipiCamere.field("Tipologia").toText() == kBoardRoomKind;
}

}  // namespace

std::string listItem(std::int64_t code, std::string_view name) {
    std::string number = std::to_string(code);
    if (number.size() < kCodeWidth) {
        number.insert(0, kCodeWidth - number.size(), ' ');
    }
    return number + " " + std::string(name);
}

std::int16_t itemCode(std::string_view item) {
    return static_cast<std::int16_t>(numericValue(item.substr(0, kCodeWidth)));
}

std::vector<std::string> hotelItems(db::RecordSet& hotels) {
    return itemsWhere(hotels, "AnagraficaHotels", "Numero > 0", "Numero", "RagioneSociale");
}

std::vector<std::string> layoutItems(db::RecordSet& tableau, std::int16_t hotel) {
    return itemsWhere(tableau, "Tableau",
                      "NumeroHotel = " + std::to_string(hotel) + " and Codice > 0", "Codice",
                      "Descrizione");
}

RoomRange defaultRoomRange(db::RecordSet& numeriCamere, const std::filesystem::path& dataFolder,
                           std::int16_t hotel, std::int16_t tableau) {
    db::Database tipiFile = db::Database::open(dataFolder, "TipiCamere.mdb");
    db::RecordSet tipiCamere = tipiFile.openRecordset("TipiCamere");

    RoomRange range{std::string(kAboveAnyRoom), std::string()};
    const std::string criteria = "NumeroHotel = " + std::to_string(hotel) +
                                 " and NumeroTableau = " + std::to_string(tableau);
    for (numeriCamere.findFirst(criteria); !numeriCamere.noMatch();
         numeriCamere.findNext(criteria)) {
        if (!isBoardRoom(tipiCamere, numeriCamere.field("TipoCamera").toText())) {
            continue;
        }
        const std::string room = numeriCamere.field("NumeroCamera").toText();
        if (room < range.first) {
            range.first = room;
        }
        if (room > range.last) {
            range.last = room;
        }
    }
    tipiFile.close();
    return range;
}

Message noHotelMessage() {
    return {"Planora", msg::noHotel()};
}

Message noLayoutMessage(std::int16_t hotel) {
    return {"Planora", msg::noLayout(hotel)};
}

}  // namespace planora::board

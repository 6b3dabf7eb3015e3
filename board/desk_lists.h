#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "board/validation.h"
#include "db/recordset.h"

// The lists of the main window and the default room range of a board layout, read from the
// databases the window keeps open.
namespace planora::board {

// A list item: the code right-aligned in 3 characters, one blank, the name ("  5 Hotel").
std::string listItem(std::int64_t code, std::string_view name);
// The code of a list item: the number in its first three characters.
std::int16_t itemCode(std::string_view item);

// One item per AnagraficaHotels record with Numero > 0, in the record set's order.
std::vector<std::string> hotelItems(db::RecordSet& hotels);
// One item per Tableau record of the hotel with Codice > 0, in the record set's order.
std::vector<std::string> layoutItems(db::RecordSet& tableau, std::int16_t hotel);

struct RoomRange {
    std::string first;
    std::string last;
};

// The lowest and highest NumeroCamera (as text, by character codes) of the rooms of kind "C"
// of the layout, with the room kinds read from TipiCamere.mdb of the data folder. Without
// such a room the range is the character of code 255 ("ÿ") to the empty text.
RoomRange defaultRoomRange(db::RecordSet& numeriCamere, const std::filesystem::path& dataFolder,
                           std::int16_t hotel, std::int16_t tableau);

// What the window says before it closes for want of data.
Message noHotelMessage();                     // no hotel with Numero > 0
Message noLayoutMessage(std::int16_t hotel);  // the hotel has no layout with Codice > 0

}  // namespace planora::board

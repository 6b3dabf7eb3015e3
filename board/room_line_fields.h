#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "db/recordset.h"
#include "messages/board_messages.h"

namespace planora::board {

// Fields of the current record, a Null read as the empty text or 0.
std::string textOf(const db::RecordSet& records, std::string_view field);
double numberOf(const db::RecordSet& records, std::string_view field);
// A code that goes into criteria (NumeroProgressivo, CodiceAgenzia, ...): Null reads as 0; a
// value that is no finite number throws planora::Error naming the room, the table, the field
// (place.field) and the value.
double codeOf(const db::RecordSet& records, const msg::FieldPlace& place);

// The text without leading and trailing blanks.
std::string trimBlanks(std::string_view text);

// A number as it goes into criteria: plain decimal text, '.' for a fraction.
std::string decimalText(double number);
// "NumeroHotel = " + hotel.
std::string hotelIs(std::int16_t hotel);
// "NumeroHotel = " + hotel + " and CodiceCliente = " + code.
std::string customerIs(std::int16_t hotel, double code);

// Puts `rooms` on each room of the layout from firstRoom to lastRoom in turn, rooms compared
// as text, and calls visit there.
void walkRooms(db::RecordSet& rooms, std::int16_t hotel, std::int16_t tableau,
               const std::string& firstRoom, const std::string& lastRoom,
               const std::function<void()>& visit);

// A dd/mm/yyyy text as the yyyymmdd key of the databases (characters 7-10, 4-5, 1-2).
std::string dateKey(std::string_view date);

}  // namespace planora::board

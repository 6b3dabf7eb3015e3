#include "board/room_line_fields.h"

#include <charconv>
#include <cmath>

#include "db/error.h"
#include "db/quote.h"

namespace planora::board {

std::string textOf(const db::RecordSet& records, std::string_view field) {
    const db::Value value = records.field(field);
    return value.isNull() ? std::string() : value.toText();
}

double numberOf(const db::RecordSet& records, std::string_view field) {
    return records.field(field).toNumber();
}

double codeOf(const db::RecordSet& records, const msg::FieldPlace& place) {
    const db::Value value = records.field(place.field);
    const double code = value.toNumber();
    if (!std::isfinite(code)) {
        throw Error(msg::badCode(place, value.toText()));
    }
    return code;
}

std::string trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::string decimalText(double number) {
    if (std::trunc(number) == number && std::fabs(number) < 1e15) {
        return std::to_string(static_cast<long long>(number));
    }
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, number).ptr;
    return std::string(text, end);
}

std::string hotelIs(std::int16_t hotel) {
    return "NumeroHotel = " + std::to_string(hotel);
}

std::string customerIs(std::int16_t hotel, double code) {
    return hotelIs(hotel) + " and CodiceCliente = " + decimalText(code);
}

void walkRooms(db::RecordSet& rooms, std::int16_t hotel, std::int16_t tableau,
               const std::string& firstRoom, const std::string& lastRoom,
               const std::function<void()>& visit) {
    const std::string criteria = hotelIs(hotel) +
                                 " and NumeroTableau = " + std::to_string(tableau) +
                                 " and NumeroCamera >= " + db::quote(firstRoom);
    for (rooms.findFirst(criteria); !rooms.noMatch() && textOf(rooms, "NumeroCamera") <= lastRoom;
         rooms.findNext(criteria)) {
        visit();
    }
}

namespace {

std::string_view mid(std::string_view text, std::size_t from, std::size_t length) {
    return from < text.size() ? text.substr(from, length) : std::string_view();
}

}  // namespace

std::string dateKey(std::string_view date) {
    return std::string(mid(date, 6, 4)) + std::string(mid(date, 3, 2)) +
           std::string(mid(date, 0, 2));
}

}  // namespace planora::board

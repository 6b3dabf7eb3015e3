#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// The texts of the board run, of its request checks and of the main window, in Italian.
namespace planora::msg {

// --- The checks of a board request (message dialog: title, text) ---
std::string roomRangeTitle();  // "Camere errate!"
std::string roomRangeText();
std::string dateTitle();  // "Data errata!"
std::string dateText();
std::string valueTooLongTitle();
// A typed value longer than its field allows; `field` is the field's caption.
std::string valueTooLong(std::string_view field, std::size_t most, std::string_view value);
std::string controlCharacterTitle();
// A typed value holding a control character (a line break, a tab, ...).
std::string controlCharacter(std::string_view field, std::string_view value);

// --- The main window ---
std::string noHotel();
std::string noLayout(std::int16_t hotel);
std::string boardReadyTitle();
std::string boardReady(const std::filesystem::path& file);
std::string errorTitle();    // the title of a failure shown in a window
std::string warningTitle();  // the title of the warnings of a run that succeeded
// A code of a list (hotel, layout) that is not a whole number the list can show.
std::string badListCode(std::string_view table, std::string_view field, std::string_view value);

// --- Values that do not fit the board ---
std::string roomNumberTooLong(std::string_view number, std::size_t width);
std::string roomTypeTooLong(std::string_view room, std::string_view type, std::size_t width);
std::string titleTooLong(std::size_t width, std::string_view title);

// The counters of the totals block.
enum class Counter {
    Arrivi,
    Partenze,
    Fermate,
    Presenze,
    CamArrivate,
    CamPartenza,
    CamFermata,
    CamPresenti,
    Pn,
    Bb,
    Hb,
    Fb
};
std::string counterDoesNotFit(Counter counter, long long count);
std::string personsDoNotFit(std::string_view room, long long count);
std::string grandTotalBeyondCounter(long long total, long long most);
// A counter that would pass the largest number it can hold.
std::string counterOverflow(Counter counter);

// --- Field values read for a room ---
// Where a value comes from: the room, the table and the field.
struct FieldPlace {
    std::string_view room;
    std::string_view table;
    std::string_view field;
};
// A count (persons) that is negative, fractional, not a number or too large.
std::string badCount(const FieldPlace& place, std::string_view value, long long most);
// A code used to find a record (customer, agency, reservation) that is not a number.
std::string badCode(const FieldPlace& place, std::string_view value);
// An amount that is not a number or beyond the range of amounts.
std::string badAmount(const FieldPlace& place, std::string_view value);
// The amounts of a room add up beyond the range of amounts.
std::string amountSumOverflow(const FieldPlace& place);
// Warning: an amount wider than its column, shown as a row of "#".
std::string amountTooWide(std::string_view room, std::string_view amount, std::size_t width);

}  // namespace planora::msg

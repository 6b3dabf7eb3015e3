#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "board/builder.h"
#include "board/request.h"
#include "db/recordset.h"
#include "db/value.h"

namespace planora::board {

// What one room row gathers from its guests (or reservation) before it is filled in.
struct RoomValues {
    std::string number;  // NumeroCamera as read
    int guests = 0;
    std::array<std::string, 10> names;
    std::string arrival, departure, company, notes, arrangement, state, agency;
    db::Currency amount;
};

// 132 blanks with the bars, the trimmed room number and type in their fields. Throws
// planora::Error when either is longer than its 6 characters.
std::string startRow(std::string_view number, std::string_view type);

// Which of the four state tests a counted guest passes; builder and composer decide them
// from different fields.
struct StayFlags {
    bool present = false;
    bool stayingOver = false;
    bool arriving = false;
    bool departing = false;
};
// Adds the guest to the counters of the tests it passes (a party head to the room counters
// too); a later test's state overrides an earlier one's.
void countStay(const StayFlags& flags, bool partyHead, Totals& totals, std::string& state);

// The "per Ditta" filter. The last matching room belongs to the filter object, so each owner
// (a builder run, a composer call) starts with none.
class CompanyFilter {
  public:
    explicit CompanyFilter(const BoardOptions& options);
    // Whether a guest card is kept, looking its company up in `companies`.
    bool keeps(db::RecordSet& companies, std::int16_t hotel, const db::RecordSet& guest);
    // Whether a company name passes the filter (always, when the filter is off).
    bool matches(std::string_view companyName) const;

  private:
    bool enabled_;
    std::string pattern_;
    std::string lastRoom_;
};

// The customer code (NumeroProgressivo) of a guest card of the room.
double customerOf(const db::RecordSet& card, const RoomValues& room);

// The arrival date, departure date and notes of the room, each taken only when still empty.
void takeStay(RoomValues& room, std::string arrival, std::string departure, std::string notes);
// A counted guest's name in place guests - 1; the eleventh and later have no place.
void addName(RoomValues& room, std::string name);
// Walks the arrangements matching the criteria: the first non-empty code becomes the room's
// arrangement when it has none, and withAmounts every ImportoTotale adds to the amount.
void takeArrangements(db::RecordSet& arrangements, const std::string& criteria, RoomValues& room,
                      bool withAmounts);
// The company of the last account-1 company record of the customer, when there is one.
void takeCompany(db::RecordSet& companies, std::int16_t hotel, double customer, RoomValues& room);

// How the row is completed: the hotel of the arrangement kinds and the notes column mode.
struct RowFill {
    std::int16_t hotel = 0;
    bool addArrangement = false;
    // With addArrangement and an amount above 0, the text after the amount (cut to 20).
    std::string textAfterAmount;
};
// Fills PAX, dates, name, company, state, arrangement and notes into the row and adds the
// room's guests to the counter of its arrangement kind. An amount too wide for its column is
// shown as "#########" and reported among the run's warnings.
void fillRow(std::string& row, const RoomValues& room, const RowFill& how,
             db::RecordSet& arrangementNames, RunTally& tally);

}  // namespace planora::board

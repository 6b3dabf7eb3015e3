#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/demo/calendar.h"
#include "tools/demo/hotel_schema.h"

namespace planora::demo {

struct DemoRoom {
    int hotel = 1;
    int tableau = 1;
    std::string number;
    std::string type;
    bool onBoard = true;  // a kind "C" or "A" room
};

// One stay of a party in a room: one guest card per name, the first the party head.
struct Stay {
    int hotel = 1;
    std::string room;
    DayNumber arrival = 0;
    DayNumber departure = 0;      // planned
    DayNumber realDeparture = 0;  // 0: not gone yet
    std::vector<std::string> names;
    std::string comment;
    int agency = 0;
    std::int64_t groupLeader = 0;
    std::int64_t familyLeader = 0;
    std::string arrangement;  // empty: none
    std::int64_t amountCents = 0;
    std::string company;        // empty: none
    std::string secondAccount;  // a second company account, not the one shown
};

struct Reservation {
    int hotel = 1;
    std::string room;
    DayNumber arrival = 0;
    DayNumber departure = 0;
    int persons = 1;
    std::string kind;  // TipoPrenotazione
    std::string name;
    std::string company;
    std::string agency;
    std::string note;
    std::string treatment;
    std::int64_t priceCents = 0;
};

// Writes stays and reservations into a data folder, handing out customer codes and
// reservation numbers.
class StayWriter {
  public:
    explicit StayWriter(HotelData& data) : data_(data) {}
    // Both return the party head's customer code.
    std::int64_t current(const Stay& stay);
    std::int64_t history(const Stay& stay);
    void reservation(const Reservation& reservation);
    // A further current arrangement record of a customer.
    void arrangement(int hotel, std::int64_t customer, DayNumber from, DayNumber to,
                     const std::string& code, std::int64_t amountCents);

  private:
    std::int64_t write(const Stay& stay, bool history);
    void arrangement(const char* file, int hotel, std::int64_t customer, DayNumber from,
                     DayNumber to, const std::string& code, std::int64_t amountCents);
    HotelData& data_;
    std::int64_t nextCode_ = 1001;
    std::int64_t nextReservation_ = 501;
};

db::Currency cents(std::int64_t amount);

}  // namespace planora::demo

#include <string>

#include "tools/demo/demo_parts.h"

namespace planora::demo {

namespace {

constexpr int kShowcaseRooms1 = 16;  // rooms 101 to 116 of hotel 1's main building
constexpr int kShowcaseRooms2 = 4;   // rooms 101 to 104 of hotel 2's main building

struct Counter {
    ShowcaseCounts counts;
    std::int64_t current(StayWriter& stays, const Stay& stay) {
        counts.currentCards += static_cast<int>(stay.names.size());
        return stays.current(stay);
    }
    void history(StayWriter& stays, const Stay& stay) {
        counts.historyCards += static_cast<int>(stay.names.size());
        stays.history(stay);
    }
};

Stay stay(int hotel, std::string room, DayNumber arrival, DayNumber departure,
          std::vector<std::string> names) {
    Stay s;
    s.hotel = hotel;
    s.room = std::move(room);
    s.arrival = arrival;
    s.departure = departure;
    s.names = std::move(names);
    return s;
}

Reservation reservation(std::string room, DayNumber arrival, int nights, int persons,
                        std::string kind, std::string name) {
    Reservation r;
    r.room = std::move(room);
    r.arrival = arrival;
    r.departure = arrival + nights;
    r.persons = persons;
    r.kind = std::move(kind);
    r.name = std::move(name);
    return r;
}

// In the house today: a party staying over, an arrival, a departure, a guest gone early.
void writeStaysOfHotel1(Counter& c, StayWriter& stays, DayNumber d) {
    Stay party = stay(1, "101", d - 3, d + 2, {"Rossi Mario", "Rossi Giulia", "Rossi Niccolò"});
    party.comment = "Anniversario di matrimonio";
    party.agency = 1;
    party.arrangement = "HB";
    party.amountCents = 54000;
    party.company = "Ferrari & Figli S.r.l.";
    party.secondAccount = "Ferrari Viaggi Aziendali";
    const std::int64_t rossi = c.current(stays, party);
    // A second arrangement record of the same head adds to the amount shown.
    stays.arrangement(1, rossi, d - 3, d + 2, "PC", 123450);

    Stay arriving = stay(1, "102", d, d + 4, {"Esposito Annalisa"});
    arriving.comment = "Camera lato lago";
    arriving.arrangement = "BB";
    arriving.amountCents = 34000;
    c.current(stays, arriving);

    Stay leaving = stay(1, "103", d - 5, d, {"Colombo Andrea", "Colombo Chiara"});
    leaving.arrangement = "FB";
    leaving.amountCents = 125000;
    leaving.company = "Costruzioni Martini S.p.A.";
    leaving.secondAccount = "Martini Immobiliare";
    c.current(stays, leaving);

    Stay goneEarly = stay(1, "104", d - 4, d + 1, {"Ricci Federica"});
    goneEarly.realDeparture = d - 1;
    goneEarly.arrangement = "PN";
    goneEarly.amountCents = 21000;
    c.current(stays, goneEarly);
    c.history(stays, goneEarly);
}

// A group and a family whose members take their leader's arrangement.
void writeLeadersOfHotel1(Counter& c, StayWriter& stays, DayNumber d) {
    Stay groupLeader = stay(1, "106", d - 1, d + 3, {"Greco Vittoria"});
    groupLeader.agency = 2;
    groupLeader.arrangement = "FB";
    groupLeader.amountCents = 52000;
    const std::int64_t greco = c.current(stays, groupLeader);
    Stay member = stay(1, "105", d - 1, d + 3, {"Gallo Stefano"});
    member.groupLeader = greco;
    member.agency = 2;
    c.current(stays, member);

    Stay familyLeader = stay(1, "108", d - 2, d + 5, {"Bruno Matteo"});
    familyLeader.arrangement = "MP";
    familyLeader.amountCents = 61600;
    const std::int64_t bruno = c.current(stays, familyLeader);
    Stay relative = stay(1, "107", d - 2, d + 5, {"Bruno Elena"});
    relative.familyLeader = bruno;
    c.current(stays, relative);

    Stay dayUse = stay(1, "115", d, d, {"Caruso Pietro"});
    dayUse.arrangement = "DAY";
    dayUse.amountCents = 4500;
    c.current(stays, dayUse);

    // A meeting room is a room of the layout but not of the board.
    c.current(stays, stay(1, "150", d, d + 1, {"Convegno Medici Lombardi"}));
}

// Reservations still to arrive: the four kinds shown and one that is not.
void writeReservationsOfHotel1(StayWriter& stays, DayNumber d) {
    Reservation couple = reservation("109", d, 2, 2, "C", "Marino Beatrice");
    couple.treatment = "BB";
    couple.priceCents = 18000;
    couple.agency = "Portale Prenotazioni Online";
    couple.note = "Arrivo previsto ore 18";
    stays.reservation(couple);
    Reservation business = reservation("110", d, 1, 1, "O", "Conti Raffaele");
    business.company = "Ferrari & Figli S.r.l.";
    business.treatment = "HB";
    business.priceCents = 9500;
    stays.reservation(business);
    Reservation family = reservation("111", d, 5, 3, "D", "De Luca Mattia");
    family.treatment = "PN";
    family.note = "Lettino aggiuntivo";
    stays.reservation(family);
    Reservation tour = reservation("112", d, 3, 2, "T", "Mancini Noemi");
    tour.treatment = "FB";
    tour.priceCents = 31000;
    tour.agency = "Viaggi & Vacanze Sorrento";
    stays.reservation(tour);
    stays.reservation(reservation("113", d, 2, 2, "A", "Lombardi Gioele"));
    stays.reservation(reservation("116", d + 1, 3, 1, "C", "Santoro Marta"));
}

// Past stays: one that ends today (shown from the history), and two weeks ago in every
// showcase room of hotel 1.
void writeHistoryOfHotel1(Counter& c, StayWriter& stays, DayNumber d) {
    Stay endsToday = stay(1, "114", d - 6, d - 6 + 7, {"Moretti Ilaria", "Moretti Tommaso"});
    endsToday.realDeparture = d;
    endsToday.arrangement = "HB";
    endsToday.amountCents = 98000;
    endsToday.company = "Studio Legale Galli";
    c.history(stays, endsToday);
    const char* names[] = {"Pellegrini Marta", "Vitale Simone",   "Benedetti Anna",
                           "Mariani Pietro",   "Santoro Giorgia", "Rinaldi Emanuele",
                           "Galli Rebecca",    "Ferrara Davide"};
    for (int i = 0; i < 8; ++i) {
        Stay past = stay(1, std::to_string(101 + i), d - 14, d - 10, {names[i]});
        past.arrangement = i % 2 == 0 ? "BB" : "HB";
        past.amountCents = 4 * (i % 2 == 0 ? 8500 : 11000);
        past.company = i % 3 == 0 ? "Tessiture Comasche S.r.l." : "";
        c.history(stays, past);
    }
}

void writeHotel2(Counter& c, StayWriter& stays, DayNumber d) {
    Stay couple = stay(2, "101", d - 2, d + 1, {"Fontana Lorenzo", "Fontana Anna"});
    couple.arrangement = "HB";
    couple.amountCents = 46000;
    c.current(stays, couple);
    Stay arriving = stay(2, "102", d, d + 2, {"Leone Davide"});
    arriving.company = "Meccanica Fontana S.p.A.";
    arriving.arrangement = "BB";
    arriving.amountCents = 19000;
    c.current(stays, arriving);
    Reservation booked = reservation("103", d, 3, 2, "C", "Serra Caterina");
    booked.hotel = 2;
    booked.treatment = "HB";
    booked.priceCents = 42000;
    stays.reservation(booked);
    Stay past = stay(2, "104", d - 10, d - 3, {"Cantù Alessia"});
    past.arrangement = "FB";
    past.amountCents = 91000;
    c.history(stays, past);
}

}  // namespace

bool isShowcaseRoom(const DemoRoom& room) {
    if (room.tableau != 1 || room.number.size() != 3 || room.number[0] != '1') {
        return false;
    }
    const int index = std::stoi(room.number) - 100;
    return index >= 1 && index <= (room.hotel == 1 ? kShowcaseRooms1 : kShowcaseRooms2);
}

ShowcaseCounts writeShowcase(StayWriter& stays, DayNumber day) {
    Counter c;
    writeStaysOfHotel1(c, stays, day);
    writeLeadersOfHotel1(c, stays, day);
    writeReservationsOfHotel1(stays, day);
    writeHistoryOfHotel1(c, stays, day);
    writeHotel2(c, stays, day);
    return c.counts;
}

}  // namespace planora::demo

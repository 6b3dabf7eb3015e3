#include "board/composer.h"

#include "board/room_line.h"
#include "board/room_line_fields.h"
#include "db/quote.h"

namespace planora::board {

namespace {

struct ComposerSets {
    db::RecordSet rooms;
    db::RecordSet cards;
    db::RecordSet bookedRooms;
    db::RecordSet companies;
    db::RecordSet arrangements;
    db::RecordSet arrangementNames;
};

void openDatabases(RunContext& run) {
    for (const char* name :
         {"NumeriCamere.mdb", "AnagraficaHotels.mdb", "Tableau.mdb", "SchedaStoricoClienti.mdb",
          "DittaStoricoClienti.mdb", "Camere_Prenotazione.mdb", "Scheda_Prenotazione.mdb",
          "ArrangiamentoStoricoClienti.mdb", "Arrangiamenti.mdb"}) {
        run.database(name);
    }
}

// The history cards and booked rooms of the mode: the day, or the arrivals or departures of
// the selection date.
void openStays(RunContext& run, ComposerSets& sets, std::int16_t hotel,
               const std::string& referenceKey, const std::string& selectionKey) {
    if (selectionKey.empty()) {
        sets.cards = run.recordSet(
            "SchedaStoricoClienti.mdb",
            "Select * From Scheda_Cliente Where DataArrivo <= " + db::quote(referenceKey) +
                " and DataPartenzaReale >= " + db::quote(referenceKey));
        sets.bookedRooms = run.recordSet("Camere_Prenotazione.mdb", "Camere_Prenotazione");
        return;
    }
    const bool arrivals = run.options().arrivi;
    const std::string where = " Where " + hotelIs(hotel);
    const std::string key = db::quote(selectionKey);
    sets.cards =
        run.recordSet("SchedaStoricoClienti.mdb",
                      "Select * From Scheda_Cliente" + where +
                          (arrivals ? " and DataArrivo = " : " and DataPartenzaReale = ") + key);
    sets.bookedRooms =
        run.recordSet("Camere_Prenotazione.mdb",
                      "Select * From Camere_Prenotazione" + where +
                          (arrivals ? " and DataArrivo = " : " and DataPartenza = ") + key);
}

ComposerSets openSets(RunContext& run, std::int16_t hotel, const std::string& referenceKey,
                      const std::string& selectionKey) {
    openDatabases(run);
    ComposerSets sets;
    run.recordSet("AnagraficaHotels.mdb", "AnagraficaHotels");
    run.recordSet("Tableau.mdb", "Tableau");
    openStays(run, sets, hotel, referenceKey, selectionKey);
    sets.companies = run.recordSet("DittaStoricoClienti.mdb", "Ditta_Intestataria");
    run.recordSet("Scheda_Prenotazione.mdb", "Scheda_Prenotazione");
    sets.arrangements = run.recordSet("ArrangiamentoStoricoClienti.mdb", "Arrangiamento");
    sets.arrangementNames = run.recordSet("Arrangiamenti.mdb", "NomiArrangiamenti");
    sets.rooms = run.recordSet("NumeriCamere.mdb", "NumeriCamere", "[NumeroCamera]");
    return sets;
}

StayFlags historyFlags(const std::string& arrival, const std::string& departure,
                       const std::string& key) {
    StayFlags flags;
    flags.present = (arrival <= key && departure > key) || (arrival == key && departure == key);
    flags.stayingOver = arrival < key && departure > key;
    flags.arriving = arrival == key;
    flags.departing = departure == key;
    return flags;
}

struct CardWalk {
    RunContext& run;
    ComposerSets& sets;
    std::int16_t hotel;
    const std::string& referenceKey;
    CompanyFilter& filter;
};

void takeCard(CardWalk& walk, RoomValues& room) {
    db::RecordSet& card = walk.sets.cards;
    if (!walk.filter.keeps(walk.sets.companies, walk.hotel, card)) {
        return;
    }
    std::string arrival = textOf(card, "DataArrivo");
    std::string departure = textOf(card, "DataPartenzaReale");
    if (arrival > walk.referenceKey || departure < walk.referenceKey) {
        return;
    }
    room.guests += 1;
    const bool partyHead = numberOf(card, "NumeroComponente") == 1;
    countStay(historyFlags(arrival, departure, walk.referenceKey), partyHead, walk.run.totals(),
              room.state);
    takeStay(room, std::move(arrival), std::move(departure), textOf(card, "Commento"));
    const double customer = customerOf(card, room);
    if (partyHead) {
        room.amount = {};
        takeArrangements(walk.sets.arrangements, customerIs(walk.hotel, customer), room, true);
    }
    addName(room, textOf(card, "NomeCliente"));
    takeCompany(walk.sets.companies, walk.hotel, customer, room);
}

std::string composeRoom(CardWalk& walk, std::int16_t addArrangement) {
    db::RecordSet& rooms = walk.sets.rooms;
    RoomValues room;
    room.number = textOf(rooms, "NumeroCamera");
    std::string row = startRow(room.number, textOf(rooms, "TipoCamera"));
    const std::string criteria =
        hotelIs(walk.hotel) + " and NumeroCamera = " + db::quote(room.number);
    for (walk.sets.cards.findFirst(criteria); !walk.sets.cards.noMatch();
         walk.sets.cards.findNext(criteria)) {
        takeCard(walk, room);
    }
    const RowFill how{walk.hotel, addArrangement != 0, room.notes};
    fillRow(row, room, how, walk.sets.arrangementNames, walk.run.tally());
    return row;
}

}  // namespace

std::string RigaCamera(RunContext& run, std::int16_t hotel, std::int16_t tableau,
                       const std::string& firstRoom, const std::string& lastRoom,
                       const std::string& referenceDate, std::int16_t addArrangement,
                       const std::string& selectionKey) {
    const std::string referenceKey = dateKey(referenceDate);
    ComposerSets sets = openSets(run, hotel, referenceKey, selectionKey);
    CompanyFilter filter(run.options());
    CardWalk walk{run, sets, hotel, referenceKey, filter};
    std::string row;
    walkRooms(sets.rooms, hotel, tableau, firstRoom, lastRoom,
              [&] { row = composeRoom(walk, addArrangement); });
    return row;
}

}  // namespace planora::board

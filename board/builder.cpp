#include "board/builder.h"

#include <limits>

#include "board/amount.h"
#include "board/board_file.h"
#include "board/composer.h"
#include "board/counts.h"
#include "board/helpers.h"
#include "board/room_line.h"
#include "board/room_line_fields.h"
#include "board/run_context.h"
#include "db/error.h"
#include "db/quote.h"
#include "messages/board_messages.h"

namespace planora::board {

namespace {

constexpr const char* kRoomsSql =
    "Select * From NumeriCamere Where TipoCamera In (Select Sigla From TipiCamere In "
    "'TipiCamere.mdb' Where (Tipologia = 'C' or Tipologia = 'A'));";

struct Keys {
    std::string reference;
    std::string selection;  // empty: day mode
};

Keys computeKeys(const BoardRequest& request, const Clock& clock) {
    Keys keys{dateKey(request.referenceDate), {}};
    std::string selection = request.selectionDate;
    FormattaData(selection, clock);
    GiorniMese giorniMese;
    if (DataValida(selection, giorniMese)) {
        keys.selection = dateKey(selection);
    }
    return keys;
}

struct BuilderSets {
    db::RecordSet rooms, hotels, tableaux, agencies, companies, reservations, arrangementNames;
    db::RecordSet guests, bookedRooms, arrangements;
};

void openDatabases(RunContext& run) {
    for (const char* name :
         {"NumeriCamere.mdb", "AnagraficaHotels.mdb", "Tableau.mdb", "Scheda_Cliente.mdb",
          "Ditta_Intestataria.mdb", "Arrangiamento.mdb", "Camere_Prenotazione.mdb",
          "Scheda_Prenotazione.mdb", "Arrangiamenti.mdb", "AgenzieAbituali.mdb"}) {
        run.database(name);
    }
}

// The guests and booked rooms of the mode: the day, or the arrivals or departures of the
// selection date.
void openStays(RunContext& run, BuilderSets& sets, std::int16_t hotel, const Keys& keys) {
    const std::string where = " Where " + hotelIs(hotel);
    if (keys.selection.empty()) {
        const std::string key = db::quote(keys.reference);
        sets.guests = run.recordSet(
            "Scheda_Cliente.mdb", "Select * From Scheda_Cliente" + where +
                                      " and DataArrivo <= " + key + " and DataPartenza >= " + key +
                                      " Order by NumeroCamera,NumeroProgressivo;");
        sets.bookedRooms = run.recordSet("Camere_Prenotazione.mdb",
                                         "Select * From Camere_Prenotazione" + where +
                                             " and DataArrivo <= " + key + " and DataPartenza > " +
                                             key + " Order by NumeroCamera;");
        return;
    }
    const std::string test = run.options().arrivi ? " and DataArrivo = " : " and DataPartenza = ";
    const std::string selection = test + db::quote(keys.selection);
    sets.guests =
        run.recordSet("Scheda_Cliente.mdb", "Select * From Scheda_Cliente" + where + selection);
    sets.bookedRooms = run.recordSet("Camere_Prenotazione.mdb",
                                     "Select * From Camere_Prenotazione" + where + selection);
}

BuilderSets openSets(RunContext& run, std::int16_t hotel, const Keys& keys) {
    openDatabases(run);
    BuilderSets sets;
    run.recordSet("Scheda_Cliente.mdb", "Scheda_Cliente");
    sets.rooms = run.recordSet("NumeriCamere.mdb", kRoomsSql, "[NumeroCamera]");
    sets.hotels = run.recordSet("AnagraficaHotels.mdb", "AnagraficaHotels");
    sets.tableaux = run.recordSet("Tableau.mdb", "Tableau");
    sets.agencies = run.recordSet("AgenzieAbituali.mdb", "AgenzieAbituali");
    sets.companies = run.recordSet("Ditta_Intestataria.mdb", "Ditta_Intestataria");
    sets.reservations = run.recordSet("Scheda_Prenotazione.mdb", "Scheda_Prenotazione");
    sets.arrangementNames = run.recordSet("Arrangiamenti.mdb", "NomiArrangiamenti");
    openStays(run, sets, hotel, keys);
    const std::string key = db::quote(keys.reference);
    sets.arrangements = run.recordSet(
        "Arrangiamento.mdb",
        "Select * From Arrangiamento Where DataInizio <= " + key + " and DataFine > " + key);
    return sets;
}

StayFlags currentFlags(const db::RecordSet& guest, const std::string& key) {
    const bool gone = textOf(guest, "Partito") == "S";
    const std::string arrival = textOf(guest, "DataArrivo");
    const std::string departure = textOf(guest, "DataPartenza");
    const std::string realDeparture = textOf(guest, "DataPartenzaReale");
    StayFlags flags;
    flags.present = (!gone && departure > key) || realDeparture > key;
    flags.stayingOver = flags.present && arrival < key;
    flags.arriving = arrival == key;
    flags.departing = departure == key || realDeparture == key;
    return flags;
}

bool isCounted(const db::RecordSet& guest, const std::string& key) {
    return textOf(guest, "Partito") != "S" || textOf(guest, "DataPartenzaReale") > key;
}

bool isShownReservation(const std::string& kind) {
    return kind == "C" || kind == "O" || kind == "D" || kind == "T";
}

// One run of CreaTableau: the steps of the build over the run's shared state.
class BoardRun {
  public:
    BoardRun(const BoardRequest& request, const BoardOptions& options, const BoardContext& context,
             const Clock& clock)
        : request_(request),
          context_(context),
          clock_(clock),
          keys_(computeKeys(request, clock)),
          run_(context.dataFolder, options),
          sets_(openSets(run_, request.hotel, keys_)),
          filter_(options) {}

    BoardResult build() {
        writeHeader();
        roomLoop();
        return finish();
    }

  private:
    void writeHeader() {
        TitleParts title;
        title.referenceDate = request_.referenceDate;
        sets_.hotels.findFirst("Numero = " + std::to_string(request_.hotel));
        title.hotelFound = !sets_.hotels.noMatch();
        if (title.hotelFound) {
            title.hotelName = textOf(sets_.hotels, "RagioneSociale");
        }
        sets_.tableaux.findFirst(hotelIs(request_.hotel) +
                                 " and Codice = " + std::to_string(request_.tableau));
        title.tableauFound = !sets_.tableaux.noMatch();
        if (title.tableauFound) {
            title.tableauName = textOf(sets_.tableaux, "Descrizione");
        }
        file_.add(titleLine(title, clock_.now()));
        file_.add(grid::topRule());
        file_.add(grid::firstTitleLine());
        file_.add(grid::secondTitleLine());
        file_.add(grid::middleRule());
    }

    void roomLoop() {
        walkRooms(sets_.rooms, request_.hotel, request_.tableau, request_.firstRoom,
                  request_.lastRoom, [this] {
                      std::string row = buildRoom();
                      if (!grid::isBlank(row, grid::kNome)) {
                          file_.add(std::move(row));
                          file_.add(grid::middleRule());
                      }
                  });
    }

    std::string buildRoom() {
        RoomValues room;
        room.number = textOf(sets_.rooms, "NumeroCamera");
        std::string row = startRow(room.number, textOf(sets_.rooms, "TipoCamera"));
        guestWalk(room);
        if (trimBlanks(room.names[0]).empty()) {
            takeReservation(room);
        }
        fillRow(row, room, RowFill{request_.hotel, request_.addArrangement != 0, room.agency},
                sets_.arrangementNames, run_.tally());
        if (trimBlanks(room.names[0]).empty()) {
            row = RigaCamera(run_, request_.hotel, request_.tableau, room.number, room.number,
                             request_.referenceDate, request_.addArrangement, keys_.selection);
        }
        return row;
    }

    void guestWalk(RoomValues& room) {
        const std::string criteria =
            hotelIs(request_.hotel) + " and NumeroCamera = " + db::quote(room.number);
        db::RecordSet& guests = sets_.guests;
        for (guests.findFirst(criteria); !guests.noMatch(); guests.findNext(criteria)) {
            if (filter_.keeps(sets_.companies, request_.hotel, guests) &&
                isCounted(guests, keys_.reference)) {
                takeGuest(room);
            }
        }
    }

    void takeGuest(RoomValues& room) {
        const db::RecordSet& guest = sets_.guests;
        room.guests += 1;
        const bool partyHead = numberOf(guest, "NumeroComponente") == 1;
        countStay(currentFlags(guest, keys_.reference), partyHead, run_.totals(), room.state);
        takeStay(room, textOf(guest, "DataArrivo"), textOf(guest, "DataPartenza"),
                 textOf(guest, "Commento"));
        if (partyHead) {
            takeHeadDetails(room);
        }
        addName(room, textOf(guest, "NomeCliente"));
        takeCompany(sets_.companies, request_.hotel, customerOf(guest, room), room);
    }

    // Agency, amount and arrangement of a party head; a leader's arrangement when it has none.
    void takeHeadDetails(RoomValues& room) {
        const db::RecordSet& guest = sets_.guests;
        takeAgency(room);
        room.amount = {};
        takeArrangements(sets_.arrangements, customerIs(request_.hotel, customerOf(guest, room)),
                         room, true);
        for (const char* leader : {"CodiceCapoGruppo", "CodiceCapoFamiglia"}) {
            const double code = codeOf(guest, {room.number, "Scheda_Cliente", leader});
            if (room.arrangement.empty() && code > 0) {
                takeArrangements(sets_.arrangements, customerIs(request_.hotel, code), room, false);
            }
        }
    }

    void takeAgency(RoomValues& room) {
        const msg::FieldPlace place{room.number, "Scheda_Cliente", "CodiceAgenzia"};
        if (sets_.guests.field(place.field).isNull()) {
            return;
        }
        sets_.agencies.findFirst(hotelIs(request_.hotel) +
                                 " and Codice = " + decimalText(codeOf(sets_.guests, place)));
        if (!sets_.agencies.noMatch() && room.agency.empty()) {
            room.agency = textOf(sets_.agencies, "RagioneSociale");
        }
    }

    // A reservation still to arrive in a room that no current guest fills.
    void takeReservation(RoomValues& room) {
        db::RecordSet& booked = sets_.bookedRooms;
        booked.findFirst(hotelIs(request_.hotel) + " and NumeroCamera = " + db::quote(room.number) +
                         " and DataArrivo = " + db::quote(keys_.reference) +
                         " and NumeroPersone > 0 and TipoPrenotazione <> 'A'");
        if (booked.noMatch()) {
            return;
        }
        db::RecordSet& reservation = sets_.reservations;
        reservation.findFirst(hotelIs(request_.hotel) + " and NumeroPrenotazione = " +
                              decimalText(codeOf(booked, {room.number, "Camere_Prenotazione",
                                                          "NumeroPrenotazione"})));
        if (reservation.noMatch() || !filter_.matches(textOf(reservation, "Ditta")) ||
            !isShownReservation(textOf(reservation, "TipoPrenotazione"))) {
            return;
        }
        takeBookedRoom(room);
    }

    void takeBookedRoom(RoomValues& room) {
        const db::RecordSet& booked = sets_.bookedRooms;
        const db::RecordSet& reservation = sets_.reservations;
        takeStay(room, textOf(booked, "DataArrivo"), textOf(booked, "DataPartenza"),
                 textOf(booked, "Note"));
        room.guests = personsOf(booked.field("NumeroPersone"),
                                {room.number, "Camere_Prenotazione", "NumeroPersone"});
        addToCounter(run_.totals().arrivi, room.guests, msg::Counter::Arrivi);
        room.names[0] = textOf(reservation, "NomeCliente");
        room.names[1] = "(in arrivo)";
        if (room.company.empty()) {
            room.company = textOf(reservation, "Ditta");
        }
        if (room.arrangement.empty()) {
            room.arrangement = textOf(booked, "Trattamento");
        }
        if (room.amount.scaled == 0) {
            room.amount =
                currencyOf(booked.field("Prezzo"), {room.number, "Camere_Prenotazione", "Prezzo"});
        }
        room.state = "IN ARRIVO";
        room.agency = textOf(reservation, "Agenzia");
    }

    BoardResult finish() {
        Totals& totals = run_.totals();
        // The counters are never negative, so their sum in 64 bits cannot overflow.
        const long long grand =
            static_cast<long long>(totals.pn) + totals.bb + totals.hb + totals.fb;
        constexpr long long kMostGrand = std::numeric_limits<std::int16_t>::max();
        if (grand > kMostGrand) {
            throw Error(msg::grandTotalBeyondCounter(grand, kMostGrand));
        }
        totals.generale = static_cast<int>(grand);
        file_.add(grid::bottomRule());
        for (std::string& line : totalsLines(totals)) {
            file_.add(std::move(line));
        }
        BoardResult result{file_.write(context_.dataFolder, context_.stationCode), totals,
                           run_.tally().warnings};
        run_.close();
        return result;
    }

    const BoardRequest& request_;
    const BoardContext& context_;
    const Clock& clock_;
    Keys keys_;
    RunContext run_;
    BuilderSets sets_;
    CompanyFilter filter_;
    BoardFile file_;
};

}  // namespace

BoardResult CreaTableau(const BoardRequest& request, const BoardOptions& options,
                        const BoardContext& context) {
    const SystemClock systemClock;
    const Clock& clock = context.clock != nullptr ? *context.clock : systemClock;
    return BoardRun(request, options, context, clock).build();
}

}  // namespace planora::board

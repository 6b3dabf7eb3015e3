#include "board/room_line.h"

#include "board/amount.h"
#include "board/board_file.h"
#include "board/room_line_fields.h"
#include "db/error.h"
#include "db/quote.h"
#include "db/sql.h"

namespace planora::board {

namespace {

std::string fitted(std::string_view utf8, grid::Field field, std::string_view what) {
    std::string text = grid::cutTrim(utf8, std::string::npos);
    if (text.size() > field.width) {
        throw Error("The " + std::string(what) + " \"" + std::string(utf8) + "\" is longer than " +
                    std::to_string(field.width) + " characters and does not fit the board");
    }
    return text;
}

std::string_view mid(std::string_view text, std::size_t from, std::size_t length) {
    return from < text.size() ? text.substr(from, length) : std::string_view();
}

// Day/month of a yyyymmdd key; an empty date reads as 10 blanks.
std::string dayMonth(std::string_view date) {
    const std::string_view source = date.empty() ? std::string_view("          ") : date;
    return std::string(mid(source, 6, 2)) + "/" + std::string(mid(source, 4, 2));
}

void addToKind(std::string_view kind, int guests, Totals& totals) {
    if (kind == "S") {
        totals.pn += guests;
    } else if (kind == "C") {
        totals.bb += guests;
    } else if (kind == "M" || kind == "1") {
        totals.hb += guests;
    } else if (kind == "P") {
        totals.fb += guests;
    }
}

std::string notesColumn(const RoomValues& room, const RowFill& how) {
    if (!how.addArrangement) {
        return grid::cutTrim(room.notes, 30);
    }
    std::string amount(9, ' ');
    std::string after = room.notes;
    if (room.amount.scaled > 0) {
        const std::string text = formatAmount(room.amount);
        if (text.size() > amount.size()) {
            throw Error("The amount " + text + " of room " + room.number +
                        " is longer than 9 characters and does not fit the board");
        }
        amount.replace(amount.size() - text.size(), text.size(), text);
        after = how.textAfterAmount;
    }
    return amount + " " + grid::cutTrim(after, 20);
}

}  // namespace

std::string startRow(std::string_view number, std::string_view type) {
    std::string row = grid::blankRow();
    grid::putLeft(row, grid::kCamera, fitted(number, grid::kCamera, "room number"));
    grid::putLeft(row, grid::kTipo, fitted(type, grid::kTipo, "room type"));
    return row;
}

void countStay(const StayFlags& flags, bool partyHead, Totals& totals, std::string& state) {
    const int head = partyHead ? 1 : 0;
    if (flags.present) {
        totals.presenze += 1;
        totals.camPresenti += head;
        state = "FERMATA";
    }
    if (flags.stayingOver) {
        totals.fermate += 1;
        totals.camFermata += head;
    }
    if (flags.arriving) {
        totals.arrivi += 1;
        totals.camArrivate += head;
        state = "ARRIVATO";
    }
    if (flags.departing) {
        totals.partenze += 1;
        totals.camPartenza += head;
        state = "PARTENZA";
    }
}

CompanyFilter::CompanyFilter(const BoardOptions& options)
    : enabled_(options.perDitta), pattern_(trimBlanks(options.ditta) + "*") {}

bool CompanyFilter::matches(std::string_view companyName) const {
    return !enabled_ || db::sql::likeMatch(companyName, pattern_);
}

bool CompanyFilter::keeps(db::RecordSet& companies, std::int16_t hotel,
                          const db::RecordSet& guest) {
    if (!enabled_) {
        return true;
    }
    const std::string room = textOf(guest, "NumeroCamera");
    const double member = numberOf(guest, "NumeroComponente");
    companies.findFirst(customerIs(hotel, numberOf(guest, "NumeroProgressivo")));
    if (companies.noMatch()) {
        return room == lastRoom_ && member > 1;
    }
    if (!matches(textOf(companies, "RagioneSociale"))) {
        return false;
    }
    if (member == 1) {
        lastRoom_ = room;
    }
    return true;
}

void takeStay(RoomValues& room, std::string arrival, std::string departure, std::string notes) {
    if (room.arrival.empty()) {
        room.arrival = std::move(arrival);
    }
    if (room.departure.empty()) {
        room.departure = std::move(departure);
    }
    if (room.notes.empty()) {
        room.notes = std::move(notes);
    }
}

void addName(RoomValues& room, std::string name) {
    const auto place = static_cast<std::size_t>(room.guests - 1);
    if (room.guests >= 1 && place < room.names.size()) {
        room.names[place] = std::move(name);
    }
}

void takeArrangements(db::RecordSet& arrangements, const std::string& criteria, RoomValues& room,
                      bool addAmounts) {
    for (arrangements.findFirst(criteria); !arrangements.noMatch();
         arrangements.findNext(criteria)) {
        if (room.arrangement.empty()) {
            room.arrangement = textOf(arrangements, "Arrangiamento");
        }
        if (!addAmounts) {
            if (!room.arrangement.empty()) {
                return;
            }
            continue;
        }
        room.amount.scaled += currencyOf(arrangements.field("ImportoTotale")).scaled;
    }
}

void takeCompany(db::RecordSet& companies, std::int16_t hotel, double customer, RoomValues& room) {
    companies.findLast(customerIs(hotel, customer) + " and NumeroConto = 1");
    if (!companies.noMatch()) {
        room.company = textOf(companies, "RagioneSociale");
    }
}

void fillRow(std::string& row, const RoomValues& room, const RowFill& how,
             db::RecordSet& arrangementNames, Totals& totals) {
    if (room.guests > 0) {
        grid::putRight(row, grid::kPax, countText(room.guests, "persons of room " + room.number));
    }
    grid::putLeft(row, grid::kArrivo, dayMonth(room.arrival).substr(0, grid::kArrivo.width));
    grid::putLeft(row, grid::kPartenza, dayMonth(room.departure).substr(0, grid::kPartenza.width));
    grid::putLeft(row, grid::kNome, grid::cutTrim(room.names[0], grid::kNome.width));
    grid::putLeft(row, grid::kDitta, grid::cutTrim(room.company, grid::kDitta.width));
    grid::putLeft(row, grid::kStato, grid::cutTrim(room.state, grid::kStato.width));
    grid::putLeft(row, grid::kArrangiamento,
                  grid::cutTrim(room.arrangement, grid::kArrangiamento.width));
    arrangementNames.findFirst(hotelIs(how.hotel) + " and Sigla = " + db::quote(room.arrangement));
    if (!arrangementNames.noMatch()) {
        addToKind(textOf(arrangementNames, "Tipo"), room.guests, totals);
    }
    grid::putLeft(row, grid::kNote, notesColumn(room, how));
}

}  // namespace planora::board

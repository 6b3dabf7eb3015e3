#include "board/room_line.h"

#include "board/amount.h"
#include "board/board_file.h"
#include "board/counts.h"
#include "board/room_line_fields.h"
#include "db/error.h"
#include "db/quote.h"
#include "db/sql.h"
#include "messages/board_messages.h"

namespace planora::board {

namespace {

// The board text of a room number or type; throws planora::Error when it is longer than its
// field.
std::string fitted(std::string_view utf8, grid::Field field,
                   const std::function<std::string()>& tooLong) {
    std::string text = grid::cutTrim(utf8, std::string::npos);
    if (text.size() > field.width) {
        throw Error(tooLong());
    }
    return text;
}

std::string_view mid(std::string_view text, std::size_t from, std::size_t length) {
    return from < text.size() ? text.substr(from, length) : std::string_view();
}

// Day/month of a yyyymmdd key as board text of 5 characters; an empty date reads as 10 blanks.
std::string dayMonth(std::string_view date) {
    const std::string key = grid::boardText(date.empty() ? std::string_view("          ") : date);
    std::string text = std::string(mid(key, 6, 2)) + "/" + std::string(mid(key, 4, 2));
    return text.substr(0, grid::kArrivo.width);
}

constexpr std::size_t kAmountWidth = 9;

// An amount wider than its column shows as a row of "#", as a spreadsheet shows a number too
// wide for its cell, and the run goes on with a warning.
std::string notesColumn(const RoomValues& room, const RowFill& how,
                        std::vector<std::string>& warnings) {
    if (!how.addArrangement) {
        return grid::cutTrim(room.notes, 30);
    }
    std::string amount(kAmountWidth, ' ');
    std::string after = room.notes;
    if (room.amount.scaled > 0) {
        const std::string text = formatAmount(room.amount);
        if (text.size() > kAmountWidth) {
            amount.assign(kAmountWidth, '#');
            warnings.push_back(msg::amountTooWide(room.number, text, kAmountWidth));
        } else {
            amount.replace(kAmountWidth - text.size(), text.size(), text);
        }
        after = how.textAfterAmount;
    }
    return amount + " " + grid::cutTrim(after, 20);
}

}  // namespace

std::string startRow(std::string_view number, std::string_view type) {
    std::string row = grid::blankRow();
    grid::putLeft(row, grid::kCamera, fitted(number, grid::kCamera, [&] {
                      return msg::roomNumberTooLong(number, grid::kCamera.width);
                  }));
    grid::putLeft(row, grid::kTipo, fitted(type, grid::kTipo, [&] {
                      return msg::roomTypeTooLong(number, type, grid::kTipo.width);
                  }));
    return row;
}

void countStay(const StayFlags& flags, bool partyHead, Totals& totals, std::string& state) {
    using msg::Counter;
    const int head = partyHead ? 1 : 0;
    if (flags.present) {
        addToCounter(totals.presenze, 1, Counter::Presenze);
        addToCounter(totals.camPresenti, head, Counter::CamPresenti);
        state = "FERMATA";
    }
    if (flags.stayingOver) {
        addToCounter(totals.fermate, 1, Counter::Fermate);
        addToCounter(totals.camFermata, head, Counter::CamFermata);
    }
    if (flags.arriving) {
        addToCounter(totals.arrivi, 1, Counter::Arrivi);
        addToCounter(totals.camArrivate, head, Counter::CamArrivate);
        state = "ARRIVATO";
    }
    if (flags.departing) {
        addToCounter(totals.partenze, 1, Counter::Partenze);
        addToCounter(totals.camPartenza, head, Counter::CamPartenza);
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
    companies.findFirst(
        customerIs(hotel, codeOf(guest, {room, "Scheda_Cliente", "NumeroProgressivo"})));
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

double customerOf(const db::RecordSet& card, const RoomValues& room) {
    return codeOf(card, {room.number, "Scheda_Cliente", "NumeroProgressivo"});
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
                      bool withAmounts) {
    for (arrangements.findFirst(criteria); !arrangements.noMatch();
         arrangements.findNext(criteria)) {
        if (room.arrangement.empty()) {
            room.arrangement = textOf(arrangements, "Arrangiamento");
        }
        if (!withAmounts) {
            if (!room.arrangement.empty()) {
                return;
            }
            continue;
        }
        const msg::FieldPlace place{room.number, "Arrangiamento", "ImportoTotale"};
        room.amount =
            addAmounts(room.amount, currencyOf(arrangements.field("ImportoTotale"), place), place);
    }
}

void takeCompany(db::RecordSet& companies, std::int16_t hotel, double customer, RoomValues& room) {
    companies.findLast(customerIs(hotel, customer) + " and NumeroConto = 1");
    if (!companies.noMatch()) {
        room.company = textOf(companies, "RagioneSociale");
    }
}

void fillRow(std::string& row, const RoomValues& room, const RowFill& how,
             db::RecordSet& arrangementNames, RunTally& tally) {
    if (room.guests > 0) {
        grid::putRight(row, grid::kPax, personsText(room.guests, room.number));
    }
    grid::putLeft(row, grid::kArrivo, dayMonth(room.arrival));
    grid::putLeft(row, grid::kPartenza, dayMonth(room.departure));
    grid::putLeft(row, grid::kNome, grid::cutTrim(room.names[0], grid::kNome.width));
    grid::putLeft(row, grid::kDitta, grid::cutTrim(room.company, grid::kDitta.width));
    grid::putLeft(row, grid::kStato, grid::cutTrim(room.state, grid::kStato.width));
    grid::putLeft(row, grid::kArrangiamento,
                  grid::cutTrim(room.arrangement, grid::kArrangiamento.width));
    arrangementNames.findFirst(hotelIs(how.hotel) + " and Sigla = " + db::quote(room.arrangement));
    if (!arrangementNames.noMatch()) {
        addToKind(textOf(arrangementNames, "Tipo"), room.guests, tally.totals);
    }
    grid::putLeft(row, grid::kNote, notesColumn(room, how, tally.warnings));
}

}  // namespace planora::board

#include "bench/sql/board_sql.h"

#include <sqlite3.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <unordered_map>

#include "board/board_file.h"
#include "board/helpers.h"
#include "board/room_line_fields.h"

namespace planora::bench {

namespace {

namespace fs = std::filesystem;

using Files = std::vector<std::pair<const char*, const char*>>;  // alias, file stem

// The files of the current stays and of the history; SQLite attaches at most ten to a
// connection.
const Files kCurrentFiles{
    {"nc", "NumeriCamere"},        {"tc", "TipiCamere"},    {"sc", "Scheda_Cliente"},
    {"dc", "Ditta_Intestataria"},  {"ar", "Arrangiamento"}, {"cp", "Camere_Prenotazione"},
    {"sp", "Scheda_Prenotazione"}, {"na", "Arrangiamenti"}, {"ag", "AgenzieAbituali"}};
const Files kHistoryFiles{{"hs", "SchedaStoricoClienti"},
                          {"hd", "DittaStoricoClienti"},
                          {"ha", "ArrangiamentoStoricoClienti"}};

// One SQLite connection with files of the data folder attached under short names, read-only.
class Connection {
  public:
    Connection(const fs::path& folder, const Files& files) {
        if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            throw std::runtime_error("cannot open an SQLite connection");
        }
        for (const auto& [alias, stem] : files) {
            const fs::path file = folder / (std::string(stem) + ".sqlite");
            execute("ATTACH DATABASE 'file:" + file.string() + "?mode=ro' AS " + alias);
        }
        execute("CREATE TEMP TABLE rooms (NumeroCamera TEXT)");
        execute("CREATE TEMP TABLE customers (Codice INTEGER PRIMARY KEY)");
        execute("CREATE TEMP TABLE bookings (Numero INTEGER PRIMARY KEY)");
        execute("CREATE TEMP TABLE empty (NumeroCamera TEXT PRIMARY KEY)");
    }
    ~Connection() { sqlite3_close(db_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void execute(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string text = error != nullptr ? error : "?";
            sqlite3_free(error);
            throw std::runtime_error(sql + ": " + text);
        }
    }

    // Runs a query with named parameters; `row` sees each result row's statement.
    void query(const std::string& sql, const std::map<std::string, std::string>& texts,
               const std::function<void(sqlite3_stmt*)>& row) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v3(db_, sql.c_str(), -1, 0, &statement, nullptr);
        if (statement == nullptr) {
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
        }
        for (const auto& [name, value] : texts) {
            const int index = sqlite3_bind_parameter_index(statement, name.c_str());
            if (index > 0) {
                sqlite3_bind_text(statement, index, value.c_str(), -1, SQLITE_TRANSIENT);
            }
        }
        int step;
        while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
            row(statement);
        }
        sqlite3_finalize(statement);
        if (step != SQLITE_DONE) {
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
        }
    }

    // Fills a one-column temporary table.
    template <typename Values>
    void fill(const std::string& table, const Values& values) {
        execute("DELETE FROM temp." + table);
        execute("BEGIN");
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db_, ("INSERT OR IGNORE INTO temp." + table + " VALUES (?)").c_str(), -1,
                           &insert, nullptr);
        for (const auto& value : values) {
            if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string>) {
                sqlite3_bind_text(insert, 1, value.c_str(), -1, SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_int64(insert, 1, value);
            }
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        execute("COMMIT");
    }

  private:
    sqlite3* db_ = nullptr;
};

std::string text(sqlite3_stmt* statement, int column) {
    const auto* bytes = sqlite3_column_text(statement, column);
    return bytes == nullptr ? std::string() : reinterpret_cast<const char*>(bytes);
}

std::int64_t integer(sqlite3_stmt* statement, int column) {
    return sqlite3_column_int64(statement, column);
}

std::int64_t scaledAmount(sqlite3_stmt* statement, int column) {
    return std::llround(sqlite3_column_double(statement, column) * 10000.0);
}

std::string lowerAscii(std::string value) {
    for (char& c : value) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return value;
}

struct Guest {
    std::string room, arrival, departure, realDeparture, name, notes;
    bool gone = false;  // Partito "S"
    bool counted = false;
    std::int64_t customer = 0, member = 0, groupLeader = 0, familyLeader = 0;
    std::optional<std::int64_t> agency;
};

struct Charge {
    std::string arrangement;
    std::int64_t scaled = 0;
};

// What a room gathers before its row is filled, as the board composes it.
struct Room {
    std::string number;
    int guests = 0;
    std::string names[10];
    std::string arrival, departure, company, notes, arrangement, state, agency;
    std::int64_t amount = 0;

    void takeStay(const std::string& from, const std::string& to, const std::string& note) {
        arrival = arrival.empty() ? from : arrival;
        departure = departure.empty() ? to : departure;
        notes = notes.empty() ? note : notes;
    }
    void addName(const std::string& name) {
        if (guests >= 1 && guests <= 10) {
            names[guests - 1] = name;
        }
    }
};

struct StateFlags {
    bool present, stayingOver, arriving, departing;
};

void countStay(const StateFlags& flags, bool head, board::Totals& totals, std::string& state) {
    const int h = head ? 1 : 0;
    if (flags.present) {
        totals.presenze += 1;
        totals.camPresenti += h;
        state = "FERMATA";
    }
    if (flags.stayingOver) {
        totals.fermate += 1;
        totals.camFermata += h;
    }
    if (flags.arriving) {
        totals.arrivi += 1;
        totals.camArrivate += h;
        state = "ARRIVATO";
    }
    if (flags.departing) {
        totals.partenze += 1;
        totals.camPartenza += h;
        state = "PARTENZA";
    }
}

using Charges = std::unordered_map<std::int64_t, std::vector<Charge>>;
using Names = std::unordered_map<std::int64_t, std::string>;

// The first non-empty arrangement of a customer, and with `amounts` the sum of the charges.
void takeCharges(const Charges& charges, std::int64_t customer, Room& room, bool amounts) {
    const auto it = charges.find(customer);
    if (it == charges.end()) {
        return;
    }
    for (const Charge& charge : it->second) {
        room.arrangement = room.arrangement.empty() ? charge.arrangement : room.arrangement;
        if (amounts) {
            room.amount += charge.scaled;
        } else if (!room.arrangement.empty()) {
            return;
        }
    }
}

class SqlBoardRun {
  public:
    SqlBoardRun(const fs::path& folder, const board::BoardRequest& request,
                const board::BoardOptions& options)
        : db_(folder, kCurrentFiles),
          historyDb_(folder, kHistoryFiles),
          request_(request),
          options_(options) {
        params_[":h"] = std::to_string(request.hotel);
        params_[":t"] = std::to_string(request.tableau);
        params_[":first"] = request.firstRoom;
        params_[":last"] = request.lastRoom;
        params_[":k"] = key_ = board::dateKey(request.referenceDate);
        std::string selection = request.selectionDate;
        board::GiorniMese giorniMese;
        const board::FixedClock clock({2000, 1, 1, 0, 0, 0});
        board::FormattaData(selection, clock);
        if (board::DataValida(selection, giorniMese)) {
            params_[":s"] = selection_ = board::dateKey(selection);
        }
    }

    SqlBoard run() {
        loadRooms();
        loadKinds();
        loadGuests();
        loadChargesAndNames();
        loadBookings();
        std::vector<Room> built;
        std::vector<std::string> empty;
        for (const auto& [number, type] : rooms_) {
            built.push_back(buildRoom(number));
            if (board::trimBlanks(built.back().names[0]).empty()) {
                empty.push_back(number);
            }
        }
        loadHistory(empty);
        SqlBoard board;
        for (std::size_t i = 0; i < rooms_.size(); ++i) {
            Room room = built[i];
            if (board::trimBlanks(room.names[0]).empty()) {
                room = composeRoom(rooms_[i].first);
            }
            if (!board::grid::cutTrim(room.names[0], 25).empty()) {
                board.rows.push_back(rowOf(room));
            }
        }
        totals_.generale = totals_.pn + totals_.bb + totals_.hb + totals_.fb;
        board.totals = totals_;
        return board;
    }

  private:
    bool dayMode() const { return selection_.empty(); }

    void loadRooms() {
        db_.query(
            "SELECT NumeroCamera, TipoCamera FROM nc.NumeriCamere WHERE NumeroHotel = :h AND "
            "NumeroTableau = :t AND NumeroCamera >= :first AND NumeroCamera <= :last AND "
            "TipoCamera IN (SELECT Sigla FROM tc.TipiCamere WHERE Tipologia IN ('C', 'A')) "
            "ORDER BY NumeroCamera, rowid",
            params_, [&](sqlite3_stmt* s) { rooms_.emplace_back(text(s, 0), text(s, 1)); });
        std::vector<std::string> numbers;
        for (const auto& room : rooms_) {
            numbers.push_back(room.first);
        }
        db_.fill("rooms", numbers);
    }

    void loadKinds() {
        db_.query(
            "SELECT Sigla, Tipo FROM na.NomiArrangiamenti WHERE NumeroHotel = :h "
            "ORDER BY rowid",
            params_,
            [&](sqlite3_stmt* s) { kinds_.try_emplace(lowerAscii(text(s, 0)), text(s, 1)); });
    }

    void loadGuests() {
        const std::string mode =
            dayMode() ? "g.DataArrivo <= :k AND g.DataPartenza >= :k"
                      : (options_.arrivi ? "g.DataArrivo = :s" : "g.DataPartenza = :s");
        const std::string order = dayMode() ? "g.NumeroProgressivo, " : "";
        db_.query(
            "SELECT g.NumeroCamera, g.DataArrivo, g.DataPartenza, g.DataPartenzaReale, "
            "g.NomeCliente, g.Commento, g.NumeroProgressivo, g.NumeroComponente, "
            "g.CodiceCapoGruppo, g.CodiceCapoFamiglia, g.CodiceAgenzia, "
            "coalesce(g.Partito, '') = 'S' "
            "FROM sc.Scheda_Cliente g WHERE g.NumeroHotel = :h AND " +
                mode + " AND g.NumeroCamera IN temp.rooms ORDER BY g.NumeroCamera, " + order +
                "g.rowid",
            params_, [&](sqlite3_stmt* s) {
                Guest g;
                g.room = text(s, 0);
                g.arrival = text(s, 1);
                g.departure = text(s, 2);
                g.realDeparture = text(s, 3);
                g.name = text(s, 4);
                g.notes = text(s, 5);
                g.customer = integer(s, 6);
                g.member = integer(s, 7);
                g.groupLeader = integer(s, 8);
                g.familyLeader = integer(s, 9);
                if (sqlite3_column_type(s, 10) != SQLITE_NULL) {
                    g.agency = integer(s, 10);
                }
                g.gone = integer(s, 11) != 0;
                g.counted = !g.gone || g.realDeparture > key_;
                guests_[g.room].push_back(std::move(g));
            });
    }

    void loadChargesAndNames() {
        std::set<std::int64_t> customers;
        for (const auto& [room, guests] : guests_) {
            for (const Guest& g : guests) {
                if (g.counted) {
                    customers.insert({g.customer, g.groupLeader, g.familyLeader});
                }
            }
        }
        db_.fill("customers", customers);
        db_.query(
            "SELECT CodiceCliente, Arrangiamento, ImportoTotale FROM ar.Arrangiamento WHERE "
            "NumeroHotel = :h AND DataInizio <= :k AND DataFine > :k AND CodiceCliente IN "
            "temp.customers ORDER BY rowid",
            params_, [&](sqlite3_stmt* s) {
                charges_[integer(s, 0)].push_back({text(s, 1), scaledAmount(s, 2)});
            });
        db_.query(
            "SELECT CodiceCliente, RagioneSociale FROM dc.Ditta_Intestataria WHERE "
            "NumeroHotel = :h AND NumeroConto = 1 AND CodiceCliente IN temp.customers "
            "ORDER BY rowid",
            params_, [&](sqlite3_stmt* s) { companies_[integer(s, 0)] = text(s, 1); });
        db_.query(
            "SELECT Codice, RagioneSociale FROM ag.AgenzieAbituali WHERE NumeroHotel = :h "
            "ORDER BY rowid",
            params_, [&](sqlite3_stmt* s) { agencies_.try_emplace(integer(s, 0), text(s, 1)); });
    }

    struct Booking {
        std::string arrival, departure, notes, treatment;
        std::int64_t persons = 0, number = 0, price = 0;
    };
    struct Reservation {
        std::string kind, name, company, agency;
    };

    void loadBookings() {
        const std::string mode = dayMode()
                                     ? "DataArrivo <= :k AND DataPartenza > :k"
                                     : (options_.arrivi ? "DataArrivo = :s" : "DataPartenza = :s");
        std::vector<std::int64_t> numbers;
        db_.query(
            "SELECT NumeroCamera, DataArrivo, DataPartenza, Note, Trattamento, NumeroPersone, "
            "NumeroPrenotazione, Prezzo FROM cp.Camere_Prenotazione WHERE NumeroHotel = :h AND " +
                mode +
                " AND DataArrivo = :k AND NumeroPersone > 0 AND TipoPrenotazione <> 'A' AND "
                "NumeroCamera IN temp.rooms ORDER BY NumeroCamera, rowid",
            params_, [&](sqlite3_stmt* s) {
                Booking b{text(s, 1), text(s, 2), text(s, 3), text(s, 4)};
                b.persons = integer(s, 5);
                b.number = integer(s, 6);
                b.price = scaledAmount(s, 7);
                if (bookings_.try_emplace(text(s, 0), b).second) {
                    numbers.push_back(b.number);
                }
            });
        db_.fill("bookings", numbers);
        db_.query(
            "SELECT NumeroPrenotazione, TipoPrenotazione, NomeCliente, Ditta, Agenzia FROM "
            "sp.Scheda_Prenotazione WHERE NumeroHotel = :h AND NumeroPrenotazione IN "
            "temp.bookings ORDER BY rowid",
            params_, [&](sqlite3_stmt* s) {
                reservations_.try_emplace(
                    integer(s, 0), Reservation{text(s, 1), text(s, 2), text(s, 3), text(s, 4)});
            });
    }

    void loadHistory(const std::vector<std::string>& empty) {
        historyDb_.fill("empty", empty);
        const std::string mode =
            dayMode() ? "DataArrivo <= :k AND DataPartenzaReale >= :k"
                      : (options_.arrivi ? "DataArrivo = :s" : "DataPartenzaReale = :s");
        std::set<std::int64_t> customers;
        historyDb_.query(
            "SELECT NumeroCamera, DataArrivo, DataPartenzaReale, NomeCliente, Commento, "
            "NumeroProgressivo, NumeroComponente FROM hs.Scheda_Cliente WHERE " +
                mode +
                " AND NumeroHotel = :h AND NumeroCamera IN temp.empty AND DataArrivo <= :k AND "
                "DataPartenzaReale >= :k ORDER BY NumeroCamera, rowid",
            params_, [&](sqlite3_stmt* s) {
                Guest g;
                g.room = text(s, 0);
                g.arrival = text(s, 1);
                g.departure = g.realDeparture = text(s, 2);
                g.name = text(s, 3);
                g.notes = text(s, 4);
                g.customer = integer(s, 5);
                g.member = integer(s, 6);
                g.counted = true;
                customers.insert(g.customer);
                history_[g.room].push_back(std::move(g));
            });
        historyDb_.fill("customers", customers);
        historyDb_.query(
            "SELECT CodiceCliente, Arrangiamento, ImportoTotale FROM ha.Arrangiamento WHERE "
            "NumeroHotel = :h AND CodiceCliente IN temp.customers ORDER BY rowid",
            params_, [&](sqlite3_stmt* s) {
                historyCharges_[integer(s, 0)].push_back({text(s, 1), scaledAmount(s, 2)});
            });
        historyDb_.query(
            "SELECT CodiceCliente, RagioneSociale FROM hd.Ditta_Intestataria WHERE "
            "NumeroHotel = :h AND NumeroConto = 1 AND CodiceCliente IN temp.customers "
            "ORDER BY rowid",
            params_, [&](sqlite3_stmt* s) { historyCompanies_[integer(s, 0)] = text(s, 1); });
    }

    Room buildRoom(const std::string& number) {
        Room room;
        room.number = number;
        for (const Guest& g : guests_[number]) {
            if (g.counted) {
                takeGuest(g, room);
            }
        }
        if (board::trimBlanks(room.names[0]).empty()) {
            takeBooking(room);
        }
        addKind(room);
        return room;
    }

    void takeGuest(const Guest& g, Room& room) {
        room.guests += 1;
        const bool head = g.member == 1;
        const bool present = (!g.gone && g.departure > key_) || g.realDeparture > key_;
        countStay({present, present && g.arrival < key_, g.arrival == key_,
                   g.departure == key_ || g.realDeparture == key_},
                  head, totals_, room.state);
        room.takeStay(g.arrival, g.departure, g.notes);
        if (head) {
            const auto agency = g.agency ? agencies_.find(*g.agency) : agencies_.end();
            if (agency != agencies_.end() && room.agency.empty()) {
                room.agency = agency->second;
            }
            room.amount = 0;
            takeCharges(charges_, g.customer, room, true);
            for (const std::int64_t leader : {g.groupLeader, g.familyLeader}) {
                if (room.arrangement.empty() && leader > 0) {
                    takeCharges(charges_, leader, room, false);
                }
            }
        }
        room.addName(g.name);
        const auto company = companies_.find(g.customer);
        if (company != companies_.end()) {
            room.company = company->second;
        }
    }

    void takeBooking(Room& room) {
        const auto booking = bookings_.find(room.number);
        if (booking == bookings_.end()) {
            return;
        }
        const Booking& b = booking->second;
        const auto reservation = reservations_.find(b.number);
        if (reservation == reservations_.end()) {
            return;
        }
        const Reservation& r = reservation->second;
        if (r.kind != "C" && r.kind != "O" && r.kind != "D" && r.kind != "T") {
            return;
        }
        room.takeStay(b.arrival, b.departure, b.notes);
        room.guests = static_cast<int>(b.persons);
        totals_.arrivi += room.guests;
        room.names[0] = r.name;
        room.names[1] = "(in arrivo)";
        room.company = room.company.empty() ? r.company : room.company;
        room.arrangement = room.arrangement.empty() ? b.treatment : room.arrangement;
        room.amount = room.amount == 0 ? b.price : room.amount;
        room.state = "IN ARRIVO";
        room.agency = r.agency;
    }

    Room composeRoom(const std::string& number) {
        Room room;
        room.number = number;
        for (const Guest& g : history_[number]) {
            room.guests += 1;
            const bool head = g.member == 1;
            countStay(
                {(g.arrival <= key_ && g.departure > key_) ||
                     (g.arrival == key_ && g.departure == key_),
                 g.arrival < key_ && g.departure > key_, g.arrival == key_, g.departure == key_},
                head, totals_, room.state);
            room.takeStay(g.arrival, g.departure, g.notes);
            if (head) {
                room.amount = 0;
                takeCharges(historyCharges_, g.customer, room, true);
            }
            room.addName(g.name);
            const auto company = historyCompanies_.find(g.customer);
            if (company != historyCompanies_.end()) {
                room.company = company->second;
            }
        }
        addKind(room);
        return room;
    }

    void addKind(const Room& room) {
        const auto kind = kinds_.find(lowerAscii(room.arrangement));
        if (kind == kinds_.end()) {
            return;
        }
        const std::string& k = kind->second;
        int* counter = k == "S"               ? &totals_.pn
                       : k == "C"             ? &totals_.bb
                       : k == "M" || k == "1" ? &totals_.hb
                       : k == "P"             ? &totals_.fb
                                              : nullptr;
        if (counter != nullptr) {
            *counter += room.guests;
        }
    }

    static SqlRoomRow rowOf(const Room& room) {
        using board::grid::cutTrim;
        return {cutTrim(room.number, 6),      cutTrim(room.names[0], 25), cutTrim(room.company, 25),
                cutTrim(room.arrangement, 6), cutTrim(room.state, 10),    room.guests};
    }

    Connection db_;
    Connection historyDb_;
    const board::BoardRequest& request_;
    const board::BoardOptions& options_;
    std::map<std::string, std::string> params_;
    std::string key_, selection_;
    std::vector<std::pair<std::string, std::string>> rooms_;
    std::unordered_map<std::string, std::string> kinds_;
    std::unordered_map<std::string, std::vector<Guest>> guests_, history_;
    Charges charges_, historyCharges_;
    Names companies_, historyCompanies_, agencies_;
    std::unordered_map<std::string, Booking> bookings_;
    std::unordered_map<std::int64_t, Reservation> reservations_;
    board::Totals totals_;
};

std::string trimmed(std::string_view text) {
    return board::trimBlanks(text);
}

// The number after the n-th ':' of a totals line.
int countAfter(const std::string& line, int n) {
    std::size_t at = 0;
    for (int i = 0; i <= n; ++i) {
        at = line.find(':', at) + 1;
    }
    return std::stoi(line.substr(at));
}

}  // namespace

SqlBoard sqlBoard(const fs::path& folder, const board::BoardRequest& request,
                  const board::BoardOptions& options) {
    return SqlBoardRun(folder, request, options).run();
}

SqlBoard readBoardFile(const fs::path& boardFile) {
    std::ifstream in(boardFile, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), {});
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = content.find("\r\n", at)) != std::string::npos;
         at = end + 2) {
        lines.push_back(content.substr(at, end - at));
    }
    SqlBoard board;
    using namespace board::grid;
    for (std::size_t i = 4; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.size() != kWidth || isFrameAt(line, 1)) {
            continue;
        }
        auto field = [&](Field f) { return trimmed(line.substr(f.column - 1, f.width)); };
        const std::string pax = field(kPax);
        board.rows.push_back({field(kCamera), field(kNome), field(kDitta), field(kArrangiamento),
                              field(kStato), pax.empty() ? 0 : std::stoi(pax)});
    }
    if (lines.size() < 5) {
        return board;
    }
    const auto totals = lines.end() - 5;
    board::Totals& t = board.totals;
    int* columns[4][3] = {{&t.arrivi, &t.camArrivate, &t.pn},
                          {&t.partenze, &t.camPartenza, &t.bb},
                          {&t.fermate, &t.camFermata, &t.hb},
                          {&t.presenze, &t.camPresenti, &t.fb}};
    for (int line = 0; line < 4; ++line) {
        for (int n = 0; n < 3; ++n) {
            *columns[line][n] = countAfter(totals[line], n);
        }
    }
    t.generale = countAfter(totals[4], 0);
    return board;
}

std::string compareBoards(const SqlBoard& expected, const SqlBoard& actual) {
    const board::Totals& e = expected.totals;
    const board::Totals& a = actual.totals;
    const int left[] = {e.arrivi,      e.partenze,   e.fermate,     e.presenze, e.camArrivate,
                        e.camPartenza, e.camFermata, e.camPresenti, e.pn,       e.bb,
                        e.hb,          e.fb,         e.generale};
    const int right[] = {a.arrivi,      a.partenze,   a.fermate,     a.presenze, a.camArrivate,
                         a.camPartenza, a.camFermata, a.camPresenti, a.pn,       a.bb,
                         a.hb,          a.fb,         a.generale};
    for (std::size_t i = 0; i < std::size(left); ++i) {
        if (left[i] != right[i]) {
            return "total " + std::to_string(i) + ": SQL " + std::to_string(left[i]) + ", board " +
                   std::to_string(right[i]);
        }
    }
    if (expected.rows.size() != actual.rows.size()) {
        return "rows: SQL " + std::to_string(expected.rows.size()) + ", board " +
               std::to_string(actual.rows.size());
    }
    for (std::size_t i = 0; i < expected.rows.size(); ++i) {
        if (!(expected.rows[i] == actual.rows[i])) {
            const auto& x = expected.rows[i];
            const auto& y = actual.rows[i];
            return "row " + std::to_string(i) + ": SQL " + x.room + "|" + x.name + "|" + x.company +
                   "|" + x.arrangement + "|" + x.state + "|" + std::to_string(x.persons) +
                   ", board " + y.room + "|" + y.name + "|" + y.company + "|" + y.arrangement +
                   "|" + y.state + "|" + std::to_string(y.persons);
        }
    }
    return {};
}

}  // namespace planora::bench

#include "tests/board/board_fixture.h"

#include <stdlib.h>

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <tuple>

#include "tools/demo/hotel_schema.h"
#include "tools/mdb/sqlite_to_mdb.h"

namespace planora::boardtest {

using demo::Fields;
using demo::HotelData;

ScratchFolder::ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "planora-board-XXXXXX");
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder from " + pattern);
    }
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

TestHotelFolders::TestHotelFolders() {
    writeTestHotels(sqlite.path());
    jet::writeMdbFolder(sqlite.path(), mdb.path(), {2026, 12, 8, 9, 30, 0},
                        [](const std::string&) {});
}

std::string formatName(const ::testing::TestParamInfo<DataFormat>& info) {
    return info.param == DataFormat::Mdb ? "Mdb" : "Sqlite";
}

namespace {

db::Currency euros(double amount) {
    return db::Currency{static_cast<std::int64_t>(amount * 10000.0 + 0.5)};
}

void room(HotelData& data, int hotel, int tableau, const char* number, const char* kind) {
    data.insert("NumeriCamere", "NumeriCamere",
                {{"NumeroHotel", hotel},
                 {"NumeroTableau", tableau},
                 {"NumeroCamera", number},
                 {"TipoCamera", kind}});
}

// A guest card with the fields most cards have; more fields are appended.
Fields card(int hotel, const char* room, int code, int member, const char* name,
            const char* arrival, const char* departure) {
    return {{"NumeroHotel", hotel},       {"NumeroCamera", room}, {"NumeroProgressivo", code},
            {"NumeroComponente", member}, {"NomeCliente", name},  {"DataArrivo", arrival},
            {"DataPartenza", departure}};
}

Fields with(Fields fields, const Fields& more) {
    fields.insert(fields.end(), more.begin(), more.end());
    return fields;
}

void company(HotelData& data, const char* file, int hotel, int customer, int account,
             const char* name) {
    data.insert(file, "Ditta_Intestataria",
                {{"NumeroHotel", hotel},
                 {"CodiceCliente", customer},
                 {"NumeroConto", account},
                 {"RagioneSociale", name}});
}

void arrangement(HotelData& data, const char* file, int customer, const char* from, const char* to,
                 const char* code, double amount) {
    data.insert(file, "Arrangiamento",
                {{"NumeroHotel", 1},
                 {"CodiceCliente", customer},
                 {"DataInizio", from},
                 {"DataFine", to},
                 {"Arrangiamento", code},
                 {"ImportoTotale", euros(amount)}});
}

void writeSettings(HotelData& data) {
    for (auto [sigla, kind] :
         {std::pair{"DOP", "C"}, {"SIN", "A"}, {"SUI", "C"}, {"MAG", "X"}, {"SUPERIOR", "C"}}) {
        data.insert("TipiCamere", "TipiCamere", {{"Sigla", sigla}, {"Tipologia", kind}});
    }
    data.insert("AnagraficaHotels", "AnagraficaHotels",
                {{"Numero", 1}, {"RagioneSociale", "HOTEL SOLE"}});
    data.insert("AnagraficaHotels", "AnagraficaHotels",
                {{"Numero", 3}, {"RagioneSociale", "HOTEL L'ANCORA"}});
    data.insert("AnagraficaHotels", "AnagraficaHotels",
                {{"Numero", 4}, {"RagioneSociale", "HOTEL LUNGO"}});
    data.insert("Tableau", "Tableau",
                {{"NumeroHotel", 1}, {"Codice", 1}, {"Descrizione", "  PRIMO PIANO "}});
    data.insert("Tableau", "Tableau",
                {{"NumeroHotel", 3}, {"Codice", 1}, {"Descrizione", "TERRA"}});
    for (int layout = 1; layout <= 3; ++layout) {
        data.insert("Tableau", "Tableau",
                    {{"NumeroHotel", 4}, {"Codice", layout}, {"Descrizione", "PROVA"}});
    }
    data.insert("Tableau", "Tableau",
                {{"NumeroHotel", 4},
                 {"Codice", 4},
                 {"Descrizione", "DESCRIZIONE DEL TABLEAU TROPPO LUNGA!!"}});
    // Hotel 2's HB comes first: the kind must be looked up for the board's hotel.
    data.insert("Arrangiamenti", "NomiArrangiamenti",
                {{"NumeroHotel", 2}, {"Sigla", "HB"}, {"Tipo", "S"}});
    for (auto [sigla, kind] :
         {std::pair{"HB", "M"}, {"BB", "C"}, {"PN", "S"}, {"FB", "P"}, {"MP", "1"}, {"XX", "Z"}}) {
        data.insert("Arrangiamenti", "NomiArrangiamenti",
                    {{"NumeroHotel", 1}, {"Sigla", sigla}, {"Tipo", kind}});
    }
    // Hotel 2's agency 7 comes first; agency 0 must not be found for a card without agency.
    for (auto [hotel, code, name] :
         {std::tuple{2, 7, "AGENZIA ALTRO HOTEL"}, {1, 7, "VIAGGI BLU"}, {1, 0, "AGENZIA ZERO"}}) {
        data.insert("AgenzieAbituali", "AgenzieAbituali",
                    {{"NumeroHotel", hotel}, {"Codice", code}, {"RagioneSociale", name}});
    }
}

void writeRooms(HotelData& data) {
    room(data, 1, 1, "101", "DOP");
    room(data, 1, 1, "102", "SIN");
    room(data, 1, 1, "9", "DOP");
    room(data, 1, 1, "103", "DOP");
    room(data, 1, 1, "104", "SUI");
    room(data, 1, 1, "105", "MAG");
    room(data, 1, 1, "106", "DOP");
    room(data, 1, 1, "10", "SIN");
    room(data, 1, 2, "201", "DOP");
    room(data, 3, 1, "1'A", "DOP");
    room(data, 3, 1, "2'B", "DOP");
    room(data, 4, 1, "1234567", "DOP");
    room(data, 4, 2, "401", "SUPERIOR");
    room(data, 4, 3, "402", "DOP");
}

void writeCurrentGuests(HotelData& data) {
    const char* file = "Scheda_Cliente";
    data.insert(file, file,
                with(card(1, "101", 1001, 1, "ROSSI MARIO", "20261205", "20261210"),
                     {{"Commento", "VISTA MARE"}, {"CodiceAgenzia", 7}}));
    data.insert(file, file, card(1, "101", 1002, 2, "ROSSI ANNA", "20261205", "20261210"));
    data.insert(
        file, file,
        with(card(1, "102", 2001, 1, "VERDI LUCA", "20261208", "20261211"),
             {{"Commento", "ARRIVO TARDI, CHIAVE IN PORTINERIA"}, {"CodiceCapoGruppo", 3001}}));
    data.insert(file, file,
                with(card(1, "103", 4001, 1, "BIANCHI NICOLÒ", "20261201", "20261208"),
                     {{"CodiceCapoGruppo", 0}, {"CodiceCapoFamiglia", 4000}}));
    data.insert(file, file,
                with(card(1, "103", 4002, 2, "BIANCHI EVA", "20261201", "20261208"),
                     {{"DataPartenzaReale", "20261207"}, {"Partito", "S"}}));
    data.insert(file, file,
                card(1, "104", 5001, 1, "GRUPPO ALFA VIAGGI ORGANIZZATI", "20261207", "20261209"));
    for (int member = 2; member <= 11; ++member) {
        const std::string name = "ALFA OSPITE " + std::to_string(member);
        data.insert(file, file,
                    card(1, "104", 5000 + member, member, name.c_str(), "20261207", "20261209"));
    }
    data.insert(file, file, card(1, "105", 6001, 1, "NASCOSTO", "20261201", "20261215"));
    data.insert(file, file,
                with(card(1, "9", 7001, 1, "PARTITO GIA", "20261201", "20261208"),
                     {{"DataPartenzaReale", "20261207"}, {"Partito", "S"}}));
    data.insert(file, file, card(2, "101", 9101, 1, "ALTRO HOTEL", "20261201", "20261215"));
    data.insert(file, file, card(3, "1'A", 9301, 1, "O'NEIL SEAN", "20261207", "20261209"));

    const char* ditta = "Ditta_Intestataria";
    company(data, ditta, 1, 1001, 1, "ACME SPA");
    company(data, ditta, 1, 2001, 2, "CONTO DUE SRL");
    company(data, ditta, 1, 5001, 1, "ALFA TOUR");
    company(data, ditta, 1, 5001, 2, "ALFA CONTABILITA");
    company(data, ditta, 1, 5011, 1, "ZETA SRL");
    company(data, ditta, 1, 7001, 1, "ACME HOLDING");
    company(data, ditta, 3, 9301, 1, "L'ALBA SRL");

    const char* arr = "Arrangiamento";
    arrangement(data, arr, 1001, "20261205", "20261210", "HB", 120.50);
    arrangement(data, arr, 1001, "20261201", "20261208", "XX", 5000);
    arrangement(data, arr, 1001, "20261201", "20261209", "HB", 80);
    arrangement(data, arr, 1001, "20261101", "20261108", "FB", 999);
    arrangement(data, arr, 3001, "20261201", "20261220", "BB", 50);
    arrangement(data, arr, 4000, "20261201", "20261220", "PN", 10);
    arrangement(data, arr, 5001, "20261207", "20261209", "FB", 1234.50);
}

void writeReservations(HotelData& data) {
    const char* rooms = "Camere_Prenotazione";
    const char* cards = "Scheda_Prenotazione";
    auto booked = [&](int hotel, const char* room, int number, const char* to, int persons,
                      const char* kind, const char* note, const char* plan, double price) {
        data.insert(rooms, rooms,
                    {{"NumeroHotel", hotel},
                     {"NumeroCamera", room},
                     {"NumeroPrenotazione", number},
                     {"DataArrivo", "20261208"},
                     {"DataPartenza", to},
                     {"NumeroPersone", persons},
                     {"TipoPrenotazione", kind},
                     {"Note", note},
                     {"Trattamento", plan},
                     {"Prezzo", euros(price)}});
    };
    booked(1, "106", 702, "20261210", 3, "A", "ANNULLATA", "FB", 10);
    booked(1, "106", 700, "20261212", 2, "C", "CULLA", "HB", 300);
    booked(1, "9", 701, "20261209", 1, "X", "RISERVA", "BB", 70);
    booked(4, "402", 703, "20261210", 1000, "C", "", "HB", 0);
    auto reservation = [&](int hotel, int number, const char* kind, const char* name,
                           const char* ditta, const char* agency) {
        data.insert(cards, cards,
                    {{"NumeroHotel", hotel},
                     {"NumeroPrenotazione", number},
                     {"TipoPrenotazione", kind},
                     {"NomeCliente", name},
                     {"Ditta", ditta},
                     {"Agenzia", agency}});
    };
    reservation(1, 702, "C", "PRENOTAZIONE ANNULLATA", "", "");
    reservation(1, 700, "C", "NERI PAOLO", "BETA SNC", "AGENZIA SUD");
    reservation(1, 701, "W", "INVISIBILE", "ACME SPA", "");
    reservation(4, 703, "O", "FOLLA", "", "");
}

void writeHistory(HotelData& data) {
    const char* file = "SchedaStoricoClienti";
    const char* table = "Scheda_Cliente";
    auto past = [&](int hotel, const char* room, int code, int member, const char* name,
                    const char* arrival, const char* departure, Fields more) {
        Fields fields = card(hotel, room, code, member, name, arrival, departure);
        fields.emplace_back("DataPartenzaReale", departure);
        data.insert(file, table, with(fields, more));
    };
    past(1, "10", 8001, 1, "GIALLI ELSA", "20261206", "20261208", {{"Commento", "PAGATO"}});
    // Planned to leave on the 8th, left on the 9th.
    data.insert(file, table,
                with(card(1, "9", 8201, 2, "FANTI ROSA", "20261205", "20261208"),
                     {{"DataPartenzaReale", "20261209"}}));
    past(1, "103", 8101, 1, "MORO IVO", "20261207", "20261207", {});
    past(1, "9", 8301, 1, "VECCHI ADA", "20261030", "20261102", {{"Commento", "LETTO AGGIUNTO"}});
    past(1, "9", 8302, 2, "VECCHI BRUNO", "20261030", "20261102", {});
    past(1, "101", 8401, 1, "PRIMI CARLO", "20261101", "20261101", {});
    past(1, "104", 8501, 1, "ORSI LIA", "20261031", "20261103", {});
    past(1, "104", 8502, 2, "ORSI MAX", "20261031", "20261103", {});
    past(2, "101", 9201, 1, "ALTRO STORICO", "20261030", "20261105", {});
    past(3, "2'B", 9302, 1, "D'ANGELO", "20261207", "20261209", {});

    const char* ditta = "DittaStoricoClienti";
    company(data, ditta, 1, 8001, 1, "GAMMA SAS");
    company(data, ditta, 1, 8302, 1, "DELTA SPA");
    company(data, ditta, 1, 8501, 1, "DELTA TRAVEL");
    company(data, ditta, 3, 9302, 1, "L'ALBA VIAGGI");

    const char* arr = "ArrangiamentoStoricoClienti";
    arrangement(data, arr, 8001, "20261206", "20261208", "MP", 90);
    arrangement(data, arr, 8301, "20261030", "20261102", "BB", 60);
    arrangement(data, arr, 8301, "20261030", "20261102", "HB", 40);
}

// Decodes one UTF-8 character at text[at], moving at past it.
char32_t nextCodePoint(const std::string& text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) {
        return lead;
    }
    const int extra = lead >= 0xE0 ? 2 : 1;
    char32_t code = lead & (extra == 2 ? 0x0F : 0x1F);
    for (int i = 0; i < extra; ++i) {
        code = (code << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    }
    return code;
}

char boardByte(char32_t code) {
    static const std::map<char32_t, unsigned char> frame{
        {U'│', 179}, {U'┤', 180}, {U'┐', 191}, {U'└', 192}, {U'┴', 193}, {U'┬', 194},
        {U'├', 195}, {U'─', 196}, {U'┼', 197}, {U'┘', 217}, {U'┌', 218}};
    if (const auto found = frame.find(code); found != frame.end()) {
        return static_cast<char>(found->second);
    }
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        return static_cast<char>(code);  // Windows-1252 agrees with Latin-1 there
    }
    throw std::runtime_error("golden file character outside the board's code page");
}

// Hotel 6: texts that differ only in case.
void writeCaseHotel(HotelData& data) {
    data.insert("AnagraficaHotels", "AnagraficaHotels",
                {{"Numero", 6}, {"RagioneSociale", "HOTEL MAIUSCOLO"}});
    data.insert("Tableau", "Tableau", {{"NumeroHotel", 6}, {"Codice", 1}, {"Descrizione", "CASI"}});
    for (const char* number : {"B1", "B3", "B4", "b9"}) {
        room(data, 6, 1, number, "DOP");
    }
    for (auto [sigla, kind] : {std::pair{"HB", "M"}, {"FB", "p"}}) {
        data.insert("Arrangiamenti", "NomiArrangiamenti",
                    {{"NumeroHotel", 6}, {"Sigla", sigla}, {"Tipo", kind}});
    }
    const char* file = "Scheda_Cliente";
    data.insert(file, file,
                with(card(6, "B1", 9601, 1, "MINUSCOLO PARTITO", "20261201", "20261208"),
                     {{"DataPartenzaReale", "20261207"}, {"Partito", "s"}}));
    data.insert(file, file, card(6, "B3", 9603, 1, "PICCOLA P", "20261207", "20261210"));
    data.insert(file, file, card(6, "b9", 9609, 1, "FUORI", "20261201", "20261215"));
    for (auto [customer, code] : {std::pair{9601, "hb"}, {9603, "fb"}}) {
        data.insert("Arrangiamento", "Arrangiamento",
                    {{"NumeroHotel", 6},
                     {"CodiceCliente", customer},
                     {"DataInizio", "20261201"},
                     {"DataFine", "20261220"},
                     {"Arrangiamento", code}});
    }
    data.insert("Camere_Prenotazione", "Camere_Prenotazione",
                {{"NumeroHotel", 6},
                 {"NumeroCamera", "B4"},
                 {"NumeroPrenotazione", 790},
                 {"DataArrivo", "20261208"},
                 {"DataPartenza", "20261210"},
                 {"NumeroPersone", 2},
                 {"TipoPrenotazione", "C"}});
    data.insert("Scheda_Prenotazione", "Scheda_Prenotazione",
                {{"NumeroHotel", 6},
                 {"NumeroPrenotazione", 790},
                 {"TipoPrenotazione", "c"},
                 {"NomeCliente", "MINUSCOLA"}});
}

}  // namespace

void writeTestHotels(const std::filesystem::path& folder) {
    HotelData data(folder);
    writeSettings(data);
    writeRooms(data);
    writeCurrentGuests(data);
    writeReservations(data);
    writeHistory(data);
    writeCaseHotel(data);
    data.finish();
}

std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + file.string());
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string goldenBytes(const std::string& name) {
    const std::string text = readBytes(std::filesystem::path(PLANORA_SOURCE_DIR) / "tests" /
                                       "board" / "golden" / (name + ".txt"));
    std::string bytes;
    for (std::size_t at = 0; at < text.size();) {
        const char32_t code = nextCodePoint(text, at);
        if (code == U'\n') {
            bytes += "\r\n";
        } else {
            bytes += boardByte(code);
        }
    }
    return bytes;
}

const board::FixedClock& testClock() {
    static const board::FixedClock clock({2026, 12, 8, 9, 30, 15});
    return clock;
}

board::BoardRequest dayRequest() {
    board::BoardRequest request;
    request.hotel = 1;
    request.tableau = 1;
    request.firstRoom = "1";
    request.lastRoom = "999";
    request.referenceDate = "08/12/2026";
    return request;
}

}  // namespace planora::boardtest

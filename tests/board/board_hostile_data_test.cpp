// Data that does not fit and hostile text: the board stops with a message naming the room, the
// field and the value, or comes out whole with every line on its grid.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "board/builder.h"
#include "board/encoding.h"
#include "cli/cli.h"
#include "db/error.h"
#include "tests/board/board_checks.h"
#include "tests/board/board_fixture.h"
#include "tools/demo/hotel_schema.h"

namespace planora::boardtest {
namespace {

using demo::Fields;

// Hotel 1 "HOTEL SOLE", layout 1, room 101 of kind C: a guest card, its arrangements and a
// reservation arriving in room 102 on 08/12/2026, with the fields a test chooses.
struct OneRoomHotel {
    Fields guest;               // added to the guest card of room 101
    std::vector<double> plans;  // ImportoTotale of the guest's arrangements (HB)
    Fields booked;              // added to the reservation of room 102
    std::string hotelName = "HOTEL SOLE";
};

void write(const std::filesystem::path& folder, const OneRoomHotel& hotel) {
    demo::HotelData data(folder);
    data.insert("TipiCamere", "TipiCamere", {{"Sigla", "DOP"}, {"Tipologia", "C"}});
    data.insert("AnagraficaHotels", "AnagraficaHotels",
                {{"Numero", 1}, {"RagioneSociale", hotel.hotelName}});
    data.insert("Tableau", "Tableau",
                {{"NumeroHotel", 1}, {"Codice", 1}, {"Descrizione", "PIANO"}});
    data.insert("Arrangiamenti", "NomiArrangiamenti",
                {{"NumeroHotel", 1}, {"Sigla", "HB"}, {"Tipo", "M"}});
    for (const char* room : {"101", "102"}) {
        data.insert("NumeriCamere", "NumeriCamere",
                    {{"NumeroHotel", 1},
                     {"NumeroTableau", 1},
                     {"NumeroCamera", room},
                     {"TipoCamera", "DOP"}});
    }
    Fields guest = {{"NumeroHotel", 1},          {"NumeroCamera", "101"},
                    {"NumeroProgressivo", 1001}, {"NumeroComponente", 1},
                    {"NomeCliente", "ROSSI"},    {"DataArrivo", "20261205"},
                    {"DataPartenza", "20261210"}};
    for (auto& field : hotel.guest) {
        std::erase_if(guest, [&](const auto& f) { return f.first == field.first; });
        guest.push_back(field);
    }
    data.insert("Scheda_Cliente", "Scheda_Cliente", guest);
    for (const double amount : hotel.plans) {
        data.insert("Arrangiamento", "Arrangiamento",
                    {{"NumeroHotel", 1},
                     {"CodiceCliente", 1001},
                     {"DataInizio", "20261201"},
                     {"DataFine", "20261220"},
                     {"Arrangiamento", "HB"},
                     {"ImportoTotale", db::Value::real(amount)}});
    }
    Fields booked = {{"NumeroHotel", 1},           {"NumeroCamera", "102"},
                     {"NumeroPrenotazione", 7},    {"DataArrivo", "20261208"},
                     {"DataPartenza", "20261210"}, {"NumeroPersone", 2},
                     {"TipoPrenotazione", "C"}};
    for (auto& field : hotel.booked) {
        std::erase_if(booked, [&](const auto& f) { return f.first == field.first; });
        booked.push_back(field);
    }
    data.insert("Camere_Prenotazione", "Camere_Prenotazione", booked);
    data.insert("Scheda_Prenotazione", "Scheda_Prenotazione",
                {{"NumeroHotel", 1},
                 {"NumeroPrenotazione", 7},
                 {"TipoPrenotazione", "C"},
                 {"NomeCliente", "NERI"}});
    data.finish();
}

class HostileDataTest : public ::testing::Test {
  protected:
    // Each run writes its hotel into a data folder of its own.
    board::BoardResult run(const OneRoomHotel& hotel, bool amounts = false) {
        newFolder();
        return runHere(hotel, amounts);
    }

    // The run must fail; the message is returned and the previous board must be untouched.
    std::string refusal(const OneRoomHotel& hotel, bool amounts = false) {
        newFolder();
        std::ofstream(data_ / "FD", std::ios::binary) << "OLD BOARD";
        std::string message;
        try {
            runHere(hotel, amounts);
            ADD_FAILURE() << "the run did not fail";
        } catch (const Error& error) {
            message = error.what();
        }
        EXPECT_EQ(readBytes(data_ / "FD"), "OLD BOARD");
        return message;
    }

    void newFolder() {
        data_ = folder_.path() / ("hotel" + std::to_string(++folders_));
        std::filesystem::create_directory(data_);
    }

    board::BoardResult runHere(const OneRoomHotel& hotel, bool amounts) {
        write(data_, hotel);
        board::BoardRequest request = dayRequest();
        request.addArrangement = amounts ? 1 : 0;
        return board::CreaTableau(request, {}, {data_, "", &testClock()});
    }

    std::string board() const { return readBytes(data_ / "FD"); }
    std::string rowOf(const std::string& room) const {
        for (const std::string& line : boardLines(board())) {
            if (line.size() > 8 && line.substr(1, room.size()) == room) {
                return line;
            }
        }
        return {};
    }

    ScratchFolder folder_;
    std::filesystem::path data_;
    int folders_ = 0;
};

TEST_F(HostileDataTest, PersonsThatAreNoCountStopTheRunNamingRoomFieldAndValue) {
    for (const db::Value& persons : {db::Value::real(3e9), db::Value::real(1e300),
                                     db::Value::real(2.5), db::Value::real(HUGE_VAL)}) {
        SCOPED_TRACE(persons.toText());
        const std::string message = refusal({{}, {}, {{"NumeroPersone", persons}}});
        EXPECT_EQ(
            message.rfind("Camera 102: il campo NumeroPersone di Camere_Prenotazione vale", 0), 0u)
            << message;
    }
}

TEST_F(HostileDataTest, ACodeThatIsNoNumberStopsTheRunInsteadOfMakingBadCriteria) {
    const std::string message =
        refusal({{{"NumeroProgressivo", db::Value::real(HUGE_VAL)}}, {}, {}});
    EXPECT_EQ(message.rfind("Camera 101: il campo NumeroProgressivo di Scheda_Cliente vale \"", 0),
              0u)
        << message;
    EXPECT_NE(message.find("che non è un codice valido"), std::string::npos) << message;
    EXPECT_NE(refusal({{}, {}, {{"NumeroPrenotazione", db::Value::real(-HUGE_VAL)}}})
                  .find("Camera 102: il campo NumeroPrenotazione di Camere_Prenotazione"),
              std::string::npos);
}

TEST_F(HostileDataTest, AmountsThatOverflowTheirSumStopTheRun) {
    EXPECT_EQ(refusal({{}, {5e14, 5e14}, {}}, true),
              "Camera 101: la somma degli importi ImportoTotale di Arrangiamento supera il massimo "
              "che un importo può contenere");
}

TEST_F(HostileDataTest, AnAmountThatIsNoNumberStopsTheRun) {
    const std::string message = refusal({{}, {1e300}, {}}, true);
    EXPECT_NE(message.find("Camera 101: il campo ImportoTotale di Arrangiamento vale \"1e+300\""),
              std::string::npos)
        << message;
}

TEST_F(HostileDataTest, AnAmountTooWideForItsColumnIsShownAsHashesWithAWarning) {
    const board::BoardResult result = run({{}, {60000, 40000}, {}}, true);
    EXPECT_EQ(boardProblem(board()), "");
    const std::string row = rowOf("101");
    ASSERT_FALSE(row.empty()) << board();
    EXPECT_EQ(row.substr(101, 10), "######### ");
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_EQ(result.warnings[0],
              "Camera 101: l'importo 100.000,00 non entra nelle 9 colonne del tableau ed è "
              "indicato con #########");
    // The widest amount that fits is shown as it is, without a warning.
    const board::BoardResult fits = run({{}, {99999.99}, {}}, true);
    EXPECT_TRUE(fits.warnings.empty());
    EXPECT_EQ(rowOf("101").substr(101, 10), "99.999,99 ");
}

TEST_F(HostileDataTest, ControlCharactersBecomeBlanksAndKeepTheGrid) {
    OneRoomHotel hotel;
    hotel.hotelName = "HOTEL\r\nSOLE\x0C";
    hotel.guest = {{"NomeCliente", "ROSSI\r\nMARIO\tX\x1B[2J"},
                   {"Commento", "\x07NOTA\x7F"},
                   {"DataArrivo", "2026\n205"}};
    run(hotel);
    const std::string bytes = board();
    EXPECT_EQ(boardProblem(bytes), "");
    const std::string row = rowOf("101");
    ASSERT_FALSE(row.empty()) << bytes;
    EXPECT_EQ(row.substr(15, 25), "ROSSI  MARIO X [2J       ");
    EXPECT_EQ(row.substr(101, 30), "NOTA" + std::string(26, ' '));
    EXPECT_EQ(boardLines(bytes)[0].substr(0, 22), " Hotel : HOTEL  SOLE  ");
}

TEST_F(HostileDataTest, TextsBeyondTheCodePageAreReadable) {
    OneRoomHotel hotel;
    hotel.guest = {{"NomeCliente", "\u0141ukasz \u017B\u00F3\u0142\u0107"},
                   {"Commento", "Cafe\u0301 \u041C\u043E\u0441\u043A\u0432\u0430"}};
    run(hotel);
    const std::string row = rowOf("101");
    EXPECT_EQ(row.substr(15, 12), "Lukasz Z\xF3lc ");
    EXPECT_EQ(row.substr(101, 12), "Caf\xE9 Moskva ");
    EXPECT_EQ(boardProblem(board()), "");
}

// The terminal view draws the frame only where the grid has it.
TEST_F(HostileDataTest, TheTerminalViewKeepsLettersThatShareAFramesByte) {
    newFolder();
    OneRoomHotel hotel;
    hotel.hotelName = "HOTEL CITTÀ";
    hotel.guest = {{"NomeCliente", "CITTÀ ÚÄ"}};
    write(data_, hotel);
    std::vector<std::string> words = {"planora", "board",      "--hotel", "1",      "--tableau",
                                      "1",       "--from",     "1",       "--to",   "999",
                                      "--date",  "08/12/2026", "--show",  "--data", data_.string()};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    std::ostringstream out, err;
    ASSERT_EQ(cli::run(static_cast<int>(argv.size()), argv.data(), out, err), 0) << err.str();
    const std::string shown = out.str();
    EXPECT_EQ(shown.rfind(" Hotel : HOTEL CITTÀ ", 0), 0u) << shown;
    EXPECT_NE(shown.find("│101   │DOP   │CITTÀ ÚÄ "), std::string::npos) << shown;
    EXPECT_EQ(shown.find("CITT└"), std::string::npos) << shown;
    EXPECT_NE(shown.find("└──────┴"), std::string::npos) << "the frame is still drawn";
}

// The command line: the warning on standard error, the board written, status 0.
TEST_F(HostileDataTest, TheCommandLinePrintsWarningsOnStandardError) {
    newFolder();
    write(data_, {{}, {123456.78}, {}});
    std::vector<std::string> words = {
        "planora", "board", "--hotel", "1",          "--tableau", "1",      "--from",      "1",
        "--to",    "999",   "--date",  "08/12/2026", "--amounts", "--data", data_.string()};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    std::ostringstream out, err;
    EXPECT_EQ(cli::run(static_cast<int>(argv.size()), argv.data(), out, err), 0);
    EXPECT_EQ(err.str(),
              "planora: attenzione: Camera 101: l'importo 123.456,78 non entra nelle 9 colonne del "
              "tableau ed è indicato con #########\n");
    EXPECT_EQ(out.str(), (data_ / "FD").string() + "\n");
    EXPECT_NE(board().find("#########"), std::string::npos);
}

}  // namespace
}  // namespace planora::boardtest

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

#include "board/encoding.h"
#include "db/database.h"
#include "db/error.h"
#include "demo_temp_folder.h"
#include "tools/demo/calendar.h"
#include "tools/demo/demo_hotel.h"
#include "tools/demo/hotel_schema.h"

namespace planora::demo {
namespace {

const board::FixedClock kClock({2026, 3, 1, 9, 30, 0});  // the day after 28 February

class DemoHotelTest : public planora::test_support::TempFolderTest {
  protected:
    void write(DemoSize size = {}) { writeDemoHotel(folder_, size, kClock); }
    std::size_t count(const std::string& file, const std::string& table) {
        return db::Database::open(folder_, file).openRecordset(table).recordCount();
    }
    std::string todayKey() const { return dateKey(today(kClock)); }
};

TEST(Calendar, DayNumbersAndKeys) {
    EXPECT_EQ(dateKey(dayNumber(2026, 3, 1) - 1), "20260228");
    EXPECT_EQ(dateKey(dayNumber(2028, 3, 1) - 1), "20280229");
    EXPECT_EQ(dateKey(dayNumber(2026, 12, 31) + 1), "20270101");
    EXPECT_EQ(dateKey(dayNumber(1999, 12, 31)), "19991231");
    EXPECT_EQ(dayNumber(2026, 1, 1) - dayNumber(2025, 1, 1), 365);
    EXPECT_EQ(today(kClock), dayNumber(2026, 3, 1));
}

TEST_F(DemoHotelTest, WritesEveryFileOfTheDataFolder) {
    write();
    EXPECT_EQ(existingDatabaseFiles(folder_).size(), hotelSchema().size());
    EXPECT_TRUE(std::filesystem::exists(folder_ / "SeparatoreXLS.txt"));
    EXPECT_TRUE(std::filesystem::exists(folder_ / "FontStp.txt"));
    EXPECT_THROW(write(), Error);
}

TEST_F(DemoHotelTest, TwoHotelsWithTwoLayoutsEach) {
    write();
    EXPECT_EQ(column("AnagraficaHotels.mdb", "AnagraficaHotels", "Numero", "Numero > 0"),
              (std::vector<std::string>{"1", "2"}));
    for (const char* hotel : {"1", "2"}) {
        EXPECT_EQ(column("Tableau.mdb", "Tableau", "Codice", std::string("NumeroHotel = ") + hotel)
                      .size(),
                  2u);
    }
}

TEST_F(DemoHotelTest, RoomsOfBoardKindsAndOthers) {
    write({.rooms = 100});
    std::set<std::string> boardKinds, otherKinds;
    db::RecordSet kinds = db::Database::open(folder_, "TipiCamere.mdb").openRecordset("TipiCamere");
    for (kinds.findFirst("Sigla <> ''"); !kinds.noMatch(); kinds.findNext("Sigla <> ''")) {
        const std::string kind = kinds.field("Tipologia").asText();
        (kind == "C" || kind == "A" ? boardKinds : otherKinds)
            .insert(kinds.field("Sigla").asText());
    }
    const auto numbers =
        column("NumeriCamere.mdb", "NumeriCamere", "NumeroCamera", "NumeroHotel > 0");
    const auto types = column("NumeriCamere.mdb", "NumeriCamere", "TipoCamera", "NumeroHotel > 0");
    EXPECT_GE(numbers.size(), 100u);
    int onBoard = 0, offBoard = 0;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        EXPECT_LE(numbers[i].size(), 6u);
        EXPECT_LE(types[i].size(), 6u);
        ASSERT_TRUE(boardKinds.contains(types[i]) || otherKinds.contains(types[i])) << types[i];
        (boardKinds.contains(types[i]) ? onBoard : offBoard)++;
    }
    EXPECT_GT(onBoard, 90);
    EXPECT_GT(offBoard, 0);
    EXPECT_GT(boardKinds.size(), 3u);
}

TEST_F(DemoHotelTest, ShowcaseStaysAreDatedFromToday) {
    write();
    const std::string partyOf101 =
        "NumeroHotel = 1 and NumeroCamera = '101' and DataArrivo = '20260226'";
    EXPECT_EQ(column("Scheda_Cliente.mdb", "Scheda_Cliente", "NumeroComponente", partyOf101),
              (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(column("Scheda_Cliente.mdb", "Scheda_Cliente", "NomeCliente",
                     partyOf101 + " and NumeroComponente = 3"),
              std::vector<std::string>{"Rossi Niccolò"});
    // Arrivals and departures of today, and a guest gone already.
    EXPECT_FALSE(column("Scheda_Cliente.mdb", "Scheda_Cliente", "NomeCliente",
                        "DataArrivo = '" + todayKey() + "' and Partito <> 'S'")
                     .empty());
    EXPECT_FALSE(column("Scheda_Cliente.mdb", "Scheda_Cliente", "NomeCliente",
                        "DataPartenza = '" + todayKey() + "'")
                     .empty());
    const auto gone =
        column("Scheda_Cliente.mdb", "Scheda_Cliente", "DataPartenzaReale", "Partito = 'S'");
    ASSERT_FALSE(gone.empty());
    EXPECT_TRUE(std::ranges::all_of(gone, [&](const std::string& d) { return d < todayKey(); }));
}

TEST_F(DemoHotelTest, ReservationsToArriveToday) {
    write();
    std::set<std::string> kinds;
    for (const auto& k : column("Camere_Prenotazione.mdb", "Camere_Prenotazione",
                                "TipoPrenotazione", "DataArrivo = '" + todayKey() + "'")) {
        kinds.insert(k);
    }
    for (const char* kind : {"C", "O", "D", "T", "A"}) {
        EXPECT_TRUE(kinds.contains(kind)) << kind;
    }
    // Every booked room has its reservation card.
    const auto numbers = column("Camere_Prenotazione.mdb", "Camere_Prenotazione",
                                "NumeroPrenotazione", "NumeroHotel > 0");
    EXPECT_EQ(numbers.size(), count("Scheda_Prenotazione.mdb", "Scheda_Prenotazione"));
}

TEST_F(DemoHotelTest, LeadersCompaniesAndArrangements) {
    write();
    EXPECT_FALSE(
        column("Scheda_Cliente.mdb", "Scheda_Cliente", "NomeCliente", "CodiceCapoGruppo > 0")
            .empty());
    EXPECT_FALSE(
        column("Scheda_Cliente.mdb", "Scheda_Cliente", "NomeCliente", "CodiceCapoFamiglia > 0")
            .empty());
    EXPECT_FALSE(
        column("Ditta_Intestataria.mdb", "Ditta_Intestataria", "RagioneSociale", "NumeroConto = 2")
            .empty());
    EXPECT_FALSE(
        column("AgenzieAbituali.mdb", "AgenzieAbituali", "RagioneSociale", "NumeroHotel = 1")
            .empty());
    std::set<std::string> tipi;
    for (const auto& t :
         column("Arrangiamenti.mdb", "NomiArrangiamenti", "Tipo", "NumeroHotel = 1")) {
        tipi.insert(t);
    }
    for (const char* tipo : {"S", "C", "M", "1", "P"}) {
        EXPECT_TRUE(tipi.contains(tipo)) << tipo;
    }
    const std::string validToday =
        "DataInizio <= '" + todayKey() + "' and DataFine > '" + todayKey() + "'";
    const auto amounts = column("Arrangiamento.mdb", "Arrangiamento", "ImportoTotale", validToday);
    EXPECT_GE(amounts.size(), 5u);
}

TEST_F(DemoHotelTest, HistoryOfPastStays) {
    write({.history = 500});
    EXPECT_EQ(count("SchedaStoricoClienti.mdb", "Scheda_Cliente"), 500u);
    const auto departures = column("SchedaStoricoClienti.mdb", "Scheda_Cliente",
                                   "DataPartenzaReale", "NumeroHotel > 0");
    EXPECT_TRUE(
        std::ranges::all_of(departures, [&](const std::string& d) { return d <= todayKey(); }));
    EXPECT_GT(count("ArrangiamentoStoricoClienti.mdb", "Arrangiamento"), 100u);
    EXPECT_GT(count("DittaStoricoClienti.mdb", "Ditta_Intestataria"), 10u);
}

TEST_F(DemoHotelTest, SizesAndSeedDecideTheContent) {
    const DemoSize size{.rooms = 80, .cards = 400, .history = 1200, .seed = 7};
    writeDemoHotel(folder_ / "a", size, kClock);
    writeDemoHotel(folder_ / "b", size, kClock);
    writeDemoHotel(folder_ / "c", DemoSize{.rooms = 80, .cards = 400, .history = 1200, .seed = 8},
                   kClock);
    const auto names = [&](const char* sub) {
        db::RecordSet cards = db::Database::open(folder_ / sub, "SchedaStoricoClienti.mdb")
                                  .openRecordset("Scheda_Cliente");
        std::vector<std::string> all;
        for (cards.findFirst("NumeroHotel > 0"); !cards.noMatch();
             cards.findNext("NumeroHotel > 0")) {
            all.push_back(cards.field("NomeCliente").asText() + cards.field("DataArrivo").asText());
        }
        return all;
    };
    EXPECT_EQ(names("a"), names("b"));
    EXPECT_NE(names("a"), names("c"));
    const auto current =
        db::Database::open(folder_ / "a", "Scheda_Cliente.mdb").openRecordset("Scheda_Cliente");
    EXPECT_GT(current.recordCount(), 300u);
    EXPECT_LE(current.recordCount(), 400u);
}

TEST_F(DemoHotelTest, PrintSettings) {
    write();
    const auto destinations =
        column("Stampanti.mdb", "Stampanti", "Destinazione", "NumeroHotel = 1");
    EXPECT_TRUE(std::ranges::any_of(
        destinations, [](const std::string& d) { return d.find("PDF") != std::string::npos; }));
    const auto lines = column("Stampanti.mdb", "Stampanti", "Linea", "NumeroHotel = 1");
    // A raw destination writes a file of the data folder, named relative to it.
    const auto inFolder = std::ranges::find_if(lines, [&](const std::string& line) {
        return !line.empty() && std::filesystem::path(line).parent_path().empty();
    });
    EXPECT_NE(inFolder, lines.end());
    for (const char* field : {"Compresso", "Grassetto"}) {
        for (const auto& set : column("Stampanti.mdb", "SetStampa", field, "TipoStampa > 0")) {
            EXPECT_EQ(set.size(), 36u);
            EXPECT_TRUE(std::ranges::all_of(set, [](char c) { return c >= '0' && c <= '9'; }));
        }
    }
    EXPECT_EQ(column("Contatori.mdb", "Contatori", "LungPagNoComp", "NumeroHotel = 1").size(), 1u);
}

TEST_F(DemoHotelTest, SettingsFilesAreWindowsText) {
    write();
    std::ifstream in(folder_ / "SeparatoreXLS.txt", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(text, ";\r\n,\r\n" + board::utf8ToCp1252("€") + "\r\n");
    std::ifstream font(folder_ / "FontStp.txt", std::ios::binary);
    std::string first;
    std::getline(font, first);
    EXPECT_EQ(first, "Courier New\r");
}

}  // namespace
}  // namespace planora::demo

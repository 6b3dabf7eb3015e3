#include "tools/demo/demo_hotel.h"

#include <algorithm>
#include <fstream>

#include "board/encoding.h"
#include "db/error.h"
#include "tools/demo/demo_parts.h"

namespace planora::demo {

namespace {

struct RoomCounts {
    int mainBuilding1, annex1, mainBuilding2, annex2;
};

// Hotel 1 is the larger; every board layout has enough rooms for the showcase stays.
RoomCounts splitRooms(int rooms) {
    const int total = std::max(rooms, 32);
    RoomCounts counts{std::max(16, total * 40 / 100), std::max(4, total * 15 / 100),
                      std::max(8, total * 30 / 100), 0};
    counts.annex2 =
        std::max(4, total - counts.mainBuilding1 - counts.annex1 - counts.mainBuilding2);
    return counts;
}

constexpr const char* kBoardTypes[] = {"DBL", "SGL", "DBL", "TRP", "DBL", "SUI", "DBL", "APP"};

// Floors of 20 rooms numbered 101, 102, ... 121 is 201; the annex rooms carry a letter.
void addLayout(std::vector<DemoRoom>& rooms, int hotel, int tableau, int count,
               const std::string& letter) {
    for (int i = 0; i < count; ++i) {
        DemoRoom room;
        room.hotel = hotel;
        room.tableau = tableau;
        room.number = letter.empty() ? std::to_string((i / 20 + 1) * 100 + i % 20 + 1)
                                     : letter + std::to_string(i + 1);
        room.type = kBoardTypes[i % std::size(kBoardTypes)];
        rooms.push_back(room);
    }
}

std::vector<DemoRoom> planRooms(int rooms) {
    const RoomCounts counts = splitRooms(rooms);
    std::vector<DemoRoom> plan;
    addLayout(plan, 1, 1, counts.mainBuilding1, "");
    addLayout(plan, 1, 2, counts.annex1, "V");
    addLayout(plan, 2, 1, counts.mainBuilding2, "");
    addLayout(plan, 2, 2, counts.annex2, "M");
    // Rooms of other kinds belong to a layout but never appear on its board.
    plan.push_back({1, 1, "150", "SAL", false});
    plan.push_back({1, 2, "V0", "MAG", false});
    plan.push_back({2, 1, "199", "SAL", false});
    return plan;
}

void writeRooms(HotelData& data, const std::vector<DemoRoom>& rooms) {
    for (const auto& [sigla, tipologia] : {std::pair{"SGL", "C"},
                                           {"DBL", "C"},
                                           {"TRP", "C"},
                                           {"SUI", "A"},
                                           {"APP", "A"},
                                           {"SAL", "R"},
                                           {"MAG", "S"}}) {
        data.insert("TipiCamere", "TipiCamere", {{"Sigla", sigla}, {"Tipologia", tipologia}});
    }
    for (const DemoRoom& room : rooms) {
        data.insert("NumeriCamere", "NumeriCamere",
                    {{"NumeroHotel", room.hotel},
                     {"NumeroTableau", room.tableau},
                     {"NumeroCamera", room.number},
                     {"TipoCamera", room.type}});
    }
}

void writeHotels(HotelData& data) {
    data.insert(
        "AnagraficaHotels", "AnagraficaHotels",
        {{"Numero", 1}, {"RagioneSociale", "Hotel Belvedere sul Lago"}, {"CodiceAssistenza", ""}});
    data.insert("AnagraficaHotels", "AnagraficaHotels",
                {{"Numero", 2},
                 {"RagioneSociale", "Albergo Bellavista Città Alta"},
                 {"CodiceAssistenza", "U"}});
    for (const auto& [hotel, codice, descrizione] : {std::tuple{1, 1, "Corpo centrale"},
                                                     {1, 2, "Villa Giardino"},
                                                     {2, 1, "Edificio principale"},
                                                     {2, 2, "Dépendance Mare"}}) {
        data.insert("Tableau", "Tableau",
                    {{"NumeroHotel", hotel}, {"Codice", codice}, {"Descrizione", descrizione}});
    }
}

void writeArrangementNames(HotelData& data) {
    for (int hotel : {1, 2}) {
        for (const auto& [sigla, tipo] : {std::pair{"PN", "S"},
                                          {"BB", "C"},
                                          {"HB", "M"},
                                          {"MP", "1"},
                                          {"FB", "P"},
                                          {"PC", "P"},
                                          {"DAY", "X"}}) {
            data.insert("Arrangiamenti", "NomiArrangiamenti",
                        {{"NumeroHotel", hotel}, {"Sigla", sigla}, {"Tipo", tipo}});
        }
    }
}

void writeAgencies(HotelData& data) {
    for (int hotel : {1, 2}) {
        for (const auto& [codice, nome] : {std::pair{1, "Agenzia Viaggi Ulisse"},
                                           {2, "Tour Operator Stella Alpina"},
                                           {3, "Viaggi & Vacanze Sorrento"},
                                           {4, "Portale Prenotazioni Online"}}) {
            data.insert("AgenzieAbituali", "AgenzieAbituali",
                        {{"NumeroHotel", hotel}, {"Codice", codice}, {"RagioneSociale", nome}});
        }
    }
}

// Settings files are plain Windows-1252 text with CR LF line ends, like the board file.
void writeSettingsFile(const std::filesystem::path& file,
                       std::initializer_list<const char*> lines) {
    std::ofstream out(file, std::ios::binary);
    for (const char* line : lines) {
        out << board::utf8ToCp1252(line) << "\r\n";
    }
    if (!out) {
        throw Error("Cannot write " + file.string());
    }
}

void writeSettingsFiles(const std::filesystem::path& folder) {
    writeSettingsFile(folder / "SeparatoreXLS.txt", {";", ",", "€"});
    writeSettingsFile(folder / "FontStp.txt", {"Courier New"});
}

}  // namespace

void writeDemoHotel(const std::filesystem::path& folder, const DemoSize& size,
                    const board::Clock& clock) {
    HotelData data(folder);
    const std::vector<DemoRoom> rooms = planRooms(size.rooms);
    writeRooms(data, rooms);
    writeHotels(data);
    writeArrangementNames(data);
    writeAgencies(data);
    writePrintSettings(data);
    StayWriter stays(data);
    const DayNumber day = today(clock);
    const ShowcaseCounts shown = writeShowcase(stays, day);
    DemoRandom random(size.seed);
    writeGeneratedStays(stays, random, rooms, day,
                        {std::max(0, size.cards - shown.currentCards),
                         std::max(0, size.history - shown.historyCards)});
    data.finish();
    writeSettingsFiles(folder);
}

}  // namespace planora::demo

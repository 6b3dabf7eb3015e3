#pragma once

// A small data folder for the main window's tests: two hotels (and a hotel 0 that the lists
// leave out), their board layouts and rooms of the kinds the default range looks at.

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "tools/demo/hotel_schema.h"

namespace planora::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "planora-desk-XXXXXX");
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder from " + pattern);
        }
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline void addRoom(demo::HotelData& data, int hotel, int tableau, const char* room,
                    const char* kind) {
    data.insert("NumeriCamere", "NumeriCamere",
                {{"NumeroHotel", hotel},
                 {"NumeroTableau", tableau},
                 {"NumeroCamera", room},
                 {"TipoCamera", kind}});
}

// Hotel 5 "Hotel Aurora": layout 1 "Piano terra" with rooms 105, 101 (kind C) and 099 (a
// hall, kind A), layout 2 "Primo piano" with rooms 9 and 10 (kind C); a layout 0 that the list
// leaves out. Hotel 12 "Hotel Brezza": layout 7 with a room whose kind is not in TipiCamere.
// Hotel 0 "Sede" is not a hotel of the list.
inline void writeDeskHotel(const std::filesystem::path& folder) {
    demo::HotelData data(folder);
    for (auto [numero, name] : {std::pair{0, "Sede"}, {5, "Hotel Aurora"}, {12, "Hotel Brezza"}}) {
        data.insert("AnagraficaHotels", "AnagraficaHotels",
                    {{"Numero", numero}, {"RagioneSociale", name}});
    }
    data.insert("Tableau", "Tableau",
                {{"NumeroHotel", 5}, {"Codice", 0}, {"Descrizione", "Tutte"}});
    data.insert("Tableau", "Tableau",
                {{"NumeroHotel", 5}, {"Codice", 1}, {"Descrizione", "Piano terra"}});
    data.insert("Tableau", "Tableau",
                {{"NumeroHotel", 5}, {"Codice", 2}, {"Descrizione", "Primo piano"}});
    data.insert("Tableau", "Tableau",
                {{"NumeroHotel", 12}, {"Codice", 7}, {"Descrizione", "Unico"}});
    data.insert("TipiCamere", "TipiCamere", {{"Sigla", "DOP"}, {"Tipologia", "C"}});
    data.insert("TipiCamere", "TipiCamere", {{"Sigla", "SUI"}, {"Tipologia", "C"}});
    data.insert("TipiCamere", "TipiCamere", {{"Sigla", "SAL"}, {"Tipologia", "A"}});
    addRoom(data, 5, 1, "105", "SUI");
    addRoom(data, 5, 1, "101", "DOP");
    addRoom(data, 5, 1, "099", "SAL");
    addRoom(data, 5, 2, "9", "DOP");
    addRoom(data, 5, 2, "10", "DOP");
    addRoom(data, 12, 7, "201", "XXX");
    addRoom(data, 12, 1, "001", "DOP");  // layout 1 of another hotel
    data.finish();
}

}  // namespace planora::testing

#pragma once

// A data folder for the printing tests: the print settings of a hotel and a board file whose
// lines the test chooses.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "tools/demo/hotel_schema.h"

namespace planora::print::testing {

struct DestinationRow {
    int hotel;
    std::string name;
    int tipoStampa;
    std::string linea;
};

struct CommandSetRow {
    int tipoStampa;
    std::string compresso;
    std::string grassetto;
};

struct CounterRow {
    int hotel;
    int compressed;
    int normal;
};

// Twelve values written as three digits each, as SetStampa holds them.
inline std::string groups(std::initializer_list<int> values) {
    std::string text;
    for (const int value : values) {
        const std::string digits = std::to_string(value);
        text += std::string(3 - digits.size(), '0') + digits;
    }
    return text;
}

struct PrintData {
    std::vector<DestinationRow> destinations;
    std::vector<CommandSetRow> commandSets;
    std::vector<CounterRow> counters;
    std::optional<std::string> codiceAssistenza = "";  // nothing: no record of hotel 1
};

// A fresh folder under the system's temporary folder, removed with the test.
class PrintFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "planora-print-XXXXXX");
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    void writeData(const PrintData& data) const {
        demo::HotelData hotel(folder_);
        if (data.codiceAssistenza) {
            hotel.insert("AnagraficaHotels", "AnagraficaHotels",
                         {{"Numero", 1},
                          {"RagioneSociale", "Hotel Prova"},
                          {"CodiceAssistenza", *data.codiceAssistenza}});
        }
        for (const DestinationRow& row : data.destinations) {
            hotel.insert("Stampanti", "Stampanti",
                         {{"NumeroHotel", row.hotel},
                          {"Destinazione", row.name},
                          {"TipoStampa", row.tipoStampa},
                          {"Linea", row.linea}});
        }
        for (const CommandSetRow& row : data.commandSets) {
            hotel.insert("Stampanti", "SetStampa",
                         {{"TipoStampa", row.tipoStampa},
                          {"Compresso", row.compresso},
                          {"Grassetto", row.grassetto}});
        }
        for (const CounterRow& row : data.counters) {
            hotel.insert("Contatori", "Contatori",
                         {{"NumeroHotel", row.hotel},
                          {"LungPagComp", row.compressed},
                          {"LungPagNoComp", row.normal}});
        }
        hotel.finish();
    }

    // The board file "FD" + code with these lines, each ended by CR LF.
    void writeBoard(const std::vector<std::string>& lines, const std::string& code = "") const {
        std::string bytes;
        for (const std::string& line : lines) {
            bytes += line + "\r\n";
        }
        put("FD" + code, bytes);
    }

    void put(const std::string& name, const std::string& bytes) const {
        std::ofstream(folder_ / name, std::ios::binary) << bytes;
    }
    std::string get(const std::filesystem::path& file) const {
        std::ifstream in(folder_ / file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path folder_;
};

}  // namespace planora::print::testing

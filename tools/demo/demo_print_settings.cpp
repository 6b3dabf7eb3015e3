#include "tools/demo/demo_parts.h"

namespace planora::demo {

namespace {

// Twelve printer command values, each written as three digits.
std::string commandSet(std::initializer_list<int> values) {
    std::string text;
    for (int value : values) {
        const std::string digits = std::to_string(value);
        text += std::string(3 - digits.size(), '0') + digits;
    }
    return text;
}

void writeDestinations(HotelData& data) {
    struct Destination {
        int hotel;
        const char* name;
        int tipoStampa;
        std::string linea;
    };
    // Every command works without a printer: the raw destinations write files of the data
    // folder (their Linea is taken from there), the PDF destination names no installed printer,
    // so the program writes the PDF itself. "Laser Ricevimento" prints on the system's default
    // printer, or on the one chosen in the menu. Print type 3 has no SetStampa record: raw
    // output without command bytes.
    const Destination destinations[] = {
        {1, "Laser Ricevimento", 2, ""},
        {1, "Stampante PDF", 4, ""},
        {1, "Aghi Economato", 1, "aghi-economato.prn"},
        {1, "Terminale Cassa", 3, "cassa.prn"},
        {2, "Laser Bellavista", 2, ""},
    };
    for (const Destination& d : destinations) {
        data.insert("Stampanti", "Stampanti",
                    {{"NumeroHotel", d.hotel},
                     {"Destinazione", d.name},
                     {"TipoStampa", d.tipoStampa},
                     {"Linea", d.linea}});
    }
}

void writeCommandSets(HotelData& data) {
    // Dot matrix: ESC SI / ESC DC2 for compressed and normal pitch, two lines of top margin,
    // filled pages of 88 and 72 lines.
    data.insert("Stampanti", "SetStampa",
                {{"TipoStampa", 1},
                 {"Compresso", commandSet({27, 15, 0, 0, 0, 0, 27, 18, 0, 0, 0, 0})},
                 {"Grassetto", commandSet({27, 69, 0, 0, 0, 2, 88, 72, 27, 70, 0, 0})}});
    // System printer: 7 and 10 points, one line of top margin.
    data.insert("Stampanti", "SetStampa",
                {{"TipoStampa", 2},
                 {"Compresso", commandSet({7, 0, 0, 0, 0, 1, 10, 0, 0, 0, 0, 0})},
                 {"Grassetto", commandSet({0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0})}});
    // PDF: 6 and 7 points, so that the 132 columns fit an A4 page upright.
    data.insert("Stampanti", "SetStampa",
                {{"TipoStampa", 4},
                 {"Compresso", commandSet({6, 0, 0, 0, 0, 1, 7, 0, 0, 0, 0, 0})},
                 {"Grassetto", commandSet({0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0})}});
}

}  // namespace

void writePrintSettings(HotelData& data) {
    writeDestinations(data);
    writeCommandSets(data);
    data.insert("Contatori", "Contatori",
                {{"NumeroHotel", 1}, {"LungPagComp", 80}, {"LungPagNoComp", 60}});
    data.insert("Contatori", "Contatori",
                {{"NumeroHotel", 2}, {"LungPagComp", 72}, {"LungPagNoComp", 56}});
}

}  // namespace planora::demo

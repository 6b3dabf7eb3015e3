#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "print/command_set.h"

namespace planora::print {

inline constexpr std::string_view kDefaultFont = "Courier New";
inline constexpr int kDefaultPageLength = 60;
// Print destinations are always those of hotel 1, whatever hotel the board shows.
inline constexpr int kDestinationsHotel = 1;

// A record of the Stampanti table.
struct Destination {
    std::string name;  // Destinazione
    int tipoStampa = 0;
    std::string linea;
};

// What the print menu holds when a print command runs.
struct PrintOptions {
    std::string destination;  // the chosen destination (Combo1)
    std::string printer;      // the chosen system printer (Combo2), empty when none
    bool compressed = false;
    bool landscape = false;
    bool duplex = false;
};

// Where and for whom the run prints.
struct PrintContext {
    std::filesystem::path dataFolder;
    std::string stationCode;
    std::int16_t hotel = 1;        // the hotel of the board: its Contatori record
    std::string codiceAssistenza;  // option letters of hotel 1: "K" and "U"
};

// The settings of one print run, read at its start.
struct PrintSettings {
    std::string fontName;
    int pageLength = kDefaultPageLength;
    Destination destination;
    CommandSet commands;
    std::string target;  // queue, port, device or file; empty when none is set
};

// The value of an environment variable, empty when unset; tests pass their own.
using Environment = std::function<std::string(const std::string&)>;
std::string processEnvironment(const std::string& name);

// First line of FontStp.txt, blanks trimmed; "Courier New" when the file or the line is missing.
std::string readFontName(const std::filesystem::path& folder);
// Lines per page of the hotel from Contatori; 60 without a record or a positive value.
int readPageLength(const std::filesystem::path& folder, std::int16_t hotel, bool compressed);
// The Stampanti record of that name (whatever its hotel), if any.
std::optional<Destination> findDestination(const std::filesystem::path& folder,
                                           std::string_view name);
// The SetStampa record of the print type; found is false when there is none.
CommandSet readCommandSet(const std::filesystem::path& folder, int tipoStampa);
// The destinations of hotel 1, in the table's order.
std::vector<std::string> destinationNames(const std::filesystem::path& folder);
// CodiceAssistenza of hotel 1; nothing when the hotel has no record.
std::optional<std::string> readCodiceAssistenza(const std::filesystem::path& folder);

// The chosen printer as a target: "<nessuna stampante>" and blanks choose none.
bool isPrinterChoice(std::string_view printer);
// The environment variable named by the destination, else its Linea; a chosen printer wins.
std::string resolveTarget(const Destination& destination, std::string_view chosenPrinter,
                          const Environment& environment = processEnvironment);

// Everything above for one run; throws planora::Error when the destination does not exist.
PrintSettings readPrintSettings(const PrintContext& context, const PrintOptions& options,
                                const Environment& environment = processEnvironment);

// Whether a destination is a PDF printer: its name holds "PDF" (upper case).
bool isPdfDestination(std::string_view name);
// The last PDF destination of the list, if any.
std::optional<std::string> lastPdfDestination(const std::vector<std::string>& destinations);

}  // namespace planora::print

#include "print/print_settings.h"

#include <cmath>
#include <cstdlib>

#include "db/database.h"
#include "db/error.h"
#include "db/quote.h"
#include "messages/print_messages.h"
#include "print/settings_text.h"

namespace planora::print {

namespace {

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

int wholeNumber(const db::Value& value) {
    return static_cast<int>(std::lround(value.toNumber()));
}

// The first record of a table that meets the criteria, or a closed record set.
db::RecordSet firstMatch(const std::filesystem::path& folder, std::string_view file,
                         std::string_view table, const std::string& criteria) {
    db::RecordSet records = db::Database::open(folder, file).openRecordset(table);
    records.findFirst(criteria);
    return records.noMatch() ? db::RecordSet() : records;
}

}  // namespace

std::string processEnvironment(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value == nullptr ? std::string() : std::string(value);
}

std::string readFontName(const std::filesystem::path& folder) {
    const auto lines = readSettingsLines(folder, "FontStp.txt");
    if (!lines || lines->empty() || trimBlanks(lines->front()).empty()) {
        return std::string(kDefaultFont);
    }
    return std::string(trimBlanks(lines->front()));
}

int readPageLength(const std::filesystem::path& folder, std::int16_t hotel, bool compressed) {
    const db::RecordSet record =
        firstMatch(folder, "Contatori.mdb", "Contatori", "NumeroHotel = " + std::to_string(hotel));
    if (!record.isOpen()) {
        return kDefaultPageLength;
    }
    const int length = wholeNumber(record.field(compressed ? "LungPagComp" : "LungPagNoComp"));
    return length > 0 ? length : kDefaultPageLength;
}

std::optional<Destination> findDestination(const std::filesystem::path& folder,
                                           std::string_view name) {
    const db::RecordSet record =
        firstMatch(folder, "Stampanti.mdb", "Stampanti", "Destinazione = " + db::quote(name));
    if (!record.isOpen()) {
        return std::nullopt;
    }
    return Destination{record.field("Destinazione").toText(),
                       wholeNumber(record.field("TipoStampa")), record.field("Linea").toText()};
}

CommandSet readCommandSet(const std::filesystem::path& folder, int tipoStampa) {
    const db::RecordSet record = firstMatch(folder, "Stampanti.mdb", "SetStampa",
                                            "TipoStampa = " + std::to_string(tipoStampa));
    CommandSet set;
    if (record.isOpen()) {
        set.a = commandGroups(record.field("Compresso").toText());
        set.b = commandGroups(record.field("Grassetto").toText());
        set.found = true;
    }
    return set;
}

std::vector<std::string> destinationNames(const std::filesystem::path& folder) {
    db::RecordSet records = db::Database::open(folder, "Stampanti.mdb").openRecordset("Stampanti");
    const std::string criteria = "NumeroHotel = " + std::to_string(kDestinationsHotel);
    std::vector<std::string> names;
    for (records.findFirst(criteria); !records.noMatch(); records.findNext(criteria)) {
        names.push_back(records.field("Destinazione").toText());
    }
    return names;
}

std::optional<std::string> readCodiceAssistenza(const std::filesystem::path& folder) {
    const db::RecordSet record = firstMatch(folder, "AnagraficaHotels.mdb", "AnagraficaHotels",
                                            "Numero = " + std::to_string(kDestinationsHotel));
    if (!record.isOpen()) {
        return std::nullopt;
    }
    return record.field("CodiceAssistenza").toText();
}

bool isPrinterChoice(std::string_view printer) {
    return !trimBlanks(printer).empty() && printer != msg::kNoPrinterEntry;
}

std::string resolveTarget(const Destination& destination, std::string_view chosenPrinter,
                          const Environment& environment) {
    if (isPrinterChoice(chosenPrinter)) {
        return std::string(chosenPrinter);
    }
    const std::string fromEnvironment =
        destination.name.empty() ? std::string() : environment(destination.name);
    return fromEnvironment.empty() ? destination.linea : fromEnvironment;
}

PrintSettings readPrintSettings(const PrintContext& context, const PrintOptions& options,
                                const Environment& environment) {
    const std::filesystem::path& folder = context.dataFolder;
    PrintSettings settings;
    settings.fontName = readFontName(folder);
    settings.pageLength = readPageLength(folder, context.hotel, options.compressed);
    const auto destination = findDestination(folder, options.destination);
    if (!destination) {
        throw Error(msg::destinationNotFound(options.destination));
    }
    settings.destination = *destination;
    settings.commands = readCommandSet(folder, destination->tipoStampa);
    settings.target = resolveTarget(*destination, options.printer, environment);
    return settings;
}

bool isPdfDestination(std::string_view name) {
    return name.find("PDF") != std::string_view::npos;
}

std::optional<std::string> lastPdfDestination(const std::vector<std::string>& destinations) {
    std::optional<std::string> chosen;
    for (const std::string& name : destinations) {
        if (isPdfDestination(name)) {
            chosen = name;
        }
    }
    return chosen;
}

}  // namespace planora::print

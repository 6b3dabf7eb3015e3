#include "messages/board_messages.h"

#include <array>

#include "messages/messages.h"

namespace planora::msg {

namespace {

std::string inQuotes(std::string_view value) {
    return "\"" + printable(value) + "\"";
}

std::string roomPrefix(std::string_view room) {
    return "Camera " + printable(room) + ": ";
}

}  // namespace

std::string roomRangeTitle() {
    return "Camere errate!";
}

std::string roomRangeText() {
    return "Controllare l'intervallo di camere richiesto!";
}

std::string dateTitle() {
    return "Data errata!";
}

std::string dateText() {
    return "La data deve essere inserita \r\nnel formato gg/mm/aaaa";
}

std::string valueTooLongTitle() {
    return "Valore troppo lungo!";
}

std::string valueTooLong(std::string_view field, std::size_t most, std::string_view value) {
    return "Il campo \"" + std::string(field) + "\" accetta al più " + std::to_string(most) +
           " caratteri: " + inQuotes(value) + " è troppo lungo";
}

std::string controlCharacterTitle() {
    return "Valore non valido!";
}

std::string controlCharacter(std::string_view field, std::string_view value) {
    return "Il campo \"" + std::string(field) +
           "\" contiene un carattere di controllo (un a capo, "
           "una tabulazione o simili): " +
           inQuotes(value);
}

std::string noHotel() {
    return "Nessun hotel con Numero maggiore di 0 in AnagraficaHotels.mdb";
}

std::string noLayout(std::int16_t hotel) {
    return "Nessun tableau con Codice maggiore di 0 per l'hotel " + std::to_string(hotel) +
           " in Tableau.mdb";
}

std::string boardReadyTitle() {
    return "Tableau";
}

std::string boardReady(const std::filesystem::path& file) {
    return "Tableau pronto nel file " + shown(file);
}

std::string errorTitle() {
    return "Errore";
}

std::string warningTitle() {
    return "Attenzione";
}

std::string badListCode(std::string_view table, std::string_view field, std::string_view value) {
    return "Il campo " + std::string(field) + " della tabella " + std::string(table) + " vale " +
           inQuotes(value) + ", che non è un codice valido (un numero intero)";
}

std::string roomNumberTooLong(std::string_view number, std::size_t width) {
    return "Il numero di camera " + inQuotes(number) + " è più lungo di " + std::to_string(width) +
           " caratteri e non entra nel tableau";
}

std::string roomTypeTooLong(std::string_view room, std::string_view type, std::size_t width) {
    return roomPrefix(room) + "il tipo di camera " + inQuotes(type) + " è più lungo di " +
           std::to_string(width) + " caratteri e non entra nel tableau";
}

std::string titleTooLong(std::size_t width, std::string_view title) {
    return "L'intestazione del tableau è più lunga di " + std::to_string(width) +
           " caratteri e non entra nella sua riga: " + inQuotes(title);
}

namespace {

std::string counterName(Counter counter) {
    static const std::array<const char*, 12> kNames = {"degli arrivi",
                                                       "delle partenze",
                                                       "delle fermate",
                                                       "delle presenze",
                                                       "delle camere arrivate",
                                                       "delle camere in partenza",
                                                       "delle camere in fermata",
                                                       "delle camere presenti",
                                                       "dei PN",
                                                       "dei B&B",
                                                       "degli HB",
                                                       "degli FB"};
    return kNames.at(static_cast<std::size_t>(counter));
}

}  // namespace

std::string counterDoesNotFit(Counter counter, long long count) {
    return "Il totale " + counterName(counter) + " (" + std::to_string(count) +
           ") non entra nelle 3 cifre del tableau";
}

std::string personsDoNotFit(std::string_view room, long long count) {
    return roomPrefix(room) + "il numero di persone (" + std::to_string(count) +
           ") non entra nelle 3 cifre del tableau";
}

std::string grandTotalBeyondCounter(long long total, long long most) {
    return "Il totale generale del tableau (" + std::to_string(total) +
           ") supera il massimo del suo contatore (" + std::to_string(most) + ")";
}

std::string counterOverflow(Counter counter) {
    return "Il totale " + counterName(counter) +
           " supera il massimo che il contatore può contenere";
}

std::string badCount(const FieldPlace& place, std::string_view value, long long most) {
    return roomPrefix(place.room) + "il campo " + std::string(place.field) + " di " +
           std::string(place.table) + " vale " + inQuotes(value) +
           ", che non è un numero di persone valido (un numero intero da 0 a " +
           std::to_string(most) + ")";
}

std::string badCode(const FieldPlace& place, std::string_view value) {
    return roomPrefix(place.room) + "il campo " + std::string(place.field) + " di " +
           std::string(place.table) + " vale " + inQuotes(value) +
           ", che non è un codice valido (un numero)";
}

std::string badAmount(const FieldPlace& place, std::string_view value) {
    return roomPrefix(place.room) + "il campo " + std::string(place.field) + " di " +
           std::string(place.table) + " vale " + inQuotes(value) +
           ", che non è un importo valido (un numero di al più 15 cifre intere)";
}

std::string amountSumOverflow(const FieldPlace& place) {
    return roomPrefix(place.room) + "la somma degli importi " + std::string(place.field) + " di " +
           std::string(place.table) + " supera il massimo che un importo può contenere";
}

std::string amountTooWide(std::string_view room, std::string_view amount, std::size_t width) {
    return roomPrefix(room) + "l'importo " + std::string(amount) + " non entra nelle " +
           std::to_string(width) + " colonne del tableau ed è indicato con " +
           std::string(width, '#');
}

}  // namespace planora::msg

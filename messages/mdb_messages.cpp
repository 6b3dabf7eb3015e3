#include "messages/mdb_messages.h"

#include <cstdio>

#include "messages/messages.h"

namespace planora::msg {

namespace {

std::string inQuotes(std::string_view text) {
    return "\"" + printable(text) + "\"";
}

// 4080 as "4.080", as numbers are written in Italian.
std::string grouped(std::uint64_t number) {
    std::string digits = std::to_string(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, ".");
    }
    return digits;
}

std::string tableOf(std::string_view table, const std::filesystem::path& file) {
    return "della tabella " + inQuotes(table) + " del file " + quoted(file);
}

}  // namespace

std::string mdbBadName(std::string_view what, std::string_view name, std::string_view reason) {
    return "Il nome di " + std::string(what) + " " + inQuotes(name) +
           " non può stare in un file Access: " + std::string(reason);
}

std::string mdbNameEmpty() {
    return "è vuoto";
}

std::string mdbNameTooLong(std::size_t characters) {
    return "ha " + std::to_string(characters) + " caratteri, più dei 64 ammessi";
}

std::string mdbNameStartsWithSpace() {
    return "comincia con uno spazio";
}

std::string mdbNameForbiddenCharacter(std::string_view character) {
    return "contiene " + inQuotes(character) +
           ", che Access non ammette nei nomi (. ! ` [ ] e i caratteri di controllo)";
}

std::string mdbNameReserved() {
    return "i nomi che cominciano con \"MSys\" sono delle tabelle di sistema";
}

std::string mdbDuplicateTable(const std::filesystem::path& file, std::string_view table) {
    return "Il file " + quoted(file) + " avrebbe due tabelle di nome " + inQuotes(table) +
           " (Access non distingue maiuscole e minuscole nei nomi)";
}

std::string mdbDuplicateColumn(std::string_view table, std::string_view column) {
    return "La tabella " + inQuotes(table) + " avrebbe due campi di nome " + inQuotes(column) +
           " (Access non distingue maiuscole e minuscole nei nomi)";
}

std::string mdbColumnCount(const std::filesystem::path& file, std::string_view table,
                           std::size_t columns) {
    return "La tabella " + inQuotes(table) + " del file " + quoted(file) + " ha " +
           std::to_string(columns) + " campi: una tabella Access ne ha da 1 a 255";
}

std::string mdbBadTextLength(std::string_view table, std::string_view column, int length) {
    return "Il campo " + inQuotes(column) + " della tabella " + inQuotes(table) +
           " avrebbe lunghezza " + std::to_string(length) +
           ": un campo Testo o Binario di Access è lungo da 1 a 255";
}

std::string mdbShownText(std::string_view text) {
    constexpr std::size_t kShown = 40;
    std::size_t cut = 0;
    std::size_t characters = 0;
    while (cut < text.size() && characters < kShown) {
        ++cut;
        while (cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
            ++cut;  // the rest of a UTF-8 sequence
        }
        ++characters;
    }
    return cut < text.size() ? inQuotes(std::string(text.substr(0, cut)) + "…") : inQuotes(text);
}

std::string mdbBadValue(const std::filesystem::path& file, std::string_view table,
                        std::string_view column, std::uint64_t row, std::string_view shownValue,
                        std::string_view typeName, std::string_view reason) {
    return "Il valore " + std::string(shownValue) + " del campo " + inQuotes(column) + " (riga " +
           grouped(row) + ") " + tableOf(table, file) + " non può essere scritto come " +
           std::string(typeName) + ": " + std::string(reason);
}

std::string mdbOutOfRange(std::string_view lowest, std::string_view highest) {
    return "è fuori dall'intervallo da " + std::string(lowest) + " a " + std::string(highest);
}

std::string mdbYesNoNull() {
    return "un campo Sì/No di Access non può essere Null";
}

std::string mdbWrongKind(std::string_view kind) {
    return "è " + std::string(kind);
}

std::string mdbTextTooLong(std::size_t characters, std::size_t most) {
    return "il testo ha " + grouped(characters) + " caratteri, più dei " + grouped(most) +
           " che il campo può tenere";
}

std::string mdbBytesTooMany(std::size_t bytes, std::size_t most) {
    return "ha " + grouped(bytes) + " byte, più dei " + grouped(most) + " che il campo può tenere";
}

std::string mdbBeyondUcs2(std::uint32_t codePoint) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", codePoint);
    return "contiene il carattere " + std::string(hex) +
           ", oltre U+FFFF: libmdb legge i testi Access come UCS-2 e lo renderebbe con \"??\"";
}

std::string mdbNotUtf8() {
    return "il testo non è UTF-8 valido";
}

std::string mdbDateOutOfRange() {
    return "una data Access va dal 01/01/0100 al 31/12/9999";
}

std::string mdbInexactDouble() {
    return "un numero intero oltre 9.007.199.254.740.992 perderebbe le ultime cifre in "
           "precisione doppia";
}

std::string mdbRowTooLarge(const std::filesystem::path& file, std::string_view table,
                           std::uint64_t row, std::size_t bytes, std::size_t most) {
    return "La riga " + grouped(row) + " " + tableOf(table, file) + " occuperebbe " +
           grouped(bytes) + " byte, più dei " + grouped(most) +
           " di una pagina Access: i testi più lunghi vanno in campi Memo";
}

std::string mdbRowWidth(const std::filesystem::path& file, std::string_view table,
                        std::uint64_t row, std::size_t values, std::size_t columns) {
    return "La riga " + grouped(row) + " " + tableOf(table, file) + " ha " +
           std::to_string(values) + " valori per " + std::to_string(columns) + " campi";
}

std::string mdbFileTooLarge(const std::filesystem::path& file) {
    return "Il file " + quoted(file) + " supererebbe 2 GB, il limite dei file Access";
}

std::string mdbwriteArguments(std::size_t given) {
    return "servono due cartelle, quella di origine e quella di destinazione; ne " +
           std::string(given == 1 ? "è stata data una"
                                  : "sono state date " + std::to_string(given));
}

std::string mdbwriteNoFolder(const std::filesystem::path& folder) {
    return "La cartella di origine " + quoted(folder) + " non esiste o non è una cartella";
}

std::string mdbwriteSameFolder(const std::filesystem::path& folder) {
    return "La cartella di destinazione è quella di origine (" + quoted(folder) +
           "): i file .mdb vanno scritti in un'altra cartella";
}

std::string mdbwriteCannotList(const std::filesystem::path& folder, std::string_view reason) {
    return "Impossibile leggere il contenuto della cartella " + quoted(folder) + ": " +
           std::string(reason);
}

std::string mdbwriteWrote(const std::filesystem::path& source, const std::filesystem::path& target,
                          std::size_t tables, std::uint64_t rows) {
    return "Scritto " + quoted(target) + " da " + quoted(source) + ": " + std::to_string(tables) +
           (tables == 1 ? " tabella, " : " tabelle, ") + grouped(rows) +
           (rows == 1 ? " riga" : " righe");
}

std::string mdbwriteCopied(const std::filesystem::path& file) {
    return "Copiato " + quoted(file);
}

std::string mdbwriteNotCopied(const std::filesystem::path& file,
                              const std::filesystem::path& writtenFrom) {
    return "Non copiato " + quoted(file) + ": al suo posto c'è il file scritto da " +
           quoted(writtenFrom);
}

std::string mdbwriteFolderSkipped(const std::filesystem::path& folder) {
    return "Non copiata la sottocartella " + quoted(folder);
}

std::string mdbwriteMemoInstead(std::string_view table, std::string_view column) {
    return "  il campo " + inQuotes(column) + " di " + inQuotes(table) +
           " è Memo: un suo testo supera i 255 caratteri o la riga non starebbe in una pagina";
}

std::string mdbwriteDoubleInstead(std::string_view table, std::string_view column) {
    return "  il campo " + inQuotes(column) + " di " + inQuotes(table) +
           " è a precisione doppia: un suo valore non sta in un intero lungo";
}

std::string mdbwriteIntegerInstead(std::string_view table, std::string_view column) {
    return "  il campo " + inQuotes(column) + " di " + inQuotes(table) +
           " è Intero (1, 0 o Null): un suo valore Sì/No è Null";
}

std::string demoUnknownFormat(std::string_view format) {
    return "il formato " + inQuotes(format) + " non esiste: i formati sono sqlite e mdb";
}

const char* const kMdbwriteUsage =
    "Uso: planora-mdbwrite CARTELLA_ORIGINE CARTELLA_DESTINAZIONE\n"
    "\n"
    "Per ogni file \"*.sqlite\" della cartella di origine scrive un file Access (Jet 4, .mdb)\n"
    "dello stesso nome nella cartella di destinazione (creata se manca), con le stesse\n"
    "tabelle, campi, righe, ordine e valori Null; copia gli altri file della cartella.\n"
    "\n"
    "Tipi: INTEGER diventa Intero lungo (precisione doppia se un valore non sta in 32 bit),\n"
    "REAL, DOUBLE e FLOAT precisione doppia, CURRENCY, MONEY, NUMERIC e DECIMAL Valuta,\n"
    "TEXT Testo(255) (Memo se un testo è più lungo o se la riga non sta in una pagina),\n"
    "BOOLEAN Sì/No (Intero se un valore è Null), DATE e DATETIME Data/ora, BLOB Oggetto OLE.\n"
    "Un valore che il tipo scelto non può tenere esattamente ferma la copia con un messaggio.\n"
    "\n"
    "I file sono fatti per Planora e per libmdb; non è verificato che Access li apra.\n";

}  // namespace planora::msg

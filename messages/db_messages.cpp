#include "messages/db_messages.h"

#include "messages/messages.h"

namespace planora::msg {

namespace {

// A name or a text of the user's data in double quotes, on one line.
std::string inQuotes(std::string_view text) {
    return "\"" + printable(text) + "\"";
}

// " sulla tabella "T" del file 'F'", the parts that are known.
std::string ofTableAndFile(std::string_view table, const std::filesystem::path& file) {
    std::string text;
    if (!table.empty()) {
        text += " sulla tabella " + inQuotes(table);
    }
    if (!file.empty()) {
        text += " del file " + quoted(file);
    }
    return text;
}

const char* const kDamaged = "il file sembra danneggiato ";

}  // namespace

// --- Database files, tables and fields ---

std::string databaseNotFound(const std::filesystem::path& folder, std::string_view name,
                             std::string_view fallback) {
    return "Il file di database " + inQuotes(name) + " (o " + inQuotes(fallback) +
           ") non si trova nella cartella " + quoted(folder);
}

std::string notADatabase(const std::filesystem::path& file) {
    return "Il file " + quoted(file) + " non è un database Access né SQLite";
}

std::string databaseNotOpen() {
    return "Il database non è aperto";
}

std::string databaseClosed(std::string_view table) {
    return "Il database della tabella " + inQuotes(table) + " è già stato chiuso";
}

std::string tableNotFound(std::string_view table, const std::filesystem::path& file) {
    return "La tabella " + inQuotes(table) + " non esiste nel file di database " + quoted(file);
}

std::string fieldNotFound(std::string_view field, std::string_view table,
                          const std::filesystem::path& file) {
    std::string text = "Il campo " + inQuotes(field) + " non esiste";
    if (!table.empty()) {
        text += " nella tabella " + inQuotes(table);
    }
    if (!file.empty()) {
        text += " del file " + quoted(file);
    }
    return text;
}

std::string subqueryNeedsOneColumn(std::string_view table) {
    return "Una sottoquery sulla tabella " + inQuotes(table) + " deve scegliere una sola colonna";
}

std::string subqueryNotAvailable(std::size_t position) {
    return "La sottoquery alla posizione " + std::to_string(position) + " non si può eseguire qui";
}

std::string recordSetNotOpen() {
    return "Il recordset non è aperto";
}

std::string noCurrentRecord(std::string_view table, std::string_view field) {
    return "Nessun record corrente nella tabella " + inQuotes(table) + " da cui leggere il campo " +
           inQuotes(field);
}

std::string badSortText(std::string_view text) {
    return "Testo di ordinamento non valido: " + inQuotes(text);
}

// --- Criteria of finds and SQL statements ---

std::string within(std::string_view message, SqlText kind, std::string_view text) {
    return std::string(message) +
           (kind == SqlText::Criteria ? " (criterio " : " (istruzione SQL ") + inQuotes(text) + ")";
}

std::string syntaxError(SqlText kind, std::string_view text, std::size_t position,
                        std::string_view problem) {
    return std::string("Errore di sintassi ") +
           (kind == SqlText::Criteria ? "nel criterio " : "nell'istruzione SQL ") + inQuotes(text) +
           " alla posizione " + std::to_string(position) + ": " + std::string(problem);
}

std::string expected(SqlItem item) {
    switch (item) {
        case SqlItem::EndOfStatement:
            return "si attendeva la fine dell'istruzione";
        case SqlItem::OperatorOrEnd:
            return "si attendeva un operatore o la fine del criterio";
        case SqlItem::Value:
            return "si attendeva un valore";
        case SqlItem::Number:
            return "si attendeva un numero";
        case SqlItem::TableName:
            return "si attendeva il nome di una tabella";
        case SqlItem::ColumnName:
            return "si attendeva il nome di una colonna";
        case SqlItem::StarOrColumn:
            return "si attendeva \"*\" o il nome di una colonna";
        case SqlItem::FileNameInQuotes:
            return "si attendeva il nome di un file di database tra virgolette";
    }
    return "si attendeva altro";
}

std::string expectedWord(std::string_view word) {
    return "si attendeva " + inQuotes(word);
}

std::string unclosedText() {
    return "il testo che comincia qui non ha la virgoletta di chiusura";
}

std::string unclosedBracket() {
    return "il nome che comincia qui non ha la \"]\" di chiusura";
}

std::string emptyBracketName() {
    return "tra le parentesi quadre manca il nome";
}

std::string characterNotAllowed() {
    return "questo carattere non è ammesso qui";
}

std::string nestedTooDeep(int levels) {
    return "l'espressione ha più di " + std::to_string(levels) + " livelli di annidamento";
}

std::string tooManyOperators(int operators) {
    return "più di " + std::to_string(operators) + " operatori";
}

std::string numberOutOfRange() {
    return "il numero è fuori dall'intervallo ammesso";
}

// --- Comparisons of values of different types ---

std::string valuePhrase(ValueClass kind, std::string_view value) {
    switch (kind) {
        case ValueClass::Text:
            return "il testo " + inQuotes(value);
        case ValueClass::Number:
            return "il numero " + std::string(value);
        case ValueClass::Date:
            return "la data " + std::string(value);
        case ValueClass::YesNo:
            return std::string("il valore Sì/No ") + (value == "0" ? "No" : "Sì");
    }
    return std::string(value);
}

std::string fieldHolding(std::string_view field, ValueClass kind, std::string_view value) {
    return "il campo " + inQuotes(field) + " (che contiene " + valuePhrase(kind, value) + ")";
}

std::string subqueryValues(std::string_view table, ValueClass kind, std::string_view value) {
    return "i valori della sottoquery sulla tabella " + inQuotes(table) + " (tra cui " +
           valuePhrase(kind, value) + ")";
}

std::string typeMismatch(SqlText kind, std::string_view text, std::string_view table,
                         const std::filesystem::path& file, std::string_view left,
                         std::string_view right) {
    const char* where = kind == SqlText::Criteria
                            ? "nell'espressione criterio "
                            : "nell'espressione criterio dell'istruzione SQL ";
    return "Tipo di dati non corrispondente " + std::string(where) + inQuotes(text) +
           ofTableAndFile(table, file) + ": si confronta " + std::string(left) + " con " +
           std::string(right);
}

// --- Reading SQLite database files ---

std::string cannotReadDatabase(const std::filesystem::path& file, std::string_view table,
                               std::string_view reason) {
    std::string text = "Impossibile leggere il file di database " + quoted(file);
    if (!table.empty()) {
        text += " (tabella " + inQuotes(table) + ")";
    }
    return text + ": " + std::string(reason);
}

std::string notAnSqliteDatabase() {
    return "non è un database SQLite";
}

std::string databaseDamaged() {
    return "il file è danneggiato";
}

std::string databaseInUse(int seconds) {
    return "è in uso da un altro programma, che lo tiene bloccato da più di " +
           std::to_string(seconds) + " secondi: riprovare quando l'altro programma avrà finito";
}

std::string interruptedChange(const std::filesystem::path& journal) {
    return "contiene una modifica lasciata a metà da un programma interrotto (è rimasto il file " +
           quoted(journal) +
           "): aprire il database con il programma che lo gestisce, che annulla la modifica, e "
           "riprovare";
}

std::string unsavedChangesInReadOnlyFolder(const std::filesystem::path& wal,
                                           const std::filesystem::path& folder) {
    return "ha modifiche non ancora trascritte nel file " + quoted(wal) + " e la cartella " +
           quoted(folder) +
           " è di sola lettura: aprire il database con il programma che lo gestisce, oppure dare "
           "il permesso di scrittura sulla cartella, e riprovare";
}

std::string outOfMemory() {
    return "memoria esaurita";
}

std::string sqliteError(int code, std::string_view text) {
    return "errore " + std::to_string(code) + " di SQLite (" + std::string(text) + ")";
}

// --- Reading Access database files ---

std::string cannotOpenAccess(const std::filesystem::path& file, std::string_view reason) {
    return "Impossibile aprire il file " + quoted(file) +
           " come database Access: " + std::string(reason);
}

std::string cannotReadAccessTable(std::string_view table, const std::filesystem::path& file,
                                  std::string_view reason) {
    return "Impossibile leggere la tabella " + inQuotes(table) + " del file " + quoted(file) +
           ": " + std::string(reason);
}

std::string accessUnreadable() {
    return "non è un database Access leggibile";
}

std::string accessNoTableList() {
    return "l'elenco delle sue tabelle non si può leggere";
}

std::string accessTableUnreadable() {
    return "la tabella non si può aprire";
}

std::string accessTableGone() {
    return "la tabella non c'è più nel file";
}

std::string accessFileBeingWritten(const std::filesystem::path& file) {
    return "Il file " + quoted(file) +
           " è cambiato mentre lo si leggeva, e poi ancora alla seconda lettura: lo sta "
           "scrivendo il programma dell'albergo. Il tableau si può rifare tra un momento";
}

std::string readerMissing(std::string_view program,
                          const std::vector<std::filesystem::path>& folders) {
    std::string places;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        places += (i == 0 ? "" : i + 1 == folders.size() ? " né in " : ", ") + quoted(folders[i]);
    }
    return "il programma di lettura " + inQuotes(program) + " non si trova" +
           (places.empty() ? "" : " in " + places) + ": installarlo accanto a planora";
}

std::string readerCannotStart(const std::filesystem::path& program, int errnum) {
    return "impossibile avviare il programma di lettura " + quoted(program) + ": " +
           systemReason(errnum);
}

std::string readerCrashed() {
    return kDamaged + std::string("(il programma di lettura si è interrotto)");
}

std::string readerStalled(std::string_view duration) {
    return kDamaged + std::string("(il programma di lettura non è andato avanti per ") +
           std::string(duration) + ")";
}

std::string readerOutOfMemory(std::string_view amount) {
    return kDamaged + std::string("(il programma di lettura ha chiesto più di ") +
           std::string(amount) + " di memoria)";
}

std::string readerTooMuchOutput(std::string_view amount) {
    return kDamaged + std::string("(il programma di lettura ha mandato più di ") +
           std::string(amount) + ")";
}

std::string readerBadData(std::string_view problem) {
    return kDamaged + std::string("(il programma di lettura ha mandato dati non validi: ") +
           std::string(problem) + ")";
}

std::string readerStoppedEarly() {
    return kDamaged + std::string("(il programma di lettura si è fermato prima della fine)");
}

std::string readerWrongArguments() {
    return "il programma di lettura non ha accettato la richiesta: è di un'altra versione di "
           "planora";
}

std::string streamProblem(StreamProblem problem) {
    switch (problem) {
        case StreamProblem::TrailingBytes:
            return "un messaggio ha byte in più";
        case StreamProblem::ShortMessage:
            return "un messaggio è più corto del suo contenuto";
        case StreamProblem::MessageTooLong:
            return "un messaggio è più lungo di qualsiasi messaggio previsto";
        case StreamProblem::EndsInsideMessage:
            return "i dati finiscono a metà di un messaggio";
        case StreamProblem::AfterEnd:
            return "un messaggio segue la fine dei dati";
        case StreamProblem::OutOfOrder:
            return "un messaggio è fuori posto";
        case StreamProblem::UnknownTag:
            return "un messaggio è di un tipo sconosciuto";
        case StreamProblem::UnknownValueKind:
            return "un valore è di un tipo sconosciuto";
        case StreamProblem::UnknownColumnType:
            return "una colonna è di un tipo sconosciuto";
        case StreamProblem::ValueNotOfColumnType:
            return "un valore non è del tipo della sua colonna";
        case StreamProblem::RowCountMismatch:
            return "il numero delle righe non corrisponde alle righe mandate";
        case StreamProblem::CannotWrite:
            return "impossibile scrivere i dati letti";
    }
    return "dati sconosciuti";
}

// --- Values and loaded tables ---

namespace {

const char* kindName(StoredKind kind) {
    switch (kind) {
        case StoredKind::Null:
            return "Null";
        case StoredKind::Integer:
            return "intero";
        case StoredKind::Real:
            return "decimale";
        case StoredKind::Currency:
            return "valuta";
        case StoredKind::Text:
            return "testo";
        case StoredKind::DateTime:
            return "data";
        case StoredKind::Boolean:
            return "Sì/No";
    }
    return "sconosciuto";
}

}  // namespace

std::string valueReadAsOtherKind(StoredKind stored, StoredKind wanted) {
    return std::string("Un valore di tipo ") + kindName(stored) + " è stato letto come tipo " +
           kindName(wanted);
}

std::string tooManyRows(std::string_view table) {
    return "La tabella " + inQuotes(table) + " ha troppe righe";
}

std::string rowSizeMismatch(std::string_view table, std::size_t values, std::size_t columns) {
    return "La tabella " + inQuotes(table) + " ha ricevuto una riga di " + std::to_string(values) +
           (values == 1 ? " valore" : " valori") + " per " + std::to_string(columns) + " colonne";
}

std::string cellOutOfRange(std::string_view table, std::size_t row, std::size_t column) {
    return "La tabella " + inQuotes(table) + " non ha la riga " + std::to_string(row) +
           " nella colonna " + std::to_string(column);
}

}  // namespace planora::msg

#include "messages/postex_messages.h"

#include "messages/messages.h"

namespace planora::msg {

namespace {

std::string inFile(const std::filesystem::path& file, int line) {
    return "Il file di impostazioni " + quoted(file) + ", riga " + std::to_string(line) + ": ";
}

// "server di posta "host:port"", to follow "il" or "Il".
std::string theServer(std::string_view server) {
    return "server di posta \"" + std::string(server) + "\"";
}

std::string withReply(std::string_view reply) {
    return reply.empty() ? std::string(" (nessuna risposta)")
                         : " (risposta: \"" + std::string(reply) + "\")";
}

}  // namespace

std::string postexTitle() {
    return "Postex - invio del tableau";
}

std::string postexUsage() {
    return "Uso: postex [--data CARTELLA]\n"
           "\n"
           "Spedisce per posta elettronica il tableau che l'anteprima di stampa di planora ha\n"
           "scritto nel file \"e-mail\" + codice della stazione + \".txt\" della cartella dei "
           "dati\n"
           "(il codice è il valore della variabile PCLocal, vuoto se non è impostata).\n"
           "\n"
           "Il file inizia con la riga OGGETTO; l'oggetto del messaggio è la prima riga non\n"
           "vuota che la segue (senza spazi in testa e in coda, gli spazi ripetuti ridotti a "
           "uno);\n"
           "il testo del messaggio è tutto ciò che segue la riga OGGETTO, spedito come testo\n"
           "semplice UTF-8 senza andare a capo diversamente, e anche come allegato "
           "\"tableau.txt\".\n"
           "\n"
           "Se la cartella dei dati contiene \"postex.conf\", il messaggio parte via SMTP. Il "
           "file\n"
           "ha una impostazione \"chiave = valore\" per riga (righe vuote e che iniziano con # o "
           ";\n"
           "sono ignorate):\n"
           "  server         nome o indirizzo del server di posta (obbligatorio)\n"
           "  port           porta (predefinita: 587 con starttls, 465 con tls, 25 con none)\n"
           "  security       starttls (predefinito), tls oppure none\n"
           "  user           utente per l'accesso al server\n"
           "  password       la sua password, oppure\n"
           "  password_file  un file (relativo alla cartella dei dati) la cui prima riga è la "
           "password\n"
           "  from           indirizzo del mittente (obbligatorio)\n"
           "  to             indirizzi dei destinatari separati da virgole (obbligatorio)\n"
           "  ca_file        certificati delle autorità di cui fidarsi oltre a quelle del sistema\n"
           "                 (per un server con un certificato proprio)\n"
           "\n"
           "Senza \"postex.conf\" il messaggio è aperto nel programma di posta del desktop con\n"
           "xdg-email --subject OGGETTO --body TESTO.\n"
           "\n"
           "Esce con 0 quando il server ha accettato il messaggio (o il programma di posta del\n"
           "desktop lo ha ricevuto); altrimenti scrive il motivo e esce con 1 (2 per una riga di\n"
           "comando errata). Se c'è uno schermo, mostra il motivo anche in una finestra.\n"
           "\n"
           "Opzioni:\n"
           "  --data CARTELLA  la cartella dei dati (predefinita: la cartella corrente)\n"
           "  --help           mostra questo aiuto\n";
}

std::string handOffMissing(const std::filesystem::path& file) {
    return "Il file da spedire " + quoted(file) +
           " non esiste: crearlo con \"E-mail\" nell'anteprima di stampa";
}

std::string handOffWithoutSubjectLine(const std::filesystem::path& file) {
    return "Il file da spedire " + quoted(file) + " non inizia con la riga OGGETTO";
}

std::string configNotKeyValue(const std::filesystem::path& file, int line, std::string_view text) {
    return inFile(file, line) + "\"" + std::string(text) +
           "\" non è nella forma \"chiave = valore\"";
}

std::string configUnknownKey(const std::filesystem::path& file, int line, std::string_view key) {
    return inFile(file, line) + "la chiave \"" + std::string(key) +
           "\" non è prevista (chiavi: server, port, security, user, password, password_file, "
           "from, to, ca_file)";
}

std::string configRepeatedKey(const std::filesystem::path& file, int line, std::string_view key) {
    return inFile(file, line) + "la chiave \"" + std::string(key) + "\" compare più di una volta";
}

std::string configMissingKey(const std::filesystem::path& file, std::string_view key) {
    return "Il file di impostazioni " + quoted(file) + " non indica \"" + std::string(key) +
           "\", che è obbligatorio";
}

std::string configBadValue(const std::filesystem::path& file, std::string_view key,
                           std::string_view value, std::string_view expected) {
    return "Il file di impostazioni " + quoted(file) + ": \"" + std::string(key) + "\" vale \"" +
           std::string(value) + "\", ma deve essere " + std::string(expected);
}

std::string configPasswordWithoutUser(const std::filesystem::path& file) {
    return "Il file di impostazioni " + quoted(file) +
           " indica una password ma non \"user\", l'utente a cui appartiene";
}

std::string configUserWithoutPassword(const std::filesystem::path& file) {
    return "Il file di impostazioni " + quoted(file) +
           " indica \"user\" ma né \"password\" né \"password_file\"";
}

std::string emptyPasswordFile(const std::filesystem::path& file) {
    return "Il file della password " + quoted(file) + " è vuoto";
}

std::string smtpCannotConnect(std::string_view server, std::string_view reason) {
    return "Impossibile collegarsi con il " + theServer(server) + ": " + std::string(reason);
}

std::string smtpNoStartTls(std::string_view server) {
    return "Il collegamento con il " + theServer(server) +
           " non può essere protetto: il server non offre STARTTLS (impostare security = tls "
           "se il server usa TLS fin dall'inizio)";
}

std::string smtpTlsFailed(std::string_view server, std::string_view reason) {
    return "Il collegamento protetto (TLS) con il " + theServer(server) +
           " non è riuscito: " + std::string(reason);
}

std::string smtpLoginRefused(std::string_view server, std::string_view user,
                             std::string_view reply) {
    std::string text = "Il " + theServer(server) + " ha rifiutato l'accesso dell'utente \"" +
                       std::string(user) + "\"" + withReply(reply);
    return text;
}

std::string smtpCommandRefused(std::string_view server, std::string_view command,
                               std::string_view reply) {
    return "Il " + theServer(server) + " ha rifiutato \"" + std::string(command) + "\"" +
           withReply(reply) + "; il messaggio non è stato spedito";
}

std::string smtpFailed(std::string_view server, std::string_view reason, std::string_view reply) {
    return "Invio tramite il " + theServer(server) + " non riuscito: " + std::string(reason) +
           (reply.empty() ? std::string() : withReply(reply));
}

std::string mailSent(std::string_view server, std::string_view recipients) {
    return "Tableau spedito a " + std::string(recipients) + " tramite il " + theServer(server);
}

std::string desktopMailMissing(std::string_view program, const std::filesystem::path& config) {
    return "Manca " + quoted(config) + " e il programma \"" + std::string(program) +
           "\" non si trova nelle cartelle della variabile PATH: scrivere " + quoted(config) +
           " con il server di posta, oppure installare xdg-utils";
}

std::string desktopMailFailed(std::string_view program, int status) {
    return "Il programma di posta del desktop (\"" + std::string(program) +
           "\") non ha aperto il messaggio (stato " + std::to_string(status) + ")";
}

std::string desktopMailOpened(std::string_view program) {
    return "Tableau aperto nel programma di posta del desktop (" + std::string(program) + ")";
}

}  // namespace planora::msg

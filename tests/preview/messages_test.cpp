// The Italian texts of the preview, the e-mail hand-off and postex, word for word.

#include <gtest/gtest.h>

#include <cerrno>

#include "messages/messages.h"
#include "messages/postex_messages.h"
#include "messages/preview_messages.h"

namespace planora::msg {
namespace {

TEST(PreviewMessages, Texts) {
    EXPECT_EQ(previewTitle(), "Anteprima di Stampa");
    EXPECT_EQ(mailTitle(), "Invio e-mail");
    EXPECT_EQ(boardFileMissing("/dati/./FD07"),
              "Il file del tableau '/dati/FD07' non esiste: crearlo prima con \"Stampa\" nella "
              "finestra principale");
    EXPECT_EQ(mailProgramNotFound("postex", "/opt/planora/bin/"),
              "Il programma di posta 'postex' non si trova né nella cartella di planora "
              "'/opt/planora/bin' né nelle cartelle della variabile PATH");
    EXPECT_EQ(cannotStartMailProgram("/usr/bin/postex", EACCES),
              "Impossibile avviare il programma di posta '/usr/bin/postex': permesso negato");
    EXPECT_EQ(mailProgramFailed("/usr/bin/postex", 1),
              "Il programma di posta '/usr/bin/postex' non ha spedito il tableau (stato 1)");
    EXPECT_EQ(mailProgramKilled("/usr/bin/postex", 9),
              "Il programma di posta '/usr/bin/postex' è stato interrotto dal segnale 9");
}

TEST(PostexMessages, HandOffAndSettings) {
    EXPECT_EQ(handOffMissing("/dati/e-mail3.txt"),
              "Il file da spedire '/dati/e-mail3.txt' non esiste: crearlo con \"E-mail\" "
              "nell'anteprima di stampa");
    EXPECT_EQ(handOffWithoutSubjectLine("/dati/e-mail.txt"),
              "Il file da spedire '/dati/e-mail.txt' non inizia con la riga OGGETTO");
    EXPECT_EQ(configNotKeyValue("/dati/postex.conf", 4, "server"),
              "Il file di impostazioni '/dati/postex.conf', riga 4: \"server\" non è nella forma "
              "\"chiave = valore\"");
    EXPECT_EQ(configUnknownKey("/d/postex.conf", 2, "porta"),
              "Il file di impostazioni '/d/postex.conf', riga 2: la chiave \"porta\" non è "
              "prevista (chiavi: server, port, security, user, password, password_file, from, "
              "to, ca_file)");
    EXPECT_EQ(configRepeatedKey("/d/postex.conf", 3, "to"),
              "Il file di impostazioni '/d/postex.conf', riga 3: la chiave \"to\" compare più di "
              "una volta");
    EXPECT_EQ(configMissingKey("/d/postex.conf", "from"),
              "Il file di impostazioni '/d/postex.conf' non indica \"from\", che è obbligatorio");
    EXPECT_EQ(configBadValue("/d/postex.conf", "port", "x", "un numero da 1 a 65535"),
              "Il file di impostazioni '/d/postex.conf': \"port\" vale \"x\", ma deve essere un "
              "numero da 1 a 65535");
    EXPECT_EQ(configPasswordWithoutUser("/d/postex.conf"),
              "Il file di impostazioni '/d/postex.conf' indica una password ma non \"user\", "
              "l'utente a cui appartiene");
    EXPECT_EQ(configUserWithoutPassword("/d/postex.conf"),
              "Il file di impostazioni '/d/postex.conf' indica \"user\" ma né \"password\" né "
              "\"password_file\"");
    EXPECT_EQ(emptyPasswordFile("/d/pw"), "Il file della password '/d/pw' è vuoto");
}

TEST(PostexMessages, Sending) {
    EXPECT_EQ(smtpCannotConnect("posta:25", "Connection refused"),
              "Impossibile collegarsi con il server di posta \"posta:25\": Connection refused");
    EXPECT_EQ(smtpNoStartTls("posta:587"),
              "Il collegamento con il server di posta \"posta:587\" non può essere protetto: il "
              "server non offre STARTTLS (impostare security = tls se il server usa TLS fin "
              "dall'inizio)");
    EXPECT_EQ(smtpTlsFailed("posta:465", "certificato scaduto"),
              "Il collegamento protetto (TLS) con il server di posta \"posta:465\" non è "
              "riuscito: certificato scaduto");
    EXPECT_EQ(smtpLoginRefused("posta:587", "ricevimento", "535 no"),
              "Il server di posta \"posta:587\" ha rifiutato l'accesso dell'utente "
              "\"ricevimento\" (risposta: \"535 no\")");
    EXPECT_EQ(smtpLoginRefused("posta:587", "ricevimento", ""),
              "Il server di posta \"posta:587\" ha rifiutato l'accesso dell'utente "
              "\"ricevimento\" (nessuna risposta)");
    EXPECT_EQ(smtpCommandRefused("posta:25", "RCPT TO:<a@b.c>", "550 sconosciuto"),
              "Il server di posta \"posta:25\" ha rifiutato \"RCPT TO:<a@b.c>\" (risposta: \"550 "
              "sconosciuto\"); il messaggio non è stato spedito");
    EXPECT_EQ(smtpFailed("posta:25", "timeout", ""),
              "Invio tramite il server di posta \"posta:25\" non riuscito: timeout");
    EXPECT_EQ(smtpFailed("posta:25", "errore", "451 dopo"),
              "Invio tramite il server di posta \"posta:25\" non riuscito: errore (risposta: "
              "\"451 dopo\")");
    EXPECT_EQ(mailSent("posta:25", "a@b.c, d@e.f"),
              "Tableau spedito a a@b.c, d@e.f tramite il server di posta \"posta:25\"");
}

TEST(PostexMessages, DesktopMail) {
    EXPECT_EQ(desktopMailMissing("xdg-email", "/d/postex.conf"),
              "Manca '/d/postex.conf' e il programma \"xdg-email\" non si trova nelle cartelle "
              "della variabile PATH: scrivere '/d/postex.conf' con il server di posta, oppure "
              "installare xdg-utils");
    EXPECT_EQ(desktopMailFailed("xdg-email", 3),
              "Il programma di posta del desktop (\"xdg-email\") non ha aperto il messaggio "
              "(stato 3)");
    EXPECT_EQ(desktopMailOpened("xdg-email"),
              "Tableau aperto nel programma di posta del desktop (xdg-email)");
    EXPECT_EQ(postexTitle(), "Postex - invio del tableau");
    EXPECT_EQ(postexUsage().rfind("Uso: postex [--data CARTELLA]\n", 0), 0u);
}

}  // namespace
}  // namespace planora::msg

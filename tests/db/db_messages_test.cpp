// The texts of failures that the tests cannot bring about on demand (a file libmdb half reads,
// SQLite out of memory, a table of four billion rows): pinned here as the user reads them.

#include <gtest/gtest.h>

#include "messages/db_messages.h"

namespace planora::msg {
namespace {

TEST(DbMessages, AccessReaderReasons) {
    EXPECT_EQ(cannotReadAccessTable("Scheda_Cliente", "/dati/./Scheda_Cliente.mdb",
                                    accessTableUnreadable()),
              "Impossibile leggere la tabella \"Scheda_Cliente\" del file "
              "'/dati/Scheda_Cliente.mdb': la tabella non si può aprire");
    EXPECT_EQ(cannotReadAccessTable("Tableau", "/dati/Tableau.mdb", accessTableGone()),
              "Impossibile leggere la tabella \"Tableau\" del file '/dati/Tableau.mdb': la "
              "tabella non c'è più nel file");
    EXPECT_EQ(cannotOpenAccess("/dati/Tableau.mdb", accessNoTableList()),
              "Impossibile aprire il file '/dati/Tableau.mdb' come database Access: l'elenco "
              "delle sue tabelle non si può leggere");
}

TEST(DbMessages, SqliteReasons) {
    EXPECT_EQ(cannotReadDatabase("/dati/Tableau.sqlite", "Tableau", outOfMemory()),
              "Impossibile leggere il file di database '/dati/Tableau.sqlite' (tabella "
              "\"Tableau\"): memoria esaurita");
    EXPECT_EQ(sqliteError(522, "disk I/O error"), "errore 522 di SQLite (disk I/O error)");
}

TEST(DbMessages, ReaderStreamProblems) {
    EXPECT_EQ(streamProblem(StreamProblem::TrailingBytes), "un messaggio ha byte in più");
    EXPECT_EQ(streamProblem(StreamProblem::EndsInsideMessage),
              "i dati finiscono a metà di un messaggio");
    EXPECT_EQ(streamProblem(StreamProblem::UnknownValueKind), "un valore è di un tipo sconosciuto");
    EXPECT_EQ(streamProblem(StreamProblem::UnknownColumnType),
              "una colonna è di un tipo sconosciuto");
    EXPECT_EQ(streamProblem(StreamProblem::CannotWrite), "impossibile scrivere i dati letti");
}

TEST(DbMessages, NamesAndValuesStayOnOneLine) {
    EXPECT_EQ(tableNotFound("Camere\nPrenotate", "/dati/Camere.sqlite"),
              "La tabella \"Camere\\nPrenotate\" non esiste nel file di database "
              "'/dati/Camere.sqlite'");
    EXPECT_EQ(tooManyRows("Scheda_Cliente"), "La tabella \"Scheda_Cliente\" ha troppe righe");
    EXPECT_EQ(fieldNotFound("Piano", "", ""), "Il campo \"Piano\" non esiste");
}

}  // namespace
}  // namespace planora::msg

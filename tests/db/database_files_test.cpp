#include <gtest/gtest.h>

#include <fstream>

#include "db/database.h"
#include "db/error.h"
#include "sqlite_fixture.h"

namespace planora::db {
namespace {

namespace fs = std::filesystem;
using testing::errorMessage;
using testing::num;
using testing::TempFolder;
using testing::txt;
using testing::writeTable;

bool mentions(const std::string& message, const std::string& part) {
    return message.find(part) != std::string::npos;
}

void writeTableau(const fs::path& file) {
    writeTable(file, "Tableau",
               {{"NumeroHotel", "INTEGER"}, {"Codice", "INTEGER"}, {"Descrizione", "TEXT"}},
               {{num(1), num(1), txt("Piano terra")}, {num(1), num(2), txt("Primo piano")}});
}

TEST(DataFileResolution, FindsTheNameWithoutRegardToCase) {
    TempFolder folder;
    writeTableau(folder.path() / "TABLEAU.MDB");
    EXPECT_EQ(resolveDataFile(folder.path(), "Tableau.mdb"), folder.path() / "TABLEAU.MDB");
    const Database db = Database::open(folder.path(), "tableau.mdb");
    EXPECT_EQ(db.openRecordset("Tableau").recordCount(), 2u);
}

TEST(DataFileResolution, FallsBackToTheSqliteExtension) {
    TempFolder folder;
    writeTableau(folder.path() / "tableau.SQLITE");
    EXPECT_EQ(resolveDataFile(folder.path(), "Tableau.mdb"), folder.path() / "tableau.SQLITE");
    // The bare name wins when both exist.
    writeTableau(folder.path() / "Tableau.mdb");
    EXPECT_EQ(resolveDataFile(folder.path(), "Tableau.mdb"), folder.path() / "Tableau.mdb");
}

TEST(DataFileResolution, AMissingFileIsNamedWithItsFolder) {
    TempFolder folder;
    const std::string expected =
        "Il file di database \"Contatori.mdb\" (o \"Contatori.sqlite\") non si trova nella "
        "cartella '" +
        folder.path().string() + "'";
    EXPECT_EQ(errorMessage([&] { resolveDataFile(folder.path(), "Contatori.mdb"); }), expected);
    // The path is shown clean, without "/./" or a trailing separator.
    EXPECT_EQ(errorMessage([&] { Database::open(folder.path() / "." / "", "Contatori.mdb"); }),
              expected);
    // A folder that is not there holds no database either.
    EXPECT_EQ(errorMessage([&] { resolveDataFile(folder.path() / "assente", "Tableau.mdb"); }),
              "Il file di database \"Tableau.mdb\" (o \"Tableau.sqlite\") non si trova nella "
              "cartella '" +
                  (folder.path() / "assente").string() + "'");
}

TEST(DatabaseOpen, RefusesAFileThatIsNeitherAccessNorSqlite) {
    TempFolder folder;
    testing::writeBytes(folder.path() / "Contatori.mdb", "Standard Jet DB but not at offset 4");
    EXPECT_EQ(errorMessage([&] { Database::open(folder.path(), "Contatori.mdb"); }),
              "Il file '" + (folder.path() / "Contatori.mdb").string() +
                  "' non è un database Access né SQLite");
}

TEST(DatabaseOpen, AJetHeaderGoesToTheAccessReader) {
    TempFolder folder;
    // The Jet signature, then nothing an Access reader could use.
    testing::writeBytes(
        folder.path() / "Stampanti.mdb",
        std::string("\x00\x01\x00\x00Standard Jet DB\x00", 20) + std::string(64, '\x01'));
    const std::string message = errorMessage(
        [&] { Database::open(folder.path(), "Stampanti.mdb").openRecordset("Stampanti"); });
    EXPECT_TRUE(mentions(message, "Stampanti.mdb")) << message;
    EXPECT_FALSE(mentions(message, "neither")) << message;
}

TEST(DatabaseOpen, ADamagedSqliteFileIsNamed) {
    TempFolder folder;
    testing::writeBytes(folder.path() / "Tableau.mdb",
                        std::string("SQLite format 3\0", 16) + std::string(200, '\x7f'));
    EXPECT_EQ(errorMessage(
                  [&] { Database::open(folder.path(), "Tableau.mdb").openRecordset("Tableau"); }),
              "Impossibile leggere il file di database '" +
                  (folder.path() / "Tableau.mdb").string() + "': non è un database SQLite");
}

TEST(DatabaseOpen, UnknownTablesAndClosedHandlesAreReported) {
    TempFolder folder;
    writeTableau(folder.path() / "Tableau.sqlite");
    Database db = Database::open(folder.path(), "Tableau.mdb");
    EXPECT_EQ(db.tableNames(), std::vector<std::string>{"Tableau"});
    EXPECT_EQ(errorMessage([&] { db.openRecordset("NumeriCamere"); }),
              "La tabella \"NumeriCamere\" non esiste nel file di database '" +
                  (folder.path() / "Tableau.sqlite").string() + "'");

    RecordSet kept = db.openRecordset("TABLEAU");
    Database copy = db;
    db.close();
    EXPECT_FALSE(db.isOpen());
    EXPECT_EQ(errorMessage([&] { db.openRecordset("Tableau"); }), "Il database non è aperto");
    // A copy keeps the file open; a record set keeps its rows.
    EXPECT_EQ(copy.openRecordset("Tableau").recordCount(), 2u);
    kept.findFirst("Codice = 2");
    EXPECT_EQ(kept.field("Descrizione"), txt("Primo piano"));
    // A sub-query needs the database, open while a copy of it is.
    kept.findFirst("Codice In (Select Codice From Tableau Where Codice > 1)");
    EXPECT_EQ(kept.field("Codice"), num(2));
    copy.close();
    EXPECT_EQ(errorMessage([&] { kept.findFirst("Codice In (Select Codice From Tableau)"); }),
              "Il database della tabella \"Tableau\" è già stato chiuso");
}

}  // namespace
}  // namespace planora::db

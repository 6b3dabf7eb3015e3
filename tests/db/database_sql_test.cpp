#include <gtest/gtest.h>

#include "db/database.h"
#include "db/error.h"
#include "sqlite_fixture.h"

namespace planora::db {
namespace {

using testing::num;
using testing::TempFolder;
using testing::txt;
using testing::writeTable;

// Rooms of two kinds in one file, the kinds in another, as the board builder finds them.
class SqlSelect : public ::testing::Test {
  protected:
    void SetUp() override {
        writeTable(folder.path() / "NumeriCamere.sqlite", "NumeriCamere",
                   {{"NumeroHotel", "INTEGER"}, {"NumeroCamera", "TEXT"}, {"TipoCamera", "TEXT"}},
                   {{num(1), txt("103"), txt("DUS")},
                    {num(1), txt("101"), txt("MAT")},
                    {num(2), txt("101"), txt("MAT")},
                    {num(1), txt("SALA"), txt("RIU")},
                    {num(1), txt("102"), txt("dus")},
                    {num(1), txt("100"), Value()}});
        writeTable(folder.path() / "TIPICAMERE.MDB", "TipiCamere",
                   {{"Sigla", "TEXT"}, {"Tipologia", "TEXT"}},
                   {{txt("DUS"), txt("C")}, {txt("MAT"), txt("A")}, {txt("RIU"), txt("S")}});
        rooms = Database::open(folder.path(), "NumeriCamere.mdb");
    }

    // The room numbers of the record set, in its order, read by a find walk.
    static std::vector<std::string> walk(RecordSet& set, const std::string& criteria) {
        std::vector<std::string> found;
        for (set.findFirst(criteria); !set.noMatch(); set.findNext(criteria)) {
            found.push_back(set.field("NumeroCamera").asText() + "/" +
                            set.field("NumeroHotel").toText());
        }
        return found;
    }

    TempFolder folder;
    Database rooms;
};

TEST_F(SqlSelect, WhereKeepsMatchingRowsInTableOrder) {
    RecordSet set = rooms.openRecordset(
        "Select * From NumeriCamere Where NumeroHotel = 1 and TipoCamera = 'DUS'");
    EXPECT_EQ(set.recordCount(), 2u);
    EXPECT_EQ(walk(set, "NumeroHotel > 0"), (std::vector<std::string>{"103/1", "102/1"}));
}

TEST_F(SqlSelect, OrderByIsStableAndAcceptsDescending) {
    RecordSet byRoom = rooms.openRecordset("Select * From NumeriCamere Order by NumeroCamera;");
    EXPECT_EQ(walk(byRoom, "NumeroHotel > 0"),
              (std::vector<std::string>{"100/1", "101/1", "101/2", "102/1", "103/1", "SALA/1"}));
    RecordSet byHotel =
        rooms.openRecordset("Select * From NumeriCamere Order by NumeroHotel Desc, TipoCamera");
    // Null sorts first; "dus" and "DUS" are equal and keep their table order.
    EXPECT_EQ(walk(byHotel, "NumeroHotel > 0"),
              (std::vector<std::string>{"101/2", "100/1", "103/1", "102/1", "101/1", "SALA/1"}));
}

TEST_F(SqlSelect, SubQueryReadsAnotherFileOfTheFolder) {
    RecordSet set = rooms.openRecordset(
        "Select * From NumeriCamere Where TipoCamera In (Select Sigla From TipiCamere In "
        "'TipiCamere.mdb' Where (Tipologia = 'C' or Tipologia = 'A'));");
    set.setSort("[NumeroCamera]");
    RecordSet sorted = set.openRecordset();
    EXPECT_EQ(walk(sorted, "NumeroHotel = 1"),
              (std::vector<std::string>{"101/1", "102/1", "103/1"}));
}

TEST_F(SqlSelect, SelectFromAnotherFile) {
    RecordSet kinds =
        rooms.openRecordset("Select * From TipiCamere In 'tipicamere.mdb' Order by Sigla Desc");
    ASSERT_EQ(kinds.recordCount(), 3u);
    kinds.findFirst("Sigla <> ''");
    EXPECT_EQ(kinds.field("Sigla"), txt("RIU"));
}

TEST_F(SqlSelect, FaultsNameTheSqlTextAndTheCulprit) {
    auto messageOf = [&](const std::string& sql) {
        return testing::errorMessage([&] { rooms.openRecordset(sql); });
    };
    const std::string file = "'" + (folder.path() / "NumeriCamere.sqlite").string() + "'";
    const std::string badField = "Select * From NumeriCamere Where Piano = 1";
    EXPECT_EQ(messageOf(badField),
              "Il campo \"Piano\" non esiste nella tabella \"NumeriCamere\" del file " + file +
                  " (istruzione SQL \"" + badField + "\")");
    EXPECT_EQ(messageOf("Select * From Camere Where NumeroHotel = 1"),
              "La tabella \"Camere\" non esiste nel file di database " + file);
    EXPECT_EQ(messageOf("Select * From TipiCamere In 'Mancante.mdb'"),
              "Il file di database \"Mancante.mdb\" (o \"Mancante.sqlite\") non si trova nella "
              "cartella '" +
                  folder.path().string() + "'");
    EXPECT_EQ(messageOf("Select * From NumeriCamere Order by Piano"),
              "Il campo \"Piano\" non esiste nella tabella \"NumeriCamere\" del file " + file);
    // A sub-query gives one column: a table of two, taken whole, cannot serve.
    EXPECT_EQ(messageOf("Select * From NumeriCamere Where TipoCamera In (Select * From TipiCamere "
                        "In 'TipiCamere.mdb')"),
              "Una sottoquery sulla tabella \"TipiCamere\" deve scegliere una sola colonna");
}

}  // namespace
}  // namespace planora::db

#include <gtest/gtest.h>

#include "db/database.h"
#include "db/error.h"
#include "sqlite_fixture.h"

// Fields whose stored values do not fit the criteria that use them: as the Access engine, the
// record access layer refuses to compare a text with a number or a date, whatever the rows the
// finds reach, instead of silently matching nothing.
namespace planora::db {
namespace {

using testing::errorMessage;
using testing::num;
using testing::TempFolder;
using testing::txt;
using testing::writeTable;

class TypeMismatch : public ::testing::Test {
  protected:
    // The guest cards with NumeroCamera declared without a type, as a hand-made SQLite file
    // may have it: SQLite then keeps each room number as it was given, text or number.
    RecordSet cards(const std::vector<testing::Row>& rows) {
        writeTable(folder.path() / "Scheda_Cliente.sqlite", "Scheda_Cliente",
                   {{"NumeroHotel", "INTEGER"}, {"NumeroCamera", ""}, {"DataArrivo", "REAL"}},
                   rows);
        return Database::open(folder.path(), "Scheda_Cliente.mdb").openRecordset("Scheda_Cliente");
    }
    std::string file() const {
        return "'" + (folder.path() / "Scheda_Cliente.sqlite").string() + "'";
    }

    TempFolder folder;
};

TEST_F(TypeMismatch, ARoomNumberStoredAsANumberStopsTheFind) {
    RecordSet set = cards({{num(1), txt("101"), Value()}, {num(2), num(102), Value()}});
    const std::string criteria = "NumeroHotel = 1 and NumeroCamera = '101'";
    // The row holding the number is not even one the equality on NumeroHotel would reach.
    EXPECT_EQ(errorMessage([&] { set.findFirst(criteria); }),
              "Tipo di dati non corrispondente nell'espressione criterio \"" + criteria +
                  "\" sulla tabella \"Scheda_Cliente\" del file " + file() +
                  ": si confronta il campo \"NumeroCamera\" (che contiene il numero 102) con il "
                  "testo \"101\"");
    // The other way round: a number sought among texts.
    EXPECT_NE(errorMessage([&] { set.findFirst("NumeroCamera = 102"); })
                  .find("si confronta il campo \"NumeroCamera\" (che contiene il testo \"101\") "
                        "con il numero 102"),
              std::string::npos);
    // A comparison in a branch that no row reaches still counts, as the engine checks types
    // before it looks at rows.
    EXPECT_NE(errorMessage([&] { set.findFirst("NumeroHotel = 9 and NumeroCamera >= '1'"); }),
              "no error");
    EXPECT_NE(errorMessage([&] { set.findLast("NumeroCamera In ('101', '103')"); }), "no error");
}

TEST_F(TypeMismatch, DatesStoredAsNumbersStopTheStatement) {
    cards({{num(1), txt("101"), Value::real(20240314.0)}});
    const Database db = Database::open(folder.path(), "Scheda_Cliente.mdb");
    const std::string sql = "Select * From Scheda_Cliente Where DataArrivo <= '20240315'";
    EXPECT_EQ(errorMessage([&] { db.openRecordset(sql); }),
              "Tipo di dati non corrispondente nell'espressione criterio dell'istruzione SQL \"" +
                  sql + "\" sulla tabella \"Scheda_Cliente\" del file " + file() +
                  ": si confronta il campo \"DataArrivo\" (che contiene il numero 20240314) con il "
                  "testo \"20240315\"");
}

TEST_F(TypeMismatch, TextInANumberFieldStopsTheFind) {
    writeTable(folder.path() / "Tableau.sqlite", "Tableau",
               {{"NumeroHotel", "TEXT"}, {"Codice", "INTEGER"}},
               {{txt("1"), num(1)}, {Value(), num(2)}});
    RecordSet layouts = Database::open(folder.path(), "Tableau.mdb").openRecordset("Tableau");
    EXPECT_NE(errorMessage([&] {
                  layouts.findFirst("NumeroHotel = 1 and Codice > 0");
              }).find("il campo \"NumeroHotel\" (che contiene il testo \"1\") con il numero 1"),
              std::string::npos);
    // Two fields of unrelated kinds.
    EXPECT_NE(errorMessage([&] { layouts.findFirst("Codice = NumeroHotel"); })
                  .find("si confronta il campo \"Codice\" (che contiene il numero 1) con il campo "
                        "\"NumeroHotel\" (che contiene il testo \"1\")"),
              std::string::npos);
}

TEST_F(TypeMismatch, NullsAndFittingKindsStillFindTheirRows) {
    RecordSet set = cards({{num(1), txt("101"), Value()},
                           {Value(), txt("102"), Value::real(20240314.0)},
                           {num(1), Value(), Value()}});
    // Null holds no kind: comparing it stays three-valued.
    set.findFirst("NumeroHotel = 1 and NumeroCamera = '101'");
    ASSERT_FALSE(set.noMatch());
    EXPECT_EQ(set.field("NumeroCamera"), txt("101"));
    set.findNext("NumeroHotel = 1 and NumeroCamera = '101'");
    EXPECT_TRUE(set.noMatch());
    set.findFirst("DataArrivo > 20240313.5");
    ASSERT_FALSE(set.noMatch());
    EXPECT_EQ(set.field("NumeroCamera"), txt("102"));
    set.findFirst("NumeroCamera Like '10*' and NumeroHotel Is Null");
    EXPECT_EQ(set.field("NumeroCamera"), txt("102"));
}

TEST_F(TypeMismatch, ASubqueryOfNumbersAgainstTextRoomKinds) {
    writeTable(folder.path() / "NumeriCamere.sqlite", "NumeriCamere",
               {{"NumeroCamera", "TEXT"}, {"TipoCamera", "TEXT"}},
               {{txt("101"), txt("DUS")}, {txt("102"), txt("1")}});
    writeTable(folder.path() / "TipiCamere.sqlite", "TipiCamere",
               {{"Sigla", "INTEGER"}, {"Tipologia", "TEXT"}}, {{num(1), txt("C")}});
    const Database rooms = Database::open(folder.path(), "NumeriCamere.mdb");
    const std::string message = errorMessage([&] {
        rooms.openRecordset(
            "Select * From NumeriCamere Where TipoCamera In (Select Sigla From TipiCamere In "
            "'TipiCamere.mdb' Where Tipologia = 'C')");
    });
    EXPECT_NE(message.find("si confronta il campo \"TipoCamera\" (che contiene il testo \"DUS\") "
                           "con i valori della sottoquery sulla tabella \"TipiCamere\" (tra cui il "
                           "numero 1)"),
              std::string::npos)
        << message;
}

}  // namespace
}  // namespace planora::db

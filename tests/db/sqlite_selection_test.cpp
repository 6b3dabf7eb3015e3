// Statements over SQLite files that SQLite narrows before the record access layer filters:
// the same rows as the engine's own evaluation, the type checks of the whole table, tables
// read only when used, and reads that see one state of a file.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <random>
#include <stdexcept>

#include "db/backend.h"
#include "db/database.h"
#include "db/error.h"
#include "db/sql.h"
#include "random_criteria.h"
#include "sqlite_fixture.h"

namespace planora::db {
namespace {

using testing::errorMessage;
using testing::idsFound;
using testing::randomCriteria;
using testing::TempFolder;

// Runs SQL on a file, as another program of the hotel would write it.
void execute(const std::filesystem::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string text = error != nullptr ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK) {
        throw std::runtime_error(sql + ": " + text);
    }
}

// Texts that fold, tie, sort between the capitals and the small letters, or are not UTF-8.
const std::vector<std::string> kStoredTexts = {
    "'101'",   "'102'",      "'1''A'",    "'Sala'",  "'SALA'",
    "'sala'",  "'sala '",    "'Città'",   "'CITTÀ'", "'citta'",
    "'Ünter'", "'unter'",    "'[x]'",     "'_a'",    "'`b'",
    "'Z'",     "'z'",        "''",        "'a b'",   "'ab'",
    "'ä'",     "NULL",       "x'414243'", "x'61'",   "CAST(x'E062' AS TEXT)",
    "x'E0'",   "'20240315'", "'2024'"};

class NarrowedStatements : public ::testing::Test {
  protected:
    void SetUp() override {
        file = folder.path() / "Scheda_Cliente.sqlite";
        execute(file,
                "CREATE TABLE Scheda_Cliente (Id INTEGER, NumeroHotel INTEGER, NumeroCamera "
                "TEXT, Nome TEXT)");
        std::mt19937 random(20251103);
        std::string insert = "INSERT INTO Scheda_Cliente VALUES ";
        const std::vector<std::string> hotels = {"1", "2", "-1", "NULL", "2.5", "3", "0"};
        for (int id = 0; id < 90; ++id) {
            auto pick = [&](const std::vector<std::string>& from) {
                return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
            };
            insert += (id == 0 ? "(" : ", (") + std::to_string(id) + ", " + pick(hotels) + ", " +
                      pick(kStoredTexts) + ", " + pick(kStoredTexts) + ")";
        }
        execute(file, insert);
        db = Database::open(folder.path(), "Scheda_Cliente.mdb");
    }

    TempFolder folder;
    std::filesystem::path file;
    Database db;
};

TEST_F(NarrowedStatements, SelectTheRowsTheEngineSelects) {
    RecordSet everyRow = db.openRecordset("Scheda_Cliente");
    std::mt19937 random(7);
    int narrowed = 0;
    const auto backend = openSqliteBackend(file);
    for (int i = 0; i < 400; ++i) {
        const std::string criteria = randomCriteria(random, 3);
        RecordSet selected = db.openRecordset("Select * From Scheda_Cliente Where " + criteria);
        EXPECT_EQ(idsFound(selected, "Id >= 0"), idsFound(everyRow, criteria)) << criteria;
        narrowed += backend->openSelection("Scheda_Cliente", *sql::parseCriteria(criteria)) ? 1 : 0;
    }
    // Most criteria are narrowed by SQLite, so the comparison above tests the translation.
    EXPECT_GT(narrowed, 200);
}

TEST_F(NarrowedStatements, OnlyWhatSqliteAnswersAlikeIsNarrowed) {
    const auto backend = openSqliteBackend(file);
    const std::size_t all = backend->openTable("Scheda_Cliente")->rowCount();
    auto rowsOf = [&](const std::string& criteria) -> std::optional<std::size_t> {
        const TablePtr table =
            backend->openSelection("Scheda_Cliente", *sql::parseCriteria(criteria));
        return table ? std::optional<std::size_t>(table->rowCount()) : std::nullopt;
    };
    EXPECT_LT(rowsOf("NumeroHotel = 1 and NumeroCamera = '101'").value_or(all), all);
    EXPECT_LT(rowsOf("Nome >= 'z' or NumeroHotel Is Null").value_or(all), all);
    // Texts beyond ASCII fold by the engine's rules only; Like, Not, a comparison of two
    // fields and a number against a text field are not SQLite's to answer.
    for (const char* kept :
         {"Nome = 'città'", "Nome Like 's*'", "Not (NumeroHotel = 1)", "Nome = NumeroCamera",
          "Nome = 1", "NumeroHotel = '1'", "NumeroHotel = 1.5"}) {
        EXPECT_FALSE(rowsOf(kept)) << kept;
    }
    // A sub-query may fail on any row: nothing of its Where is narrowed.
    EXPECT_FALSE(rowsOf("NumeroHotel = 1 and Id In (Select Id From Scheda_Cliente)"));
    // Nor is a Where nested deeper than SQLite takes; the record set still selects its rows.
    std::string rooms = "Nome = 'x0'";
    for (int i = 1; i < 400; ++i) {
        rooms += " or Nome = 'x" + std::to_string(i) + "'";
    }
    EXPECT_FALSE(rowsOf(rooms));
    const Database db = Database::open(folder.path(), "Scheda_Cliente.mdb");
    EXPECT_EQ(db.openRecordset("Select * From Scheda_Cliente Where " + rooms).recordCount(), 0u);
}

// Guest cards of a past stay and of the next year, one of which holds a value of another kind.
class WholeTableKinds : public ::testing::Test {
  protected:
    void write(const std::string& oddRow) {
        file = folder.path() / "Scheda_Cliente.sqlite";
        execute(file,
                "CREATE TABLE Scheda_Cliente (Id INTEGER, NumeroHotel INTEGER, NumeroCamera, "
                "DataArrivo TEXT, Arrivo DATETIME); INSERT INTO Scheda_Cliente VALUES "
                "(1, 1, '101', '20240301', 'il primo'), (2, 1, '102', '20240302', NULL), " +
                    oddRow);
    }
    std::string messageOf(const std::string& criteria) {
        const Database db = Database::open(folder.path(), "Scheda_Cliente.mdb");
        RecordSet march =
            db.openRecordset("Select * From Scheda_Cliente Where DataArrivo <= '20240331'");
        return errorMessage([&] { march.findFirst(criteria); });
    }

    TempFolder folder;
    std::filesystem::path file;
};

TEST_F(WholeTableKinds, ATextAmongTheHotelNumbersOutsideTheSelection) {
    write("(3, 'uno', '103', '20250101', NULL)");
    EXPECT_NE(messageOf("NumeroHotel = 1 and NumeroCamera = '101'")
                  .find("si confronta il campo \"NumeroHotel\" (che contiene il testo \"uno\") "
                        "con il numero 1"),
              std::string::npos);
    // The statement itself compares the hotel numbers: it fails when opened.
    const Database db = Database::open(folder.path(), "Scheda_Cliente.mdb");
    EXPECT_NE(errorMessage([&] {
                  db.openRecordset(
                      "Select * From Scheda_Cliente Where NumeroHotel = 1 and DataArrivo <= "
                      "'20240331'");
              }).find("(che contiene il testo \"uno\")"),
              std::string::npos);
}

TEST_F(WholeTableKinds, ANumberAmongUntypedRoomsOutsideTheSelection) {
    write("(3, 1, 104, '20250101', NULL)");
    EXPECT_NE(messageOf("NumeroHotel = 1 and NumeroCamera = '101'")
                  .find("il campo \"NumeroCamera\" (che contiene il numero 104)"),
              std::string::npos);
    EXPECT_EQ(messageOf("NumeroHotel = 1 and Id = 2"), "no error");
}

TEST_F(WholeTableKinds, ADateOutsideTheSelection) {
    write("(3, 1, '103', '20250101', '2025-01-01 10:00:00')");
    EXPECT_NE(messageOf("Arrivo = 'il primo'")
                  .find("il campo \"Arrivo\" (che contiene la data 2025-01-01 10:00:00)"),
              std::string::npos);
    EXPECT_EQ(messageOf("NumeroCamera = '101' and DataArrivo = '20240301'"), "no error");
}

// A table over several pages of the file whose data pages, not its definition, are damaged.
TEST(TablesReadOnDemand, ATableOpenedAndNeverReadIsNotRead) {
    TempFolder folder;
    const auto file = folder.path() / "Scheda_Cliente.sqlite";
    execute(file,
            "CREATE TABLE Scheda_Cliente (Id INTEGER, Nome TEXT); WITH RECURSIVE n(i) AS "
            "(SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) INSERT INTO "
            "Scheda_Cliente SELECT i, 'Ospite numero ' || i FROM n");
    {
        std::fstream bytes(file, std::ios::in | std::ios::out | std::ios::binary);
        bytes.seekp(4096 * 3);
        const std::string garbage(4096 * 4, '\x5A');
        bytes.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
    }
    const Database db = Database::open(folder.path(), "Scheda_Cliente.mdb");
    RecordSet cards;
    EXPECT_EQ(errorMessage([&] {
                  cards = db.openRecordset("Scheda_Cliente");
                  db.openRecordset("Select * From Scheda_Cliente Where Nome = 'Ospite'");
              }),
              "no error");
    EXPECT_NE(errorMessage([&] { cards.recordCount(); }).find("danneggiato"), std::string::npos);
}

class LargeTable : public ::testing::Test {
  protected:
    static constexpr int kRows = 10000;
    void SetUp() override {
        file = folder.path() / "Scheda_Cliente.sqlite";
        execute(file,
                "PRAGMA journal_mode=WAL; CREATE TABLE Scheda_Cliente (Id INTEGER, Camera TEXT, "
                "Nome TEXT, Importo CURRENCY); WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL "
                "SELECT i + 1 FROM n WHERE i < " +
                    std::to_string(kRows - 1) +
                    ") INSERT INTO Scheda_Cliente SELECT i, 100 + i % 50, 'Ospite ' || i, i * "
                    "1.25 FROM n");
    }
    TempFolder folder;
    std::filesystem::path file;
};

TEST_F(LargeTable, FewRowsOrEveryRowReadTheSameValues) {
    const TablePtr whole = openSqliteBackend(file)->loadTable("Scheda_Cliente");
    const Database db = Database::open(folder.path(), "Scheda_Cliente.mdb");
    RecordSet cards = db.openRecordset("Scheda_Cliente");
    // A few finds read their rows one by one; walking every row loads the columns whole.
    for (int pass = 0; pass < 2; ++pass) {
        const std::string criteria = pass == 0 ? "Camera = '117'" : "Id >= 0";
        std::size_t read = 0;
        for (cards.findFirst(criteria); !cards.noMatch(); cards.findNext(criteria), ++read) {
            const auto row = static_cast<std::size_t>(cards.field("Id").asInteger());
            ASSERT_EQ(cards.field("Nome"), whole->value(row, 2));
            ASSERT_EQ(cards.field("Importo"), whole->value(row, 3));
        }
        EXPECT_EQ(read, pass == 0 ? kRows / 50u : std::size_t{kRows});
    }
}

TEST_F(LargeTable, AChangeBetweenTwoReadsIsRefused) {
    const Database db = Database::open(folder.path(), "Scheda_Cliente.mdb");
    RecordSet cards = db.openRecordset("Scheda_Cliente");
    cards.findFirst("Id = 42");
    execute(file, "UPDATE Scheda_Cliente SET Nome = 'Cambiato' WHERE Id = 42");
    EXPECT_EQ(errorMessage([&] { cards.field("Nome"); }),
              "Impossibile leggere il file di database '" + file.string() +
                  "' (tabella \"Scheda_Cliente\"): un altro programma ha modificato la tabella "
                  "mentre veniva letta; ripetere l'operazione");
}

TEST_F(LargeTable, WhileHeldTheReadsSeeOneStateOfTheFile) {
    const Database db = Database::open(folder.path(), "Scheda_Cliente.mdb");
    db.holdState();
    RecordSet cards = db.openRecordset("Scheda_Cliente");
    cards.findFirst("Id = 42");
    execute(file, "UPDATE Scheda_Cliente SET Nome = 'Cambiato' WHERE Id = 42");
    EXPECT_EQ(cards.field("Nome"), testing::txt("Ospite 42"));
    db.releaseState();
    // The next run sees the change.
    RecordSet again =
        Database::open(folder.path(), "Scheda_Cliente.mdb").openRecordset("Scheda_Cliente");
    again.findFirst("Id = 42");
    EXPECT_EQ(again.field("Nome"), testing::txt("Cambiato"));
}

}  // namespace
}  // namespace planora::db

// Statements over Access files that the reader program narrows before it sends the rows: the
// same rows and the same failures as the engine's own evaluation over the whole table, and the
// type checks of the whole table for a selection that holds only some of its rows.

#include <gtest/gtest.h>

#include <random>

#include "db/access_backend.h"
#include "db/database.h"
#include "db/sql.h"
#include "tests/db/random_criteria.h"
#include "tests/db/sqlite_fixture.h"
#include "tests/mdb/mdb_test_support.h"

namespace planora::mdbtest {
namespace {

using db::Database;
using db::RecordSet;
using db::Value;
using planora::testing::errorMessage;
using planora::testing::idsFound;

// Texts that fold, tie, or sort between the capitals and the small letters.
const std::vector<std::string> kStoredTexts = {
    "101",   "102",   "1'A",   "Sala",  "SALA", "sala", "sala ",   "Città",
    "CITTÀ", "citta", "Ünter", "unter", "[x]",  "_a",   "`b",      "Z",
    "z",     "",      "a b",   "ab",    "ä",    "2024", "20240315"};

TableContent guestCards(int rows) {
    TableContent table{"Scheda_Cliente",
                       {{"Id", jet::ColumnType::LongInteger},
                        {"NumeroHotel", jet::ColumnType::LongInteger},
                        {"NumeroCamera", jet::ColumnType::Text},
                        {"Nome", jet::ColumnType::Text}},
                       {}};
    std::mt19937 random(20251103);
    auto pick = [&](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count)(random);
    };
    // One pick past the end of a list stands for Null.
    auto text = [&] {
        const std::size_t i = pick(kStoredTexts.size());
        return i == kStoredTexts.size() ? Value() : Value::text(kStoredTexts[i]);
    };
    const std::vector<std::int64_t> hotels = {1, 2, -1, 3, 0};
    for (int id = 0; id < rows; ++id) {
        const std::size_t hotel = pick(hotels.size());
        table.rows.push_back({Value::integer(id),
                              hotel == hotels.size() ? Value() : Value::integer(hotels[hotel]),
                              text(), text()});
    }
    return table;
}

// The limits under which every table is read on demand, with the reader program narrowing.
db::AccessReadLimits narrowingLimits() {
    db::AccessReadLimits limits = generousLimits();
    limits.readAllTablesUpToFileBytes = 0;
    return limits;
}

class AccessSelections : public ::testing::Test {
  protected:
    void write(const TableContent& table) {
        writeTables(folder.path() / "Scheda_Cliente.mdb", {table});
        // A small file is read whole; the same file under the other limits is narrowed.
        whole = Database::open(folder.path(), "Scheda_Cliente.mdb", generousLimits());
        narrowed = Database::open(folder.path(), "Scheda_Cliente.mdb", narrowingLimits());
    }

    planora::testing::TempFolder folder;
    Database whole;
    Database narrowed;
};

TEST_F(AccessSelections, SelectTheRowsAndFailuresOfTheEngine) {
    write(guestCards(120));
    RecordSet everyRow = whole.openRecordset("Scheda_Cliente");
    const auto backend =
        db::openAccessBackend(folder.path() / "Scheda_Cliente.mdb", narrowingLimits());
    std::mt19937 random(11);
    int narrowedByReader = 0;
    int failing = 0;
    // A number against a text field fails, whatever the rows.
    std::vector<std::string> criterias = {"Nome = 1", "NumeroHotel = 'uno' Or Id = 3",
                                          "NumeroHotel = 1 And NumeroCamera > 2"};
    for (int i = 0; i < 150; ++i) {
        criterias.push_back(planora::testing::randomCriteria(random, 3));
    }
    for (const std::string& criteria : criterias) {
        std::vector<std::int64_t> expected, got;
        const std::string engine = errorMessage([&] { expected = idsFound(everyRow, criteria); });
        const std::string reader = errorMessage([&] {
            RecordSet selected =
                narrowed.openRecordset("Select * From Scheda_Cliente Where " + criteria);
            got = idsFound(selected, "Id >= 0");
        });
        EXPECT_EQ(engine == "no error", reader == "no error") << criteria << ": " << reader;
        EXPECT_EQ(got, expected) << criteria;
        failing += engine == "no error" ? 0 : 1;
        const db::TablePtr sent =
            backend->openSelection("Scheda_Cliente", *db::sql::parseCriteria(criteria));
        if (sent && engine == "no error") {
            // The reader sent no row that the record set then dropped.
            EXPECT_EQ(sent->rowCount(), expected.size()) << criteria;
            ++narrowedByReader;
        }
    }
    // Most criteria are narrowed by the reader, so the comparison above tests it.
    EXPECT_GT(narrowedByReader, 75);
    EXPECT_EQ(failing, 3);
}

// Guest cards of a past stay and of the next year; only the next year's has a room.
TEST_F(AccessSelections, TypeChecksLookAtTheWholeTable) {
    TableContent cards{"Scheda_Cliente",
                       {{"Id", jet::ColumnType::LongInteger},
                        {"NumeroCamera", jet::ColumnType::Text},
                        {"DataArrivo", jet::ColumnType::Text}},
                       {{Value::integer(1), Value(), Value::text("20240301")},
                        {Value::integer(2), Value(), Value::text("20240302")},
                        {Value::integer(3), Value::text("103"), Value::text("20250101")}}};
    auto messageOf = [](const Database& db, const std::string& find) {
        RecordSet march =
            db.openRecordset("Select * From Scheda_Cliente Where DataArrivo <= '20240331'");
        return errorMessage([&] { march.findFirst(find); });
    };
    write(cards);
    const std::string mismatch = messageOf(whole, "NumeroCamera = 5");
    EXPECT_NE(mismatch.find("il campo \"NumeroCamera\" (che contiene il testo \"103\")"),
              std::string::npos)
        << mismatch;
    EXPECT_EQ(messageOf(narrowed, "NumeroCamera = 5"), mismatch);
    EXPECT_EQ(messageOf(narrowed, "Id = 2"), "no error");

    // Without a room in the whole table the same find has nothing to mismatch.
    cards.rows.pop_back();
    write(cards);
    EXPECT_EQ(messageOf(narrowed, "NumeroCamera = 5"), "no error");
    EXPECT_EQ(messageOf(whole, "NumeroCamera = 5"), "no error");
}

}  // namespace
}  // namespace planora::mdbtest

// A large table read column by column as the record sets ask: finds load the column they look
// in, and the rows they land on are read again by themselves, checked to be the rows the find
// saw.

#include <gtest/gtest.h>

#include <string>

#include "db/access_backend.h"
#include "db/database.h"
#include "db/error.h"
#include "messages/db_messages.h"
#include "messages/reading_messages.h"
#include "tests/db/sqlite_fixture.h"
#include "tests/mdb/mdb_test_support.h"

namespace planora::mdbtest {
namespace {

using db::Value;
using planora::testing::errorMessage;

constexpr int kRows = 6000;  // more than the record access layer reads whole for a few rows

std::string codeOf(int i) {
    return "C" + std::to_string(100000 + i);
}

// Codes, names, stays and amounts; `shift` moves every code one row on, as a file rewritten
// with other rows would.
TableContent history(int shift = 0) {
    TableContent table{"Storico",
                       {{"Codice", jet::ColumnType::Text},
                        {"Nome", jet::ColumnType::Text},
                        {"Notti", jet::ColumnType::LongInteger},
                        {"Importo", jet::ColumnType::Currency},
                        {"Arrivo", jet::ColumnType::DateTime}},
                       {}};
    for (int i = 0; i < kRows; ++i) {
        table.rows.push_back({Value::text(codeOf(i + shift)),
                              i % 7 == 0 ? Value() : Value::text("Ospite " + std::to_string(i)),
                              Value::integer(i % 13), Value::currency({i * 1250}),
                              Value::dateTime({2025, 1 + i % 12, 1 + i % 28, 0, 0, 0})});
    }
    return table;
}

class AccessRowsTest : public ::testing::Test {
  protected:
    void SetUp() override { writeTables(file(), {history()}); }

    std::filesystem::path file() const { return folder_.path() / "Storico.mdb"; }

    // Read on demand, whatever the file's size.
    db::Database open() const {
        db::AccessReadLimits limits = generousLimits();
        limits.readAllTablesUpToFileBytes = 0;
        return db::Database::open(folder_.path(), "Storico.mdb", limits);
    }

    testing::TempFolder folder_;
};

TEST_F(AccessRowsTest, FindsGiveEveryFieldOfTheRowsTheyLandOn) {
    const auto whole = db::openAccessBackend(file(), generousLimits())->loadTable("Storico");
    db::RecordSet found = open().openRecordset("Storico");
    for (const int row : {0, 1, 7, 2999, 5998, 5999}) {
        found.findFirst("[Codice] = '" + codeOf(row) + "'");
        ASSERT_FALSE(found.noMatch()) << row;
        const auto r = static_cast<std::size_t>(row);
        EXPECT_EQ(found.field("Nome"), whole->value(r, 1)) << row;
        EXPECT_EQ(found.field("Notti"), whole->value(r, 2)) << row;
        EXPECT_EQ(found.field("Importo"), whole->value(r, 3)) << row;
        EXPECT_EQ(found.field("Arrivo"), whole->value(r, 4)) << row;
        EXPECT_EQ(found.field("Codice"), Value::text(codeOf(row)));
    }
    found.findFirst("[Codice] = 'C0'");
    EXPECT_TRUE(found.noMatch());
}

TEST_F(AccessRowsTest, ManyFindsEndInWholeColumnsWithTheSameValues) {
    db::RecordSet found = open().openRecordset("Storico");
    for (int row = 0; row < kRows; row += 9) {
        found.findFirst("[Codice] = '" + codeOf(row) + "'");
        ASSERT_FALSE(found.noMatch()) << row;
        EXPECT_EQ(found.field("Notti"), Value::integer(row % 13)) << row;
    }
}

TEST_F(AccessRowsTest, ARowThatIsNoLongerTheOneFoundStopsWithAMessage) {
    db::RecordSet found = open().openRecordset("Storico");
    found.findFirst("[Codice] = '" + codeOf(40) + "'");
    ASSERT_FALSE(found.noMatch());
    writeTables(file(), {history(1)});
    EXPECT_EQ(errorMessage([&] { (void)found.field("Nome"); }),
              msg::cannotReadAccessTable("Storico", file(), msg::changedWhileRead()));
}

}  // namespace
}  // namespace planora::mdbtest

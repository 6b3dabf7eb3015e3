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

class RecordSetSort : public ::testing::Test {
  protected:
    void SetUp() override {
        writeTable(folder.path() / "Camere_Prenotazione.sqlite", "Camere_Prenotazione",
                   {{"Id", "INTEGER"},
                    {"NumeroCamera", "TEXT"},
                    {"NumeroPersone", "INTEGER"},
                    {"Prezzo", "CURRENCY"}},
                   {{num(0), txt("201"), num(2), Value::currency(Currency{800000})},
                    {num(1), txt("101"), num(1), Value()},
                    {num(2), Value(), num(2), Value::currency(Currency{1200000})},
                    {num(3), txt("Sala"), num(3), Value::currency(Currency{800000})},
                    {num(4), txt("101"), num(2), Value::currency(Currency{999})},
                    {num(5), txt("SALA"), num(1), Value::currency(Currency{800000})}});
        bookings = Database::open(folder.path(), "Camere_Prenotazione.mdb")
                       .openRecordset("Camere_Prenotazione");
    }

    static std::vector<std::int64_t> order(RecordSet set) {
        std::vector<std::int64_t> ids;
        for (set.findFirst("Id >= 0"); !set.noMatch(); set.findNext("Id >= 0")) {
            ids.push_back(set.field("Id").asInteger());
        }
        return ids;
    }

    RecordSet sorted(const std::string& sort) {
        bookings.setSort(sort);
        return bookings.openRecordset();
    }

    TempFolder folder;
    RecordSet bookings;
};

using Ids = std::vector<std::int64_t>;

TEST_F(RecordSetSort, SortsByTextStablyWithNullFirst) {
    EXPECT_EQ(order(sorted("[NumeroCamera]")), (Ids{2, 1, 4, 0, 3, 5}));
    EXPECT_EQ(order(sorted("NumeroCamera")), (Ids{2, 1, 4, 0, 3, 5}));
    EXPECT_EQ(bookings.sort(), "NumeroCamera");
    // The record set the sort was set on keeps its own order.
    EXPECT_EQ(order(bookings), (Ids{0, 1, 2, 3, 4, 5}));
}

TEST_F(RecordSetSort, SeveralKeysAndDescending) {
    EXPECT_EQ(order(sorted("NumeroPersone Desc, [NumeroCamera]")), (Ids{3, 2, 4, 0, 1, 5}));
    EXPECT_EQ(order(sorted("[Prezzo] DESC, Id desc")), (Ids{2, 5, 3, 0, 4, 1}));
    EXPECT_EQ(order(sorted("")), (Ids{0, 1, 2, 3, 4, 5}));
}

TEST_F(RecordSetSort, FindsWorkInTheSortedOrder) {
    RecordSet set = sorted("[NumeroCamera] Desc");
    set.findFirst("NumeroPersone = 2");
    EXPECT_EQ(set.field("Id"), num(0));
    set.findNext("NumeroPersone = 2");
    EXPECT_EQ(set.field("Id"), num(4));
    set.findLast("NumeroPersone < 3");
    EXPECT_EQ(set.field("Id"), num(2));
}

TEST_F(RecordSetSort, BadSortTextsAreReported) {
    bookings.setSort("[Piano]");
    const std::string message = testing::errorMessage([&] { bookings.openRecordset(); });
    EXPECT_EQ(message.rfind("Il campo \"Piano\" non esiste nella tabella \"Camere_Prenotazione\" "
                            "del file '",
                            0),
              0u)
        << message;
    bookings.setSort("[NumeroCamera");
    EXPECT_EQ(testing::errorMessage([&] { bookings.openRecordset(); }),
              "Testo di ordinamento non valido: \"[NumeroCamera\"");
}

}  // namespace
}  // namespace planora::db

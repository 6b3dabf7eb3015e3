#include <gtest/gtest.h>

#include <random>

#include "db/database.h"
#include "db/error.h"
#include "sqlite_fixture.h"

namespace planora::db {
namespace {

using testing::errorMessage;
using testing::num;
using testing::TempFolder;
using testing::txt;
using testing::writeTable;

// Guest cards of a few rooms: Id is the card's place in the table.
class RecordSetFind : public ::testing::Test {
  protected:
    void SetUp() override {
        writeTable(folder.path() / "Scheda_Cliente.sqlite", "Scheda_Cliente",
                   {{"Id", "INTEGER"},
                    {"NumeroHotel", "INTEGER"},
                    {"NumeroCamera", "TEXT"},
                    {"NomeCliente", "TEXT"},
                    {"Partito", "TEXT"}},
                   {{num(0), num(1), txt("101"), txt("Rossi"), txt("S")},
                    {num(1), num(1), txt("102"), txt("Bianchi"), Value()},
                    {num(2), num(1), txt("101"), txt("ROSSI"), txt("")},
                    {num(3), num(2), txt("101"), txt("Verdi"), txt("S")},
                    {num(4), num(1), Value(), txt("Neri"), txt("S")},
                    {num(5), num(1), txt("101"), txt("rossi"), txt("s")}});
        cards = Database::open(folder.path(), "Scheda_Cliente.mdb").openRecordset("Scheda_Cliente");
    }

    std::vector<std::int64_t> walk(const std::string& criteria) {
        std::vector<std::int64_t> ids;
        for (cards.findFirst(criteria); !cards.noMatch(); cards.findNext(criteria)) {
            ids.push_back(cards.field("Id").asInteger());
        }
        return ids;
    }

    TempFolder folder;
    RecordSet cards;
};

using Ids = std::vector<std::int64_t>;

TEST_F(RecordSetFind, FirstNextAndLastFollowTheRecordSetOrder) {
    EXPECT_EQ(walk("NumeroHotel = 1 and NumeroCamera = '101'"), (Ids{0, 2, 5}));
    EXPECT_EQ(walk("NumeroCamera = '101' and Partito = 'S'"), (Ids{0, 3, 5}));
    EXPECT_EQ(walk("Id > 2"), (Ids{3, 4, 5}));
    cards.findLast("NumeroCamera = '101' and NumeroHotel = 1");
    EXPECT_EQ(cards.field("Id"), num(5));
    cards.findLast("Id < 4 and NumeroHotel = 1");
    EXPECT_EQ(cards.field("Id"), num(2));
    cards.findLast("Id < 2");
    EXPECT_EQ(cards.field("Id"), num(1));
}

TEST_F(RecordSetFind, NoMatchLeavesTheCurrentRecord) {
    EXPECT_FALSE(cards.hasCurrent());
    cards.findFirst("NomeCliente = 'Verdi'");
    ASSERT_FALSE(cards.noMatch());
    for (const char* criteria : {"NomeCliente = 'Gialli'", "Id > 100", "Id = 1 and Id = 2"}) {
        cards.findFirst(criteria);
        EXPECT_TRUE(cards.noMatch()) << criteria;
        EXPECT_EQ(cards.field("Id"), num(3)) << criteria;
    }
    cards.findNext("NomeCliente = 'Verdi'");
    EXPECT_TRUE(cards.noMatch());
    EXPECT_EQ(cards.field("Id"), num(3));
    cards.findNext("Id >= 0");
    EXPECT_FALSE(cards.noMatch());
    EXPECT_EQ(cards.field("Id"), num(4));
}

TEST_F(RecordSetFind, TextCriteriaIgnoreCaseAndNullNeverMatches) {
    EXPECT_EQ(walk("NomeCliente = 'ROSSI'"), (Ids{0, 2, 5}));
    EXPECT_EQ(walk("Partito = 's'"), (Ids{0, 3, 4, 5}));
    EXPECT_EQ(walk("Partito <> 'S'"), (Ids{2}));
    EXPECT_EQ(walk("NumeroCamera >= '0'"), (Ids{0, 1, 2, 3, 5}));
    EXPECT_EQ(walk("Not (NumeroCamera = '101')"), (Ids{1}));
    EXPECT_EQ(walk("NumeroCamera = Null"), Ids{});
}

TEST_F(RecordSetFind, CopiesMoveOnTheirOwn) {
    cards.findFirst("Id = 1");
    RecordSet copy = cards;
    copy.findNext("NumeroHotel = 1");
    EXPECT_EQ(copy.field("Id"), num(2));
    EXPECT_EQ(cards.field("Id"), num(1));
}

TEST_F(RecordSetFind, FaultsNameTheFieldTableOrCriteria) {
    const std::string file = "'" + (folder.path() / "Scheda_Cliente.sqlite").string() + "'";
    EXPECT_EQ(errorMessage([&] { cards.field("Id"); }),
              "Nessun record corrente nella tabella \"Scheda_Cliente\" da cui leggere il campo "
              "\"Id\"");
    cards.findFirst("Id = 0");
    EXPECT_EQ(cards.field("nomecliente"), txt("Rossi"));
    EXPECT_EQ(errorMessage([&] { cards.field("Cognome"); }),
              "Il campo \"Cognome\" non esiste nella tabella \"Scheda_Cliente\" del file " + file);
    // A criteria names the same failure the same way, then the criteria.
    EXPECT_EQ(errorMessage([&] { cards.findFirst("Camera = '101'"); }),
              "Il campo \"Camera\" non esiste nella tabella \"Scheda_Cliente\" del file " + file +
                  " (criterio \"Camera = '101'\")");
    EXPECT_THROW(cards.findNext("Id = = 1"), Error);
    cards.close();
    EXPECT_FALSE(cards.isOpen());
    EXPECT_EQ(errorMessage([&] { cards.findFirst("Id = 0"); }), "Il recordset non è aperto");
}

// Random cards: the indexed finds (equality terms) must agree with plain scans and with a
// filter written out by hand.
// Few rows have their index sorted by comparison, many by counting: both must agree with a
// scan of the rows.
void checkIndexedAndScannedFindsAgree(int cards) {
    TempFolder folder;
    std::mt19937 random(20240229);
    const std::vector<std::string> rooms = {"101", "102", "1'A", "201", "Sala"};
    std::vector<testing::Row> rows;
    struct Card {
        int hotel;  // 0 for Null
        std::string room;
        int age;
    };
    std::vector<Card> expected;
    for (int i = 0; i < cards; ++i) {
        const int hotel = static_cast<int>(random() % 4);
        std::string room = rooms[random() % rooms.size()];
        if (random() % 2 == 0) {
            for (char& c : room) {
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            }
        }
        const int age = static_cast<int>(random() % 90);
        expected.push_back({hotel, room, age});
        rows.push_back({num(i), hotel == 0 ? Value() : num(hotel), txt(room), num(age)});
    }
    writeTable(folder.path() / "Ospiti.sqlite", "Ospiti",
               {{"Id", "INTEGER"},
                {"NumeroHotel", "INTEGER"},
                {"NumeroCamera", "TEXT"},
                {"Eta", "INTEGER"}},
               rows);
    RecordSet set = Database::open(folder.path(), "Ospiti.mdb").openRecordset("Ospiti");
    auto walk = [&](const std::string& criteria, bool backwards) {
        Ids ids;
        if (backwards) {
            set.findLast(criteria);
            if (!set.noMatch()) {
                ids.push_back(set.field("Id").asInteger());
            }
            return ids;
        }
        for (set.findFirst(criteria); !set.noMatch(); set.findNext(criteria)) {
            ids.push_back(set.field("Id").asInteger());
        }
        return ids;
    };
    auto lower = [](std::string s) {
        for (char& c : s) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return s;
    };
    for (int hotel = 1; hotel <= 3; ++hotel) {
        for (const std::string& room : rooms) {
            Ids byHand, byHandOld;
            for (std::size_t i = 0; i < expected.size(); ++i) {
                if (expected[i].hotel == hotel && lower(expected[i].room) == lower(room)) {
                    byHand.push_back(static_cast<std::int64_t>(i));
                    if (expected[i].age > 60) {
                        byHandOld.push_back(static_cast<std::int64_t>(i));
                    }
                }
            }
            const std::string h = std::to_string(hotel);
            const std::string r = "'" + (room == "1'A" ? std::string("1''A") : room) + "'";
            const std::string indexed = "NumeroHotel = " + h + " and NumeroCamera = " + r;
            const std::string scanned = "NumeroHotel >= " + h + " and NumeroHotel <= " + h +
                                        " and Not (NumeroCamera <> " + r + ")";
            EXPECT_EQ(walk(indexed, false), byHand) << indexed;
            EXPECT_EQ(walk(scanned, false), byHand) << scanned;
            EXPECT_EQ(walk(indexed + " and Eta > 60", false), byHandOld) << indexed;
            EXPECT_EQ(walk(indexed, true), byHand.empty() ? Ids{} : Ids{byHand.back()}) << indexed;
            EXPECT_EQ(walk(scanned, true), byHand.empty() ? Ids{} : Ids{byHand.back()}) << scanned;
        }
    }
}

TEST(RecordSetFindRandom, IndexedAndScannedFindsAgree) {
    for (const int cards : {300, 3000}) {
        SCOPED_TRACE(cards);
        checkIndexedAndScannedFindsAgree(cards);
    }
}

// Columns with many distinct values make too many pairs to count through: the index keeps
// them in a hash map instead of a flat table, and must find the same rows.
TEST(RecordSetFindRandom, ManyDistinctPairsFindTheSameRows) {
    TempFolder folder;
    std::vector<testing::Row> rows;
    for (int i = 0; i < 3000; ++i) {
        rows.push_back({num(i), num(i % 1500), num((i * 7) % 1700), num(i % 2)});
    }
    writeTable(
        folder.path() / "Conti.sqlite", "Conti",
        {{"Id", "INTEGER"}, {"Cliente", "INTEGER"}, {"Pratica", "INTEGER"}, {"Conto", "INTEGER"}},
        rows);
    RecordSet set = Database::open(folder.path(), "Conti.mdb").openRecordset("Conti");
    for (int i = 0; i < 3000; i += 37) {
        const int cliente = i % 1500;
        const int pratica = (i * 7) % 1700;
        Ids byHand;
        for (int j = 0; j < 3000; ++j) {
            if (j % 1500 == cliente && (j * 7) % 1700 == pratica && j % 2 == 1) {
                byHand.push_back(j);
            }
        }
        const std::string criteria = "Cliente = " + std::to_string(cliente) +
                                     " and Pratica = " + std::to_string(pratica) + " and Conto = 1";
        Ids found;
        for (set.findFirst(criteria); !set.noMatch(); set.findNext(criteria)) {
            found.push_back(set.field("Id").asInteger());
        }
        EXPECT_EQ(found, byHand) << criteria;
    }
    set.findFirst("Cliente = 3 and Pratica = 1 and Conto = 1");
    EXPECT_TRUE(set.noMatch());
}

// Integer keys spread wide (negative ones, over some 40 bits) are counted in several passes of
// an odd width: each pass must keep the order of the one before.
TEST(RecordSetFindRandom, WidelySpreadIntegerKeysFindTheSameRows) {
    TempFolder folder;
    std::mt19937_64 random(7);
    std::vector<std::int64_t> codes(1500);
    for (std::int64_t& code : codes) {
        code = static_cast<std::int64_t>(random() % (std::uint64_t{1} << 41)) -
               (std::int64_t{1} << 40);
    }
    std::vector<testing::Row> rows;
    std::vector<std::int64_t> codeOfRow;
    for (int i = 0; i < 5000; ++i) {
        codeOfRow.push_back(codes[random() % codes.size()]);
        rows.push_back({num(i), num(codeOfRow.back())});
    }
    writeTable(folder.path() / "Codici.sqlite", "Codici",
               {{"Id", "INTEGER"}, {"Codice", "INTEGER"}}, rows);
    RecordSet set = Database::open(folder.path(), "Codici.mdb").openRecordset("Codici");
    for (std::size_t c = 0; c < codes.size(); c += 23) {
        Ids byHand;
        for (std::size_t row = 0; row < codeOfRow.size(); ++row) {
            if (codeOfRow[row] == codes[c]) {
                byHand.push_back(static_cast<std::int64_t>(row));
            }
        }
        const std::string criteria = "Codice = " + std::to_string(codes[c]);
        Ids found;
        for (set.findFirst(criteria); !set.noMatch(); set.findNext(criteria)) {
            found.push_back(set.field("Id").asInteger());
        }
        EXPECT_EQ(found, byHand) << criteria;
        set.findLast(criteria);
        EXPECT_EQ(set.noMatch() ? Ids{} : Ids{set.field("Id").asInteger()},
                  byHand.empty() ? Ids{} : Ids{byHand.back()})
            << criteria;
    }
    set.findFirst("Codice = " + std::to_string((std::int64_t{1} << 40) + 1));
    EXPECT_TRUE(set.noMatch());
}

}  // namespace
}  // namespace planora::db

#include <gtest/gtest.h>

#include "board/desk_lists.h"
#include "db/database.h"
#include "db/error.h"
#include "tests/board/desk_test_hotel.h"

namespace planora::board {
namespace {

TEST(DeskListItem, CodeRightAlignedInThreeCharactersThenBlankAndName) {
    EXPECT_EQ(listItem(5, "Hotel Aurora"), "  5 Hotel Aurora");
    EXPECT_EQ(listItem(42, "Mare"), " 42 Mare");
    EXPECT_EQ(listItem(999, "Monte"), "999 Monte");
    EXPECT_EQ(listItem(7, ""), "  7 ");
}

TEST(DeskListItem, CodesOfOneToThreeDigitsReadBackFromTheItem) {
    for (int code : {1, 5, 9, 10, 42, 99, 100, 555, 999}) {
        EXPECT_EQ(itemCode(listItem(code, "Nome 123")), code) << code;
    }
    EXPECT_EQ(itemCode("  5"), 5);
    EXPECT_EQ(itemCode(""), 0);
}

class DeskListsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::writeDeskHotel(folder_.path());
        tableauFile_ = db::Database::open(folder_.path(), "Tableau.mdb");
        hotelsFile_ = db::Database::open(folder_.path(), "AnagraficaHotels.mdb");
        roomsFile_ = db::Database::open(folder_.path(), "NumeriCamere.mdb");
        tableau_ = tableauFile_.openRecordset("Tableau");
        hotels_ = hotelsFile_.openRecordset("AnagraficaHotels");
        rooms_ = roomsFile_.openRecordset("NumeriCamere");
    }

    testing::TempFolder folder_;
    db::Database tableauFile_, hotelsFile_, roomsFile_;
    db::RecordSet tableau_, hotels_, rooms_;
};

TEST_F(DeskListsTest, HotelListHoldsHotelsNumberedAboveZeroInRecordOrder) {
    EXPECT_EQ(hotelItems(hotels_),
              (std::vector<std::string>{"  5 Hotel Aurora", " 12 Hotel Brezza"}));
}

TEST_F(DeskListsTest, LayoutListHoldsTheHotelsLayoutsCodedAboveZero) {
    EXPECT_EQ(layoutItems(tableau_, 5),
              (std::vector<std::string>{"  1 Piano terra", "  2 Primo piano"}));
    EXPECT_EQ(layoutItems(tableau_, 12), (std::vector<std::string>{"  7 Unico"}));
    EXPECT_TRUE(layoutItems(tableau_, 3).empty());
}

TEST_F(DeskListsTest, DefaultRangeSpansTheLayoutsRoomsOfKindC) {
    // 099 is a hall (kind A) and 001 belongs to another hotel: neither widens the range.
    const RoomRange range = defaultRoomRange(rooms_, folder_.path(), 5, 1);
    EXPECT_EQ(range.first, "101");
    EXPECT_EQ(range.last, "105");
}

TEST_F(DeskListsTest, DefaultRangeComparesRoomNumbersAsText) {
    const RoomRange range = defaultRoomRange(rooms_, folder_.path(), 5, 2);
    EXPECT_EQ(range.first, "10");
    EXPECT_EQ(range.last, "9");
}

TEST_F(DeskListsTest, LayoutWithoutRoomsOfKindCGivesCharacter255ToEmpty) {
    for (auto [hotel, tableau] : {std::pair<std::int16_t, std::int16_t>{12, 7}, {5, 9}}) {
        const RoomRange range = defaultRoomRange(rooms_, folder_.path(), hotel, tableau);
        EXPECT_EQ(range.first, "\xC3\xBF") << hotel << "/" << tableau;
        EXPECT_EQ(range.last, "") << hotel << "/" << tableau;
    }
}

TEST_F(DeskListsTest, MissingRoomKindsFileIsAnErrorNamingIt) {
    std::filesystem::remove(folder_.path() / "TipiCamere.sqlite");
    try {
        defaultRoomRange(rooms_, folder_.path(), 5, 1);
        FAIL() << "no error without TipiCamere";
    } catch (const planora::Error& error) {
        EXPECT_NE(std::string(error.what()).find("TipiCamere"), std::string::npos) << error.what();
    }
}

TEST(DeskWantMessages, NameWhatIsMissingAndTheFile) {
    EXPECT_NE(noHotelMessage().text.find("AnagraficaHotels.mdb"), std::string::npos);
    const Message noLayout = noLayoutMessage(12);
    EXPECT_NE(noLayout.text.find("12"), std::string::npos);
    EXPECT_NE(noLayout.text.find("Tableau.mdb"), std::string::npos);
}

}  // namespace
}  // namespace planora::board

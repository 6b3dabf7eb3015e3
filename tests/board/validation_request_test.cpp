#include <gtest/gtest.h>

#include <variant>

#include "board/validation.h"

namespace planora::board {
namespace {

RequestEntry entry(std::string first, std::string last, std::string date) {
    RequestEntry e;
    e.hotel = 2;
    e.tableau = 3;
    e.firstRoom = std::move(first);
    e.lastRoom = std::move(last);
    e.referenceDate = std::move(date);
    return e;
}

Message rejection(const RequestEntry& e) {
    GiorniMese giorni;
    auto result = validaRichiesta(e, giorni);
    EXPECT_TRUE(std::holds_alternative<Message>(result));
    return std::holds_alternative<Message>(result) ? std::get<Message>(result) : Message{};
}

TEST(Messages, TextsOfTheDialog) {
    EXPECT_EQ(roomRangeMessage().title, "Camere errate!");
    EXPECT_EQ(roomRangeMessage().text, "Controllare l'intervallo di camere richiesto!");
    EXPECT_EQ(dateMessage().title, "Data errata!");
    EXPECT_EQ(dateMessage().text, "La data deve essere inserita \r\nnel formato gg/mm/aaaa");
}

TEST(ValidaRichiesta, AcceptedEntryBecomesTheRequest) {
    RequestEntry e = entry("101", "230", "07/12/2026");
    e.addArrangement = true;
    e.selectionDate = "081226";
    GiorniMese giorni;
    auto result = validaRichiesta(e, giorni);
    ASSERT_TRUE(std::holds_alternative<BoardRequest>(result));
    const BoardRequest& r = std::get<BoardRequest>(result);
    EXPECT_EQ(r.hotel, 2);
    EXPECT_EQ(r.tableau, 3);
    EXPECT_EQ(r.firstRoom, "101");
    EXPECT_EQ(r.lastRoom, "230");
    EXPECT_EQ(r.referenceDate, "07/12/2026");
    EXPECT_EQ(r.addArrangement, 1);
    // The selection date is the builder's to normalise.
    EXPECT_EQ(r.selectionDate, "081226");
}

TEST(ValidaRichiesta, SwitchOffGivesZero) {
    GiorniMese giorni;
    auto result = validaRichiesta(entry("1", "2", "01/01/2026"), giorni);
    ASSERT_TRUE(std::holds_alternative<BoardRequest>(result));
    EXPECT_EQ(std::get<BoardRequest>(result).addArrangement, 0);
}

TEST(ValidaRichiesta, RoomsCompareAsText) {
    GiorniMese giorni;
    EXPECT_TRUE(std::holds_alternative<BoardRequest>(
        validaRichiesta(entry("101", "101", "01/01/2026"), giorni)));
    EXPECT_TRUE(std::holds_alternative<BoardRequest>(
        validaRichiesta(entry("10", "9", "01/01/2026"), giorni)));
    EXPECT_EQ(rejection(entry("9", "10", "01/01/2026")).title, "Camere errate!");
    EXPECT_EQ(rejection(entry("B1", "A9", "01/01/2026")).title, "Camere errate!");
    EXPECT_EQ(rejection(entry("101", "", "01/01/2026")).title, "Camere errate!");
}

TEST(ValidaRichiesta, RoomOrderIsReportedBeforeTheDate) {
    const Message m = rejection(entry("9", "10", "not a date"));
    EXPECT_EQ(m.title, roomRangeMessage().title);
    EXPECT_EQ(m.text, roomRangeMessage().text);
}

TEST(ValidaRichiesta, DateIsCheckedAsTyped) {
    for (const char* date : {"071226", "07122026", "31/04/2026", "", "7/12/2026"}) {
        const Message m = rejection(entry("1", "9", date));
        EXPECT_EQ(m.title, "Data errata!") << date;
        EXPECT_EQ(m.text, dateMessage().text);
    }
}

TEST(ValidaRichiesta, ChecksACopyOfTheDate) {
    GiorniMese giorni;
    auto result = validaRichiesta(entry("1", "9", " 07/12/2026 "), giorni);
    ASSERT_TRUE(std::holds_alternative<BoardRequest>(result));
    EXPECT_EQ(std::get<BoardRequest>(result).referenceDate, " 07/12/2026 ");
}

TEST(ValidaRichiesta, LeapDayFollowsTheYear) {
    GiorniMese giorni;
    EXPECT_TRUE(std::holds_alternative<BoardRequest>(
        validaRichiesta(entry("1", "9", "29/02/2028"), giorni)));
    EXPECT_EQ(rejection(entry("1", "9", "29/02/2027")).title, "Data errata!");
}

}  // namespace
}  // namespace planora::board

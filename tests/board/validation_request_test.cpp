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

TEST(ValidaRichiesta, TextsLongerThanTheirFieldsAreRefusedNamingTheField) {
    // The window's fields hold 6, 6, 10, 40 and 40 characters; the command line is held to the
    // same.
    const Message date = rejection(entry("1", "9", " 08/12/2026 "));
    EXPECT_EQ(date.title, "Valore troppo lungo!");
    EXPECT_EQ(date.text,
              "Il campo \"Data riferim.\" accetta al più 10 caratteri: \" 08/12/2026 \" è troppo "
              "lungo");
    EXPECT_NE(rejection(entry("1234567", "9", "08/12/2026")).text.find("\"Dalla Camera\""),
              std::string::npos);
    EXPECT_NE(rejection(entry("1", "ABCDEFG", "08/12/2026")).text.find("\"Alla Camera\""),
              std::string::npos);
    RequestEntry company = entry("1", "9", "08/12/2026");
    company.ditta = std::string(41, 'D');
    EXPECT_NE(rejection(company).text.find("\"per Ditta\" accetta al più 40"), std::string::npos);
    RequestEntry selection = entry("1", "9", "08/12/2026");
    selection.selectionDate = std::string(41, '1');
    EXPECT_NE(rejection(selection).text.find("\"Data\" accetta al più 40"), std::string::npos);
}

TEST(ValidaRichiesta, FullFieldsAreAcceptedCountingCharactersNotBytes) {
    RequestEntry e = entry("ÀÈÌÒÙÉ", "ÙÙÙÙÙÙ", "08/12/2026");
    e.ditta = std::string(20, 'D') + "ÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈÈ";
    e.selectionDate = std::string(40, ' ');
    GiorniMese giorni;
    EXPECT_TRUE(std::holds_alternative<BoardRequest>(validaRichiesta(e, giorni)));
}

TEST(ValidaRichiesta, ControlCharactersAreRefusedWhereverTyped) {
    const Message newline = rejection(entry("1", "9", "08/12\n2026"));
    EXPECT_EQ(newline.title, "Valore non valido!");
    EXPECT_EQ(newline.text,
              "Il campo \"Data riferim.\" contiene un carattere di controllo (un a capo, una "
              "tabulazione o simili): \"08/12\\n2026\"");
    EXPECT_EQ(rejection(entry("1\t", "9", "08/12/2026")).title, "Valore non valido!");
    EXPECT_EQ(rejection(entry("1", "9\x7F", "08/12/2026")).title, "Valore non valido!");
    RequestEntry company = entry("1", "9", "08/12/2026");
    company.ditta = "ACME\x1B[2J";
    EXPECT_NE(rejection(company).text.find("\"ACME\\x1B[2J\""), std::string::npos);
}

TEST(ValidaRichiesta, LeapDayFollowsTheYear) {
    GiorniMese giorni;
    EXPECT_TRUE(std::holds_alternative<BoardRequest>(
        validaRichiesta(entry("1", "9", "29/02/2028"), giorni)));
    EXPECT_EQ(rejection(entry("1", "9", "29/02/2027")).title, "Data errata!");
}

}  // namespace
}  // namespace planora::board

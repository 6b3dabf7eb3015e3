#include <gtest/gtest.h>

#include "board/entry_rules.h"

namespace planora::board {
namespace {

class EntryRulesTest : public ::testing::Test {
  protected:
    EnterOutcome enter(EntryField field, std::string text) {
        texts_[static_cast<std::size_t>(field)] = std::move(text);
        return onEnter(field, texts_, clock_, giorni_);
    }

    RequestEntry entry(std::string first, std::string last, std::string date) const {
        return RequestEntry{5,        2, std::move(first), std::move(last), std::move(date), true,
                            "010219", ""};
    }

    FixedClock clock_{LocalDateTime{2026, 12, 8, 9, 30, 0}};
    GiorniMese giorni_;
    EntryTexts texts_{"101", "110", "08/12/2026", "", ""};
};

TEST_F(EntryRulesTest, EnterCleansTheTextOfEveryField) {
    EXPECT_EQ(enter(EntryField::FirstRoom, "a'1").text, "A1");
    EXPECT_EQ(enter(EntryField::Ditta, "l'alba srl").text, "LALBA SRL");
    EXPECT_EQ(enter(EntryField::FirstRoom, "").text, " ");
    EXPECT_EQ(enter(EntryField::Ditta, "'").text, " ");
}

TEST_F(EntryRulesTest, EnterMovesOnFromFirstRoomAndCompanyWithoutMessage) {
    const EnterOutcome first = enter(EntryField::FirstRoom, "101");
    EXPECT_EQ(first.focus, FocusTarget::LastRoom);
    EXPECT_FALSE(first.message);
    const EnterOutcome company = enter(EntryField::Ditta, "Rossi");
    EXPECT_EQ(company.focus, FocusTarget::Stampa);
    EXPECT_FALSE(company.message);
}

TEST_F(EntryRulesTest, LastRoomMustSortAfterTheFirst) {
    texts_[0] = "101";
    const EnterOutcome after = enter(EntryField::LastRoom, "102");
    EXPECT_EQ(after.focus, FocusTarget::ReferenceDate);
    EXPECT_FALSE(after.message);

    for (const char* last : {"101", "100"}) {
        const EnterOutcome rejected = enter(EntryField::LastRoom, last);
        ASSERT_TRUE(rejected.message) << last;
        EXPECT_EQ(rejected.message->title, "Camere errate!");
        EXPECT_EQ(rejected.focus, FocusTarget::Stay);
        EXPECT_EQ(rejected.text, last);
        EXPECT_FALSE(rejected.afterMessage);
    }
}

TEST_F(EntryRulesTest, LastRoomIsComparedAsTextAfterItsCleanUp) {
    texts_[0] = "9";
    EXPECT_TRUE(enter(EntryField::LastRoom, "10").message);  // "10" sorts before "9"
    texts_[0] = "A1";
    EXPECT_FALSE(enter(EntryField::LastRoom, "a2").message);  // "A2" after upper case
}

TEST_F(EntryRulesTest, ShortDatesAreCompletedAndAcceptedInBothDateFields) {
    for (EntryField field : {EntryField::ReferenceDate, EntryField::SelectionDate}) {
        const EnterOutcome six = enter(field, "010219");
        EXPECT_EQ(six.text, "01/02/2019");
        EXPECT_EQ(six.focus, FocusTarget::Stampa);
        EXPECT_FALSE(six.message);
        EXPECT_EQ(enter(field, "29022024").text, "29/02/2024");
        EXPECT_EQ(enter(field, "15/06/2026").text, "15/06/2026");
    }
}

TEST_F(EntryRulesTest, WrongDateShowsTheDateMessageThenToday) {
    for (EntryField field : {EntryField::ReferenceDate, EntryField::SelectionDate}) {
        for (const char* typed : {"310221", "29022023", "1/1/2", "", "abc"}) {
            const EnterOutcome outcome = enter(field, typed);
            ASSERT_TRUE(outcome.message) << typed;
            EXPECT_EQ(outcome.message->title, "Data errata!");
            EXPECT_EQ(outcome.message->text,
                      "La data deve essere inserita \r\nnel formato gg/mm/aaaa");
            EXPECT_EQ(outcome.afterMessage, "08/12/2026") << typed;
            EXPECT_EQ(outcome.focus, FocusTarget::Stay);
        }
    }
    EXPECT_EQ(enter(EntryField::ReferenceDate, "310221").text, "31/02/2021");
}

TEST_F(EntryRulesTest, StampaAcceptsEqualRoomsAndGivesTheRequest) {
    const auto outcome = onStampa(entry("101", "101", "08/12/2026"), clock_, giorni_);
    ASSERT_TRUE(std::holds_alternative<BoardRequest>(outcome));
    EXPECT_EQ(std::get<BoardRequest>(outcome).lastRoom, "101");
}

TEST_F(EntryRulesTest, StampaRejectsRoomsOutOfTextOrderFirst) {
    // 10 sorts before 9; the wrong date is not reported as well.
    const auto outcome = onStampa(entry("9", "10", "3102"), clock_, giorni_);
    ASSERT_TRUE(std::holds_alternative<StampaRejection>(outcome));
    const auto& rejection = std::get<StampaRejection>(outcome);
    EXPECT_EQ(rejection.message.title, "Camere errate!");
    EXPECT_EQ(rejection.focus, FocusTarget::FirstRoom);
    EXPECT_FALSE(rejection.referenceDate);
}

TEST_F(EntryRulesTest, StampaRejectsAnUnconfirmedShortDateAndProposesToday) {
    for (const char* typed : {"010219", "01022019", "31/04/2026"}) {
        const auto outcome = onStampa(entry("101", "105", typed), clock_, giorni_);
        ASSERT_TRUE(std::holds_alternative<StampaRejection>(outcome)) << typed;
        const auto& rejection = std::get<StampaRejection>(outcome);
        EXPECT_EQ(rejection.message.title, "Data errata!");
        EXPECT_EQ(rejection.focus, FocusTarget::ReferenceDate);
        EXPECT_EQ(rejection.referenceDate, "08/12/2026");
    }
}

}  // namespace
}  // namespace planora::board

// The room line composer on its own: one room's row from the history files.

#include <gtest/gtest.h>

#include <memory>

#include "board/board_file.h"
#include "board/composer.h"
#include "board/run_context.h"
#include "tests/board/board_fixture.h"

namespace planora::boardtest {
namespace {

using board::RunContext;

const char* const kRooms[] = {"10", "101", "102", "103", "104", "106", "9"};

class BoardComposerTest : public TestHotelSuite {
  protected:
    static std::string compose(RunContext& run, const std::string& room, const std::string& date,
                               std::int16_t amounts = 0, const std::string& selection = "") {
        return board::RigaCamera(run, 1, 1, room, room, date, amounts, selection);
    }

    static std::string nameOf(const std::string& row) { return row.substr(15, 25); }
};

TEST_F(BoardComposerTest, SharedRunGivesTheRowsAndTotalsOfFreshOpens) {
    for (const char* date : {"08/12/2026", "01/11/2026"}) {
        for (std::int16_t amounts : {0, 1}) {
            RunContext shared(folder(), {});
            board::Totals fresh;
            for (const char* room : kRooms) {
                RunContext alone(folder(), {});
                const std::string expected = compose(alone, room, date, amounts);
                EXPECT_EQ(compose(shared, room, date, amounts), expected) << room << " " << date;
                const board::Totals& t = alone.totals();
                fresh.presenze += t.presenze;
                fresh.fermate += t.fermate;
                fresh.arrivi += t.arrivi;
                fresh.partenze += t.partenze;
                fresh.camPresenti += t.camPresenti;
                fresh.bb += t.bb;
                fresh.hb += t.hb;
            }
            EXPECT_EQ(shared.totals().presenze, fresh.presenze) << date;
            EXPECT_EQ(shared.totals().fermate, fresh.fermate) << date;
            EXPECT_EQ(shared.totals().arrivi, fresh.arrivi) << date;
            EXPECT_EQ(shared.totals().partenze, fresh.partenze) << date;
            EXPECT_EQ(shared.totals().camPresenti, fresh.camPresenti) << date;
            EXPECT_EQ(shared.totals().bb, fresh.bb) << date;
            EXPECT_EQ(shared.totals().hb, fresh.hb) << date;
        }
    }
}

TEST_F(BoardComposerTest, RoomWithoutHistoryCardGivesABlankName) {
    RunContext run(folder(), {});
    const std::string row = compose(run, "102", "08/12/2026");
    ASSERT_EQ(row.size(), 132u);
    EXPECT_EQ(row.substr(1, 13), "102   \xB3SIN   ");
    EXPECT_TRUE(board::grid::isBlank(row, board::grid::kNome));
    EXPECT_EQ(run.totals().presenze + run.totals().partenze, 0);
}

TEST_F(BoardComposerTest, DeparturesAreSelectedByTheRealDeparture) {
    RunContext run(folder(), {.arrivi = false, .perDitta = false, .ditta = ""});
    // Planned departure the 8th, real departure the 9th.
    EXPECT_TRUE(
        board::grid::isBlank(compose(run, "9", "08/12/2026", 0, "20261208"), board::grid::kNome));
    EXPECT_EQ(nameOf(compose(run, "9", "08/12/2026", 0, "20261209")),
              "FANTI ROSA" + std::string(15, ' '));
}

TEST_F(BoardComposerTest, ArrivalsStillNeedTheCardToCoverTheReferenceDay) {
    RunContext run(folder(), {});
    // Arrived and left on the 7th: selected as an arrival of the 7th, not counted on the 8th.
    EXPECT_TRUE(
        board::grid::isBlank(compose(run, "103", "08/12/2026", 0, "20261207"), board::grid::kNome));
    EXPECT_EQ(nameOf(compose(run, "103", "07/12/2026", 0, "20261207")),
              "MORO IVO" + std::string(17, ' '));
}

TEST_F(BoardComposerTest, RoomOfAnotherLayoutIsNotComposed) {
    RunContext run(folder(), {});
    EXPECT_EQ(board::RigaCamera(run, 1, 2, "10", "10", "08/12/2026", 0, ""), "");
}

}  // namespace
}  // namespace planora::boardtest

// The demo hotel's boards built from its SQLite files and from their Access copies: the same
// board file, byte for byte, in every mode, with and without amounts and the company filter,
// on days of history, of guests in house and of reservations.

#include <gtest/gtest.h>

#include <memory>

#include "board/builder.h"
#include "tests/board/board_fixture.h"
#include "tools/demo/calendar.h"
#include "tools/demo/demo_hotel.h"
#include "tools/mdb/sqlite_to_mdb.h"

namespace planora::boardtest {
namespace {

const board::FixedClock kToday({2026, 3, 1, 9, 30, 0});

struct DemoFolders {
    DemoFolders() {
        demo::writeDemoHotel(sqlite.path(), {.rooms = 80, .cards = 200, .history = 600}, kToday);
        jet::writeMdbFolder(sqlite.path(), mdb.path(), {2026, 3, 1, 9, 30, 0},
                            [](const std::string&) {});
    }
    ScratchFolder sqlite;
    ScratchFolder mdb;
};

// dd/mm/yyyy of the day so many days from today.
std::string dayFromToday(int days) {
    const std::string key = demo::dateKey(demo::today(kToday) + days);
    return key.substr(6, 2) + "/" + key.substr(4, 2) + "/" + key.substr(0, 4);
}

class DemoBoardsInBothFormats : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { folders_ = std::make_unique<DemoFolders>(); }
    static void TearDownTestSuite() { folders_.reset(); }

    // Builds the board from both folders; they must be equal. Returns the people present.
    static int expectSameBoard(const board::BoardRequest& request,
                               const board::BoardOptions& options) {
        const auto sqlite =
            board::CreaTableau(request, options, {folders_->sqlite.path(), "", &kToday});
        const auto mdb = board::CreaTableau(request, options, {folders_->mdb.path(), "", &kToday});
        EXPECT_EQ(readBytes(mdb.file), readBytes(sqlite.file))
            << "hotel " << request.hotel << " layout " << request.tableau << " date "
            << request.referenceDate << " selection " << request.selectionDate << " amounts "
            << request.addArrangement << " company '" << options.ditta << "'";
        EXPECT_EQ(mdb.totals.generale, sqlite.totals.generale);
        return sqlite.totals.presenze;
    }

  private:
    static inline std::unique_ptr<DemoFolders> folders_;
};

TEST_F(DemoBoardsInBothFormats, EveryModeOfTheMainLayoutOnSeveralDays) {
    int present = 0;
    for (const int day : {-40, 0, 4}) {
        for (const bool selection : {false, true}) {
            for (const bool arrivals : {true, false}) {
                if (!selection && !arrivals) {
                    continue;  // without a selection date the day board shows both
                }
                for (const std::int16_t amounts : {0, 1}) {
                    for (const char* company : {"", "co"}) {
                        const board::BoardRequest request{1,
                                                          1,
                                                          "0",
                                                          "9999",
                                                          dayFromToday(day),
                                                          amounts,
                                                          selection ? dayFromToday(day) : ""};
                        present += expectSameBoard(request, {arrivals, *company != '\0', company});
                    }
                }
            }
        }
    }
    EXPECT_GT(present, 0) << "the boards must show guests to compare anything";
}

TEST_F(DemoBoardsInBothFormats, EveryLayoutOfBothHotels) {
    for (const std::int16_t hotel : {1, 2}) {
        for (const std::int16_t layout : {1, 2}) {
            for (const int day : {-1, 0}) {
                const board::BoardRequest request{hotel, layout, "0", "ZZZ", dayFromToday(day),
                                                  1,     ""};
                EXPECT_GT(expectSameBoard(request, {}), 0)
                    << "hotel " << hotel << " layout " << layout;
            }
        }
    }
}

}  // namespace
}  // namespace planora::boardtest

// Where the board file goes and what a failed run leaves behind.

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "board/builder.h"
#include "db/error.h"
#include "tests/board/board_fixture.h"

namespace planora::boardtest {
namespace {

namespace fs = std::filesystem;

class BoardFileTest : public TestHotelSuite {
  protected:
    void TearDown() override {
        for (const auto& entry : fs::directory_iterator(folder())) {
            const std::string name = entry.path().filename().string();
            if (name.size() >= 2 && (name[0] == 'f' || name[0] == 'F') &&
                (name[1] == 'd' || name[1] == 'D')) {
                fs::remove(entry.path());
            }
        }
    }

    static board::BoardResult run(const board::BoardRequest& request, std::string station = "") {
        return board::CreaTableau(request, {}, {folder(), std::move(station), &testClock()});
    }

    static void writeOldBoard(const std::string& name) {
        std::ofstream(folder() / name, std::ios::binary) << "OLD BOARD";
    }

    // The names of the files in the folder that are not databases.
    static std::vector<std::string> otherFiles() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder())) {
            if (entry.path().extension() != ".sqlite") {
                names.push_back(entry.path().filename().string());
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // Runs a request that must fail: the message names `value`, the old board stays.
    static void expectRefused(const board::BoardRequest& request, const std::string& value) {
        writeOldBoard("fd");
        try {
            run(request);
            ADD_FAILURE() << "the run did not fail";
        } catch (const Error& error) {
            EXPECT_NE(std::string(error.what()).find(value), std::string::npos) << error.what();
        }
        EXPECT_EQ(readBytes(folder() / "fd"), "OLD BOARD");
        EXPECT_EQ(otherFiles(), std::vector<std::string>{"fd"});
    }

    static board::BoardRequest hotel4(std::int16_t tableau) {
        board::BoardRequest request = dayRequest();
        request.hotel = 4;
        request.tableau = tableau;
        return request;
    }
};

TEST_F(BoardFileTest, StationCodeIsAppendedToTheName) {
    const board::BoardResult result = run(dayRequest(), "12");
    EXPECT_EQ(result.file, folder() / "FD12");
    EXPECT_EQ(readBytes(result.file), goldenBytes("day"));
    EXPECT_EQ(otherFiles(), std::vector<std::string>{"FD12"});
}

TEST_F(BoardFileTest, ExistingBoardIsReplacedWhateverTheCaseOfItsName) {
    writeOldBoard("fd");
    const board::BoardResult result = run(dayRequest());
    EXPECT_EQ(result.file, folder() / "fd");
    EXPECT_EQ(readBytes(folder() / "fd"), goldenBytes("day"));
    EXPECT_EQ(otherFiles(), std::vector<std::string>{"fd"});
}

TEST_F(BoardFileTest, RoomNumberOverSixCharacters) {
    expectRefused(hotel4(1), "1234567");
}

TEST_F(BoardFileTest, RoomTypeOverSixCharacters) {
    expectRefused(hotel4(2), "SUPERIOR");
}

TEST_F(BoardFileTest, AThousandPersonsInARoom) {
    expectRefused(hotel4(3), "1000");
}

TEST_F(BoardFileTest, TitleOverHundredSeventeenCharacters) {
    expectRefused(hotel4(4), "TROPPO LUNGA!!");
}

TEST_F(BoardFileTest, MissingDatabaseFileLeavesTheOldBoard) {
    const ScratchFolder empty;
    std::ofstream(empty.path() / "FD", std::ios::binary) << "OLD BOARD";
    EXPECT_THROW(board::CreaTableau(dayRequest(), {}, {empty.path(), "", &testClock()}), Error);
    EXPECT_EQ(readBytes(empty.path() / "FD"), "OLD BOARD");
}

}  // namespace
}  // namespace planora::boardtest

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "board/clock.h"
#include "board/station.h"

namespace planora::board {
namespace {

// Removes every spelling of the station variable for the test and restores nothing: the
// test program does not depend on it otherwise.
void clearStation() {
    for (const char* name : {"PCLocal", "PCLOCAL", "pclocal", "PClocal", "pcLOCAL"}) {
        unsetenv(name);
    }
}

TEST(StationCode, MissingVariableIsEmpty) {
    clearStation();
    EXPECT_EQ(stationCode(), "");
    EXPECT_EQ(boardFileName(stationCode()), "FD");
}

TEST(StationCode, FoundInAnyLetterCase) {
    for (const char* name : {"PCLocal", "pclocal", "PCLOCAL", "PClocal"}) {
        clearStation();
        setenv(name, "07", 1);
        EXPECT_EQ(stationCode(), "07") << name;
        EXPECT_EQ(boardFileName(stationCode()), "FD07");
    }
    clearStation();
    setenv("PCLocalX", "9", 1);
    EXPECT_EQ(stationCode(), "");
    unsetenv("PCLocalX");
}

class StationFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("planora-station-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::filesystem::path folder_;
};

TEST_F(StationFolderTest, FindsFilesWithoutRegardToCase) {
    std::ofstream(folder_ / "fd12") << "x";
    EXPECT_EQ(findFileNoCase(folder_, "FD12"), folder_ / "fd12");
    EXPECT_EQ(findFileNoCase(folder_, "fd12"), folder_ / "fd12");
    EXPECT_EQ(findFileNoCase(folder_, "FD1"), folder_ / "FD1");
    EXPECT_EQ(findFileNoCase(folder_ / "missing", "FD"), folder_ / "missing" / "FD");
}

TEST(Clock, TodayTextIsDayMonthYear) {
    EXPECT_EQ(todayText(FixedClock({2026, 3, 7, 23, 59, 0})), "07/03/2026");
    EXPECT_EQ(todayText(FixedClock({999, 12, 31, 0, 0, 0})), "31/12/0999");
    const LocalDateTime now = SystemClock().now();
    EXPECT_GE(now.year, 2024);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_EQ(todayText(SystemClock()).size(), 10u);
}

}  // namespace
}  // namespace planora::board

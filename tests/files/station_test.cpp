#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "db/error.h"
#include "files/no_case.h"
#include "files/station.h"
#include "files_fixture.h"

namespace planora::files {
namespace {

// Removes every spelling of the station variable; the test program does not depend on it
// otherwise.
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

TEST(StationCode, NamesAFileAndNothingElse) {
    for (const std::string& bad : std::vector<std::string>{"../x", "a/b", "a\\b", "..", "A\nB",
                                                           "A\tB", "A\x7f", std::string(33, '1')}) {
        clearStation();
        setenv("PCLOCAL", bad.c_str(), 1);
        try {
            stationCode();
            ADD_FAILURE() << "accepted " << bad;
        } catch (const Error& error) {
            const std::string text = error.what();
            EXPECT_NE(text.find("La variabile d'ambiente PCLOCAL vale"), std::string::npos) << text;
        }
    }
    clearStation();
    setenv("PCLocal", "A\nB", 1);
    EXPECT_THROW(
        {
            try {
                stationCode();
            } catch (const Error& error) {
                EXPECT_NE(std::string(error.what()).find("\"A\\nB\""), std::string::npos);
                throw;
            }
        },
        Error);
    for (const std::string& good :
         std::vector<std::string>{"", "07", "Reception-2", "a.b", std::string(32, 'x')}) {
        clearStation();
        setenv("PCLocal", good.c_str(), 1);
        EXPECT_EQ(stationCode(), good);
    }
    clearStation();
}

using NoCase = testing::FolderTest;

TEST_F(NoCase, FindsRegularFilesWithoutRegardToCaseExactSpellingFirst) {
    put("fd12", "lower");
    EXPECT_EQ(findFileNoCase(folder_, "FD12"), folder_ / "fd12");
    EXPECT_EQ(findFileNoCase(folder_, "fd12"), folder_ / "fd12");
    EXPECT_EQ(findFileNoCase(folder_, "FD1"), std::nullopt);
    put("FD12", "upper");
    EXPECT_EQ(findFileNoCase(folder_, "FD12"), folder_ / "FD12");
    EXPECT_EQ(findFileNoCase(folder_, "fd12"), folder_ / "fd12");
}

TEST_F(NoCase, TakesRegularFilesOnlyAndNeverThrows) {
    std::filesystem::create_directory(folder_ / "fd");
    EXPECT_EQ(findFileNoCase(folder_, "FD"), std::nullopt);
    EXPECT_EQ(findEntryNoCase(folder_, "FD"), folder_ / "fd");
    EXPECT_EQ(findFileNoCase(folder_ / "missing", "FD"), std::nullopt);
    EXPECT_EQ(findFileNoCase(folder_ / "fd", "x"), std::nullopt);
}

TEST_F(NoCase, BoardFileNamedByAFolderIsAnErrorNamingIt) {
    std::filesystem::create_directory(folder_ / "Fd7");
    try {
        boardFilePath(folder_, "7");
        FAIL() << "a folder was taken for the board file";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "'" + (folder_ / "Fd7").string() +
                      "' non è un file ma una cartella o un altro oggetto: rinominarlo o "
                      "spostarlo altrove");
    }
    EXPECT_EQ(boardFilePath(folder_, "8"), folder_ / "FD8");
    put("fD9", "x");
    EXPECT_EQ(boardFilePath(folder_, "9"), folder_ / "fD9");
}

}  // namespace
}  // namespace planora::files

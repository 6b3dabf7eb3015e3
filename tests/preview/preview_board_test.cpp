#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "db/error.h"
#include "messages/messages.h"
#include "messages/preview_messages.h"
#include "preview/preview_board.h"
#include "preview/screen_text.h"
#include "tests/preview/preview_fixture.h"

namespace planora::preview {
namespace {

using testing::boardLine;
using testing::boardOf;
using testing::fileText;
using testing::writeText;

class PreviewBoardFile : public testing::PreviewFolderTest {};

TEST_F(PreviewBoardFile, BoardUnderTheBuildersNameWhateverItsCase) {
    writeText(folder_ / "fd07", boardOf(2));
    PreviewBoard board(folder_, "07");
    EXPECT_EQ(board.file(), folder_ / "fd07");
    board.firstPage();
    EXPECT_EQ(board.pageForScreen(),
              lineForScreen(boardLine(1)) + "\n" + lineForScreen(boardLine(2)));
}

TEST_F(PreviewBoardFile, EmptyStationCodeReadsFD) {
    // The station number of old would have looked for fd0 here and closed at once.
    writeText(folder_ / "FD", boardOf(1));
    writeText(folder_ / "fd0", "altro\r\n");
    PreviewBoard board(folder_, "");
    board.firstPage();
    EXPECT_EQ(board.pageForScreen(), lineForScreen(boardLine(1)));
}

TEST_F(PreviewBoardFile, MissingBoardIsAnErrorNamingTheFile) {
    writeText(folder_ / "FD1", boardOf(1));
    try {
        PreviewBoard board(folder_, "01");
        FAIL() << "no error for a missing board";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), msg::boardFileMissing(folder_ / "FD01"));
    }
}

TEST_F(PreviewBoardFile, SaveOnTheFirstPageKeepsTheRestOfTheBoard) {
    writeText(folder_ / "FD", boardOf(400));
    PreviewBoard board(folder_, "");
    board.firstPage();
    std::string shown = board.pageForScreen();
    shown.replace(shown.find("riga 1 "), 7, "Ospite ");
    board.save(shown);
    const std::string saved = fileText(folder_ / "FD");
    EXPECT_EQ(saved.find("riga 1 "), std::string::npos);
    EXPECT_NE(saved.find("Ospite "), std::string::npos);
    EXPECT_NE(saved.find(boardLine(400) + "\r\n"), std::string::npos);
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 400);
    // Reading goes on after the saved page.
    ASSERT_TRUE(board.nextPage());
    EXPECT_EQ(board.pages().pageLines().front(), boardLine(153));
}

TEST_F(PreviewBoardFile, RestartWithTheFileGoneKeepsThePage) {
    writeText(folder_ / "FD", boardOf(400));
    PreviewBoard board(folder_, "");
    board.firstPage();
    ASSERT_TRUE(board.nextPage());
    std::filesystem::remove(folder_ / "FD");
    EXPECT_THROW(board.restart(), Error);
    EXPECT_EQ(board.pages().firstLine(), 152u);
    // Saving brings the whole board back.
    board.save(board.pageForScreen());
    EXPECT_EQ(fileText(folder_ / "FD"), boardOf(400));
}

TEST_F(PreviewBoardFile, SaveThatCannotWriteIsAnErrorAndKeepsThePage) {
    writeText(folder_ / "FD", boardOf(3));
    PreviewBoard board(folder_, "");
    board.firstPage();
    const std::string shown = board.pageForScreen();
    std::filesystem::remove_all(folder_);
    EXPECT_THROW(board.save("cambiato"), Error);
    EXPECT_EQ(board.pageForScreen(), shown);
}

}  // namespace
}  // namespace planora::preview

#include <gtest/gtest.h>

#include <string>

#include "preview/board_pages.h"
#include "preview/screen_text.h"
#include "tests/preview/preview_fixture.h"

namespace planora::preview {
namespace {

using testing::boardLine;
using testing::boardOf;

std::string screenLine(int number) {
    return lineForScreen(boardLine(number));
}

TEST(BoardPages, FirstPageEndsAfterTheLineThatReaches20000Characters) {
    BoardPages pages(boardOf(400));
    pages.loadPage(BoardPages::kFirstPageLimit);
    // 151 lines hold 19932 characters; the 152nd reaches 20064.
    ASSERT_EQ(pages.pageLines().size(), 152u);
    EXPECT_EQ(pages.pageCharacters(), 152u * 132u);
    EXPECT_EQ(pages.pageLines().back(), boardLine(152));
    EXPECT_TRUE(pages.morePages());
    pages.loadPage(BoardPages::kNextPageLimit);
    // 197 lines of 132 reach 26004.
    ASSERT_EQ(pages.pageLines().size(), 197u);
    EXPECT_EQ(pages.firstLine(), 152u);
    EXPECT_EQ(pages.pageLines().front(), boardLine(153));
    EXPECT_TRUE(pages.morePages());
    pages.loadPage(BoardPages::kNextPageLimit);
    EXPECT_EQ(pages.pageLines().size(), 51u);
    EXPECT_EQ(pages.pageLines().back(), boardLine(400));
    EXPECT_FALSE(pages.morePages());
}

TEST(BoardPages, LineThatMakesTheCountExactlyTheLimitEndsThePage) {
    std::string bytes;
    for (int i = 0; i < 201; ++i) {
        bytes += std::string(100, 'x') + "\r\n";
    }
    BoardPages pages(bytes);
    pages.loadPage(20000);
    EXPECT_EQ(pages.pageLines().size(), 200u);
    EXPECT_TRUE(pages.morePages());
}

TEST(BoardPages, ShortBoardIsOnePageWithNothingAfterIt) {
    BoardPages pages(boardOf(3));
    pages.loadPage(BoardPages::kFirstPageLimit);
    EXPECT_EQ(pages.pageForScreen(), screenLine(1) + "\n" + screenLine(2) + "\n" + screenLine(3));
    EXPECT_FALSE(pages.morePages());
}

TEST(BoardPages, EmptyBoardShowsNothing) {
    BoardPages pages("");
    pages.loadPage(BoardPages::kFirstPageLimit);
    EXPECT_EQ(pages.pageForScreen(), "");
    EXPECT_FALSE(pages.morePages());
    EXPECT_EQ(pages.content(), "");
}

TEST(BoardPages, LineEndsOfEveryKindAndALastLineWithoutOne) {
    BoardPages pages("uno\r\ndue\ntre\rquattro\r\n\r\nsei");
    pages.loadPage(BoardPages::kFirstPageLimit);
    EXPECT_EQ(pages.pageForScreen(), "uno\ndue\ntre\nquattro\n\nsei");
    EXPECT_EQ(pages.content(), "uno\r\ndue\r\ntre\r\nquattro\r\n\r\nsei\r\n");
}

TEST(ScreenText, FrameBytesByTheirPlaceLettersByWindows1252) {
    // A room row: bars at the frame columns, "CITTÀ" (À is the byte of a corner) in a field.
    std::string row = boardLine(1);
    row.replace(15, 6, "CITT\xC0 ");
    std::string expected(132, ' ');
    for (std::size_t column : {0, 7, 14, 40, 66, 73, 77, 83, 89, 100, 131}) {
        expected[column] = '|';
    }
    expected.replace(15, 6, "CITTX ");
    expected.replace(expected.find('X'), 1, "À");
    EXPECT_EQ(lineForScreen(row), expected);
    // A rule: every byte draws.
    EXPECT_EQ(lineForScreen("\xDA\xC4\xC2\xC4\xBF"), "-----");
    EXPECT_EQ(lineForScreen("\xC3\xC4\xC5\xC4\xB4"), "|---|");
    // The unframed title line keeps its letters.
    EXPECT_EQ(lineForScreen(" Hotel : CITT\xC0 \x80"), " Hotel : CITTÀ €");
}

class BoardPagesSave : public ::testing::Test {
  protected:
    void SetUp() override {
        pages_.loadPage(BoardPages::kFirstPageLimit);
        pages_.loadPage(BoardPages::kNextPageLimit);  // lines 153 to 349
    }
    BoardPages pages_{boardOf(400)};
};

TEST_F(BoardPagesSave, EditedPageGoesBetweenTheLinesBeforeAndAfterIt) {
    std::string shown = pages_.pageForScreen();
    const std::string old = "riga 200";
    shown.replace(shown.find(old), old.size(), "Città  1");
    pages_.replacePage(shown);
    std::string expected = boardOf(400);
    const std::string oldLine = boardLine(200);
    std::string newLine = oldLine;
    newLine.replace(15, 8, "Citt\xE0  1");
    // The edited line is written as shown: its frame is the '|' the screen had.
    for (char& c : newLine) {
        c = c == '\xB3' ? '|' : c;
    }
    expected.replace(expected.find(oldLine), oldLine.size(), newLine);
    EXPECT_EQ(pages_.content(), expected);
    EXPECT_EQ(pages_.firstLine(), 152u);
    EXPECT_TRUE(pages_.morePages());
    pages_.loadPage(BoardPages::kNextPageLimit);
    EXPECT_EQ(pages_.pageLines().front(), boardLine(350));
}

TEST_F(BoardPagesSave, UntouchedPageKeepsEveryByte) {
    pages_.replacePage(pages_.pageForScreen());
    EXPECT_EQ(pages_.content(), boardOf(400));
    pages_.replacePage(pages_.pageForScreen() + "\n");
    EXPECT_EQ(pages_.content(), boardOf(400));
}

TEST_F(BoardPagesSave, LinesAddedAndRemovedMoveTheRest) {
    pages_.replacePage("nuova riga\r\n" + screenLine(153));
    std::string expected = boardOf(152) + "nuova riga\r\n" + boardLine(153) + "\r\n";
    for (int i = 350; i <= 400; ++i) {
        expected += boardLine(i) + "\r\n";
    }
    EXPECT_EQ(pages_.content(), expected);
    pages_.loadPage(BoardPages::kNextPageLimit);
    EXPECT_EQ(pages_.pageLines().front(), boardLine(350));
}

TEST_F(BoardPagesSave, EmptiedPageLeavesTheRest) {
    pages_.replacePage("");
    std::string expected = boardOf(152);
    for (int i = 350; i <= 400; ++i) {
        expected += boardLine(i) + "\r\n";
    }
    EXPECT_EQ(pages_.content(), expected);
    EXPECT_TRUE(pages_.morePages());
}

TEST(ScreenLines, SplitAndJoin) {
    EXPECT_EQ(splitScreenLines("a\r\nb\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(splitScreenLines("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitScreenLines("\n"), (std::vector<std::string>{""}));
    EXPECT_TRUE(splitScreenLines("").empty());
    EXPECT_EQ(joinLines({"a", "b"}, "\r\n", true), "a\r\nb\r\n");
    EXPECT_EQ(joinLines({"a", "b"}, "\n", false), "a\nb");
}

}  // namespace
}  // namespace planora::preview

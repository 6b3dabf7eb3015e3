// Raw mode end to end: the settings of the data folder, the board file, the exact bytes that
// reach a file target.
#include <gtest/gtest.h>

#include "db/error.h"
#include "print/print_run.h"
#include "print_fixture.h"

namespace planora::print {
namespace {

using testing::groups;

const std::string kEsc = "\x1B";
const std::string kNul(1, '\0');

class RawPrintTest : public testing::PrintFolderTest {
  protected:
    // Dot matrix (type 1): ESC SI / ESC DC2, two lines of top margin, filled pages of 8 and 7
    // lines. Type 5: a top margin as long as the page. Type 3 has no command set.
    void SetUp() override {
        PrintFolderTest::SetUp();
        data_.destinations = {{1, "Aghi", 1, "out.prn"},
                              {1, "Lungo", 5, "out.prn"},
                              {1, "Nudo", 3, "out.prn"},
                              {1, "Enorme", 6, "out.prn"}};
        data_.commandSets = {
            {1, groups({27, 15, 0, 0, 0, 0, 27, 18, 0, 0, 0, 0}), groups({0, 0, 0, 0, 0, 2, 8, 7})},
            {5, groups({1, 2, 3, 4, 5, 0, 6, 7, 8, 9, 10}), groups({0, 0, 0, 0, 0, 4})},
            {6, groups({300}), groups({})}};
        data_.counters = {{1, 5, 4}, {2, 30, 30}};
    }

    // Prints the board on a destination and gives the bytes of the target file.
    std::string printed(const std::string& destination, bool compressed = false,
                        const std::string& codice = "", std::int16_t hotel = 1) {
        if (!written_) {
            writeData(data_);
            written_ = true;
        }
        const PrintContext context{folder_, "", hotel, codice};
        PrintOptions options;
        options.destination = destination;
        options.compressed = compressed;
        const PrintJob job = preparePrint(context, options, [](const std::string&) { return ""; });
        const std::string where = printRaw(job, [](std::string_view) { return false; });
        EXPECT_EQ(where, (folder_ / "out.prn").string());
        return get("out.prn");
    }

    testing::PrintData data_;
    bool written_ = false;
};

const std::string kMargin = " \r\n \r\n";

std::string emptyLines(int count) {
    std::string lines;
    for (int i = 0; i < count; ++i) {
        lines += "\r\n";
    }
    return lines;
}
const std::string kNormal = kEsc + "\x12" + kNul + kNul + kNul;
const std::string kCompressed = kEsc + "\x0F" + kNul + kNul + kNul;

TEST_F(RawPrintTest, PagesBreakAtThePageLengthWithTheMarginCounted) {
    writeBoard({"AAA", "BBB", "\xB3X\xC4", "DDD"});
    // 4 lines a page: 2 of margin and 2 of board.
    EXPECT_EQ(printed("Aghi"),
              kNormal + kMargin + "AAA\r\nBBB\r\n\f" + kMargin + "|X-\r\nDDD\r\n\f");
}

TEST_F(RawPrintTest, CompressedPrintSendsItsOwnBytesAndPageLength) {
    writeBoard({"AAA", "BBB", "CCC", "DDD"});
    EXPECT_EQ(printed("Aghi", true),
              kCompressed + kMargin + "AAA\r\nBBB\r\nCCC\r\n\f" + kMargin + "DDD\r\n\f");
}

TEST_F(RawPrintTest, LetterUFillsPagesWithEmptyLines) {
    writeBoard({"AAA", "BBB", "CCC"});
    // Normal print fills to 7 lines: a full page of 4 gets 3 more, the last page of 3 gets 4.
    EXPECT_EQ(printed("Aghi", false, "XU"), kNormal + kMargin + "AAA\r\nBBB\r\n" + "\r\n\r\n\r\n" +
                                                kMargin + "CCC\r\n" + "\r\n\r\n\r\n\r\n");
}

TEST_F(RawPrintTest, LetterUWritesNothingOnAPageLongerThanTheFill) {
    data_.counters = {{1, 20, 10}};
    writeBoard({"1", "2", "3", "4", "5", "6", "7", "8"});  // 10 lines with the margin; fill 7
    EXPECT_EQ(printed("Aghi", false, "U"),
              kNormal + kMargin + "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n" + "7\r\n8\r\n");
}

TEST_F(RawPrintTest, LetterKKeepsTheFrameBytes) {
    writeBoard({"\xB3X\xC4\xC0"});
    EXPECT_EQ(printed("Aghi", false, "K"), kNormal + kMargin + "\xB3X\xC4\xC0\r\n\f");
    EXPECT_EQ(printed("Aghi", false, ""), kNormal + kMargin + "|X--\r\n\f");
}

TEST_F(RawPrintTest, FormFeedLinesEndThePage) {
    writeBoard({"A", "\f", "B", "\f", "\f", "C"});
    EXPECT_EQ(printed("Aghi"), kNormal + kMargin + "A\r\n\f" + kMargin + "B\r\n\f" + kMargin +
                                   "\f" + kMargin + "C\r\n\f");
}

TEST_F(RawPrintTest, AMarginAsLongAsThePageBreaksOnlyAtFormFeeds) {
    writeBoard({"A", "B", "C", "D", "E", "\f", "F"});
    const std::string margin = " \r\n \r\n \r\n \r\n";
    EXPECT_EQ(printed("Lungo"),
              "\x06\x07\x08\x09\x0A" + margin + "A\r\nB\r\nC\r\nD\r\nE\r\n\f" + margin + "F\r\n\f");
}

TEST_F(RawPrintTest, NoPageHoldingOnlyItsMarginAtTheEnd) {
    writeBoard({"A", "B"});  // fills the first page exactly
    EXPECT_EQ(printed("Aghi"), kNormal + kMargin + "A\r\nB\r\n\f");
    writeBoard({"A", "\f"});
    EXPECT_EQ(printed("Aghi"), kNormal + kMargin + "A\r\n\f");
}

TEST_F(RawPrintTest, WithoutACommandSetNoBytesNoMarginAndPagesOfTheCounters) {
    writeBoard({"A", "B", "C", "D", "E"});
    EXPECT_EQ(printed("Nudo"), "A\r\nB\r\nC\r\nD\r\n\fE\r\n\f");
    // Filled pages are 66 lines long without a command set.
    EXPECT_EQ(printed("Nudo", false, "U"),
              "A\r\nB\r\nC\r\nD\r\n" + emptyLines(62) + "E\r\n" + emptyLines(65));
}

TEST_F(RawPrintTest, WithoutCountersAPageHoldsSixtyLines) {
    std::vector<std::string> lines;
    for (int i = 0; i < 61; ++i) {
        lines.push_back(std::to_string(i));
    }
    writeBoard(lines);
    const std::string bytes = printed("Nudo", false, "", 3);  // hotel 3 has no Contatori record
    const auto formFeed = bytes.find('\f');
    ASSERT_NE(formFeed, std::string::npos);
    EXPECT_EQ(std::count(bytes.begin(), bytes.begin() + static_cast<long>(formFeed), '\n'), 60);
    EXPECT_EQ(bytes.substr(formFeed), "\f60\r\n\f");
}

TEST_F(RawPrintTest, AnEmptyBoardStillEndsItsPage) {
    writeBoard({});
    EXPECT_EQ(printed("Aghi"), kNormal + kMargin + "\f");
}

TEST_F(RawPrintTest, ACommandValueThatIsNotAByteIsReportedBeforeAnythingIsWritten) {
    writeBoard({"A"});
    writeData(data_);
    const PrintJob job = preparePrint({folder_, "", 1, ""}, {"Enorme", "", true, false, false});
    try {
        printRaw(job, [](std::string_view) { return false; });
        FAIL() << "a value of 300 was sent";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Il valore 300 del gruppo 1 del campo Compresso in SetStampa (TipoStampa 6) non "
                  "è un byte da inviare alla stampante (0-255)");
    }
    EXPECT_FALSE(std::filesystem::exists(folder_ / "out.prn"));
}

TEST_F(RawPrintTest, AMissingBoardOrDestinationIsReportedAndNothingPrinted) {
    writeData(data_);
    EXPECT_THROW(preparePrint({folder_, "", 1, ""}, {"Aghi", "", false, false, false}), Error);
    writeBoard({"A"});
    try {
        preparePrint({folder_, "", 1, ""}, {"Nessuna", "", false, false, false});
        FAIL() << "no error for an unknown destination";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "La destinazione di stampa 'Nessuna' non esiste nella tabella Stampanti di "
                  "Stampanti.mdb");
    }
    EXPECT_FALSE(std::filesystem::exists(folder_ / "out.prn"));
}

}  // namespace
}  // namespace planora::print

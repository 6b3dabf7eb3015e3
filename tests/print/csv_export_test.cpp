// The CSV export: the board's rules become separators, amounts take the configured marks,
// the file is UTF-8 with a byte-order mark and CR LF line ends.
#include <gtest/gtest.h>

#include "board/board_file.h"
#include "board/encoding.h"
#include "db/error.h"
#include "print/csv_export.h"
#include "print_fixture.h"

namespace planora::print {
namespace {

using testing::PrintFolderTest;

const std::string kBom = "\xEF\xBB\xBF";

std::string csv(std::string_view line, const CsvMarks& marks = {}) {
    return csvLine(line, marks);
}

// A framed board row with a text in the company field (UTF-8 in, board bytes out).
std::string rowWithCompany(std::string_view company) {
    std::string row = board::grid::blankRow();
    board::grid::putLeft(row, board::grid::kDitta, board::utf8ToCp1252(company));
    return row;
}

TEST(CsvLine, TheWorkedExample) {
    EXPECT_EQ(csv("|  1.234,50 |"), ", €1234.50 ,");
    EXPECT_EQ(csv(" -12,00"), "€-12.00");
    EXPECT_EQ(csv("07/12/2026"), "07/12/2026");
    EXPECT_EQ(csv("ROSSI, MARIO"), "ROSSI  MARIO");
}

TEST(CsvLine, CommasDotsAndMinusSignsNeedTheirDigits) {
    EXPECT_EQ(csv("3,5"), "3 5");            // one digit after: not a decimal comma
    EXPECT_EQ(csv("1.2"), "1.2");            // a dot needs two digits after it to go
    EXPECT_EQ(csv("1.234.567"), "1234567");  // thousands dots go
    EXPECT_EQ(csv(",12"), " 12");            // nothing before the first column
    EXPECT_EQ(csv("12."), "12.");
    EXPECT_EQ(csv("a - b -5"), "a   b -5");
    EXPECT_EQ(csv("x+y"), "x,y");  // "+" is a rule too
}

TEST(CsvLine, MarksAreTakenWholeOrByTheirFirstCharacter) {
    const CsvMarks marks{"; ", ",", "$USD"};
    EXPECT_EQ(csv("|a|  1.234,50|", marks), "; a;  $1234,50; ");
    const CsvMarks noCurrency{",", ".", ""};
    EXPECT_EQ(csv("|  1.234,50 |", noCurrency), ",  1234.50 ,");
}

TEST(CsvLine, TheCurrencyMarkStaysInsideTheAmountsField) {
    // No blank in the amount's own field: no mark, and the blank of the field before stays.
    EXPECT_EQ(csv("A B|1.234,50|"), "A B,1234.50,");
    EXPECT_EQ(csv("1,50"), "1.50");
}

TEST(CsvLine, RulesOfTheFrameBecomeSeparatorsAndBlanks) {
    const std::string top = csv(board::grid::topRule());
    ASSERT_EQ(top.size(), board::grid::kWidth);  // one character per frame byte
    EXPECT_EQ(top.front(), ',');
    EXPECT_EQ(top.back(), ',');
    EXPECT_EQ(std::count(top.begin(), top.end(), ','), 11);
    EXPECT_EQ(std::count(top.begin(), top.end(), ' '), 121);

    const std::string middle = csv(board::grid::middleRule());
    EXPECT_EQ(middle.back(), ',');  // the right tee ends the line: a separator
    EXPECT_EQ(std::count(middle.begin(), middle.end(), ','), 11);

    // A right tee inside a line of rules is a blank.
    EXPECT_EQ(csv("\xC3\xB4\xC4\xB4"), ",  ,");
}

TEST(CsvLine, AFrameByteIsALetterWhereTheBoardDrawsNoRule) {
    const std::string row = csv(rowWithCompany("SOCIETÀ CITTÀ ÙÚ"));
    EXPECT_NE(row.find("SOCIETÀ CITTÀ ÙÚ"), std::string::npos) << row;
    EXPECT_EQ(std::count(row.begin(), row.end(), ','), 11);
    // The title line and the totals are no board rows: their letters stay.
    EXPECT_EQ(csv(board::utf8ToCp1252(" Hotel : CITTÀ DI CASTELLO")), " Hotel : CITTÀ DI CASTELLO");
    EXPECT_EQ(csv(board::utf8ToCp1252("Perché €5")), "Perché €5");
}

TEST_F(PrintFolderTest, MarksComeFromTheSettingsFile) {
    EXPECT_EQ(readCsvMarks(folder_).separator, ",");
    EXPECT_EQ(readCsvMarks(folder_).decimalMark, ".");
    EXPECT_EQ(readCsvMarks(folder_).currency, "€");

    put("separatorexls.TXT", ";\r\n,\r\n$\r\n");
    CsvMarks marks = readCsvMarks(folder_);
    EXPECT_EQ(marks.separator, ";");
    EXPECT_EQ(marks.decimalMark, ",");
    EXPECT_EQ(marks.currency, "$");
}

TEST_F(PrintFolderTest, MissingSettingsLinesKeepTheirDefaults) {
    put("SeparatoreXLS.txt", "\t\r\n");
    CsvMarks marks = readCsvMarks(folder_);
    EXPECT_EQ(marks.separator, "\t");
    EXPECT_EQ(marks.decimalMark, ".");
    EXPECT_EQ(marks.currency, "€");

    put("SeparatoreXLS.txt", ";\r\n,\r\n\r\n");  // a third line that is empty: no mark
    EXPECT_EQ(readCsvMarks(folder_).currency, "");
}

TEST_F(PrintFolderTest, TheSettingsFileIsUtf8OrWindows1252) {
    put("SeparatoreXLS.txt", ";\r\n,\r\n\x80\r\n");  // the euro sign of Windows-1252
    EXPECT_EQ(readCsvMarks(folder_).currency, "€");
    put("SeparatoreXLS.txt", "\xEF\xBB\xBF;\n,\n€\n");  // UTF-8 with a mark, LF line ends
    EXPECT_EQ(readCsvMarks(folder_).separator, ";");
    EXPECT_EQ(readCsvMarks(folder_).currency, "€");
}

TEST_F(PrintFolderTest, TheWholeFileOfABoard) {
    std::string row = rowWithCompany("CITTÀ SRL");
    board::grid::putRight(row, board::grid::kNote, "1.234,50 ");
    writeBoard({board::utf8ToCp1252(" Hotel : Prova"), board::grid::topRule(), row,
                board::grid::bottomRule(), "Totale Generale :   12"},
               "7");
    put("SeparatoreXLS.txt", ";\r\n,\r\n€\r\n");

    const auto file = exportCsv(folder_, "7");
    EXPECT_EQ(file, folder_ / "fd7.csv");

    const std::string separators =
        ";" + std::string(6, ' ') + ";" + std::string(6, ' ') + ";" + std::string(25, ' ') + ";";
    const std::string expectedRow =
        separators + "CITTÀ SRL" + std::string(16, ' ') + ";" + std::string(6, ' ') +
        ";   ;     ;     ;" + std::string(10, ' ') + ";" + std::string(20, ' ') + "€1234,50 ;";
    std::string expectedTop = csv(board::grid::topRule(), {";", ",", "€"});
    std::string expectedBottom = csv(board::grid::bottomRule(), {";", ",", "€"});
    EXPECT_EQ(get("fd7.csv"), kBom + " Hotel : Prova\r\n" + expectedTop + "\r\n" + expectedRow +
                                  "\r\n" + expectedBottom + "\r\nTotale Generale :   12\r\n");
}

TEST_F(PrintFolderTest, AnEmptyBoardGivesAFileWithNoLines) {
    writeBoard({});
    exportCsv(folder_, "");
    EXPECT_EQ(get("fd.csv"), kBom);
}

TEST_F(PrintFolderTest, TheBoardFileIsFoundWithoutRegardToCaseAndTheCsvReplaced) {
    put("fdAB", "x,12\r\n");
    put("FDab.CSV", "old");
    const auto file = exportCsv(folder_, "AB");
    EXPECT_EQ(file.filename(), "FDab.CSV");
    EXPECT_EQ(get("FDab.CSV"), kBom + "x 12\r\n");
}

TEST_F(PrintFolderTest, AMissingBoardIsReportedAndNothingWritten) {
    try {
        exportCsv(folder_, "9");
        FAIL() << "no error for a missing board file";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Il file del tableau '" + (folder_ / "FD9").string() +
                      "' non esiste: crearlo prima con \"Stampa\" nella finestra principale");
    }
    EXPECT_FALSE(std::filesystem::exists(folder_ / "fd9.csv"));
}

}  // namespace
}  // namespace planora::print

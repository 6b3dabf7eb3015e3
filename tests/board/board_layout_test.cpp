// The pieces of the board layout: frame lines, title line, totals, amounts.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "board/amount.h"
#include "board/board_file.h"
#include "db/error.h"

namespace planora::board {
namespace {

std::string bytes(std::initializer_list<int> codes) {
    std::string text;
    for (int code : codes) {
        text += static_cast<char>(code);
    }
    return text;
}

TEST(BoardFrame, RulesHaveTheirJunctionsAtTheFrameColumns) {
    const std::string top = grid::topRule();
    const std::string middle = grid::middleRule();
    const std::string bottom = grid::bottomRule();
    ASSERT_EQ(top.size(), 132u);
    ASSERT_EQ(middle.size(), 132u);
    ASSERT_EQ(bottom.size(), 132u);
    EXPECT_EQ(top.substr(0, 9), bytes({218, 196, 196, 196, 196, 196, 196, 194, 196}));
    EXPECT_EQ(middle.substr(0, 9), bytes({195, 196, 196, 196, 196, 196, 196, 197, 196}));
    EXPECT_EQ(bottom.substr(0, 9), bytes({192, 196, 196, 196, 196, 196, 196, 193, 196}));
    EXPECT_EQ(top.substr(129), bytes({196, 196, 191}));
    EXPECT_EQ(middle.substr(129), bytes({196, 196, 180}));
    EXPECT_EQ(bottom.substr(129), bytes({196, 196, 217}));
    for (int column : {15, 41, 67, 74, 78, 84, 90, 101}) {
        EXPECT_EQ(static_cast<unsigned char>(top[column - 1]), 194) << column;
        EXPECT_EQ(static_cast<unsigned char>(middle[column - 1]), 197) << column;
        EXPECT_EQ(static_cast<unsigned char>(bottom[column - 1]), 193) << column;
    }
}

TEST(BoardFrame, TitleLinesAndBlankRow) {
    const std::string bar = bytes({179});
    EXPECT_EQ(grid::firstTitleLine(), bar + "  N.  " + bar + " TIPO " + bar + std::string(25, ' ') +
                                          bar + std::string(25, ' ') + bar + "      " + bar +
                                          "   " + bar + "     " + bar + "     " + bar +
                                          "  STATO   " + bar + std::string(30, ' ') + bar);
    EXPECT_EQ(grid::secondTitleLine(),
              bar + "CAMERA" + bar + "CAMERA" + bar + " NOME CLIENTE            " + bar +
                  " NOME DITTA              " + bar + "ARRAN." + bar + "PAX" + bar + " ARR " + bar +
                  " PAR " + bar + "  CAMERA  " + bar + " NOTE" + std::string(25, ' ') + bar);
    const std::string blank = grid::blankRow();
    EXPECT_EQ(blank, bar + std::string(6, ' ') + bar + std::string(6, ' ') + bar +
                         std::string(25, ' ') + bar + std::string(25, ' ') + bar +
                         std::string(6, ' ') + bar + std::string(3, ' ') + bar +
                         std::string(5, ' ') + bar + std::string(5, ' ') + bar +
                         std::string(10, ' ') + bar + std::string(30, ' ') + bar);
}

TEST(BoardFrame, FieldTextsAreConvertedCutAndTrimmed) {
    EXPECT_EQ(grid::cutTrim("  CAFFÈ LATTE  ", 9), "CAFF\xC8 L");
    EXPECT_EQ(grid::cutTrim("ABC   DEF", 5), "ABC");
    EXPECT_EQ(grid::cutTrim("", 5), "");
    std::string row = grid::blankRow();
    grid::putLeft(row, grid::kNome, "ROSSI");
    grid::putRight(row, grid::kPax, "12");
    EXPECT_EQ(row.substr(15, 25), "ROSSI" + std::string(20, ' '));
    EXPECT_EQ(row.substr(74, 3), " 12");
    EXPECT_FALSE(grid::isBlank(row, grid::kNome));
    EXPECT_TRUE(grid::isBlank(grid::blankRow(), grid::kNome));
}

TEST(BoardFrame, EveryControlCharacterIsOneBlank) {
    // C0 (NUL included), DEL and C1 (NEL, CSI), which a printer or a terminal would obey.
    const std::string controls =
        std::string("A\0B", 3) + "\r\n\t\x1B\x0C\x7F" + "\u0085\u009B" + "Z";
    EXPECT_EQ(grid::boardText(controls), "A B" + std::string(8, ' ') + "Z");
    EXPECT_EQ(grid::cutTrim("\tROSSI\r\n", 25), "ROSSI");
    // The letters around them keep their code page bytes.
    EXPECT_EQ(grid::boardText("\u0085CITTÀ\u009F"), " CITT\xC0 ");
}

const LocalDateTime kNow{2026, 3, 4, 7, 5, 59};

TEST(BoardFrame, FrameBytesAreFrameOnlyWhereTheGridDrawsIt) {
    std::string row = grid::blankRow();
    grid::putLeft(row, grid::kNome, "CITT" + bytes({192}));  // "CITTÀ"
    EXPECT_TRUE(grid::isFrameAt(row, 0));
    EXPECT_TRUE(grid::isFrameAt(row, 14));
    EXPECT_TRUE(grid::isFrameAt(row, 131));
    EXPECT_FALSE(grid::isFrameAt(row, 19)) << "the letter after CITT";
    EXPECT_FALSE(grid::isFrameAt(row, 1)) << "a blank";
    for (const std::string& rule : {grid::topRule(), grid::middleRule(), grid::bottomRule()}) {
        for (std::size_t i = 0; i < rule.size(); ++i) {
            EXPECT_TRUE(grid::isFrameAt(rule, i)) << i;
        }
    }
    const std::string title = " Hotel : CITT" + bytes({192, 179, 196});
    for (std::size_t i = 0; i < title.size(); ++i) {
        EXPECT_FALSE(grid::isFrameAt(title, i)) << "a line that is not framed keeps its letters";
    }
    EXPECT_TRUE(grid::isFrameAt(bytes({192, 196, 217}), 1)) << "a short rule";
    EXPECT_FALSE(grid::isFrameAt(row, 500));
}

TEST(BoardTitle, HotelTableauAndDateThenNowAtColumn118) {
    const std::string line =
        titleLine({true, "HOTEL SOLE", true, " PRIMO PIANO ", "08/12/2026"}, kNow);
    const std::string text =
        " Hotel : HOTEL SOLE" + std::string(35, ' ') + " Tableau : PRIMO PIANO del 08/12/2026";
    EXPECT_EQ(line, text + std::string(117 - text.size(), ' ') + "04/03/2026 07:05");
    EXPECT_EQ(line.size(), 133u);
}

TEST(BoardTitle, HotelNameIsCutOrFilledToFortyFive) {
    const std::string exact(45, 'N');
    EXPECT_EQ(titleLine({true, exact, true, "T", "01/01/2026"}, kNow).substr(0, 70),
              " Hotel : " + exact + " Tableau : T del");
    EXPECT_EQ(titleLine({true, exact + "TAIL", true, "T", "01/01/2026"}, kNow).substr(0, 70),
              " Hotel : " + exact + " Tableau : T del");
}

TEST(BoardTitle, MissingHotelOrTableau) {
    EXPECT_EQ(titleLine({false, "", true, "T", "01/01/2026"}, kNow),
              " Hotel : " + std::string(108, ' ') + "04/03/2026 07:05");
    EXPECT_EQ(titleLine({true, "H", false, "", "01/01/2026"}, kNow),
              " Hotel : H" + std::string(44, ' ') + " Tableau : " + std::string(52, ' ') +
                  "04/03/2026 07:05");
}

TEST(BoardTitle, TextOfMoreThan117CharactersIsRefused) {
    // 9 + 45 + 11 + description + 5 + 10 characters before the date and time.
    const std::string fits(37, 'D');
    EXPECT_EQ(titleLine({true, "H", true, fits, "01/01/2026"}, kNow).size(), 133u);
    try {
        titleLine({true, "H", true, fits + "X", "01/01/2026"}, kNow);
        FAIL() << "a title of 118 characters was accepted";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find(fits + "X del 01/01/2026"), std::string::npos)
            << error.what();
    }
}

TEST(BoardTotals, CountsRightAlignedInThreeArrangementsPlain) {
    Totals totals;
    totals.arrivi = 7;
    totals.camArrivate = 42;
    totals.pn = 1234;
    totals.partenze = 999;
    totals.fb = 3;
    totals.generale = 1237;
    const auto lines = totalsLines(totals);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0],
              "Totale Arrivi   :   7    Tot.Cam. Arrivate   :  42    Totale PN       : 1234");
    EXPECT_EQ(lines[1],
              "Totale Partenze : 999    Tot.Cam. Partenza   :   0    Totale B&B      : 0");
    EXPECT_EQ(lines[2],
              "Totale Fermate  :   0    Tot.Cam. Fermata    :   0    Totale HB       : 0");
    EXPECT_EQ(lines[3],
              "Totale Presenze :   0    Tot.Cam. Presenti   :   0    Totale FB       : 3");
    EXPECT_EQ(lines[4], std::string(54, ' ') + "Totale Generale : 1237");
}

// The message of the planora::Error that `run` throws; empty (and a failure) when it throws none.
template <typename Run>
std::string errorOf(Run run) {
    try {
        run();
    } catch (const Error& error) {
        return error.what();
    }
    ADD_FAILURE() << "no planora::Error was thrown";
    return {};
}

TEST(BoardTotals, ACountOfAThousandDoesNotFitAndTheMessageNamesTheCounter) {
    Totals totals;
    totals.presenze = 1000;
    EXPECT_EQ(errorOf([&] { totalsLines(totals); }),
              "Il totale delle presenze (1000) non entra nelle 3 cifre del tableau");
    EXPECT_EQ(countText(0, msg::Counter::Arrivi), "  0");
    EXPECT_EQ(countText(999, msg::Counter::Arrivi), "999");
    EXPECT_EQ(errorOf([] { personsText(1000, "101"); }),
              "Camera 101: il numero di persone (1000) non entra nelle 3 cifre del tableau");
}

TEST(BoardAmount, ItalianMarksWhateverTheSize) {
    EXPECT_EQ(formatAmount({0}), "0,00");
    EXPECT_EQ(formatAmount({5000}), "0,50");
    EXPECT_EQ(formatAmount({12345000}), "1.234,50");
    EXPECT_EQ(formatAmount({9999990000}), "999.999,00");
    EXPECT_EQ(formatAmount({12345678900000}), "1.234.567.890,00");
    EXPECT_EQ(formatAmount({-15000}), "-1,50");
}

TEST(BoardAmount, RoundsHalfAwayFromZero) {
    EXPECT_EQ(formatAmount({50}), "0,01");
    EXPECT_EQ(formatAmount({49}), "0,00");
    EXPECT_EQ(formatAmount({12349}), "1,23");
    EXPECT_EQ(formatAmount({99950}), "10,00");
    EXPECT_EQ(formatAmount({-50}), "-0,01");
    EXPECT_EQ(formatAmount({-49}), "0,00");
}

const msg::FieldPlace kPlace{"101", "Arrangiamento", "ImportoTotale"};

TEST(BoardAmount, CurrencyOfOtherNumbers) {
    EXPECT_EQ(currencyOf(db::Value::currency({123}), kPlace).scaled, 123);
    EXPECT_EQ(currencyOf(db::Value::real(12.5), kPlace).scaled, 125000);
    EXPECT_EQ(currencyOf(db::Value::integer(3), kPlace).scaled, 30000);
    EXPECT_EQ(currencyOf(db::Value(), kPlace).scaled, 0);
    EXPECT_EQ(currencyOf(db::Value::real(-5e14), kPlace).scaled, -5'000'000'000'000'000'000);
}

TEST(BoardAmount, NoNumberOrBeyondTheRangeStopsTheRunNamingRoomFieldAndValue) {
    for (const double bad : {std::nan(""), 1e300, -1e300, HUGE_VAL, 9.3e14}) {
        const std::string message = errorOf([&] { currencyOf(db::Value::real(bad), kPlace); });
        EXPECT_EQ(message.rfind("Camera 101: il campo ImportoTotale di Arrangiamento vale ", 0), 0u)
            << message;
        EXPECT_NE(message.find("non è un importo valido"), std::string::npos) << message;
    }
    EXPECT_NE(errorOf([] { currencyOf(db::Value::real(1e300), kPlace); }).find("1e+300"),
              std::string::npos);
}

TEST(BoardAmount, SumsAreCheckedAgainstOverflow) {
    EXPECT_EQ(addAmounts({5}, {-7}, kPlace).scaled, -2);
    const db::Currency half{5'000'000'000'000'000'000};  // 5e14 euros
    EXPECT_EQ(errorOf([&] { addAmounts(half, half, kPlace); }),
              "Camera 101: la somma degli importi ImportoTotale di Arrangiamento supera il massimo "
              "che un importo può contenere");
    EXPECT_THROW(addAmounts({INT64_MIN}, {-1}, kPlace), Error);
    EXPECT_EQ(addAmounts({INT64_MAX}, {0}, kPlace).scaled, INT64_MAX);
}

}  // namespace
}  // namespace planora::board

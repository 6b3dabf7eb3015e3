#include <gtest/gtest.h>

#include <string>

#include "board/clock.h"
#include "board/helpers.h"

namespace planora::board {
namespace {

LocalDateTime yearStart(int year) {
    return {year, 1, 1, 0, 0, 0};
}

std::string formatted(std::string text, int currentYear) {
    const FixedClock clock(yearStart(currentYear));
    FormattaData(text, clock);
    return text;
}

TEST(FormattaData, SixDigitsUseATwentyYearWindow) {
    EXPECT_EQ(formatted("311299", 2026), "31/12/1999");
    EXPECT_EQ(formatted("150119", 2026), "15/01/2019");
    EXPECT_EQ(formatted("010220", 2026), "01/02/2020");
    EXPECT_EQ(formatted("010146", 2026), "01/01/2046");
    EXPECT_EQ(formatted("010147", 2026), "01/01/1947");
    EXPECT_EQ(formatted("010100", 2026), "01/01/2000");
}

TEST(FormattaData, WindowMovesWithTheClock) {
    EXPECT_EQ(formatted("010150", 2029), "01/01/1950");
    EXPECT_EQ(formatted("010150", 2030), "01/01/2050");
    // Late in the century the window covers every two-digit year.
    EXPECT_EQ(formatted("311299", 2079), "31/12/2099");
    EXPECT_EQ(formatted("311299", 2078), "31/12/1999");
}

TEST(FormattaData, EightDigitsGetSeparators) {
    EXPECT_EQ(formatted("01022021", 2026), "01/02/2021");
    // Separators are not checked: an already separated short date is split again.
    EXPECT_EQ(formatted("1/2/2021", 2026), "1//2//2021");
    EXPECT_EQ(formatted("1/2/21", 2026), "1//2//2021");
}

TEST(FormattaData, OtherLengthsComeBackUnchanged) {
    for (const std::string text : {"", "0102202", "010220211", "01/02/2021", " 010220"}) {
        EXPECT_EQ(formatted(text, 2026), text);
    }
}

TEST(FormattaData, CountsCharactersNotBytes) {
    // Six characters, eight bytes: still the short form.
    EXPECT_EQ(formatted("èè0120", 2026), "èè/01/2020");
}

TEST(FormattaData, ChangesTheCallersTextAndReturnsIt) {
    const FixedClock clock(yearStart(2026));
    std::string text = "070326";
    std::string& result = FormattaData(text, clock);
    EXPECT_EQ(&result, &text);
    EXPECT_EQ(text, "07/03/2026");
}

bool valid(std::string text) {
    GiorniMese giorni;
    return DataValida(text, giorni);
}

TEST(DataValida, AcceptsRealDates) {
    EXPECT_TRUE(valid("01/01/2021"));
    EXPECT_TRUE(valid("31/12/2021"));
    EXPECT_TRUE(valid("30/04/2021"));
    EXPECT_TRUE(valid("29/02/2024"));
    EXPECT_TRUE(valid("01/01/1900"));
}

TEST(DataValida, LeapYearsHaveNoCenturyRule) {
    EXPECT_TRUE(valid("29/02/1900"));
    EXPECT_TRUE(valid("29/02/2100"));
    EXPECT_FALSE(valid("29/02/2021"));
    EXPECT_FALSE(valid("30/02/2024"));
}

TEST(DataValida, RejectsImpossibleDays) {
    for (const char* text : {"31/04/2021", "00/01/2021", "15/13/2021", "15/00/2021", "15/01/1899",
                             "32/01/2021", "ab/cd/efgh"}) {
        EXPECT_FALSE(valid(text)) << text;
    }
}

TEST(DataValida, SeparatorsAreNotLookedAt) {
    EXPECT_TRUE(valid("1//2//2021"));
    EXPECT_TRUE(valid("01x02y2021"));
}

TEST(DataValida, TrimsTheCallersTextWhenTheLengthFits) {
    GiorniMese giorni;
    std::string text = " 01/01/2021 ";
    EXPECT_TRUE(DataValida(text, giorni));
    EXPECT_EQ(text, "01/01/2021");

    std::string rejected = " 31/04/2021 ";
    EXPECT_FALSE(DataValida(rejected, giorni));
    EXPECT_EQ(rejected, "31/04/2021");
}

TEST(DataValida, WrongLengthLeavesTheTextAlone) {
    GiorniMese giorni;
    for (std::string text : {"1/1/2021", "", "01/01/20211", " 1/1/2021 "}) {
        const std::string before = text;
        EXPECT_FALSE(DataValida(text, giorni));
        EXPECT_EQ(text, before);
    }
}

TEST(DataValida, RewritesFebruaryForTheYearChecked) {
    GiorniMese giorni;
    std::string leap = "15/01/2024";
    ASSERT_TRUE(DataValida(leap, giorni));
    EXPECT_EQ(giorni[2], 29);
    std::string common = "31/12/2023";
    ASSERT_TRUE(DataValida(common, giorni));
    EXPECT_EQ(giorni[2], 28);
    // A date rejected for its day still went past the length test and set February.
    std::string rejectedLeap = "31/04/2028";
    EXPECT_FALSE(DataValida(rejectedLeap, giorni));
    EXPECT_EQ(giorni[2], 29);
    // One that fails the length test does not.
    std::string tooShort = "1/1/2023";
    EXPECT_FALSE(DataValida(tooShort, giorni));
    EXPECT_EQ(giorni[2], 29);
    EXPECT_EQ(giorni[4], 30);
}

TEST(Bisestile, EveryFourthYear) {
    EXPECT_TRUE(Bisestile(2000));
    EXPECT_TRUE(Bisestile(1900));
    EXPECT_TRUE(Bisestile(2024));
    EXPECT_FALSE(Bisestile(2023));
    EXPECT_FALSE(Bisestile(2026));
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

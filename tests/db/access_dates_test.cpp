#include <gtest/gtest.h>

#include "db/access_dates.h"

namespace planora::db {
namespace {

TEST(AccessDates, DayNumbersCountFromTheLastDaysOf1899) {
    EXPECT_EQ(dateTimeFromAccessDays(0), (DateTime{1899, 12, 30, 0, 0, 0}));
    EXPECT_EQ(dateTimeFromAccessDays(2), (DateTime{1900, 1, 1, 0, 0, 0}));
    EXPECT_EQ(dateTimeFromAccessDays(60), (DateTime{1900, 2, 28, 0, 0, 0}));
    EXPECT_EQ(dateTimeFromAccessDays(61), (DateTime{1900, 3, 1, 0, 0, 0}));  // no 29 February
    EXPECT_EQ(dateTimeFromAccessDays(36585), (DateTime{2000, 2, 29, 0, 0, 0}));
    EXPECT_EQ(dateTimeFromAccessDays(45628.75), (DateTime{2024, 12, 2, 18, 0, 0}));
}

TEST(AccessDates, BeforeTheEpochTheTimeStillCountsForward) {
    EXPECT_EQ(dateTimeFromAccessDays(-1), (DateTime{1899, 12, 29, 0, 0, 0}));
    EXPECT_EQ(dateTimeFromAccessDays(-1.25), (DateTime{1899, 12, 29, 6, 0, 0}));
    EXPECT_EQ(dateTimeFromAccessDays(-0.5), (DateTime{1899, 12, 30, 12, 0, 0}));
    EXPECT_EQ(dateTimeFromAccessDays(-657434), (DateTime{100, 1, 1, 0, 0, 0}));
}

TEST(AccessDates, TimesRoundToTheSecond) {
    EXPECT_EQ(dateTimeFromAccessDays(1 + 1.4 / 86400), (DateTime{1899, 12, 31, 0, 0, 1}));
    EXPECT_EQ(dateTimeFromAccessDays(1 + 86399.6 / 86400), (DateTime{1900, 1, 1, 0, 0, 0}));
    EXPECT_EQ(dateTimeFromAccessDays(-1 - 86399.6 / 86400), (DateTime{1899, 12, 30, 0, 0, 0}));
}

TEST(AccessDates, ValuesOutsideTheAccessYearsAreNoDate) {
    EXPECT_EQ(dateTimeFromAccessDays(2958465.5), (DateTime{9999, 12, 31, 12, 0, 0}));
    EXPECT_FALSE(dateTimeFromAccessDays(2958466));
    EXPECT_FALSE(dateTimeFromAccessDays(-657435));
    EXPECT_FALSE(dateTimeFromAccessDays(1e300));
    EXPECT_FALSE(dateTimeFromAccessDays(std::numeric_limits<double>::quiet_NaN()));
}

}  // namespace
}  // namespace planora::db

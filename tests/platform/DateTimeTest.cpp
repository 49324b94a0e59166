#include "platform/DateTime.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

using namespace zeko;

TEST(DateTime, DayNumbersOfKnownDates) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(2024, 2, 29), 45351.0);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
}

TEST(DateTime, EncodeDecodeRoundTripOverCenturies) {
    for (int y : {1, 1600, 1899, 1900, 1999, 2000, 2023, 2024, 2100, 9999})
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= MonthDays(y, m); ++d) {
                const DateParts p = DecodeDate(EncodeDate(y, m, d) + 0.5);
                ASSERT_EQ(p.Year, y);
                ASSERT_EQ(p.Month, m);
                ASSERT_EQ(p.Day, d);
            }
}

TEST(DateTime, InvalidPartsAreRefused) {
    TDateTime t;
    EXPECT_FALSE(TryEncodeDate(2023, 2, 29, t));
    EXPECT_FALSE(TryEncodeDate(2024, 13, 1, t));
    EXPECT_FALSE(TryEncodeDate(2024, 1, 0, t));
    EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, t));
    EXPECT_FALSE(TryEncodeTime(0, 60, 0, 0, t));
    EXPECT_THROW(EncodeDate(1900, 2, 29), EConvertError);
    EXPECT_THROW(EncodeTime(1, 2, 60), EConvertError);
}

TEST(DateTime, TimeOfDayRoundsToTheMillisecond) {
    const TDateTime t = EncodeDate(2024, 3, 1) + EncodeTime(23, 59, 59, 999);
    const TimeParts p = DecodeTime(t);
    EXPECT_EQ(p.Hour, 23);
    EXPECT_EQ(p.Minute, 59);
    EXPECT_EQ(p.Second, 59);
    EXPECT_EQ(p.MSec, 999);
    // A sum of a day and a time that lands a hair below midnight is midnight.
    const TDateTime nearMidnight = EncodeDate(2024, 3, 1) + 0.99999999999;
    EXPECT_EQ(DecodeDate(nearMidnight).Day, 2);
    EXPECT_EQ(DecodeTime(nearMidnight).Hour, 0);
}

TEST(DateTime, WeekdaysCountFromSunday) {
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 4, 1)), 2);   // a Monday
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7); // a Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 24)), 1); // a Sunday before day 0
}

TEST(DateTime, NowCanBeFixedForTests) {
    SetNowOverride(EncodeDate(2026, 12, 10) + EncodeTime(8, 0, 0));
    EXPECT_EQ(Today(), EncodeDate(2026, 12, 10));
    SetNowOverride(std::nullopt);
    EXPECT_GT(Now(), EncodeDate(2020, 1, 1));
}

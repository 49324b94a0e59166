#include "core/Calendar.h"

#include "platform/Exceptions.h"
#include "platform/TickClock.h"

#include <gtest/gtest.h>

using namespace zeko;

TEST(Calendar, TwoDigitYears) {
    EXPECT_EQ(ExpandYear(0), 2000);
    EXPECT_EQ(ExpandYear(79), 2079);
    EXPECT_EQ(ExpandYear(80), 1980);
    EXPECT_EQ(ExpandYear(99), 1999);
    EXPECT_EQ(ShortYear(2024), 24);
    EXPECT_EQ(ShortYear(2000), 0);
    EXPECT_EQ(ShortYear(1999), 99);
    for (int y = 0; y < 100; ++y)
        EXPECT_EQ(ShortYear(ExpandYear(y)), y);
}

TEST(Calendar, AddHours) {
    const TDateTime d = EncodeDate(2024, 3, 1);
    EXPECT_EQ(AddHours(d, 6), d + EncodeTime(6, 0, 0));
    EXPECT_EQ(AddHours(d, 0), d);
    EXPECT_EQ(DecodeDate(AddHours(d, -1)).Day, 29);
    EXPECT_EQ(DecodeTime(AddHours(d, -1)).Hour, 23);
    EXPECT_THROW(AddHours(d, 24), EConvertError);
    EXPECT_THROW(AddHours(d, -24), EConvertError);
}

TEST(Calendar, AddMonths) {
    struct Case { int n; int y, m, d; int ey, em, ed; };
    const Case cases[] = {
        {1, 2024, 1, 31, 2024, 2, 29},   {-13, 2024, 3, 15, 2023, 2, 15},
        {1, 2023, 1, 31, 2023, 2, 28},   {12, 2024, 2, 29, 2025, 2, 28},
        {-1, 2024, 1, 10, 2023, 12, 10}, {-12, 2024, 1, 10, 2023, 1, 10},
        {11, 2024, 1, 31, 2024, 12, 31}, {25, 2024, 12, 1, 2027, 1, 1},
        {-25, 2024, 1, 31, 2021, 12, 31}, {0, 2024, 4, 30, 2024, 4, 30},
    };
    for (const Case& c : cases) {
        const TDateTime t = EncodeDate(c.y, c.m, c.d) + EncodeTime(13, 14, 15);
        EXPECT_EQ(AddMonths(c.n, t), EncodeDate(c.ey, c.em, c.ed) + EncodeTime(13, 14, 15))
            << c.n << " from " << c.y << "-" << c.m << "-" << c.d;
    }
    EXPECT_THROW(AddMonths(1, EncodeDate(9999, 12, 1)), EConvertError);
    EXPECT_THROW(AddMonths(-1, EncodeDate(1, 1, 1)), EConvertError);
}

TEST(Calendar, MonthSteps) {
    int m, y;
    NextMonth(12, 2024, m, y);
    EXPECT_EQ(m, 1);
    EXPECT_EQ(y, 2025);
    NextMonth(2, 2024, m, y);
    EXPECT_EQ(m, 3);
    EXPECT_EQ(y, 2024);
    EXPECT_EQ(DaysInMonth(2, 2024), 29);
    EXPECT_EQ(DaysInMonth(2, 1900), 28);
    EXPECT_EQ(DaysInMonth(2, 2000), 29);
    EXPECT_EQ(DaysInMonth(13, 2000), 0);
    EXPECT_EQ(DaysInMonthOf(EncodeDate(2024, 4, 10) + 0.5), 30);
}

TEST(Calendar, WeekdaysAndWeekends) {
    const TDateTime monday = EncodeDate(2024, 4, 1);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(WeekdayMondayFirst(monday + i + 0.9), i + 1);
        EXPECT_EQ(IsWeekend(monday + i), i >= 5);
    }
    EXPECT_TRUE(IsWeekendDate(6, 4, 2024));
    EXPECT_FALSE(IsWeekendDate(5, 4, 2024));
    EXPECT_FALSE(IsWeekendDate(30, 2, 2024));
    EXPECT_FALSE(IsWeekendDate(0, 0, 0));
}

namespace {
// Easter Sunday by the anonymous Gregorian algorithm, for comparison.
TDateTime EasterSundayAnonymous(int year) {
    const int a = year % 19, b = year / 100, c = year % 100;
    const int d = b / 4, e = b % 4, f = (b + 8) / 25, g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4, k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return EncodeDate(year, month, day);
}
} // namespace

TEST(Calendar, EasterMondayAgreesWithTheAnonymousAlgorithm) {
    for (int year = 1900; year <= 2099; ++year) {
        const TDateTime monday = EasterSundayAnonymous(year) + 1;
        ASSERT_EQ(EasterMondayDate(year), monday) << year;
        const DateParts p = DecodeDate(monday);
        ASSERT_TRUE(IsEasterMonday(p.Day, p.Month, p.Year)) << year;
        ASSERT_FALSE(IsEasterMonday(p.Day - 1 > 0 ? p.Day - 1 : 31, p.Day - 1 > 0 ? p.Month : 3,
                                    p.Year)) << year;
    }
}

TEST(Calendar, EasterMondayKnownYears) {
    EXPECT_EQ(EasterMondayDate(2024), EncodeDate(2024, 4, 1));
    EXPECT_EQ(EasterMondayDate(2025), EncodeDate(2025, 4, 21));
    EXPECT_EQ(EasterMondayDate(2049), EncodeDate(2049, 4, 19));  // April 18 rule
    EXPECT_EQ(EasterMondayDate(1981), EncodeDate(1981, 4, 20));  // April 19 rule
    EXPECT_FALSE(IsEasterMonday(31, 2, 2024));
    EXPECT_FALSE(IsEasterMonday(1, 4, 0));
    EXPECT_THROW(EasterMondayDate(0), EConvertError);
}

TEST(Calendar, TicksAndRunningClock) {
    EXPECT_EQ(TicksToDateTime(0), 0.0);
    EXPECT_EQ(TicksToDateTime(86400000u * 2 + 3600000u), 2 + EncodeTime(1, 0, 0));
    EXPECT_DOUBLE_EQ(TicksToDateTime(0xFFFFFFFFu), 49 + EncodeTime(17, 2, 47, 295));

    ManualTickSource clock(0xFFFFFF00u);  // just before the counter wraps
    SetTickSource(&clock);
    const TDateTime base = EncodeDate(2024, 3, 1) + EncodeTime(12, 0, 0);
    const uint32_t reading = 0xFFFFFF00u - 100;
    clock.Advance(65000 + 256);  // wraps past 0
    EXPECT_EQ(ToSeconds(ElapsedSince(reading, base)), ToSeconds(base) + 65);
    // A tick count ahead of the clock changes nothing.
    EXPECT_EQ(ElapsedSince(clock.Now() + 5000, base), base);
    SetTickSource(nullptr);
}

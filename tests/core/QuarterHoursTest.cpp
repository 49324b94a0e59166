#include "core/QuarterHours.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

using namespace zeko;

TEST(QuarterHours, SlotBoundaries) {
    struct Case { int minute, second, slot; };
    const Case cases[] = {
        {7, 30, 4}, {7, 31, 1}, {22, 30, 1}, {22, 31, 2}, {37, 30, 2}, {37, 31, 3},
        {52, 30, 3}, {52, 31, 4}, {0, 0, 4}, {59, 59, 4}, {15, 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QuarterHourSlot(c.minute, c.second), c.slot) << c.minute << ":" << c.second;
    EXPECT_EQ(QuarterHourSlotOfTime(EncodeDate(2024, 3, 1) + EncodeTime(10, 22, 31)), 2);
}

TEST(QuarterHours, WindowStartMinute) {
    EXPECT_EQ(QuarterWindowStartMinute(0, 5, 0), 1432);
    EXPECT_EQ(QuarterWindowStartMinute(10, 7, 31), 607);
    EXPECT_EQ(QuarterWindowStartMinute(10, 59, 0), 652);
    EXPECT_EQ(QuarterWindowStartMinute(10, 7, 30), 592);
}

// Every second of a day lies in the window [start, end) that is 15 minutes long,
// begins at a :07:31, :22:31, :37:31 or :52:31 and agrees with the start minute and
// the slot.
TEST(QuarterHours, EverySecondOfADayLiesInItsWindow) {
    const TDateTime day = EncodeDate(2024, 3, 10);
    for (int s = 0; s < 86400; ++s) {
        const int h = s / 3600, m = s / 60 % 60, sec = s % 60;
        const TDateTime t = day + FromSeconds(s);
        const int64_t now = ToSeconds(t);
        const int64_t end = ToSeconds(QuarterWindowEnd(t));
        const int64_t start = ToSeconds(QuarterWindowStart(t));
        ASSERT_EQ(end - start, 900) << s;
        ASSERT_LE(start, now) << s;
        ASSERT_LT(now, end) << s;
        ASSERT_EQ(end % 60, 31) << s;
        ASSERT_EQ(QuarterWindowEndMinute(h, m, sec), (end / 60) % 1440) << s;
        const int startMinute = QuarterWindowStartMinute(h, m, sec);
        ASSERT_EQ(startMinute, (start / 60) % 1440) << s;
        const int slot = QuarterHourSlot(m, sec);
        ASSERT_EQ(startMinute % 60, QuarterSlotStartMinute[slot - 1]) << s;
    }
}

TEST(QuarterHours, WindowEndCrossesMidnightAndTheYear) {
    const TDateTime t = EncodeDate(2024, 12, 31) + EncodeTime(23, 55, 0);
    EXPECT_EQ(QuarterWindowEnd(t), EncodeDate(2025, 1, 1) + EncodeTime(0, 7, 31));
    EXPECT_EQ(QuarterWindowStart(t), EncodeDate(2024, 12, 31) + EncodeTime(23, 52, 31));
    const TDateTime early = EncodeDate(2025, 1, 1) + EncodeTime(0, 3, 0);
    EXPECT_EQ(QuarterWindowStart(early), EncodeDate(2024, 12, 31) + EncodeTime(23, 52, 31));
}

TEST(QuarterHours, WindowEndMinuteRoundsScheduleEdges) {
    EXPECT_EQ(QuarterWindowEndMinute(6, 0, 0), 367);
    EXPECT_EQ(QuarterWindowEndMinute(14, 0, 0), 847);
    EXPECT_EQ(QuarterWindowEndMinute(23, 55, 0), 7);
    EXPECT_EQ(QuarterWindowEndMinute(22, 0, 0), 1327);
}

TEST(QuarterHours, PowerOfACount) {
    EXPECT_DOUBLE_EQ(QuarterHourPower(100, 400), 1.0);
    EXPECT_DOUBLE_EQ(QuarterHourPower(250, 1), 1000.0);
    EXPECT_EQ(QuarterHourPower(250, 0), 0.0);
    EXPECT_EQ(QuarterHourPower(250, std::numeric_limits<double>::quiet_NaN()), 0.0);
    EXPECT_EQ(QuarterHourPower(65535, std::numeric_limits<double>::denorm_min()), 0.0);
}

TEST(QuarterHours, ShiftHour) {
    EXPECT_EQ(ShiftHour(22, 22), 24);
    EXPECT_EQ(ShiftHour(23, 22), 1);
    EXPECT_EQ(ShiftHour(0, 22), 2);
    EXPECT_EQ(ShiftHour(5, -2), 7);
    EXPECT_EQ(ShiftHour(5, 0), 5);
    EXPECT_EQ(ShiftHour(0, 0), 0);
    // With any day start the 24 hours fill the rows 1..24 once each.
    for (int offset = -23; offset <= 23; ++offset) {
        if (offset == 0)
            continue;
        std::set<int> rows;
        for (int h = 0; h < 24; ++h)
            rows.insert(ShiftHour(h, offset));
        EXPECT_EQ(rows.size(), 24u) << offset;
        EXPECT_EQ(*rows.begin(), 1) << offset;
        EXPECT_EQ(*rows.rbegin(), 24) << offset;
    }
}

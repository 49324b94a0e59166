#include "platform/TickClock.h"

#include <gtest/gtest.h>

using namespace zeko;

TEST(TickClock, PreciseSleepsLastMoreThanAsked) {
    const uint64_t start = MonotonicMicroseconds();
    SleepPast(start, 2000);
    EXPECT_GT(MonotonicMicroseconds() - start, 2000u);

    const uint32_t due = GetTickCount() + 3;
    SleepUntilTick(due);
    EXPECT_GE(static_cast<int32_t>(GetTickCount() - due), 0);
}

TEST(TickClock, ATestClockStandsInUntilTakenBack) {
    EXPECT_FALSE(TickSourceReplaced());
    ManualTickSource clock(0xFFFFFFF0u);
    SetTickSource(&clock);
    EXPECT_TRUE(TickSourceReplaced());
    EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
    clock.Advance(0x20);
    EXPECT_EQ(GetTickCount(), 0x10u);
    EXPECT_EQ(TicksBetween(0xFFFFFFF0u, GetTickCount()), 0x20u);
    SetTickSource(nullptr);
    EXPECT_FALSE(TickSourceReplaced());
}

#include "platform/Timer.h"

#include "platform/MainThread.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using namespace zeko;

namespace {

struct TimerFixture : ::testing::Test {
    TimerFixture() { SetTimerService(&clock); }
    ~TimerFixture() override { SetTimerService(nullptr); }
    ManualTimerService clock;
    std::vector<uint32_t> ticks;
};

} // namespace

TEST_F(TimerFixture, TicksOnlyWhenEnabledWithAnIntervalAndAHandler) {
    TTimer timer;
    clock.Advance(5000);
    EXPECT_EQ(clock.RunningCount(), 0);  // no handler yet
    timer.SetInterval(300);
    timer.SetOnTimer([&] { ticks.push_back(clock.Now()); });
    clock.Advance(1000);
    EXPECT_EQ(ticks, (std::vector<uint32_t>{5300, 5600, 5900}));
    timer.SetInterval(0);
    clock.Advance(1000);
    timer.SetInterval(500);
    timer.SetEnabled(false);
    clock.Advance(1000);
    EXPECT_EQ(ticks.size(), 3u);
    timer.SetEnabled(true);  // the wait starts afresh
    clock.Advance(600);
    EXPECT_EQ(ticks.back(), 8500u);
}

TEST_F(TimerFixture, AHandlerMayChangeTheIntervalOrStopItsTimer) {
    TTimer timer;
    timer.SetInterval(500);
    timer.SetOnTimer([&] {
        ticks.push_back(clock.Now());
        timer.SetInterval(100);
        if (ticks.size() == 4)
            timer.SetEnabled(false);
    });
    clock.Advance(2000);
    EXPECT_EQ(ticks, (std::vector<uint32_t>{500, 600, 700, 800}));
    EXPECT_EQ(clock.RunningCount(), 0);
}

TEST_F(TimerFixture, ARepeatWaitsItsPauseAndClicksOnlyWhileHeld) {
    TRepeatTimer repeat;
    bool held = true;
    repeat.Start(400, 100, [&] { return held; }, [&] { ticks.push_back(clock.Now()); });
    clock.Advance(650);
    held = false;
    clock.Advance(200);
    held = true;
    clock.Advance(100);
    repeat.Stop();
    clock.Advance(500);
    EXPECT_EQ(ticks, (std::vector<uint32_t>{400, 500, 600, 900}));
    repeat.Start(50, 50, [] { return true; }, [&] { throw std::runtime_error("no"); });
    EXPECT_THROW(clock.Advance(100), std::runtime_error);
    EXPECT_FALSE(repeat.Running());
}

TEST(TimerThreads, TicksReachTheMainThreadThroughItsQueue) {
    PumpedMainThread queue;
    SetMainThread(&queue);
    int ticks = 0;
    {
        TTimer timer;
        timer.SetInterval(5);
        timer.SetOnTimer([&] {
            if (++ticks == 3)
                timer.SetEnabled(false);
        });
        EXPECT_TRUE(queue.PumpUntil([&] { return ticks == 3; }, 5000));
    }
    queue.Pump();
    EXPECT_EQ(ticks, 3);
    SetMainThread(nullptr);
}

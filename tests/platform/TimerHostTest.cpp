#include "platform/TimerHost.h"

#include "platform/MainThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace zeko;

namespace {

class TimerHostTest : public ::testing::Test {
protected:
    void SetUp() override { SetMainThread(&queue); }
    void TearDown() override { SetMainThread(nullptr); }

    void WaitForPendingTick() {
        for (int i = 0; i < 400 && queue.Pending() == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_EQ(queue.Pending(), 1u);
    }

    PumpedMainThread queue;
};

} // namespace

TEST_F(TimerHostTest, TicksRunInTheMainThreadWhenItPumps) {
    int ticks = 0;
    bool allInMainThread = true;
    const auto main = std::this_thread::get_id();
    TimerHost timer([&] {
        ++ticks;
        allInMainThread = allInMainThread && std::this_thread::get_id() == main;
    });
    timer.Start(10);
    EXPECT_TRUE(timer.Running());
    EXPECT_EQ(timer.Interval(), 10u);
    EXPECT_TRUE(queue.PumpUntil([&] { return ticks >= 3; }, 5000));
    EXPECT_TRUE(allInMainThread);
}

TEST_F(TimerHostTest, AMainThreadThatFallsBehindGetsOneTickNotAPile) {
    int ticks = 0;
    TimerHost timer([&] { ++ticks; });
    timer.Start(5);
    WaitForPendingTick();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // some twenty intervals
    EXPECT_EQ(queue.Pending(), 1u);
    EXPECT_EQ(queue.Pump(), 1);
    EXPECT_EQ(ticks, 1);
}

TEST_F(TimerHostTest, NoTickRunsAfterStopNotEvenOneAlreadyPosted) {
    int ticks = 0;
    TimerHost timer([&] { ++ticks; });
    timer.Start(5);
    WaitForPendingTick();
    timer.Stop();
    EXPECT_FALSE(timer.Running());
    queue.Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    queue.Pump();
    EXPECT_EQ(ticks, 0);
}

TEST_F(TimerHostTest, ATickMayStopOrRestartItsOwnTimer) {
    int ticks = 0;
    std::unique_ptr<TimerHost> timer;
    timer = std::make_unique<TimerHost>([&] {
        ++ticks;
        if (ticks == 1)
            timer->Start(7);  // restart with another interval
        else
            timer->Stop();
    });
    timer->Start(5);
    EXPECT_TRUE(queue.PumpUntil([&] { return ticks == 2; }, 5000));
    EXPECT_FALSE(timer->Running());
    EXPECT_EQ(timer->Interval(), 7u);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    queue.Pump();
    EXPECT_EQ(ticks, 2);
}

TEST_F(TimerHostTest, DestroyingARunningTimerLeavesNoTickBehind) {
    int ticks = 0;
    {
        TimerHost timer([&] { ++ticks; });
        timer.Start(5);
        WaitForPendingTick();
    }
    queue.Pump();
    EXPECT_EQ(ticks, 0);
}

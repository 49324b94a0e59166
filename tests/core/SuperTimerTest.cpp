#include "core/SuperTimer.h"

#include "platform/MainThread.h"
#include "platform/Notifier.h"
#include "platform/TickClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

using namespace zeko;

namespace {

constexpr uint32_t PatienceMs = 5000;

class SuperTimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMainThread(&queue);
        SetTickSource(&clock);
    }
    void TearDown() override {
        SetTickSource(nullptr);
        SetMainThread(nullptr);
    }

    // Records the clock at each tick.
    void Record(TSuperTimer& timer, uint32_t handlerMs = 0) {
        timer.OnTimer = [this, handlerMs](TSuperTimer&) {
            ticks.push_back(clock.Now());
            clock.Advance(handlerMs);
        };
    }
    bool PumpUntilTicks(size_t n) {
        return queue.PumpUntil([&] { return ticks.size() >= n; }, PatienceMs);
    }
    // Waits, without pumping, until the timer thread sits in the hand-over.
    bool WaitInHandOver() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(PatienceMs);
        while (queue.Pending() == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return queue.Pending() == 1;
    }
    // Pumps for a while and answers whether no further tick came.
    bool NoTickFor(uint32_t ms) {
        const size_t before = ticks.size();
        queue.PumpUntil([] { return false; }, ms);
        return ticks.size() == before;
    }

    PumpedMainThread queue;
    ManualTickSource clock;
    std::vector<uint32_t> ticks;
};

TEST_F(SuperTimerTest, DefaultsAfterConstruction) {
    TSuperTimer timer;
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000);
    EXPECT_EQ(timer.ThreadPriority(), TThreadPriority::tpHigher);
    EXPECT_FALSE(timer.CountDown());
    EXPECT_EQ(timer.TickLimit(), -1);
    EXPECT_EQ(timer.ElapsedTime(), 0);
}

TEST_F(SuperTimerTest, FirstTickComesOneIntervalAfterEnabling) {
    TSuperTimer timer;
    timer.SetInterval(500);
    Record(timer);
    clock.Set(1000);
    timer.SetEnabled(true);
    clock.Set(1499);
    EXPECT_TRUE(NoTickFor(60));
    clock.Set(1500);
    ASSERT_TRUE(PumpUntilTicks(1));
    EXPECT_EQ(ticks[0], 1500u);
    EXPECT_EQ(timer.ElapsedTime(), 500);
    EXPECT_EQ(timer.TickCount(), 1);
}

// The sleep before a tick starts when the previous handler has finished: a handler
// longer than 50 ms pushes the next tick back by the excess, a shorter one does not.
TEST_F(SuperTimerTest, HandlerTimeDelaysTheNextTickOnlyBeyondFiftyMs) {
    struct Case {
        uint32_t handlerMs;
        uint32_t secondTick;
    };
    for (const Case c : {Case{100, 1050}, Case{20, 1000}, Case{50, 1000}}) {
        ticks.clear();
        clock.Set(0);
        TSuperTimer timer;
        timer.SetInterval(500);
        Record(timer, c.handlerMs);
        timer.SetEnabled(true);
        clock.Set(500);
        ASSERT_TRUE(PumpUntilTicks(1));
        clock.Set(c.secondTick - 1);
        EXPECT_TRUE(NoTickFor(60)) << c.handlerMs;
        clock.Set(c.secondTick);
        ASSERT_TRUE(PumpUntilTicks(2));
        EXPECT_EQ(ticks[1], c.secondTick) << c.handlerMs;
    }
}

TEST_F(SuperTimerTest, IntervalZeroDisablesAndKeepsItDisabled) {
    TSuperTimer timer;
    timer.SetInterval(100);
    timer.SetEnabled(true);
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Enabled());
    timer.SetEnabled(true);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.TickCount(), 0);
}

TEST_F(SuperTimerTest, EnablingAgainContinuesTheElapsedTime) {
    TSuperTimer timer;
    timer.SetInterval(500);
    Record(timer);
    timer.SetEnabled(true);
    clock.Set(500);
    ASSERT_TRUE(PumpUntilTicks(1));
    timer.SetEnabled(false);
    clock.Set(5000);
    EXPECT_TRUE(NoTickFor(60));
    timer.SetEnabled(true);
    clock.Set(5500);
    ASSERT_TRUE(PumpUntilTicks(2));
    EXPECT_EQ(timer.ElapsedTime(), 1000);
}

TEST_F(SuperTimerTest, CountDownStopsWhenNoTimeIsLeft) {
    TSuperTimer timer;
    timer.SetInterval(1000);
    timer.SetCountDown(true);
    timer.SetElapsedTime(3000);
    Record(timer);
    std::vector<int32_t> stops;
    timer.OnStop = [&](TSuperTimer& t) { stops.push_back(t.ElapsedTime()); };
    timer.SetEnabled(true);
    for (uint32_t at : {1000u, 2000u}) {
        clock.Set(at);
        ASSERT_TRUE(PumpUntilTicks(at / 1000));
        EXPECT_TRUE(stops.empty());
    }
    clock.Set(3000);
    ASSERT_TRUE(PumpUntilTicks(3));
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0], 0);
    EXPECT_FALSE(timer.Enabled());
    clock.Set(4000);
    EXPECT_TRUE(NoTickFor(60));
}

TEST_F(SuperTimerTest, TickLimitStopsTheTimerAtTheLimit) {
    TSuperTimer timer;
    timer.SetInterval(100);
    timer.SetTickLimit(2);
    Record(timer);
    int stops = 0;
    timer.OnStop = [&](TSuperTimer&) { ++stops; };
    timer.SetEnabled(true);
    clock.Set(100);
    ASSERT_TRUE(PumpUntilTicks(1));
    EXPECT_EQ(stops, 0);
    clock.Set(200);
    ASSERT_TRUE(PumpUntilTicks(2));
    EXPECT_EQ(stops, 1);
    EXPECT_FALSE(timer.Enabled());
}

TEST_F(SuperTimerTest, DueTimesWorkAcrossTheClockWrap) {
    TSuperTimer timer;
    timer.SetInterval(500);
    Record(timer);
    clock.Set(0xFFFFFF00u);
    timer.SetEnabled(true);
    clock.Set(0xFFFFFF00u + 499u);
    EXPECT_TRUE(NoTickFor(60));
    clock.Set(0xFFFFFF00u + 500u);  // 244 after the wrap
    ASSERT_TRUE(PumpUntilTicks(1));
    EXPECT_EQ(ticks[0], 244u);
    EXPECT_EQ(timer.ElapsedTime(), 500);
}

TEST_F(SuperTimerTest, DisablingDropsATickAlreadyWaitingInTheHandOver) {
    TSuperTimer timer;
    timer.SetInterval(100);
    Record(timer);
    timer.SetEnabled(true);
    clock.Set(100);
    ASSERT_TRUE(WaitInHandOver());
    timer.SetEnabled(false);
    queue.Pump();
    EXPECT_TRUE(ticks.empty());
}

TEST_F(SuperTimerTest, DestroyingWhileTheThreadWaitsInTheHandOverNeverRunsTheHandler) {
    std::atomic<bool> ran{false};
    {
        TSuperTimer timer;
        timer.SetInterval(100);
        timer.OnTimer = [&](TSuperTimer&) { ran = true; };
        timer.SetEnabled(true);
        clock.Set(100);
        ASSERT_TRUE(WaitInHandOver());
    }
    EXPECT_EQ(queue.Pump(), 0);
    EXPECT_FALSE(ran);
}

TEST_F(SuperTimerTest, TimerMayBeDestroyedByItsOwnHandler) {
    auto* timer = new TSuperTimer;
    timer->SetInterval(100);
    bool destroyed = false;
    timer->OnTimer = [&](TSuperTimer& self) {
        delete &self;
        destroyed = true;
    };
    timer->SetEnabled(true);
    clock.Set(100);
    ASSERT_TRUE(queue.PumpUntil([&] { return destroyed; }, PatienceMs));
    clock.Set(1000);
    EXPECT_EQ(queue.PumpUntil([] { return false; }, 60), false);
    EXPECT_EQ(queue.Pending(), 0u);
}

TEST_F(SuperTimerTest, AHandlerErrorIsShownAndTheTimerGoesOn) {
    ScopedLoggingNotifier notifier;
    TSuperTimer timer;
    timer.SetInterval(100);
    int calls = 0;
    timer.OnTimer = [&](TSuperTimer&) {
        ++calls;
        throw std::runtime_error("chyba");
    };
    timer.SetEnabled(true);
    clock.Set(100);
    ASSERT_TRUE(queue.PumpUntil([&] { return calls == 1; }, PatienceMs));
    clock.Set(200);
    ASSERT_TRUE(queue.PumpUntil([&] { return calls == 2; }, PatienceMs));
    ASSERT_EQ(notifier.Count(), 2u);
    EXPECT_EQ(notifier.Messages()[0].Text, "chyba");
    EXPECT_EQ(notifier.Messages()[0].Type, TMsgDlgType::mtError);
}

TEST(SuperTimerRealClock, TicksKeepComingWithTheRealClock) {
    PumpedMainThread queue;
    SetMainThread(&queue);
    {
        TSuperTimer timer;
        timer.SetInterval(20);
        int ticks = 0;
        timer.OnTimer = [&](TSuperTimer&) { ++ticks; };
        timer.SetEnabled(true);
        EXPECT_TRUE(queue.PumpUntil([&] { return ticks >= 3; }, PatienceMs));
        timer.SetEnabled(false);
    }
    SetMainThread(nullptr);
}

} // namespace

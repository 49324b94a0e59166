#include "platform/MainThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace zeko;

TEST(PumpedMainThread, SynchronizeBlocksUntilTheMainThreadRunsTheCall) {
    PumpedMainThread queue;
    std::atomic<int> value{0};
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        EXPECT_TRUE(queue.Synchronize(&value, [&] { value = 1; }));
        returned = true;
    });
    EXPECT_TRUE(queue.PumpUntil([&] { return returned.load(); }, 2000));
    worker.join();
    EXPECT_EQ(value, 1);
}

TEST(PumpedMainThread, CancelReleasesTheWaiterWithoutRunningTheCall) {
    PumpedMainThread queue;
    int owner = 0;
    std::atomic<bool> ran{false};
    std::atomic<int> result{-1};
    std::thread worker([&] { result = queue.Synchronize(&owner, [&] { ran = true; }) ? 1 : 0; });
    while (queue.Pending() == 0)
        std::this_thread::yield();
    queue.CancelFor(&owner);
    worker.join();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(queue.Pump(), 0);
    EXPECT_FALSE(ran);
}

TEST(PumpedMainThread, InTheMainThreadTheCallRunsAtOnce) {
    PumpedMainThread queue;
    int value = 0;
    EXPECT_TRUE(queue.Synchronize(nullptr, [&] { value = 5; }));
    EXPECT_EQ(value, 5);
}

TEST(PumpedMainThread, CallsPostedWhilePumpingWaitForTheNextPump) {
    PumpedMainThread queue;
    int count = 0;
    std::function<void()> again = [&] { ++count; queue.Post(nullptr, again); };
    queue.Post(nullptr, again);
    EXPECT_EQ(queue.Pump(), 1);
    EXPECT_EQ(queue.Pump(), 1);
    EXPECT_EQ(count, 2);
}

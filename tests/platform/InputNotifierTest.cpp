#include "platform/InputNotifier.h"

#include "platform/MainThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <thread>
#include <unistd.h>

using namespace zeko;

namespace {

// A pipe stands for the line: the test writes its far end, the notifier watches the
// near end, and the main thread is a queue the test pumps.
class InputNotifierTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::pipe(fds), 0);
        SetMainThread(&queue);
    }
    void TearDown() override {
        SetMainThread(nullptr);
        if (fds[0] >= 0)
            ::close(fds[0]);
        if (fds[1] >= 0)
            ::close(fds[1]);
    }

    void Send(const char* text) { ASSERT_GT(::write(fds[1], text, strlen(text)), 0); }
    std::string ReadAll() {
        char buffer[64];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
    }
    // Pumps for a while, whatever comes.
    void PumpFor(int ms) { queue.PumpUntil([] { return false; }, static_cast<uint32_t>(ms)); }

    int fds[2] = {-1, -1};
    PumpedMainThread queue;
};

} // namespace

TEST_F(InputNotifierTest, ArrivedBytesAreTakenUpInTheMainThreadOneCallAtATime) {
    std::string got;
    int calls = 0;
    bool allInMainThread = true;
    const auto main = std::this_thread::get_id();
    InputNotifier notifier([&] {
        ++calls;
        allInMainThread = allInMainThread && std::this_thread::get_id() == main;
        got += ReadAll();
        return true;
    });
    notifier.Start(fds[0], 10'000);
    EXPECT_TRUE(notifier.Running());
    PumpFor(30);
    EXPECT_EQ(calls, 0) << "nothing to read, nothing called";

    Send("ab");
    EXPECT_TRUE(queue.PumpUntil([&] { return got == "ab"; }, 5000));
    // More bytes while nobody pumps: one call waits for them all.
    Send("c");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    Send("d");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(queue.Pending(), 1u);
    EXPECT_TRUE(queue.PumpUntil([&] { return got == "abcd"; }, 5000));
    EXPECT_TRUE(allInMainThread);
}

TEST_F(InputNotifierTest, BytesLeftUnreadRestTheWatchInsteadOfSpinning) {
    int calls = 0;
    InputNotifier notifier([&] {
        ++calls;
        return false;  // reads nothing, as a reader waiting for a whole packet
    });
    notifier.Start(fds[0], 100);
    Send("x");
    const auto start = std::chrono::steady_clock::now();
    PumpFor(250);
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_GE(calls, 1);
    EXPECT_LE(calls, 1 + waited.count() / 100) << "one call per rest at most";
}

TEST_F(InputNotifierTest, AHangUpRestsTheWatch) {
    int calls = 0;
    InputNotifier notifier([&] {
        ++calls;
        ReadAll();
        return true;
    });
    notifier.Start(fds[0], 100);
    ::close(fds[1]);  // the far end goes away: the near end reads as ready for ever
    fds[1] = -1;
    const auto start = std::chrono::steady_clock::now();
    PumpFor(250);
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_LE(calls, 1 + waited.count() / 100);
}

TEST_F(InputNotifierTest, NoCallRunsAfterStopNotEvenOneAlreadyPosted) {
    int calls = 0;
    InputNotifier notifier([&] {
        ++calls;
        ReadAll();
        return true;
    });
    notifier.Start(fds[0], 100);
    Send("a");
    for (int i = 0; i < 400 && queue.Pending() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(queue.Pending(), 1u);
    notifier.Stop();
    EXPECT_FALSE(notifier.Running());
    queue.Pump();
    EXPECT_EQ(calls, 0);

}

TEST_F(InputNotifierTest, ACallMayStopItsOwnNotifier) {
    int calls = 0;
    std::unique_ptr<InputNotifier> notifier;
    notifier = std::make_unique<InputNotifier>([&] {
        ++calls;
        ReadAll();
        notifier->Stop();
        return true;
    });
    notifier->Start(fds[0], 100);
    Send("a");
    EXPECT_TRUE(queue.PumpUntil([&] { return calls == 1; }, 5000));
    EXPECT_FALSE(notifier->Running());
    Send("b");
    PumpFor(50);
    EXPECT_EQ(calls, 1);
}

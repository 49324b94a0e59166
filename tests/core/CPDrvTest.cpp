#include "core/CPDrv.h"

#include "platform/MainThread.h"
#include "platform/TickClock.h"
#include "support/PseudoTerminal.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <unistd.h>

using namespace zeko;
using Bytes = std::vector<uint8_t>;

TEST(CommPortProperties, PortAndNameFollowEachOther) {
    TCommPortDriver port;
    EXPECT_EQ(port.Port(), pnCOM2);
    EXPECT_EQ(port.PortName(), "\\\\.\\COM2");
    port.SetPort(pnCOM3);
    EXPECT_EQ(port.PortName(), "\\\\.\\COM3");
    port.SetPort(pnCOM16);
    EXPECT_EQ(port.PortName(), "\\\\.\\COM16");
    port.SetPortName("/dev/ttyUSB0");
    EXPECT_EQ(port.Port(), pnCustom);
    port.SetPort(pnCustom);
    EXPECT_EQ(port.PortName(), "/dev/ttyUSB0");
}

TEST(CommPortProperties, RatesFollowEachOther) {
    TCommPortDriver port;
    EXPECT_EQ(port.BaudRate(), br9600);
    EXPECT_EQ(port.BaudRateValue(), 9600u);
    port.SetBaudRate(br4800);
    EXPECT_EQ(port.BaudRateValue(), 4800u);
    port.SetBaudRateValue(4800);
    EXPECT_EQ(port.BaudRate(), brCustom);
    port.SetBaudRate(brCustom);
    EXPECT_EQ(port.BaudRateValue(), 4800u);
    EXPECT_EQ(BaudRateOf(br110), 110u);
    EXPECT_EQ(BaudRateOf(br56000), 56000u);
    EXPECT_EQ(BaudRateOf(br256000), 256000u);
    EXPECT_EQ(BaudRateOf(brCustom), 0u);
    EXPECT_EQ(GetWinPlatform(), "WNT");
    EXPECT_GE(GetWinVersion(), 65536u);
}

TEST(CommPortProperties, ConstructorValues) {
    TCommPortDriver port;
    EXPECT_EQ(port.DataBits(), db8BITS);
    EXPECT_EQ(port.StopBits(), sb1BITS);
    EXPECT_EQ(port.Parity(), ptNONE);
    EXPECT_EQ(port.HwFlow(), hfNONERTSON);
    EXPECT_EQ(port.SwFlow(), sfNONE);
    EXPECT_EQ(port.InBufSize(), 2048u);
    EXPECT_EQ(port.OutBufSize(), 2048u);
    EXPECT_EQ(port.PacketSize(), -1);
    EXPECT_EQ(port.PacketTimeout(), -1);
    EXPECT_EQ(port.PacketMode(), pmDiscard);
    EXPECT_EQ(port.PollingDelay(), 50);
    EXPECT_TRUE(port.EnableDTROnOpen());
    EXPECT_EQ(port.OutputTimeout(), 500);
    EXPECT_EQ(port.InputTimeout(), 200u);
    EXPECT_FALSE(port.CheckLineStatus());
    EXPECT_FALSE(port.Connected());
}

TEST(CommPortProperties, BufferSizesAreHeldTo128Through8192) {
    TCommPortDriver port;
    for (auto [given, held] : {std::pair<uint32_t, uint32_t>{100, 128}, {10000, 8192}, {128, 128}, {4096, 4096}}) {
        port.SetInBufSize(given);
        EXPECT_EQ(port.InBufSize(), held) << given;
        port.SetOutBufSize(given);
        EXPECT_EQ(port.OutBufSize(), held) << given;
    }
}

TEST(CommPortProperties, PacketSizeAndTimeoutRules) {
    TCommPortDriver port;
    port.SetPacketSize(0);
    EXPECT_EQ(port.PacketSize(), -1);
    port.SetPacketSize(100);
    EXPECT_EQ(port.PacketSize(), 100);
    port.SetPacketSize(3000);  // above InBufSize: raises it
    EXPECT_EQ(port.PacketSize(), 3000);
    EXPECT_EQ(port.InBufSize(), 3000u);
    // Above the largest buffer the size is held there (and the writers end).
    port.SetPacketSize(20000);
    EXPECT_EQ(port.PacketSize(), 8192);
    EXPECT_EQ(port.InBufSize(), 8192u);

    port.SetPollingDelay(2);
    EXPECT_EQ(port.PollingDelay(), 5);
    port.SetPollingDelay(40);
    port.SetPacketTimeout(10);
    EXPECT_EQ(port.PacketTimeout(), 56);
    port.SetPacketTimeout(0);
    EXPECT_EQ(port.PacketTimeout(), -1);
    port.SetPacketTimeout(50);
    EXPECT_EQ(port.PacketTimeout(), 50);
    // A new polling delay writes the time-out again.
    port.SetPollingDelay(100);
    EXPECT_EQ(port.PacketTimeout(), 140);
}

TEST(CommPortClosed, EveryOperationDoesNothing) {
    TCommPortDriver port;
    const uint8_t byte = 1;
    EXPECT_FALSE(port.ApplySettings());
    EXPECT_FALSE(port.FlushBuffers(true, true));
    EXPECT_EQ(port.OutFreeSpace(), -1);
    EXPECT_TRUE(port.GetLineStatus().none());
    EXPECT_EQ(port.SendData(&byte, 1), 0u);
    port.SetDTR(true);
    port.WaitForOutput();
    bool called = false;
    port.OnReceiveData = [&](TCommPortDriver*, const uint8_t*, uint32_t) { called = true; };
    port.TimerWndProc();
    EXPECT_FALSE(called);
}

TEST(CommPortClosed, AMissingPortStaysClosed) {
    setenv("ZEKO_COM7", "/dev/no-such-line", 1);
    TCommPortDriver port;
    port.SetPort(pnCOM7);
    EXPECT_FALSE(port.Connect());
    EXPECT_FALSE(port.Connected());
    unsetenv("ZEKO_COM7");
}

namespace {

class CommPortOnPty : public ::testing::Test {
protected:
    CommPortOnPty() {
        port.SetPortName(pty.SlavePath());
        port.OnReceiveData = [this](TCommPortDriver* sender, const uint8_t* data, uint32_t size) {
            EXPECT_EQ(sender, &port);
            received.insert(received.end(), data, data + size);
            ++events;
        };
        port.OnReceivePacket = [this](TCommPortDriver*, const uint8_t* data, uint32_t size) {
            packets.emplace_back(data, data + size);
        };
    }

    // Polls by hand until `events` or `packets` grows or a generous time passes.
    void PollUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 400 && !done(); ++i) {
            port.TimerWndProc();
            if (!done())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    test::PseudoTerminal pty;
    TCommPortDriver port;
    Bytes received;
    int events = 0;
    std::vector<Bytes> packets;
};

} // namespace

TEST_F(CommPortOnPty, APortOpenElsewhereStaysClosed) {
    ASSERT_TRUE(port.Connect());
    TCommPortDriver other;
    other.SetPortName(pty.SlavePath());
    EXPECT_FALSE(other.Connect());
    EXPECT_FALSE(other.Connected());
    port.Disconnect();
    EXPECT_TRUE(other.Connect());
}

TEST_F(CommPortOnPty, ConnectPurgesOnceAndNotAgainWhenOpen) {
    pty.Write({9, 9, 9});  // stale bytes before the open
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(port.Connect());
    pty.Write({1, 2});
    PollUntil([&] { return received.size() >= 2; });
    EXPECT_EQ(received, (Bytes{1, 2}));
    pty.Write({3});
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(port.Connect());  // no reopen, no purge
    PollUntil([&] { return received.size() >= 3; });
    EXPECT_EQ(received, (Bytes{1, 2, 3}));
}

TEST_F(CommPortOnPty, APollThatFindsNoBytesCallsNoEvent) {
    ASSERT_TRUE(port.Connect());
    for (int i = 0; i < 5; ++i)
        port.TimerWndProc();
    EXPECT_EQ(events, 0);
}

TEST_F(CommPortOnPty, ThePollingTimerDeliversInTheMainThread) {
    PumpedMainThread queue;
    SetMainThread(&queue);
    ASSERT_TRUE(port.Connect());
    pty.Write({0xA5, 0x3F, 0x08});
    EXPECT_TRUE(queue.PumpUntil([&] { return received.size() == 3; }, 5000));
    port.Disconnect();
    pty.Write({1});
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    queue.Pump();
    EXPECT_EQ(received.size(), 3u);
    SetMainThread(nullptr);
}

TEST_F(CommPortOnPty, ReadsAreHeldToTheBufferSize) {
    port.SetInBufSize(128);
    ASSERT_TRUE(port.Connect());
    pty.Write(Bytes(300, 0x42));
    PollUntil([&] { return received.size() >= 300; });
    EXPECT_EQ(received.size(), 300u);
    EXPECT_GE(events, 3);
}

TEST_F(CommPortOnPty, WritesReachTheLineAndGiveUpWhenNothingMoves) {
    ASSERT_TRUE(port.Connect());
    EXPECT_EQ(port.OutFreeSpace(), 2048);
    const Bytes telegram = {0xFF, 0xA5, 0x08, 0x3F, 0x02, 0x12, 0x01, 0x02, 0x0E, 0xEF};
    EXPECT_EQ(port.SendData(telegram.data(), telegram.size()), telegram.size());
    EXPECT_EQ(pty.Read(telegram.size()), telegram);
    // Nobody reads the far end: the line fills and the write stops after the time-out.
    const Bytes lots(1 << 20, 0x55);
    const uint32_t sent = port.SendDataWithTimeout(lots.data(), lots.size(), 50);
    EXPECT_GT(sent, 0u);
    EXPECT_LT(sent, lots.size());
}

TEST_F(CommPortOnPty, WithCheckLineStatusALineWithoutStatusLinesSendsNothing) {
    port.SetCheckLineStatus(true);
    ASSERT_TRUE(port.Connect());
    const uint8_t byte = 0x55;
    EXPECT_TRUE(port.GetLineStatus().none());
    EXPECT_EQ(port.SendData(&byte, 1), 0u);
}

TEST_F(CommPortOnPty, LineSettingsApplyAtOnceWhileOpen) {
    ASSERT_TRUE(port.Connect());
    EXPECT_EQ(pty.SlaveBaudRate(), 9600u);
    port.SetBaudRate(br19200);
    EXPECT_EQ(pty.SlaveBaudRate(), 19200u);
    port.SetBaudRateValue(4800);
    EXPECT_EQ(pty.SlaveBaudRate(), 4800u);
    // Port, name and buffer sizes wait for the next open.
    port.SetPort(pnCOM4);
    port.SetInBufSize(4096);
    EXPECT_EQ(port.PortName(), pty.SlavePath());
    EXPECT_EQ(port.InBufSize(), 2048u);
}

TEST_F(CommPortOnPty, PacketsAreCutAndARemainderTimesOut) {
    ManualTickSource clock(1000);
    SetTickSource(&clock);
    port.SetPollingDelay(40);
    port.SetPacketSize(4);
    port.SetPacketTimeout(100);
    port.SetPacketMode(pmPass);
    ASSERT_TRUE(port.Connect());
    pty.Write({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    PollUntil([&] { return !packets.empty(); });
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_EQ(packets[0], (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(packets[1], (Bytes{5, 6, 7, 8}));
    clock.Advance(100);
    port.TimerWndProc();
    EXPECT_EQ(packets.size(), 2u);  // not yet more than the time-out
    clock.Advance(1);
    port.TimerWndProc();
    ASSERT_EQ(packets.size(), 3u);
    EXPECT_EQ(packets[2], (Bytes{9, 10}));
    EXPECT_EQ(events, 0);

    // pmDiscard: the incomplete packet is dropped at its time-out.
    port.SetPacketMode(pmDiscard);
    pty.Write({11});
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    port.TimerWndProc();  // first seen now
    clock.Advance(101);
    port.TimerWndProc();
    pty.Write({12, 13, 14, 15});
    PollUntil([&] { return packets.size() > 3; });
    ASSERT_EQ(packets.size(), 4u);
    EXPECT_EQ(packets[3], (Bytes{12, 13, 14, 15}));
    SetTickSource(nullptr);
}

namespace {

// The steps of the sender thread with the time each came, in microseconds of the
// monotonic clock.
struct LineSteps {
    struct Step {
        TLineStep What;
        uint32_t Count;
        uint64_t At;
        std::thread::id Thread;
    };
    void Watch(TCommPortDriver& port) {
        port.OnLineStep = [this](TLineStep what, uint32_t count) {
            std::lock_guard<std::mutex> lock(mutex);
            steps.push_back({what, count, MonotonicMicroseconds(), std::this_thread::get_id()});
        };
    }
    std::vector<Step> Taken() {
        std::lock_guard<std::mutex> lock(mutex);
        return steps;
    }
    std::mutex mutex;
    std::vector<Step> steps;
};

constexpr TDirectionSwitch Switched{true, 2000};

// The wire model for one test, off again however the test ends.
struct WireTime {
    WireTime() { SerialLine::ModelWireTime(true); }
    ~WireTime() { SerialLine::ModelWireTime(false); }
};
const Bytes Telegram = {0xFF, 0xA5, 0x08, 0x3F, 0x02, 0x12, 0x01, 0x02, 0x0E, 0xEF};

} // namespace

TEST_F(CommPortOnPty, ATransmissionSwitchesTheDirectionAroundItsBytesInItsOwnThread) {
    // At 1200 Bd with the wire modelled, the ten bytes take 83 ms after the write.
    const WireTime wire;
    LineSteps seen;
    seen.Watch(port);
    port.SetBaudRateValue(1200);
    ASSERT_TRUE(port.Connect());
    port.Transmit(Telegram, Switched);
    EXPECT_EQ(pty.Read(Telegram.size()), Telegram);
    port.WaitForTransmissions();
    const auto steps = seen.Taken();
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_NE(steps[0].Thread, std::this_thread::get_id());
    EXPECT_EQ(steps[0].What, TLineStep::DtrOn);
    EXPECT_EQ(steps[1].What, TLineStep::Written);
    EXPECT_EQ(steps[1].Count, Telegram.size());
    EXPECT_EQ(steps[2].What, TLineStep::Drained);
    EXPECT_EQ(steps[3].What, TLineStep::DtrOff);
    // The guards last more than 2 ms; the drain waits for the last byte's time.
    EXPECT_GT(steps[1].At - steps[0].At, 2000u);
    EXPECT_GE(steps[2].At - steps[1].At, Telegram.size() * 10 * 1'000'000 / 1200 - 1000);
    EXPECT_GT(steps[3].At - steps[2].At, 2000u);

    // Without the switch only the bytes go.
    port.Transmit(Telegram, {});
    port.WaitForTransmissions();
    ASSERT_EQ(seen.Taken().size(), 5u);
    EXPECT_EQ(seen.Taken()[4].What, TLineStep::Written);
    EXPECT_EQ(pty.Read(Telegram.size()), Telegram);
}

TEST_F(CommPortOnPty, TransmitReturnsWhileTheSenderIsStillAtWork) {
    // The sender is held at its first step until the caller has come back.
    std::mutex mutex;
    std::condition_variable changed;
    bool returned = false, held = false;
    port.OnLineStep = [&](TLineStep what, uint32_t) {
        if (what != TLineStep::DtrOn)
            return;
        std::unique_lock<std::mutex> lock(mutex);
        held = true;
        changed.notify_all();
        changed.wait_for(lock, std::chrono::seconds(10), [&] { return returned; });
    };
    ASSERT_TRUE(port.Connect());
    port.Transmit(Telegram, Switched);
    {
        std::unique_lock<std::mutex> lock(mutex);
        EXPECT_TRUE(changed.wait_for(lock, std::chrono::seconds(10), [&] { return held; }));
        returned = true;
        changed.notify_all();
    }
    EXPECT_EQ(pty.Read(Telegram.size()), Telegram);
    // The sender may still be in the handler, on this test's mutex and condition.
    port.WaitForTransmissions();
}

TEST_F(CommPortOnPty, EveryOperationOnTheLineKeepsTheOrderOfTheCalls) {
    LineSteps seen;
    seen.Watch(port);
    ASSERT_TRUE(port.Connect());
    const Bytes first(40, 0x11), second(40, 0x22), third = {0x33, 0x33};
    port.Transmit(first, Switched);
    port.Transmit(second, Switched);
    // A direct write waits for the transmissions before it.
    EXPECT_EQ(port.SendData(third.data(), third.size()), third.size());
    EXPECT_EQ(seen.Taken().size(), 8u);
    Bytes expected = first;
    expected.insert(expected.end(), second.begin(), second.end());
    expected.insert(expected.end(), third.begin(), third.end());
    EXPECT_EQ(pty.Read(expected.size()), expected);
    const auto steps = seen.Taken();
    for (size_t i = 0; i < steps.size(); ++i)
        EXPECT_EQ(steps[i].What, static_cast<TLineStep>(i % 4)) << i;
}

TEST_F(CommPortOnPty, DisconnectSendsWhatWasHandedOverFirst) {
    LineSteps seen;
    seen.Watch(port);
    ASSERT_TRUE(port.Connect());
    port.Transmit(Telegram, Switched);
    port.Transmit(Telegram, Switched);
    port.Disconnect();
    EXPECT_EQ(seen.Taken().size(), 8u);
    EXPECT_EQ(seen.Taken().back().What, TLineStep::DtrOff);
    Bytes twice = Telegram;
    twice.insert(twice.end(), Telegram.begin(), Telegram.end());
    EXPECT_EQ(pty.Read(twice.size()), twice);
    port.Transmit(Telegram, Switched);  // closed: nothing
    EXPECT_EQ(seen.Taken().size(), 8u);
}

TEST_F(CommPortOnPty, ArrivingBytesAreTakenUpWithoutWaitingForThePollingTick) {
    PumpedMainThread queue;
    SetMainThread(&queue);
    port.SetPollingDelay(60000);  // a tick would come after a minute
    ASSERT_TRUE(port.Connect());
    pty.Write({0xA5, 0x3F, 0x08});
    EXPECT_TRUE(queue.PumpUntil([&] { return received.size() == 3; }, 20000));
    pty.Write({0x03});
    EXPECT_TRUE(queue.PumpUntil([&] { return received.size() == 4; }, 20000));
    port.Disconnect();
    SetMainThread(nullptr);
}

TEST(CommPortOnALine, AReceiveHandlerMayFreeThePort) {
    PumpedMainThread queue;
    SetMainThread(&queue);
    test::PseudoTerminal pty;
    auto port = std::make_unique<TCommPortDriver>();
    port->SetPortName(pty.SlavePath());
    bool freed = false;
    port->OnReceiveData = [&](TCommPortDriver*, const uint8_t*, uint32_t) {
        freed = true;
        port.reset();  // the handler's own closure goes with it: nothing after this
    };
    ASSERT_TRUE(port->Connect());
    pty.Write({1});
    EXPECT_TRUE(queue.PumpUntil([&] { return freed; }, 5000));
    EXPECT_EQ(port, nullptr);
    SetMainThread(nullptr);
}

namespace {

// A port by the name of a link that is pointed at one pseudo-terminal after the
// other, as an adapter's device name is given to the adapter each time it is
// plugged in; the far end closed is the adapter pulled out.
class CommPortOnAnAdapter : public ::testing::Test {
protected:
    CommPortOnAnAdapter() {
        SetMainThread(&queue);
        port.SetPortName(link);
        port.OnLineLost = [this](TCommPortDriver* sender) {
            EXPECT_EQ(sender, &port);
            EXPECT_FALSE(port.Connected());  // closed before it is told
            ++lost;
        };
        port.OnLineBack = [this](TCommPortDriver* sender) {
            EXPECT_EQ(sender, &port);
            EXPECT_TRUE(port.Connected());
            ++back;
        };
        port.OnReceiveData = [this](TCommPortDriver*, const uint8_t* data, uint32_t size) {
            received.insert(received.end(), data, data + size);
        };
        PlugIn();
    }
    ~CommPortOnAnAdapter() override {
        port.Disconnect();
        SetMainThread(nullptr);
    }

    void PlugIn() {
        adapter = std::make_unique<test::PseudoTerminal>();
        ::unlink(link.c_str());
        ASSERT_EQ(::symlink(adapter->SlavePath().c_str(), link.c_str()), 0);
    }
    void PullOut() {
        ::unlink(link.c_str());
        adapter.reset();
    }

    PumpedMainThread queue;
    test::TempDir dir;
    const std::string link = dir / "ttyUSB0";
    std::unique_ptr<test::PseudoTerminal> adapter;
    TCommPortDriver port;
    int lost = 0, back = 0;
    Bytes received;
};

} // namespace

TEST_F(CommPortOnAnAdapter, ALineThatGoesAwayIsClosedToldAndOpenedAgainOnceItIsBack) {
    ASSERT_TRUE(port.Connect());
    PullOut();
    ASSERT_TRUE(queue.PumpUntil([&] { return lost == 1; }, 5000));
    EXPECT_TRUE(port.LineLost());
    // Nothing goes anywhere while it is gone, and a try at once fails as an open does.
    const uint8_t byte = 0x55;
    EXPECT_EQ(port.SendData(&byte, 1), 0u);
    EXPECT_FALSE(port.ReopenLostLine());
    EXPECT_EQ(port.ConnectFailure(), SerialLineFailure::Missing);
    EXPECT_FALSE(queue.PumpUntil([&] { return back > 0; }, 2 * TCommPortDriver::ReopenIntervalMs + 200));
    EXPECT_EQ(lost, 1);

    PlugIn();
    ASSERT_TRUE(queue.PumpUntil([&] { return back == 1; }, 3 * TCommPortDriver::ReopenIntervalMs));
    EXPECT_FALSE(port.LineLost());
    adapter->Write({0xA5, 0x3F});
    EXPECT_TRUE(queue.PumpUntil([&] { return received.size() == 2; }, 5000));
    const Bytes telegram = {0xFF, 0xA5, 0x08, 0x3F};
    EXPECT_EQ(port.SendData(telegram.data(), telegram.size()), telegram.size());
    EXPECT_EQ(adapter->Read(telegram.size()), telegram);

    // Gone again, and back again: each time told once.
    PullOut();
    ASSERT_TRUE(queue.PumpUntil([&] { return lost == 2; }, 5000));
    PlugIn();
    ASSERT_TRUE(queue.PumpUntil([&] { return back == 2; }, 3 * TCommPortDriver::ReopenIntervalMs));
}

TEST_F(CommPortOnAnAdapter, ATryOfTheUserOpensTheLineAtOnceAndDisconnectEndsTheTries) {
    ASSERT_TRUE(port.Connect());
    PullOut();
    ASSERT_TRUE(queue.PumpUntil([&] { return lost == 1; }, 5000));
    PlugIn();
    EXPECT_TRUE(port.ReopenLostLine());
    EXPECT_EQ(back, 1);
    EXPECT_TRUE(port.Connected());

    PullOut();
    ASSERT_TRUE(queue.PumpUntil([&] { return lost == 2; }, 5000));
    // Closed by its owner, the line is not tried any more, nor lost when it goes.
    port.Disconnect();
    EXPECT_FALSE(port.LineLost());
    PlugIn();
    EXPECT_FALSE(queue.PumpUntil([&] { return back > 1; }, 2 * TCommPortDriver::ReopenIntervalMs + 200));
    EXPECT_FALSE(port.Connected());
}

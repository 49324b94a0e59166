// The link layer against the simulated regulator on a pseudo-terminal, byte for byte.
#include "core/Komunikace.h"

#include "core/FrameParser.h"
#include "core/RecordMemory.h"
#include "core/RegisterTables.h"
#include "platform/MainThread.h"
#include "support/RegsimProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace zeko;
using zeko::test::RegsimLog;
using zeko::test::RegsimProcess;
using Bytes = std::vector<uint8_t>;

namespace {

// The link layer opened on COM1 as the main window opens it, with the frame parser
// installed as its receive handler and the polling timer pumped in this thread.
class Conversation {
public:
    explicit Conversation(RegsimProcess& sim) : parser(link) {
        SetMainThread(&mainThread);
        sim.MapToCom(1);
        link.SetAddressRange(0, 65535);
        link.SelectPort(1);
        link.CrcDestinations.set(8);
        opened = link.OpenPort(4800);
        link.SetDTR(false);
        link.SetOnReceiveData([this](TCommPortDriver*, const uint8_t* data, uint32_t size) {
            parser.ReceiveBytes(data, size);
        });
        link.MatchLastSent = true;
        parser.OnRegulatorReply = [this](const uint8_t* frame) {
            replies.emplace_back(frame, frame + 5 + (frame[3] & 0x1F) + 2);
        };
    }
    ~Conversation() {
        link.Port->Disconnect();
        SetMainThread(nullptr);
        unsetenv("ZEKO_COM1");
    }

    // Pumps the main thread until a reply arrives; the head telegram goes out again
    // every `repeatMs` without one, as the send timer repeats it.
    bool AwaitReply(int timeoutMs = 10000, int repeatMs = 400) {
        const size_t before = replies.size();
        for (int waited = 0; waited < timeoutMs; waited += repeatMs) {
            if (mainThread.PumpUntil([&] { return replies.size() > before; }, repeatMs))
                return true;
            link.SendNext();
        }
        return false;
    }

    PumpedMainThread mainThread;
    TKomunikace link;
    TFrameParser parser;
    std::vector<Bytes> replies;
    bool opened = false;
};

} // namespace

TEST(LinkEndToEnd, TheFirstThreeTelegramsOfTheStartUpAndTheirReply) {
    RegsimProcess sim({"--pace", "4800"});
    Conversation c(sim);
    ASSERT_TRUE(c.opened);

    c.link.SetDataByte(1, 64);
    c.link.QueueTelegram(63, 8, 1, 1, 0x0000, 1, 64);
    c.link.SendNext();
    c.link.DropHead();
    c.link.SetDataByte(1, 1);
    c.link.QueueTelegram(63, 8, 1, 1, 0x0001, 1, 1);
    c.link.SendNext();
    c.link.DropHead();
    c.link.QueueTableTelegram(63, 8, 0, 0, reg8::SettingsByte);
    c.link.SendNext();

    ASSERT_TRUE(c.AwaitReply());
    ASSERT_EQ(c.replies.size(), 1u);
    EXPECT_EQ(HexBytes(c.replies[0]), "A5 3F 08 03 11 01 02 0E 00 EF");
    EXPECT_TRUE(c.parser.ReceiveBuffer.empty());

    ASSERT_TRUE(sim.WaitForLog([](const RegsimLog& log) { return zeko::test::CountSent(log) >= 1; }));
    const auto received = sim.Received();
    ASSERT_GE(received.size(), 3u);
    EXPECT_EQ(HexBytes(received[0]), "FF A5 08 3F 05 0F A1 00 00 40 60 BF");
    EXPECT_EQ(HexBytes(received[1]), "FF A5 08 3F 05 0F A1 01 00 01 D3 8A");
    EXPECT_EQ(HexBytes(received[2]), "FF A5 08 3F 02 12 01 02 0E EF");
    EXPECT_EQ(sim.Sent().size(), 1u) << "the start-up writes get no reply";
}

TEST(LinkEndToEnd, OnlyTheRightRepliesGetThroughAFaultyLine) {
    // Records 2357..2360 lie on both sides of the change of address bits 16..23.
    RegsimProcess sim({"--records", "10", "--first-index", "2355", "--seed", "3", "--noise", "40", "--corrupt", "25",
                       "--wrong-address", "25", "--split", "30", "--double", "30", "--drop", "10"});
    Conversation c(sim);
    ASSERT_TRUE(c.opened);

    struct Step {
        uint32_t record;  // the record to read, or none for the address byte write
        uint8_t upper;
    };
    const Step steps[] = {{~0u, 0}, {2357, 0}, {2358, 0}, {~0u, 1}, {2359, 1}, {2360, 1}};
    for (const Step& s : steps) {
        if (s.record == ~0u) {
            c.link.SetDataByte(1, s.upper);
            c.link.QueueTelegram(63, 8, 1, 0, 0x0113, 1, 0);
        } else {
            c.link.QueueTelegram(63, 8, 0, 2, static_cast<uint16_t>(RecordAddress(s.record)), 27, 0);
        }
        const Bytes request = c.link.HeadTelegram();
        c.link.SendNext();
        ASSERT_TRUE(c.AwaitReply(20000)) << "no reply to " << HexBytes(request);
        const Bytes& reply = c.replies.back();
        // Whatever the line did, the reply that came through answers this request.
        EXPECT_EQ(reply[5] & 0x7F, request[5] & 0x7F) << HexBytes(reply);
        EXPECT_EQ(reply[6], request[6]) << HexBytes(reply);
        EXPECT_EQ(reply[7], request[7]) << HexBytes(reply);
        if (s.record != ~0u) {
            EXPECT_EQ(HexBytes(Bytes(reply.begin() + 8, reply.end() - 1)), HexBytes(sim.RingRecord(s.record)))
                << "record " << s.record;
        }
        c.link.DropHead();
        // A doubled reply that arrives now answers nothing that is asked any more.
        c.replies.clear();
    }
    EXPECT_EQ(c.link.QueueCount(), 0);
    size_t faults = 0;
    for (const auto& line : sim.Log())
        faults += !line.Received && !line.Note.empty();
    EXPECT_GT(faults, 0u) << "the line was meant to be faulty";
}

TEST(LinkEndToEnd, AReplyThatComesWhileTheTelegramIsStillOnItsWayIsTakenAndTheNextWaitsItsTurn) {
    RegsimProcess sim;  // unpaced: it answers the moment the bytes are through the pty
    Conversation c(sim);
    ASSERT_TRUE(c.opened);
    // The port's sender is held after the first telegram's bytes, before its drain
    // and the closing guard, until the reply has been handled and the next telegram
    // sent: the line's order must still be telegram, turn-around, telegram.
    std::mutex mutex;
    std::condition_variable changed;
    bool released = false;
    std::vector<TLineStep> steps;
    c.link.Port->OnLineStep = [&](TLineStep step, uint32_t) {
        std::unique_lock<std::mutex> lock(mutex);
        steps.push_back(step);
        if (steps.size() == 2)
            changed.wait_for(lock, std::chrono::seconds(20), [&] { return released; });
    };
    c.link.QueueTableTelegram(63, 8, 0, 0, reg8::SettingsByte);
    c.link.SendNext();
    ASSERT_TRUE(c.mainThread.PumpUntil([&] { return !c.replies.empty(); }, 10000));
    EXPECT_EQ(HexBytes(c.replies[0]), "A5 3F 08 03 11 01 02 0E 00 EF");
    {
        // The reply may even overtake the sender's note of its write, never its drain.
        std::lock_guard<std::mutex> lock(mutex);
        EXPECT_LE(steps.size(), 2u) << "the first telegram was through before its reply";
    }
    c.link.DropHead();
    c.link.QueueTableTelegram(63, 8, 0, 0, reg8::LiveValues);
    c.link.SendNext();
    {
        std::lock_guard<std::mutex> lock(mutex);
        released = true;
    }
    changed.notify_all();
    ASSERT_TRUE(c.AwaitReply());
    EXPECT_EQ(c.replies.back()[6], 0x00);  // the live values' register 0xFF00
    EXPECT_EQ(c.replies.back()[7], 0xFF);
    c.link.Port->WaitForTransmissions();
    const std::vector<TLineStep> turn = {TLineStep::DtrOn, TLineStep::Written, TLineStep::Drained, TLineStep::DtrOff};
    std::vector<TLineStep> twice = turn;
    twice.insert(twice.end(), turn.begin(), turn.end());
    EXPECT_EQ(steps, twice);
    const auto received = sim.Received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(HexBytes(received[0]), "FF A5 08 3F 02 12 01 02 0E EF");
    EXPECT_EQ(HexBytes(received[1]), "FF A5 08 3F 02 12 10 00 FF F1");
}

// A bus adapter that turns its transmit direction by itself ignores DTR; the
// simulated regulator's pty has no modem lines at all, so it stands for one: the
// program switches DTR around each telegram as for any adapter, the switch reaches
// nothing, and every request is answered all the same.
TEST(LinkEndToEnd, AnAdapterThatTurnsItsDirectionByItselfIsAnsweredWithoutDtr) {
    RegsimProcess sim({"--pace", "4800"});
    const int probe = ::open(sim.PtyPath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(probe, 0);
    int lines = 0;
    EXPECT_NE(::ioctl(probe, TIOCMGET, &lines), 0) << "this line has modem lines";
    ::close(probe);

    Conversation c(sim);
    ASSERT_TRUE(c.opened);
    std::mutex mutex;
    std::vector<TLineStep> steps;
    c.link.Port->OnLineStep = [&](TLineStep step, uint32_t) {
        std::lock_guard<std::mutex> lock(mutex);
        steps.push_back(step);
    };
    for (const uint8_t index : {reg8::SettingsByte, reg8::LiveValues}) {
        c.link.QueueTableTelegram(63, 8, 0, 0, index);
        c.link.SendNext();
        ASSERT_TRUE(c.AwaitReply()) << "no reply without DTR";
        c.link.DropHead();
    }
    c.link.Port->WaitForTransmissions();
    std::lock_guard<std::mutex> lock(mutex);
    const std::vector<TLineStep> turn = {TLineStep::DtrOn, TLineStep::Written, TLineStep::Drained, TLineStep::DtrOff};
    ASSERT_EQ(steps.size(), 8u);
    EXPECT_TRUE(std::equal(turn.begin(), turn.end(), steps.begin()));
    EXPECT_TRUE(std::equal(turn.begin(), turn.end(), steps.begin() + 4));
    EXPECT_EQ(HexBytes(c.replies[0]), "A5 3F 08 03 11 01 02 0E 00 EF");
    const auto received = sim.Received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(HexBytes(received[0]), "FF A5 08 3F 02 12 01 02 0E EF");
    EXPECT_EQ(HexBytes(received[1]), "FF A5 08 3F 02 12 10 00 FF F1");
}

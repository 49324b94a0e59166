#include "support/RegsimProcess.h"

#include "core/Telegram.h"
#include "platform/SerialLine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace zeko;
using zeko::test::RegsimLog;
using zeko::test::RegsimProcess;
using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

namespace {

const Bytes kReadSettingsByte = {0xFF, 0xA5, 0x08, 0x3F, 0x02, 0x12, 0x01, 0x02, 0x0E, 0xEF};
const char* kSettingsByteReply = "A5 3F 08 03 11 01 02 0E 00 EF";

// The program's side of the line, opened as the port component opens it.
struct Line {
    explicit Line(const std::string& path) {
        EXPECT_TRUE(line.Open(path));
        SerialLineSettings s;
        s.BaudRate = 4800;
        EXPECT_TRUE(line.Apply(s));
    }
    // What comes within `ms` after sending.
    Bytes Ask(const Bytes& request, size_t expected, int ms = 5000) {
        line.Write(request.data(), request.size());
        Bytes got;
        const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
        while (got.size() < expected && Clock::now() < deadline) {
            uint8_t buf[256];
            const long n = line.Read(buf, sizeof buf);
            if (n > 0)
                got.insert(got.end(), buf, buf + n);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return got;
    }
    // The time from sending to the first byte of the reply; the whole reply is read.
    Clock::duration FirstByteAfter(const Bytes& request, size_t expected) {
        const auto sent = Clock::now();
        line.Write(request.data(), request.size());
        Clock::time_point first{};
        Bytes got;
        while (got.size() < expected && Clock::now() - sent < std::chrono::seconds(5)) {
            uint8_t buf[256];
            const long n = line.Read(buf, sizeof buf);
            if (n > 0) {
                if (got.empty())
                    first = Clock::now();
                got.insert(got.end(), buf, buf + n);
            }
        }
        EXPECT_EQ(got.size(), expected);
        return first - sent;
    }
    SerialLine line;
};

} // namespace

TEST(RegsimProcess, AnswersOnItsPtyAndLogsBothDirections) {
    RegsimProcess sim({"--records", "8", "--first-index", "2355", "--start", "2024-03-01 00:15"});
    EXPECT_EQ(sim.PtyPath().rfind("/dev/pts/", 0), 0u) << sim.PtyPath();
    Line line(sim.PtyPath());
    EXPECT_EQ(HexBytes(line.Ask(kReadSettingsByte, 10)), kSettingsByteReply);
    ASSERT_TRUE(sim.WaitForLog([](const RegsimLog& log) { return zeko::test::CountSent(log) == 1; }));
    const auto log = sim.Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_TRUE(log[0].Received);
    EXPECT_EQ(log[0].Bytes, kReadSettingsByte);
    EXPECT_EQ(HexBytes(log[1].Bytes), kSettingsByteReply);
    EXPECT_LE(log[0].Time, log[1].Time);
    // The ring as exported: the first generated record and an empty place.
    const Bytes first = sim.RingRecord(2355);
    ASSERT_EQ(first.size(), 27u);
    EXPECT_EQ(HexBytes(Bytes(first.begin(), first.begin() + 6)), "00 15 00 01 03 24");
    EXPECT_EQ(sim.RingRecord(0), Bytes(27, 0xFF));
    EXPECT_TRUE(sim.RingRecord(75325).empty());
}

TEST(RegsimProcess, TheLineMayBeClosedAndOpenedAgain) {
    RegsimProcess sim;
    {
        Line first(sim.PtyPath());
        EXPECT_EQ(HexBytes(first.Ask(kReadSettingsByte, 10)), kSettingsByteReply);
    }
    Line again(sim.PtyPath());
    EXPECT_EQ(HexBytes(again.Ask(kReadSettingsByte, 10)), kSettingsByteReply);
}

TEST(RegsimProcess, SilenceIsLoggedAsDropped) {
    RegsimProcess sim({"--drop", "100"});
    Line line(sim.PtyPath());
    EXPECT_TRUE(line.Ask(kReadSettingsByte, 1, 300).empty());
    ASSERT_TRUE(sim.WaitForLog([](const RegsimLog& log) { return !log.empty(); }));
    EXPECT_EQ(sim.Log()[0].Note, "dropped");
}

TEST(RegsimProcess, ItFallsSilentAfterSomeRepliesOrWhenTold) {
    RegsimProcess sim({"--mute-after", "1"});
    Line line(sim.PtyPath());
    EXPECT_EQ(HexBytes(line.Ask(kReadSettingsByte, 10)), kSettingsByteReply);
    EXPECT_TRUE(line.Ask(kReadSettingsByte, 1, 300).empty());
    sim.ToggleMute();  // silence off again
    ASSERT_TRUE(sim.WaitForLog([&](const RegsimLog& log) {
        return HexBytes(line.Ask(kReadSettingsByte, 10, 300)) == kSettingsByteReply;
    }));
    EXPECT_EQ(sim.Log()[2].Note, "muted");
}

TEST(RegsimProcess, PacedBytesTakeTheirLineTime) {
    RegsimProcess sim({"--pace", "1200"});  // 10 bytes at 1200 Bd: some 83 ms
    Line line(sim.PtyPath());
    const auto start = Clock::now();
    EXPECT_EQ(HexBytes(line.Ask(kReadSettingsByte, 10)), kSettingsByteReply);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(60));
}

// A regulator on the half-duplex bus answers only once the PC has let the bus go,
// the direction guard after the request's last byte, and after its own turnaround.
TEST(RegsimProcess, AReplyComesAfterTheDirectionGuardAndTheTurnaround) {
    using std::chrono::milliseconds;
    const struct {
        std::vector<std::string> args;
        Clock::duration earliest;
    } cases[] = {
        {{}, std::chrono::microseconds(2000)},
        {{"--turnaround", "40"}, milliseconds(42)},
        // 10 bytes of the request at 9600 Bd (10.4 ms), the guard, the turnaround
        // and the reply's first byte (1 ms).
        {{"--pace", "9600", "--turnaround", "5"}, milliseconds(18)},
    };
    for (const auto& c : cases) {
        RegsimProcess sim(c.args);
        Line line(sim.PtyPath());
        for (int i = 0; i < 3; ++i)
            EXPECT_GE(line.FirstByteAfter(kReadSettingsByte, 10), c.earliest) << c.args.size() << " options";
    }
}

TEST(RegsimProcess, ABadOptionKeepsItFromStarting) {
    EXPECT_THROW(RegsimProcess({"--drop", "many"}), std::runtime_error);
}

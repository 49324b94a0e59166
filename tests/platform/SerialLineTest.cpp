#include "platform/SerialLine.h"

#include "platform/DeviceAccess.h"
#include "support/PseudoTerminal.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <grp.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace zeko;
using zeko::test::PseudoTerminal;

namespace {

std::vector<uint8_t> ReadFromLine(SerialLine& line, size_t count) {
    std::vector<uint8_t> out(count);
    size_t got = 0;
    for (int i = 0; i < 200 && got < count; ++i) {
        const long n = line.Read(out.data() + got, count - got);
        if (n < 0)
            break;
        got += static_cast<size_t>(n);
        if (got < count)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    out.resize(got);
    return out;
}

int WaitForBytes(SerialLine& line, int count) {
    int n = 0;
    for (int i = 0; i < 200 && (n = line.BytesWaiting()) < count; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return n;
}

} // namespace

TEST(SerialLineNames, ComNamesMapToTheEnvironmentOrToTtyS) {
    setenv("ZEKO_COM3", "/dev/pts/77", 1);
    unsetenv("ZEKO_COM4");
    EXPECT_EQ(SerialLine::DevicePath("\\\\.\\COM3"), "/dev/pts/77");
    EXPECT_EQ(SerialLine::DevicePath("com3"), "/dev/pts/77");
    EXPECT_EQ(SerialLine::DevicePath("\\\\.\\COM4"), "/dev/ttyS3");
    EXPECT_EQ(SerialLine::DevicePath("\\\\.\\COM12"), "/dev/ttyS11");
    EXPECT_EQ(SerialLine::DevicePath("/dev/ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(SerialLine::DevicePath("\\\\.\\COM"), "\\\\.\\COM");
    EXPECT_EQ(SerialLine::DevicePath("COMX1"), "COMX1");
    unsetenv("ZEKO_COM3");
}

TEST(SerialLine, AMissingDeviceOrAPlainFileDoesNotOpen) {
    SerialLine line;
    EXPECT_FALSE(line.Open("/dev/no-such-serial-line"));
    EXPECT_FALSE(line.Open("/etc/hostname"));
    EXPECT_FALSE(line.IsOpen());
    EXPECT_EQ(line.BytesWaiting(), -1);
    EXPECT_EQ(line.Read(nullptr, 0), -1);
    EXPECT_FALSE(line.Apply({}));
}

// The user is told what to mend, so each way of not opening is told apart.
TEST(SerialLine, ALineThatDidNotOpenSaysWhy) {
    PseudoTerminal pty;
    const test::TempDir dir;
    SerialLine holder;
    ASSERT_TRUE(holder.Open(pty.SlavePath()));
    const struct {
        std::string path;
        SerialLineFailure failure;
    } cases[] = {
        {"/dev/no-such-serial-line", SerialLineFailure::Missing},
        {dir / "no-folder/ttyUSB0", SerialLineFailure::Missing},
        {"/etc/hostname", SerialLineFailure::NotSerial},
        {dir.Path(), SerialLineFailure::NotSerial},
        {pty.SlavePath(), SerialLineFailure::InUse},
    };
    for (const auto& c : cases) {
        SerialLine line;
        EXPECT_FALSE(line.Open(c.path)) << c.path;
        EXPECT_EQ(line.Failure(), c.failure) << c.path;
    }
    holder.Close();
    SerialLine line;
    ASSERT_TRUE(line.Open(pty.SlavePath()));
    EXPECT_EQ(line.Failure(), SerialLineFailure::None);
    SerialLineSettings settings;
    settings.BaudRate = 0;
    EXPECT_FALSE(line.Apply(settings));
    EXPECT_EQ(line.Failure(), SerialLineFailure::Refused);
    line.Close();
    EXPECT_EQ(line.Failure(), SerialLineFailure::Refused);  // still there for the message
    ASSERT_TRUE(line.Open(pty.SlavePath()));
    EXPECT_TRUE(line.Apply({}));
    EXPECT_EQ(line.Failure(), SerialLineFailure::None);
}

// A serial device as udev makes it (root, group dialout, crw-rw----), opened by a
// user outside the group: refused, not missing, and the group that may open it is
// named.
TEST(SerialLine, ADeviceTheUserMayNotOpenIsDeniedAndNamesItsGroup) {
    const std::optional<test::UnprivilegedUser> nobody = test::Nobody();
    const group* dialout = ::getgrnam("dialout");
    if (!nobody || !dialout)
        GTEST_SKIP() << "needs root and the group dialout";
    PseudoTerminal pty;
    ASSERT_EQ(::chown(pty.SlavePath().c_str(), 0, dialout->gr_gid), 0);
    ASSERT_EQ(::chmod(pty.SlavePath().c_str(), 0660), 0);
    const std::optional<std::string> seen = test::RunAs(*nobody, [&] {
        SerialLine line;
        const bool opened = line.Open(pty.SlavePath());
        const std::optional<DeviceAccess> access = DeviceAccessOf(pty.SlavePath());
        if (opened || !access)
            return std::string("opened or no access");
        return std::to_string(static_cast<int>(line.Failure())) + " " + access->User + " " + access->Owner + " " +
               access->Group + " " + access->Permissions + " " + std::to_string(access->GroupMayOpen) +
               std::to_string(access->InGroupNow) + std::to_string(access->InGroupAtNextLogin);
    });
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(*seen, std::to_string(static_cast<int>(SerialLineFailure::Denied)) + " " + nobody->Name +
                         " root dialout crw-rw---- 100");
    // Root itself opens it, as it opens any device.
    SerialLine line;
    EXPECT_TRUE(line.Open(pty.SlavePath()));
}

TEST(SerialLine, ALineOpenElsewhereDoesNotOpenAgainUntilItIsClosed) {
    PseudoTerminal pty;
    SerialLine first, second;
    ASSERT_TRUE(first.Open(pty.SlavePath()));
    EXPECT_FALSE(second.Open(pty.SlavePath()));
    first.Close();
    EXPECT_TRUE(second.Open(pty.SlavePath()));
}

TEST(SerialLine, BytesTravelBothWaysRaw) {
    PseudoTerminal pty;
    SerialLine line;
    ASSERT_TRUE(line.Open(pty.SlavePath()));
    SerialLineSettings s;
    s.BaudRate = 4800;
    ASSERT_TRUE(line.Apply(s));
    EXPECT_EQ(pty.SlaveBaudRate(), 4800u);

    // Every byte value, line ends and control characters included, passes unchanged.
    std::vector<uint8_t> all(256);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<uint8_t>(i);
    pty.Write(all);
    EXPECT_EQ(WaitForBytes(line, 256), 256);
    EXPECT_EQ(ReadFromLine(line, 256), all);

    const std::vector<uint8_t> telegram = {0xFF, 0xA5, 0x08, 0x3F, 0x02, 0x12, 0x01, 0x02, 0x0E, 0xEF, 0x0D, 0x0A};
    EXPECT_EQ(line.Write(telegram.data(), telegram.size()), static_cast<long>(telegram.size()));
    EXPECT_TRUE(line.Drain());
    EXPECT_EQ(pty.Read(telegram.size()), telegram);
}

TEST(SerialLine, AnyRateIsSetAndReadBack) {
    PseudoTerminal pty;
    SerialLine line;
    ASSERT_TRUE(line.Open(pty.SlavePath()));
    for (uint32_t rate : {4800u, 12345u, 250000u}) {
        SerialLineSettings s;
        s.BaudRate = rate;
        s.DataBits = 7;
        s.ParityMode = SerialLineSettings::Parity::Mark;
        s.Stop = SerialLineSettings::StopBits::Two;
        ASSERT_TRUE(line.Apply(s)) << rate;
        EXPECT_EQ(line.CurrentBaudRate(), rate);
    }
    SerialLineSettings zero;
    zero.BaudRate = 0;
    EXPECT_FALSE(line.Apply(zero));
}

TEST(SerialLine, PurgeDropsWhatWaitsAndModemLinesOfAPtyAreAbsent) {
    PseudoTerminal pty;
    SerialLine line;
    ASSERT_TRUE(line.Open(pty.SlavePath()));
    ASSERT_TRUE(line.Apply({}));
    pty.Write({1, 2, 3});
    EXPECT_EQ(WaitForBytes(line, 3), 3);
    EXPECT_TRUE(line.Purge(true, false));
    EXPECT_EQ(line.BytesWaiting(), 0);
    EXPECT_EQ(line.OutputQueued(), 0);
    // A pty has neither DTR nor status lines: switching DTR is harmless, the query fails.
    line.SetDTR(true);
    line.SetDTR(false);
    ModemLines lines;
    lines.CTS = true;
    EXPECT_FALSE(line.GetModemLines(lines));
    EXPECT_FALSE(lines.CTS);
}

TEST(SerialLine, ReadsAndWritesNeverBlock) {
    PseudoTerminal pty;
    SerialLine line;
    ASSERT_TRUE(line.Open(pty.SlavePath()));
    ASSERT_TRUE(line.Apply({}));
    uint8_t buf[16];
    EXPECT_EQ(line.Read(buf, sizeof buf), 0);
    // Nobody reads the master: the line fills up and then takes nothing more.
    std::vector<uint8_t> block(4096, 0x55);
    long total = 0, n = 0;
    int writes = 0;
    while (writes < 1000 && (n = line.Write(block.data(), block.size())) > 0) {
        total += n;
        ++writes;
    }
    EXPECT_GT(total, 0);
    EXPECT_EQ(n, 0) << "a full line takes nothing instead of blocking";
    // The kernel may move a little of the pty's buffer on meanwhile, so a later write
    // can take a few bytes again; it must still come back at once.
    EXPECT_GE(line.Write(block.data(), block.size()), 0);
}

// A USB serial adapter pulled out and plugged back in, against the simulated
// regulator: the program's port is a link that the simulator removes with its pty
// and points at a new pty when it plugs the line in again, as the adapter's device
// name goes and comes back.
#include "e2e/E2eSupport.h"

#include "core/RecordMemory.h"
#include "core/RegisterTables.h"
#include "core/Telegram.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

using namespace zeko;
using namespace zeko::e2e;

namespace {

// The processor time a process has used so far, in seconds.
double ProcessorSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(in, line);
    // The fields after the command name in parentheses: state is the third field,
    // user and system time the 14th and 15th.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int n = 3; n <= 15 && fields >> field; ++n)
        if (n >= 14)
            ticks += std::stod(field);
    return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

bool WaitUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 500 && !done(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done();
}

size_t RecordReads(const test::RegsimLog& log) {
    size_t reads = 0;
    for (const Request& r : Requests(log))
        reads += r.Mode == tlg::KindRecords && !r.Write;
    return reads;
}

const std::string Gone = "Sériový port COM1 odpojen, zkouší se znovu otevřít.";
const std::string Back = "Sériový port COM1 opět připojen.";

} // namespace

// Pulled out in the middle of a download, the adapter is told gone, the program
// waits quietly, and once it is plugged back in the download reads on: every record
// of the ring lands in its month file once, the position after the last one goes
// back, and the live values are shown again.
TEST(PortLoss, ADownloadGoesOnWhenTheAdapterIsPluggedBackIn) {
    test::TempDir adapter;
    const std::string device = adapter / "ttyUSB0";
    Session session({"--records", "600", "--first-index", "0", "--start", "2024-05-01 00:00", "--link", device}, 150,
                    {{"ZEKO_COM1", device}});
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    zeko.Command("menu cmNactiZaznamy");
    ASSERT_TRUE(sim.WaitForLog([](const test::RegsimLog& log) { return RecordReads(log) >= 40; }));

    sim.TogglePlug();
    ASSERT_TRUE(zeko.WaitForLine(Gone));
    // While it is out the program sends nothing and spends next to no processor
    // time on its tries to open the device again.
    const size_t heard = sim.Log().size();
    const double before = ProcessorSeconds(zeko.Pid());
    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_LT(ProcessorSeconds(zeko.Pid()) - before, 0.5);
    EXPECT_EQ(sim.Log().size(), heard);
    for (const std::string& line : test::LinesWith(zeko.Log(), "Status 0 "))
        EXPECT_EQ(line.find("Regulátor neodpovídá."), std::string::npos) << line;
    // The live-values window says why its values are old.
    EXPECT_FALSE(test::LinesWith(zeko.Log(), "|Sériový port je odpojen. Poslední hodnoty z ").empty());
    const std::string picture = std::string(ZEKO_ARTEFACT_DIR) + "/port-lost-program.png";
    std::filesystem::create_directories(ZEKO_ARTEFACT_DIR);
    zeko.Command("grab " + picture);
    ASSERT_TRUE(zeko.WaitForLine("Command grab"));

    sim.TogglePlug();
    ASSERT_TRUE(zeko.WaitForLine(Back));
    const size_t back = zeko.Log().size();
    ASSERT_TRUE(zeko.WaitForLine("Pozice záznamů PC zapsána", 120000));
    ASSERT_TRUE(zeko.WaitForLine("Online ", 20000, back));
    EXPECT_EQ(zeko.Close(), 0);

    const test::RegsimLog log = sim.Log();
    const auto expected = ExpectedMonthFiles(sim, 0, 600, InputConstantsFrom(log));
    const auto stored = MonthFiles(dir);
    ASSERT_EQ(stored.size(), expected.size());
    for (const auto& [path, bytes] : expected) {
        ASSERT_EQ(stored.count(path), 1u) << path;
        EXPECT_TRUE(stored.at(path) == bytes) << path;
    }
    const std::vector<Bytes> positions = WritesTo(log, tlg::KindSettings, Registers::ReadPosition);
    ASSERT_FALSE(positions.empty());
    for (const Bytes& data : positions)
        EXPECT_EQ(data, PositionData(600));
}

// The port of the menu chosen again: with the adapter in, a port that did not open
// at start opens, without the question of a port change; while the conversation
// runs, nothing happens; with the adapter out again the user is told why it does not
// open, and the program takes it up by itself once it is plugged back in.
TEST(PortLoss, ChoosingTheSamePortAgainOpensItWhenItIsThere) {
    test::TempDir adapter;
    const std::string device = adapter / "ttyUSB0";
    test::TempDir dir;
    test::RegsimProcess sim({"--link", device});
    sim.TogglePlug();
    ASSERT_TRUE(WaitUntil([&] { return !Exists(device); }));
    auto environment = FastTiming(sim);
    environment["ZEKO_COM1"] = device;
    test::ZekoProcess zeko(dir.Path(), environment);
    ASSERT_TRUE(zeko.WaitForLine("MessageDlg Warning [OK] Daný sériový port neexistuje nebo se právě používá !"));

    sim.TogglePlug();
    ASSERT_TRUE(WaitUntil([&] { return Exists(device); }));
    zeko.Command("menu cmCom1");
    ASSERT_TRUE(zeko.WaitForLine("Nastavení načteno"));
    ASSERT_TRUE(PolledAgain(sim, 2));
    zeko.Command("menu cmCom1");
    ASSERT_TRUE(PolledAgain(sim, 2));
    EXPECT_EQ(zeko.CountLines("Nastavení načteno"), 1u);
    EXPECT_TRUE(test::LinesWith(zeko.Log(), "Chcete opravdu změnit komunikační port?").empty());
    EXPECT_EQ(zeko.CountLines("MessageDlg "), 1u);

    sim.TogglePlug();
    ASSERT_TRUE(zeko.WaitForLine(Gone));
    const size_t gone = zeko.Log().size();
    zeko.Command("menu cmCom1");
    ASSERT_TRUE(zeko.WaitForLine("MessageDlg Warning [OK] Daný sériový port neexistuje nebo se právě používá !", 20000,
                                 gone));
    sim.TogglePlug();
    ASSERT_TRUE(zeko.WaitForLine(Back));
    ASSERT_TRUE(PolledAgain(sim, 2));
    EXPECT_EQ(zeko.CountLines("Nastavení načteno"), 1u);
    EXPECT_EQ(zeko.Close(), 0);
}

// The commands that change the regulator, the real program against the simulated
// regulator: the settings dialog and its write, the clock set and the reset of the
// record positions, byte for byte as on the line.
#include "e2e/E2eSupport.h"

#include "core/RegisterTables.h"
#include "core/RegulatorReplies.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

using namespace zeko;
using namespace zeko::e2e;

namespace {

// The writes the program sent after its two start-up writes, as "W<kind> <address>: <data>".
std::vector<std::string> Writes(const test::RegsimLog& log) {
    std::vector<std::string> out;
    for (const Request& r : Requests(log)) {
        if (!r.Write || (r.Mode == tlg::KindWorking && r.Address <= Registers::StartWrite2))
            continue;
        char head[16];
        std::snprintf(head, sizeof head, "W%d %04X", r.Mode, r.Address);
        out.push_back(std::string(head) + ": " + Hex(r.Data));
    }
    return out;
}

// The settings the simulated regulator answers with at start, with a fault output,
// so that the fault delay can be edited.
const std::vector<std::string> WithFaultOutput = {"--poke", "0:0E96=01"};

// The last settings block as the regulator gave it in its last start-up reading.
TZEKO LastBlockRead(const test::RegsimLog& log) {
    const std::vector<Bytes> replies = RepliesOf(log, tlg::KindSettings, Registers::LastBlock);
    TZEKO s;
    if (!replies.empty())
        DecodeLastSettingsBlock(replies.back().data(), static_cast<int>(replies.back().size()), s);
    return s;
}

void EditFaultDelay(test::ZekoProcess& zeko, const std::string& delay) {
    zeko.Command("menu cmNastaveniRegulatoru");
    zeko.Command("set Edt_ZpozdeniPoruchy " + delay);
    zeko.Command("click Btn_ZapisNastaveni");
}

} // namespace

TEST(Settings, AChangedFaultDelayIsWrittenToBothPlacesAndBothSettingsFilesAreKept) {
    Session session(WithFaultOutput);
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    EditFaultDelay(zeko, "42");
    ASSERT_TRUE(zeko.WaitForLine("Nastavení regulátoru zapsáno"));
    EXPECT_EQ(Writes(sim.Log()), (std::vector<std::string>{"W0 0E97: 2A", "W1 0097: 2A"}));
    const std::vector<std::string> status = test::LinesWith(zeko.Log(), "Status 0 ");
    EXPECT_TRUE(status.back().ends_with("> Nastavení regulátoru zapsáno")) << status.back();
    EXPECT_EQ(zeko.CountLines("InfoForm Zapisuje se nastavení regulátoru..."), 1u);
    EXPECT_EQ(zeko.CountLines("InfoForm closed"), 1u);
    EXPECT_EQ(zeko.CountLines("MessageDlg"), 0u);
    ASSERT_TRUE(dir.Exists("zekosettings.set"));
    ASSERT_TRUE(dir.Exists("zekosettingsnew.set"));
    EXPECT_EQ(TIniFile(dir / "zekosettings.set").ReadInteger("Vystupy", "Zpozdeni poruchy", -1), 10);
    EXPECT_EQ(TIniFile(dir / "zekosettingsnew.set").ReadInteger("Vystupy", "Zpozdeni poruchy", -1), 42);
    // The polling goes on after the write.
    ASSERT_TRUE(PolledAgain(sim, 2));
    EXPECT_EQ(zeko.Close(), 0);

    // The regulator holds it: the next start-up reading finds it.
    test::ZekoProcess again(dir.Path(), FastTiming(sim));
    ASSERT_TRUE(again.WaitForLine("Nastavení načteno"));
    EXPECT_EQ(again.Close(), 0);
    EXPECT_EQ(LastBlockRead(sim.Log()).FaultDelay, 42);
}

TEST(Settings, AConfirmWithoutAChangeWritesNothingButTheSettingsFiles) {
    Session session(WithFaultOutput);
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    zeko.Command("menu cmNastaveniRegulatoru");
    zeko.Command("dump Grd_Hodnota " + (dir / "hodnoty.txt"));
    zeko.Command("click Btn_ZapisNastaveni");
    zeko.Command("menu cmOnline");
    ASSERT_TRUE(zeko.WaitForLine("Command menu cmOnline"));
    ASSERT_TRUE(PolledAgain(sim, 2));
    EXPECT_EQ(zeko.Close(), 0);
    EXPECT_TRUE(Writes(sim.Log()).empty());
    EXPECT_EQ(zeko.CountLines("InfoForm"), 0u);
    EXPECT_EQ(zeko.CountLines("zapsáno"), 0u);
    EXPECT_TRUE(dir.Exists("zekosettings.set"));
    EXPECT_TRUE(dir.Exists("zekosettingsnew.set"));
    // The value grid showed the regulator's output values, one row each.
    std::ifstream in(dir / "hodnoty.txt");
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);)
        rows.push_back(line);
    ASSERT_EQ(rows.size(), 16u);
    std::replace(rows[0].begin(), rows[0].end(), ',', '.');
    std::replace(rows[8].begin(), rows[8].end(), ',', '.');
    EXPECT_EQ(rows[0], "2.5");
    EXPECT_EQ(rows[8], "30.0");
}

TEST(Settings, ALostAcknowledgementIsRepeatedAndTheWriteStillEnds) {
    std::vector<std::string> options = WithFaultOutput;
    options.insert(options.end(), {"--lose-ack", "0:0E97"});
    Session session(options);
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    EditFaultDelay(zeko, "7");
    ASSERT_TRUE(zeko.WaitForLine("Nastavení regulátoru zapsáno"));
    EXPECT_EQ(Writes(sim.Log()), (std::vector<std::string>{"W0 0E97: 07", "W0 0E97: 07", "W1 0097: 07"}));
    const test::RegsimLog log = sim.Log();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(),
                            [](const test::RegsimLogLine& l) { return l.Note == "acknowledgement lost"; }));
    // No live values were asked for while the write waited.
    const std::vector<std::string> rx = RxTelegrams(log);
    const auto first = std::find_if(rx.begin(), rx.end(), [](const std::string& t) { return t.find(" 97 0E ") != std::string::npos; });
    const auto last = std::find_if(rx.rbegin(), rx.rend(), [](const std::string& t) { return t.find(" 97 00 ") != std::string::npos; });
    ASSERT_NE(first, rx.end());
    ASSERT_NE(last, rx.rend());
    EXPECT_EQ(std::count(first, last.base(), Hex(LiveValuesRead())), 0);
    EXPECT_EQ(zeko.Close(), 0);
}

TEST(Settings, TheClockIsSetFromThePcTime) {
    Session session({"--clock", "2001-01-01 00:00:00"}, 150, {{"ZEKO_TEST_PC_CLOCK", "2007-03-05 14:03:09"}});
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    zeko.Command("answer No");
    zeko.Command("menu cmNastavitCas");
    ASSERT_TRUE(zeko.WaitForLine("MessageDlg Confirmation [Yes|No] Opravdu chcete nastavit čas regulátoru dle PC? -> No"));
    zeko.Command("answer Yes");
    zeko.Command("menu cmNastavitCas");
    ASSERT_TRUE(zeko.WaitForLine("Datum a čas regulátoru nastaven podle PC"));
    EXPECT_EQ(Writes(sim.Log()), (std::vector<std::string>{"W1 FF00: 09 03 14 05 03 01 07"}));
    // Read back as written.
    const Bytes clock = RepliesOf(sim.Log(), tlg::KindWorking, Registers::Clock).back();
    ASSERT_EQ(clock.size(), 7u);
    EXPECT_EQ(Hex(Bytes(clock.begin() + 1, clock.end())), "03 14 05 03 01 07");
    EXPECT_EQ(zeko.Close(), 0);
}

TEST(Settings, TheResetZeroesThePointersAndTheNextDownloadFindsNothing) {
    Session session({"--records", "20"});
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    zeko.Command("answer Yes");
    zeko.Command("menu cmNulujZaznamy");
    ASSERT_TRUE(zeko.WaitForLine("Pozice záznamů nulována"));
    EXPECT_EQ(zeko.CountLines("MessageDlg Warning [Yes|No] Chcete vynulovat pozice záznamů? -> Yes"), 1u);
    EXPECT_EQ(Writes(sim.Log()),
              (std::vector<std::string>{"W0 0E79: 00 00 00 00 00 00 00", "W1 0079: 00 00 00 00 00 00 00"}));
    zeko.Command("menu cmNactiZaznamy");
    ASSERT_TRUE(sim.WaitForLog([](const test::RegsimLog& log) {
        return !RepliesOf(log, tlg::KindSettings, Registers::RecordPointers).empty();
    }));
    EXPECT_EQ(Hex(RepliesOf(sim.Log(), tlg::KindSettings, Registers::RecordPointers).back()), "00 00 00 00 00 00 00");
    // The polling goes on, and no record is asked for.
    ASSERT_TRUE(PolledAgain(sim, 3));
    EXPECT_EQ(zeko.Close(), 0);
    for (const Request& r : Requests(sim.Log()))
        EXPECT_NE(r.Mode, tlg::KindRecords);
    EXPECT_EQ(zeko.CountLines("Download "), 0u);
    EXPECT_TRUE(MonthFiles(dir).empty());
}

TEST(Settings, ALoadedSettingsFileIsWrittenOnlyWhenConfirmed) {
    Session session({});
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    const std::string file = dir / "zaloha.set";
    // A file of the user's choice with a regulation time of its own.
    zeko.Command("menu cmNastaveniRegulatoru");
    zeko.Command("set Edt_CasNedokompenzovano 99");
    zeko.Command("file " + file);
    zeko.Command("click Btn_UlozNastaveni");
    zeko.Command("click BitBtn2");
    // Loaded, then "Nezapisuj nastavení".
    zeko.Command("menu cmNastaveniRegulatoru");
    zeko.Command("file " + file);
    zeko.Command("click Btn_NactiNastaveni");
    zeko.Command("click BitBtn2");
    zeko.Command("menu cmOnline");
    ASSERT_TRUE(zeko.WaitForLine("Command menu cmOnline"));
    EXPECT_EQ(zeko.CountLines("SaveDialog  -> " + file), 1u);
    EXPECT_EQ(zeko.CountLines("OpenDialog  -> " + file), 1u);
    EXPECT_EQ(TIniFile(file).ReadInteger("Regulace", "Rychlost nedokompenzovani", -1), 99);
    EXPECT_TRUE(Writes(sim.Log()).empty());
    EXPECT_FALSE(dir.Exists("zekosettings.set"));  // nothing confirmed, nothing kept
    EXPECT_FALSE(dir.Exists("zekosettingsnew.set"));
    // Loaded and confirmed: the regulation speeds go.
    zeko.Command("menu cmNastaveniRegulatoru");
    zeko.Command("file " + file);
    zeko.Command("click Btn_NactiNastaveni");
    zeko.Command("click Btn_ZapisNastaveni");
    ASSERT_TRUE(zeko.WaitForLine("Nastavení regulátoru zapsáno"));
    EXPECT_EQ(Writes(sim.Log()), (std::vector<std::string>{"W0 0E80: 63 00 1E 00 00", "W1 0080: 63 00 1E 00 00"}));
    EXPECT_EQ(zeko.Close(), 0);
}

TEST(Settings, TheResetDuringADownloadOnlySaysWhy) {
    Session session({"--records", "300"});
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    zeko.Command("menu cmNactiZaznamy");
    ASSERT_TRUE(zeko.WaitForLine("Download 300"));
    zeko.Command("menu cmNulujZaznamy");
    ASSERT_TRUE(zeko.WaitForLine("MessageDlg Warning [OK] Probíhá načítání záznamů! -> OK"));
    ASSERT_TRUE(zeko.WaitForLine("Pozice záznamů PC zapsána", 60000));
    EXPECT_EQ(zeko.Close(), 0);
    EXPECT_EQ(zeko.CountLines("Chcete vynulovat"), 0u);
    EXPECT_TRUE(WritesTo(sim.Log(), tlg::KindSettings, Registers::RecordPointers).empty());
    EXPECT_TRUE(WritesTo(sim.Log(), tlg::KindWorking, Registers::RecordPointersWorking).empty());
    EXPECT_EQ(WritesTo(sim.Log(), tlg::KindSettings, Registers::ReadPosition), std::vector<Bytes>{PositionData(300)});
}

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

// A cell of a value grid edited with the mouse and the keyboard, the page changed
// with the mouse while its editor is open, then the confirm: the group goes out.
TEST(Settings, AnEditedGridCellIsWrittenAfterThePageIsChangedWithTheMouse) {
    struct Case {
        const char* grid;
        int row;
        const char* typed;
        uint16_t group;
        size_t byte;     // of the group's data: where the output's value lies
        Bytes expected;  // and its bytes
    };
    const Case cases[] = {
        {"Grd_Hodnota", 2, "7", Registers::OutputValues1, 2 * 2, {70, 0}},  // output 3: 7.0 in tenths
        {"Grd_Cas", 4, "30", Registers::DischargeTimes, 4, {3}},            // output 5: 30 s in tens
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.grid);
        Session session({});
        auto& [dir, sim, zeko] = session;
        ASSERT_TRUE(session.Started());
        const std::string grid = std::string("NastaveniForm/") + c.grid;
        zeko.Command("menu cmNastaveniRegulatoru");
        zeko.Command("clicktab NastaveniForm/PageControl1 2");
        zeko.Command("clickcell " + grid + " 0 " + std::to_string(c.row));
        zeko.Command("type " + grid + " " + c.typed);
        zeko.Command("clicktab NastaveniForm/PageControl1 0");
        zeko.Command("click NastaveniForm/Btn_ZapisNastaveni");
        ASSERT_TRUE(zeko.WaitForLine("Nastavení regulátoru zapsáno"));
        EXPECT_EQ(zeko.CountLines("CommandFailed"), 0u);
        Bytes data = ReplyData(sim.Log(), tlg::KindSettings, c.group);
        ASSERT_GE(data.size(), c.byte + c.expected.size());
        std::copy(c.expected.begin(), c.expected.end(), data.begin() + static_cast<std::ptrdiff_t>(c.byte));
        char settings[16], working[16];
        std::snprintf(settings, sizeof settings, "W0 %04X: ", c.group);
        std::snprintf(working, sizeof working, "W1 %04X: ", Registers::WorkingTwin(c.group));
        EXPECT_EQ(Writes(sim.Log()), (std::vector<std::string>{settings + Hex(data), working + Hex(data)}));
        const std::vector<std::string> status = test::LinesWith(zeko.Log(), "Status 0 ");
        ASSERT_FALSE(status.empty());
        EXPECT_TRUE(status.back().ends_with("> Nastavení regulátoru zapsáno")) << status.back();
        EXPECT_EQ(zeko.CountLines("MessageDlg"), 0u);
        EXPECT_EQ(zeko.Close(), 0);
    }
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

// The program is closed while the regulator, silent since the write of the fault
// delay, has taken only the first group: the user is asked first, and told which
// groups it did not get; "zekosettingsnew.set" holds what it confirmed.
TEST(Settings, ClosingDuringAWriteAsksFirstAndNamesTheGroupsNotWritten) {
    std::vector<std::string> options = WithFaultOutput;
    options.insert(options.end(), {"--mute-at", "0:0E97"});
    Session session(options);
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    zeko.Command("menu cmNastaveniRegulatoru");
    zeko.Command("set Edt_CasNedokompenzovano 99");
    zeko.Command("set Edt_ZpozdeniPoruchy 42");
    zeko.Command("click Btn_ZapisNastaveni");
    ASSERT_TRUE(sim.WaitForLog([](const test::RegsimLog& log) {
        return std::any_of(log.begin(), log.end(), [](const test::RegsimLogLine& l) { return l.Note == "muted"; });
    }));
    const std::string question = "MessageDlg Warning [Yes|No] Probíhá zápis nastavení regulátoru, dosud nezapsáno: "
                                 "zpoždění poruchy.\\nChcete program přesto ukončit?";
    // "No": the program goes on writing.
    zeko.Command("answer No");
    zeko.Command("close");
    ASSERT_TRUE(zeko.WaitForLine(question + " -> No"));
    zeko.Command("menu cmNastaveniRegulatoru");
    ASSERT_TRUE(zeko.WaitForLine("MessageDlg Warning [OK] Probíhá zápis nastavení regulátoru! -> OK"));
    EXPECT_TRUE(zeko.Running());
    EXPECT_FALSE(dir.Exists("zekosettingsnew.set"));  // written once the write ends
    // "Yes": closed, and the status line says what is missing.
    zeko.Command("answer Yes");
    EXPECT_EQ(zeko.Close(), 0);
    EXPECT_EQ(zeko.CountLines(question + " -> Yes"), 1u);
    const std::vector<std::string> status = test::LinesWith(zeko.Log(), "Status 0 ");
    ASSERT_FALSE(status.empty());
    EXPECT_TRUE(status.back().ends_with("> Zápis nastavení regulátoru přerušen, nezapsáno: zpoždění poruchy"))
        << status.back();
    EXPECT_EQ(zeko.CountLines("Nastavení regulátoru zapsáno"), 0u);
    EXPECT_EQ(zeko.CountLines("InfoForm closed"), 1u);
    // The speeds went out and were acknowledged; the fault delay was repeated, unanswered.
    const std::vector<std::string> writes = Writes(sim.Log());
    ASSERT_GE(writes.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(writes.begin(), writes.begin() + 3),
              (std::vector<std::string>{"W0 0E80: 63 00 1E 00 00", "W1 0080: 63 00 1E 00 00", "W0 0E97: 2A"}));
    for (size_t i = 3; i < writes.size(); ++i)
        EXPECT_EQ(writes[i], "W0 0E97: 2A");
    const TIniFile before(dir / "zekosettings.set"), after(dir / "zekosettingsnew.set");
    EXPECT_EQ(before.ReadInteger("Regulace", "Rychlost nedokompenzovani", -1), 60);
    EXPECT_EQ(before.ReadInteger("Vystupy", "Zpozdeni poruchy", -1), 10);
    EXPECT_EQ(after.ReadInteger("Regulace", "Rychlost nedokompenzovani", -1), 99);
    EXPECT_EQ(after.ReadInteger("Vystupy", "Zpozdeni poruchy", -1), 10);
}

// "Načti nast." of files that are no settings files, or that hold values the dialog
// would not take: each is refused with the file named, and a confirm afterwards
// writes nothing, as the dialog still shows what the regulator has.
TEST(Settings, AFileThatIsNoSettingsFileIsRefusedAndNothingIsWritten) {
    Session session({});
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    dir.Write("poznamky.txt", "Regulace: 0,95 / 0,97 / 0,99\r\n");
    dir.Write("prazdny.set", "");
    dir.Write("slozka.set/x", "");
    // Written by hand: the lower edge above its centre (the codes 0x78 0x62 0x76),
    // and a regulation time of 0.
    const std::string regulation = "[Regulace]\r\nHorni pasmo necitlivosti=118\r\nStred pasma necitlivosti=98\r\n"
                                   "Dolni pasmo necitlivosti P2=88\r\nHorni pasmo necitlivosti P2=128\r\n"
                                   "Stred pasma necitlivosti P2=108\r\nPouzij P2=1\r\nZacatek P2=360\r\n"
                                   "Konec P2=1320\r\nRychlost nedokompenzovani=60\r\nRychlost typ=0\r\n";
    dir.Write("pasmo.set", regulation + "Dolni pasmo necitlivosti=120\r\nRychlost prekompenzovani=30\r\n");
    dir.Write("nula.set", regulation + "Dolni pasmo necitlivosti=78\r\nRychlost prekompenzovani=0\r\n");
    zeko.Command("menu cmNastaveniRegulatoru");
    const std::pair<const char*, const char*> files[] = {
        {"poznamky.txt", "Soubor není souborem nastavení regulátoru:"},
        {"prazdny.set", "Soubor není souborem nastavení regulátoru:"},
        {"slozka.set", "Soubor nastavení nelze přečíst:"},
        {"pasmo.set", "Soubor nastavení obsahuje neplatné hodnoty:"},
        {"nula.set", "Soubor nastavení obsahuje neplatné hodnoty:"},
    };
    for (const auto& [name, says] : files) {
        zeko.Command("file " + (dir / name));
        zeko.Command("click Btn_NactiNastaveni");
    }
    zeko.Command("click Btn_ZapisNastaveni");
    zeko.Command("menu cmOnline");
    ASSERT_TRUE(zeko.WaitForLine("Command menu cmOnline"));
    // The messages, one a file, in order; the decimal separator is the program's.
    std::vector<std::string> messages = test::LinesWith(zeko.Log(), "MessageDlg");
    ASSERT_EQ(messages.size(), std::size(files));
    for (size_t i = 0; i < messages.size(); ++i) {
        const auto& [name, says] = files[i];
        EXPECT_TRUE(messages[i].starts_with(std::string("MessageDlg Error [OK] ") + says + "\\n" + (dir / name) +
                                            "\\n"))
            << messages[i];
        EXPECT_TRUE(messages[i].ends_with("\\nNastavení nebylo načteno. -> OK")) << messages[i];
        std::replace(messages[i].begin(), messages[i].end(), ',', '.');
    }
    EXPECT_NE(messages[3].find("\\nDolni pasmo necitlivosti = 120 (0.992) musí ležet pod Stred pasma necitlivosti = "
                               "98 (0.970)\\n"),
              std::string::npos)
        << messages[3];
    EXPECT_NE(messages[4].find("\\nRychlost prekompenzovani = 0: povoleno je 1 až 65535\\n"), std::string::npos)
        << messages[4];
    ASSERT_TRUE(PolledAgain(sim, 2));
    EXPECT_EQ(zeko.Close(), 0);
    EXPECT_TRUE(Writes(sim.Log()).empty());
    EXPECT_EQ(zeko.CountLines("InfoForm"), 0u);
}

// A second-band time left incomplete: Czech, and said again on every confirm.
TEST(Settings, AnIncompleteBandTimeSaysWhyOnEveryConfirmAndNothingIsWritten) {
    Session session({});
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    const std::string message = "MessageDlg Error [OK] Čas 2. pásma není úplný: zadejte hodiny i minuty (hh:mm)! -> OK";
    zeko.Command("menu cmNastaveniRegulatoru");
    zeko.Command("set Edt_KonecP2 2");
    // Each message comes once the event under way has ended, as a user sees it.
    ASSERT_TRUE(zeko.WaitForLog([&](const std::vector<std::string>& log) { return Count(log, message) == 1; }));
    for (size_t press = 2; press <= 3; ++press) {
        zeko.Command("click Btn_ZapisNastaveni");
        ASSERT_TRUE(zeko.WaitForLog([&](const std::vector<std::string>& log) { return Count(log, message) == press; }));
    }
    zeko.Command("click BitBtn2");
    zeko.Command("menu cmOnline");
    ASSERT_TRUE(zeko.WaitForLine("Command menu cmOnline"));
    EXPECT_EQ(zeko.CountLines("MessageDlg"), 3u);
    EXPECT_EQ(zeko.Close(), 0);
    EXPECT_TRUE(Writes(sim.Log()).empty());
}

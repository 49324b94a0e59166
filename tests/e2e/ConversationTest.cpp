// The program against the simulated regulator: what goes over the line, byte for
// byte, and what lands in the month files.
#include "e2e/E2eSupport.h"

#include "core/RegulatorReplies.h"
#include "dialogs/online.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <chrono>
#include <set>
#include <thread>

using namespace zeko;
using namespace zeko::e2e;

TEST(Conversation, StartUpChainGoesOutInOrderAndEndsWithTheLiveValues) {
    Session session({"--ident", "1=ZEKO M7 TEST", "--ident", "2=SN 0042"});
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    // Three polls of the live values after the chain.
    ASSERT_TRUE(sim.WaitForLog([](const test::RegsimLog& log) {
        return Count(RxTelegrams(log), Hex(LiveValuesRead())) >= 3;
    }));
    const std::vector<std::string> rx = RxTelegrams(sim.Log());
    ASSERT_GE(rx.size(), 3u);
    EXPECT_EQ(rx[0], "FF A5 08 3F 05 0F A1 00 00 40 60 BF");
    EXPECT_EQ(rx[1], Hex(Explicit(1, 1, 0x0001, {0x01}, 1)));
    EXPECT_EQ(rx[1].substr(0, 17), "FF A5 08 3F 05 0F");
    EXPECT_EQ(rx[2], "FF A5 08 3F 02 12 01 02 0E EF");
    const std::vector<std::string> expected = StartupChain();
    const std::vector<std::string> chain = Collapse(std::vector<std::string>(rx.begin() + 2, rx.end()));
    ASSERT_GE(chain.size(), expected.size() + 1);
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(chain[i], expected[i]) << "request " << i;
    EXPECT_EQ(chain[expected.size()], Hex(LiveValuesRead()));

    const std::vector<std::string> log = zeko.Log();
    EXPECT_FALSE(test::LinesWith(log, "Status 3 ZEKO M7 TEST").empty());
    EXPECT_FALSE(test::LinesWith(log, "Status 4 SN 0042").empty());
    // The live-values window opened and shows the values of a polled reply.
    ASSERT_TRUE(zeko.WaitForLine("Online "));
    EXPECT_EQ(zeko.Close(), 0);
    std::set<std::string> shown;
    for (const Bytes& data : RepliesOf(sim.Log(), 0, 0xFF00)) {
        TZEKO state;
        ASSERT_TRUE(DecodeLiveValues(data.data(), static_cast<int>(data.size()), state));
        const double q = state.ReactivePower;
        shown.insert("Online " + CosPhiText(state.CosPhi) + "|" + TruncatedText(state.ActivePower) + "|" +
                     (q < 0 ? "0" : TruncatedText(q)) + "|" + (q < 0 ? TruncatedText(-q) : "0") + "|");
    }
    const std::string online = test::LinesWith(zeko.Log(), "Online ").front();
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(),
                            [&](const std::string& prefix) { return online.rfind(prefix, 0) == 0; }))
        << online;
    EXPECT_TRUE(dir.Exists("Zeko.ini"));
}

TEST(Conversation, APortThatDoesNotExistSendsNothingAndKeepsTheProgramUsable) {
    test::TempDir dir;
    test::RegsimProcess sim;
    test::ZekoProcess zeko(dir.Path(), {{"ZEKO_COM1", dir / "no-such-port"}, {"ZEKO_COM2", sim.PtyPath()}});
    ASSERT_TRUE(zeko.WaitForLine("MessageDlg Warning [OK] Daný sériový port neexistuje nebo se právě používá !"));
    // The second line of the message names the device of the port.
    ASSERT_TRUE(zeko.WaitForLine("COM1 je zařízení " + dir / "no-such-port" +
                                 "; jiné zařízení určuje proměnná prostředí ZEKO_COM1. -> OK"));
    zeko.Command("menu cmNactiZaznamy");
    ASSERT_TRUE(zeko.WaitForLine("MessageDlg Warning [OK] Záznamy nelze načíst, sériový port není otevřen."));
    zeko.Command("menu cmOnline");
    ASSERT_TRUE(zeko.WaitForLine("Command menu cmOnline"));
    // The port that exists is not taken when the question is answered No.
    zeko.Command("answer No");
    zeko.Command("menu cmCom2");
    ASSERT_TRUE(zeko.WaitForLine("MessageDlg Warning [Yes|No] Chcete opravdu změnit komunikační port? -> No"));
    EXPECT_EQ(zeko.Close(), 0);
    EXPECT_TRUE(sim.Received().empty());
}

// A serial device that exists but that the user may not open (as udev makes one:
// root, group dialout, crw-rw----) is told apart from a missing one: the second
// line names the group and how to join it.
TEST(Conversation, APortTheUserMayNotOpenNamesTheGroupThatMay) {
    const std::optional<test::UnprivilegedUser> nobody = test::Nobody();
    const group* dialout = ::getgrnam("dialout");
    if (!nobody || !dialout)
        GTEST_SKIP() << "needs root and the group dialout";
    const std::string binary = test::ZekoProcess::BinaryPath();
    if (test::RunAs(*nobody, [&] { return std::to_string(::access(binary.c_str(), X_OK)); }) != "0")
        GTEST_SKIP() << nobody->Name << " may not run " << binary;
    test::TempDir dir;
    test::RegsimProcess sim;
    ASSERT_EQ(::chown(sim.PtyPath().c_str(), 0, dialout->gr_gid), 0);
    ASSERT_EQ(::chmod(sim.PtyPath().c_str(), 0660), 0);
    test::ZekoProcess zeko(dir.Path(),
                           {{"ZEKO_COM1", sim.PtyPath()}, {"HOME", dir.Path()}, {"XDG_RUNTIME_DIR", dir.Path()},
                            {"XDG_CONFIG_HOME", dir / "config"}, {"XDG_CACHE_HOME", dir / "cache"}},
                           nobody);
    ASSERT_TRUE(zeko.WaitForLine("MessageDlg Warning [OK] Daný sériový port neexistuje nebo se právě používá !"));
    ASSERT_TRUE(zeko.WaitForLine("COM1 je zařízení " + sim.PtyPath() + ", které smí otevřít jen skupina dialout, a "
                                 "uživatel " + nobody->Name + " v ní není; přidá ho příkaz: sudo usermod -aG dialout " +
                                 nobody->Name + " (platí od příštího přihlášení). -> OK"));
    EXPECT_EQ(zeko.Close(), 0);
    EXPECT_TRUE(sim.Received().empty());
}

TEST(Conversation, ALostReplyIsAskedForAgainWithTheSameTelegram) {
    test::TempDir dir;
    // Every other reply is lost; the program's own timing (500 ms).
    test::RegsimProcess sim({"--drop", "40", "--seed", "7"});
    test::ZekoProcess zeko(dir.Path(), {{"ZEKO_COM1", sim.PtyPath()}});
    ASSERT_TRUE(zeko.WaitForLine("Nastavení načteno", 60000));
    // A dropped reply is followed by the same request, at least the send timer's
    // interval later.
    const test::RegsimLog log = sim.Log();
    bool repeated = false;
    const test::RegsimLogLine* asked = nullptr;
    for (const test::RegsimLogLine& line : log) {
        if (!line.Received)
            continue;
        if (asked && asked->Bytes == line.Bytes && line.Time - asked->Time >= 0.45)
            repeated = true;
        asked = &line;
    }
    EXPECT_TRUE(repeated);
    EXPECT_EQ(zeko.Close(), 0);
}

TEST(Conversation, CancelledStartUpReadingClosesTheConversation) {
    Session session({"--drop", "100"});
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(sim.WaitForLog([](const test::RegsimLog& log) { return log.size() >= 4; }));
    zeko.Command("click ZrusNacitani");
    ASSERT_TRUE(zeko.WaitForLine("Komunikace nenavázána."));
    EXPECT_EQ(test::LinesWith(zeko.Log(), "Status 3 ").back(), "Status 3 ");
    EXPECT_EQ(test::LinesWith(zeko.Log(), "Status 4 ").back(), "Status 4 ");
    const size_t sent = sim.Received().size();
    zeko.Command("menu cmNactiZaznamy");
    ASSERT_TRUE(zeko.WaitForLine("MessageDlg Warning [OK] Záznamy nelze načíst, komunikace s regulátorem nebyla "
                                 "navázána (načítání nastavení bylo zrušeno)."));
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_EQ(sim.Received().size(), sent);
    EXPECT_EQ(zeko.Close(), 0);
}

// The regulator goes mute and comes back: the status line says that it does not
// answer and then that it answers again, the live values are shown as old in the
// meantime, and the polls go out all the while.
TEST(Conversation, ARegulatorThatGoesMuteIsToldAndItsValuesShowAsOldUntilItAnswersAgain) {
    Session session({});
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    ASSERT_TRUE(zeko.WaitForLine("Online "));
    sim.ToggleMute();
    ASSERT_TRUE(zeko.WaitForLine("Regulátor neodpovídá."));
    ASSERT_TRUE(zeko.WaitForLine("|Regulátor neodpovídá. Poslední hodnoty z "));
    ASSERT_TRUE(PolledAgain(sim, 3));
    const std::string picture = std::string(ZEKO_ARTEFACT_DIR) + "/online-old-program.png";
    std::filesystem::create_directories(ZEKO_ARTEFACT_DIR);
    zeko.Command("grab " + picture);
    ASSERT_TRUE(zeko.WaitForLine("Command grab"));

    sim.ToggleMute();
    ASSERT_TRUE(zeko.WaitForLine("Regulátor opět odpovídá."));
    const std::vector<std::string> log = zeko.Log();
    const auto back = std::find_if(log.begin(), log.end(), [](const std::string& line) {
        return line.find("Regulátor opět odpovídá.") != std::string::npos;
    });
    const size_t from = static_cast<size_t>(back - log.begin());
    ASSERT_TRUE(zeko.WaitForLine("Online ", 10000, from));
    EXPECT_EQ(zeko.Close(), 0);
    const std::vector<std::string> all = zeko.Log();
    const std::vector<std::string> after(all.begin() + static_cast<std::ptrdiff_t>(from), all.end());
    const std::vector<std::string> online = test::LinesWith(after, "Online ");
    ASSERT_FALSE(online.empty());
    EXPECT_EQ(online.back().find("neodpovídá"), std::string::npos) << online.back();
    EXPECT_EQ(test::LinesWith(all, "Regulátor neodpovídá.").size(), 2u);  // the status line and the window
    EXPECT_TRUE(std::filesystem::exists(picture));
}

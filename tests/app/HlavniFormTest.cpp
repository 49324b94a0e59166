#include "app/hlavni.h"

#include "app/Conversation.h"

#include "app/evaluation/DayResult.h"
#include "app/evaluation/PeriodResult.h"
#include "app/TableWindows.h"
#include "controls/ZcCtrls.h"
#include "core/Komunikace.h"
#include "core/PollingList.h"
#include "core/PripojenaZarizeniUnit.h"
#include "core/ProgramGlobals.h"
#include "core/RecordSamples.h"
#include "core/RecordSaving.h"
#include "core/ZekoMessages.h"
#include "dialogs/info.h"
#include "dialogs/online.h"
#include "dialogs/zaznamyservis.h"
#include "graph/archiv.h"
#include "grids/HgGrid.h"
#include "platform/qt/RadioGroup.h"
#include "platform/qt/StatusPanel.h"
#include "platform/Cp1250.h"
#include "platform/IniFile.h"
#include "platform/Notifier.h"
#include "platform/UserDialogs.h"
#include "platform/TickClock.h"
#include "platform/qt/Canvas.h"
#include "platform/qt/MdiChild.h"
#include "platform/qt/QtMainThread.h"
#include "platform/qt/QtNotifier.h"
#include "support/FolderWatch.h"
#include "support/QtApp.h"
#include "support/SmallDisk.h"
#include "support/TempDir.h"
#include "ImageProbe.h"
#include "MainWindowFixture.h"
#include "MessageBoxPicture.h"
#include "QtPrinters.h"
#include "tables/MesicniTabulka.h"
#include "tables/dennitabulka.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

using namespace zeko;

namespace {

// A left click in the middle of a button, as the mouse gives it.
void ClickWithMouse(QWidget* button) {
    const QPointF centre(button->width() / 2, button->height() / 2);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, centre, button->mapToGlobal(centre), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(button, &event);
    }
}

// The main window on ports that do not exist, in a program folder of its own.
struct MainWindowFixture : test::MainWindowTest {
    // The port-missing message of port COMn, which the fixture maps to a device
    // that does not exist.
    std::string NoPort(int n = 1) const {
        const std::string com = "COM" + std::to_string(n);
        return "Daný sériový port neexistuje nebo se právě používá !\n" + com + " je zařízení " + dir / "no-port" +
               "; jiné zařízení určuje proměnná prostředí ZEKO_" + com + ".";
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& m : notifier.Messages())
            texts.push_back(m.Text);
        return texts;
    }
};

} // namespace

TEST_F(MainWindowFixture, WithoutZekoIniTheDefaultsHoldAndTheRegulatorItemsStayDisabled) {
    THlavniForm& f = Start();
    EXPECT_EQ(f.windowTitle().toStdString(), "ZEKO Regulátor M7 v0.90beta14");
    EXPECT_EQ(f.width(), 1023);
    EXPECT_EQ(f.height(), 767);
    EXPECT_EQ(ComPort, 1);
    EXPECT_EQ(BaudRate, 4800);
    EXPECT_EQ(TariffNames[1], "Tarif 1");
    EXPECT_EQ(TariffAbbrevs[3], "T3");
    EXPECT_EQ(ShiftNames[2], "Směna 2");
    EXPECT_EQ(ShiftAbbrevs[2], "S2");
    EXPECT_TRUE(PouzivejSvatky);
    EXPECT_TRUE(f.cmCom[0]->isChecked());
    EXPECT_EQ(Texts(), std::vector<std::string>{NoPort()});
    EXPECT_FALSE(f.cmNastaveniRegulatoru->isEnabled());
    EXPECT_FALSE(f.cmNastavitCas->isEnabled());
    EXPECT_TRUE(f.cmNactiZaznamy->isEnabled());
    EXPECT_TRUE(f.cmOnline->isEnabled());
    EXPECT_FALSE(f.Panel1->isVisible());
}

TEST_F(MainWindowFixture, WithoutAConversationTheResetSaysWhyAndQueuesNothing) {
    THlavniForm& f = Start();
    ASSERT_TRUE(f.cmNulujZaznamy->isEnabled());
    notifier.Clear();
    f.cmNulujZaznamy->trigger();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Komunikace s regulátorem není navázána, pozice záznamů nelze vynulovat!"});
    EXPECT_EQ(Komunikace->QueueCount(), 0);
}

TEST_F(MainWindowFixture, NamesAreCutToTheirLengthAndTheWindowReopensWhereItWasClosed) {
    dir.Write("Zeko.ini", Utf8ToCp1250("[Smeny]\r\nSmena2=Odpolední směna číslo dvě!\r\nSmena2Zkratka=ODP\r\n"
                          "[Program]\r\nSirka=900\r\nVyska=600\r\nPoziceX=10\r\nPoziceY=20\r\n"));
    THlavniForm& f = Start();
    EXPECT_EQ(ShiftNames[2], "Odpolední směna čísl");
    EXPECT_EQ(ShiftAbbrevs[2], "OD");
    EXPECT_EQ(f.width(), 900);
    EXPECT_EQ(f.height(), 600);
    f.close();
    const TIniFile ini(dir / "Zeko.ini");
    EXPECT_EQ(ini.ReadInteger("Program", "Sirka", 0), 900);
    EXPECT_EQ(ini.ReadInteger("Program", "Vyska", 0), 600);
    EXPECT_EQ(ini.ReadInteger("ComPort", "Com", 0), 1);
    EXPECT_EQ(ini.ReadInteger("ComPort", "BaudRate", 0), 4800);
    EXPECT_EQ(ini.ReadString("Smeny", "Smena2", ""), "Odpolední směna číslo dvě!");  // kept as it was
}

// Closing writes "Zeko.ini" once, whole: a new file beside it, renamed over it. On a
// full disk the old file stays byte for byte and the failure is told, naming it.
TEST_F(MainWindowFixture, ClosingReplacesZekoIniOnceOrLeavesItAsItWas) {
    const std::string old = "; ruční poznámka\r\n[ComPort]\r\nCom=2\r\nBaudRate=9600\r\n[Program]\r\nSirka=900\r\n"
                            "Vyska=600\r\nPoziceX=10\r\nPoziceY=20\r\n[Smeny]\r\nSmena1=Ranní\r\n";
    dir.Write("Zeko.ini", Utf8ToCp1250(old));
    THlavniForm& f = Start();
    f.resize(950, 640);
    QApplication::processEvents();
    test::FolderWatch watch(dir.Path());
    ASSERT_TRUE(watch.Watching());
    f.close();
    EXPECT_EQ(watch.Events(), (std::vector<std::string>{"written Zeko.ini.new", "renamed Zeko.ini"}));
    EXPECT_EQ(Cp1250ToUtf8(dir.Read("Zeko.ini")),
              "; ruční poznámka\r\n[ComPort]\r\nCom=2\r\nBaudRate=9600\r\n[Program]\r\nSirka=950\r\nVyska=640\r\n"
              "PoziceX=" + std::to_string(f.x()) + "\r\nPoziceY=" + std::to_string(f.y()) +
                  "\r\n[Smeny]\r\nSmena1=Ranní\r\n");
    form.reset();

    test::SmallDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << "needs root, to mount a small disk";
    disk.Dir().Write("Zeko.ini", Utf8ToCp1250(old));
    ::setenv("ZEKO_PROGRAM_DIR", disk.Dir().Path().c_str(), 1);
    THlavniForm& g = Start();
    g.resize(950, 640);
    QApplication::processEvents();
    disk.Fill();
    notifier.Clear();
    g.close();
    ::setenv("ZEKO_PROGRAM_DIR", dir.Path().c_str(), 1);
    EXPECT_EQ(disk.Dir().Read("Zeko.ini"), Utf8ToCp1250(old));
    ASSERT_EQ(notifier.Count(), 1u);
    EXPECT_EQ(notifier.Messages()[0].Type, TMsgDlgType::mtError);
    EXPECT_NE(Texts()[0].find(disk / "Zeko.ini"), std::string::npos) << Texts()[0];
    EXPECT_FALSE(disk.Dir().Exists("Zeko.ini.new"));
}

// The stored placement, or the default one, is held inside the screen's work area,
// frame included: the status bar and the right edge stay on the screen. Where it
// fits, the window keeps its stored size and place.
TEST_F(MainWindowFixture, TheWindowStartsInsideTheScreen) {
    struct Case {
        const char* what;
        const char* ini;  // the "Program" section, empty: no "Zeko.ini"
        TRect workArea;
        std::optional<QPoint> at;  // where the frame starts, when the case says
        QSize size;                // the window's own, empty: the frame fills the work area
    };
    const Case cases[] = {
        {"the default on an 800 x 600 screen", "", {0, 0, 800, 600}, QPoint(0, 0), {}},
        {"saved on a larger screen", "Sirka=1900\r\nVyska=1150\r\nPoziceX=10\r\nPoziceY=20\r\n",
         {0, 0, 1280, 1024}, QPoint(0, 0), {}},
        {"saved beyond the right edge", "Sirka=900\r\nVyska=600\r\nPoziceX=1500\r\nPoziceY=700\r\n",
         {0, 0, 1280, 1024}, std::nullopt, {900, 600}},
        {"saved above a panel at the top", "Sirka=900\r\nVyska=600\r\nPoziceX=-40\r\nPoziceY=0\r\n",
         {0, 32, 1280, 1024}, QPoint(0, 32), {900, 600}},
        {"saved where it fits", "Sirka=900\r\nVyska=600\r\nPoziceX=10\r\nPoziceY=20\r\n",
         {0, 0, 1280, 1024}, QPoint(10, 20), {900, 600}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QRect area = ToQRect(c.workArea);
        SetScreenInfoForTest(TScreenInfo{area.right() + 1, area.bottom() + 1, 96, {c.workArea}});
        if (*c.ini)
            dir.Write("Zeko.ini", std::string("[Program]\r\n") + c.ini);
        else
            std::filesystem::remove(dir / "Zeko.ini");
        THlavniForm& f = Start();
        QApplication::processEvents();
        const QRect frame = f.frameGeometry();
        EXPECT_TRUE(area.contains(frame)) << testing::PrintToString(frame);
        if (c.at) {
            EXPECT_EQ(frame.topLeft(), *c.at);
        }
        if (c.size.isValid()) {
            EXPECT_EQ(f.size(), c.size);
        } else {
            EXPECT_EQ(frame, area);
        }
        const QRect status(f.statusBar()->mapToGlobal(QPoint(0, 0)), f.statusBar()->size());
        EXPECT_TRUE(area.contains(status)) << testing::PrintToString(status);
        // What the window got is what closing stores.
        EXPECT_EQ(WindowWidth, f.width());
        EXPECT_EQ(WindowHeight, f.height());
        form.reset();
    }
}

// The name of an exported workbook is longer than the status line of a small
// window: the line keeps the window's width and shows the whole text as its tool tip.
TEST_F(MainWindowFixture, AStatusLineLongerThanItsPanelIsShownWholeAsItsToolTip) {
    THlavniForm& f = Start();
    f.resize(640, 480);
    QApplication::processEvents();
    const std::string line = "15.03.2026 10:20:30 Tabulky uloženy do sešitu /home/technik/.local/share/zeko/Export/"
                             "Tabulky 15.03.2026 10-20-30 Denní tabulka Činný 14.03.2026.xlsx";
    f.SetStatusLine(line);
    QApplication::processEvents();
    TStatusPanel* panel = f.StatusPanels[0];
    EXPECT_EQ(f.width(), 640);
    EXPECT_LT(panel->width(), panel->fontMetrics().horizontalAdvance(panel->text()));
    EXPECT_EQ(f.StatusLine(), line);
    EXPECT_EQ(panel->toolTip().toStdString(), line);
    EXPECT_TRUE(panel->ShownText().endsWith(QChar(0x2026))) << panel->ShownText().toStdString();
    QDir().mkpath(ZEKO_ARTEFACT_DIR);
    EXPECT_TRUE(f.grab().save(ZEKO_ARTEFACT_DIR "/hlavni-stav.png"));
    // Made wide enough, the line shows whole and needs no tip.
    f.resize(1900, 480);
    QApplication::processEvents();
    EXPECT_EQ(panel->ShownText().toStdString(), line);
    EXPECT_TRUE(panel->toolTip().isEmpty());
}

TEST_F(MainWindowFixture, AProgramFolderThatCannotBeMadeIsAnErrorAtStart) {
    dir.Write("plain-file", "");
    ::setenv("ZEKO_PROGRAM_DIR", (dir / "plain-file/zeko").c_str(), 1);
    Start();
    ASSERT_EQ(notifier.Count(), 2u);
    EXPECT_EQ(notifier.Messages()[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(Texts()[0], "Složku dat programu nelze vytvořit:\n" + dir / "plain-file/zeko/" +
                              "\nNa místě složky je soubor"
                              "\nZáznamy ani nastavení nebude možné uložit. Jinou složku určuje proměnná "
                              "prostředí ZEKO_PROGRAM_DIR.");
    EXPECT_EQ(Texts()[1], NoPort());  // the program runs on
    ::setenv("ZEKO_PROGRAM_DIR", dir.Path().c_str(), 1);
}

TEST_F(MainWindowFixture, AZekoIniThatCannotBeReadIsReportedAndNeverWrittenOver) {
    dir.WriteUnreadable("Zeko.ini");
    THlavniForm& f = Start();
    ASSERT_EQ(notifier.Count(), 2u);
    EXPECT_EQ(Texts()[0], "Konfigurační soubor nelze přečíst:\n" + dir / "Zeko.ini" +
                              "\nChyba čtení nebo zápisu na disku nebo zařízení"
                              "\nProgram poběží s výchozím nastavením a soubor nepřepíše.");
    EXPECT_EQ(Texts()[1], NoPort());
    EXPECT_EQ(ComPort, 1);
    EXPECT_EQ(BaudRate, 4800);
    EXPECT_EQ(f.width(), 1023);
    // A port change cannot store the port: it says so and leaves the file alone.
    notifier.QueueAnswer(TModalResult::mrYes);
    f.cmCom[1]->trigger();
    EXPECT_EQ(ComPort, 2);
    ASSERT_EQ(notifier.Count(), 5u);
    EXPECT_NE(Texts()[3].find("nelze přečíst"), std::string::npos) << Texts()[3];
    f.close();
    EXPECT_EQ(notifier.Count(), 5u);  // closing writes nothing and says nothing more
    EXPECT_TRUE(dir.StillUnreadable("Zeko.ini"));
    EXPECT_FALSE(dir.Exists("Zeko.ini.new"));
}

// Without "Zarizeni.ini" every live value and table would silently use the default
// names and meter multipliers: a file that is there but cannot be read is told at
// start, before anything runs on the default channels, and is never written.
TEST_F(MainWindowFixture, AZarizeniIniThatCannotBeReadIsReportedAtStart) {
    const struct Case {
        const char* what;
        std::function<void()> make;
        const char* reason;
    } cases[] = {
        {"an I/O error", [&] { dir.WriteUnreadable("Zarizeni.ini"); }, "Chyba při čtení souboru."},
        {"a folder", [&] { dir.Write("Zarizeni.ini/x", ""); }, "Je to složka, ne soubor."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(dir / "Zarizeni.ini");
        c.make();
        notifier.Clear();
        THlavniForm& f = Start();
        ASSERT_EQ(notifier.Count(), 2u);
        EXPECT_EQ(notifier.Messages()[0].Type, TMsgDlgType::mtWarning);
        EXPECT_EQ(Texts()[0], "Soubor popisu zařízení nelze přečíst:\n" + dir / "Zarizeni.ini" + "\n" + c.reason +
                                  "\nProgram poběží s výchozími kanály (názvy, jednotky, násobitele elektroměrů) a "
                                  "soubor nepřepíše.");
        EXPECT_EQ(Texts()[1], NoPort());  // then the program runs on
        ASSERT_NE(Devices, nullptr);
        TVstupyInfo channel;
        ASSERT_TRUE(Devices->FindById(2, channel));
        EXPECT_EQ(channel.ValueName, "Jal.dodávka");
        EXPECT_EQ(channel.MeterMultiplier, 1.0);
        f.close();
        form.reset();
        EXPECT_EQ(notifier.Count(), 2u);
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Zarizeni.ini"));
    std::filesystem::remove_all(dir / "Zarizeni.ini");
    dir.WriteUnreadable("Zarizeni.ini");
    notifier.Clear();
    Start().close();
    form.reset();
    EXPECT_TRUE(dir.StillUnreadable("Zarizeni.ini"));
    EXPECT_FALSE(dir.Exists("Zarizeni.ini.new"));
}

// The box as the program shows it, for a person to look at.
TEST_F(MainWindowFixture, TheBoxAboutAnUnreadableZarizeniIniShowsItsWholeText) {
    dir.WriteUnreadable("Zarizeni.ini");
    QtNotifier qt;
    SetNotifier(&qt);
    QDir().mkpath(ZEKO_ARTEFACT_DIR);
    QString devices, port;
    test::GrabNextMessageBox(ZEKO_ARTEFACT_DIR "/zarizeni-necitelny.png", "OK", devices);
    // The port's box comes next; it is answered once the first one has been.
    QTimer after;
    QObject::connect(&after, &QTimer::timeout, [&] {
        if (devices.isEmpty())
            return;
        after.stop();
        test::GrabNextMessageBox(ZEKO_ARTEFACT_DIR "/port.png", "OK", port);
    });
    after.start(1);
    Start();
    EXPECT_TRUE(port.startsWith(QString::fromUtf8("Daný sériový port neexistuje")));
    SetNotifier(nullptr);
    EXPECT_TRUE(devices.startsWith(QString::fromUtf8("Soubor popisu zařízení nelze přečíst:\n"))) << devices.toStdString();
}

// A port or rate that is damage, or too large for the program's numbers, gives the
// default; what is written back is the value read or that default, never an
// overflowed number.
TEST_F(MainWindowFixture, APortOrRateOutOfRangeFallsBackToTheDefault) {
    const struct {
        const char* com;
        const char* baud;
        int port, rate;
    } cases[] = {
        {"3", "9600", 3, 9600},          {"12", "115200", 12, 115200}, {"255", "4000000", 255, 4000000},
        {"0", "0", 1, 4800},             {"256", "49", 1, 4800},        {"-1", "-9600", 1, 4800},
        {"4294967297", "4294972096", 1, 4800}, {"99999999999999999999", "x", 1, 4800},
    };
    for (const auto& c : cases) {
        dir.Write("Zeko.ini", std::string("[ComPort]\r\nCom=") + c.com + "\r\nBaudRate=" + c.baud + "\r\n");
        Start().close();
        EXPECT_EQ(ComPort, c.port) << c.com;
        EXPECT_EQ(BaudRate, c.rate) << c.baud;
        const TIniFile ini(dir / "Zeko.ini");
        EXPECT_EQ(ini.ReadString("ComPort", "Com", ""), std::to_string(c.port)) << c.com;
        EXPECT_EQ(ini.ReadString("ComPort", "BaudRate", ""), std::to_string(c.rate)) << c.baud;
        form.reset();
    }
}

TEST_F(MainWindowFixture, ChangingThePortAsksFirstAndStoresTheNewPortAtOnce) {
    THlavniForm& f = Start();
    // The ticked item, whose port did not open: no question, the port is tried again.
    f.cmCom[0]->trigger();
    EXPECT_EQ(notifier.Count(), 2u);
    EXPECT_TRUE(f.cmCom[0]->isChecked());
    notifier.QueueAnswer(TModalResult::mrNo);
    f.cmCom[2]->trigger();
    EXPECT_EQ(ComPort, 1);
    EXPECT_TRUE(f.cmCom[0]->isChecked());
    EXPECT_FALSE(f.cmCom[2]->isChecked());
    notifier.QueueAnswer(TModalResult::mrYes);
    f.cmCom[2]->trigger();
    EXPECT_EQ(ComPort, 3);
    EXPECT_TRUE(f.cmCom[2]->isChecked());
    EXPECT_FALSE(f.cmCom[0]->isChecked());
    EXPECT_EQ(TIniFile(dir / "Zeko.ini").ReadInteger("ComPort", "Com", 0), 3);
    EXPECT_EQ(Texts(), (std::vector<std::string>{NoPort(), NoPort(), "Chcete opravdu změnit komunikační port?",
                                                 "Chcete opravdu změnit komunikační port?", NoPort(3)}));
    ASSERT_NE(Komunikace, nullptr);
    EXPECT_FALSE(f.cmNastavitCas->isEnabled());
}

namespace {

// The fault delay written (10 to 42): queued, it waits, as the port without a
// device sends nothing.
bool QueueFaultDelayWrite(THlavniForm& f) {
    TConversation& c = f.Conversation();
    c.State().FaultDelay = 10;
    c.State().AssignTo(c.Edited());
    c.Edited().FaultDelay = 42;
    return c.WriteChangedSettings();
}

} // namespace

// A port change tears the conversation down: a settings write under way would end
// unseen. The question says so; on Yes the status line names what the regulator did
// not get, and "zekosettingsnew.set" holds only what it confirmed.
TEST_F(MainWindowFixture, ChangingThePortDuringASettingsWriteNamesTheGroupsNotWritten) {
    THlavniForm& f = Start();
    ASSERT_TRUE(QueueFaultDelayWrite(f));
    notifier.Clear();
    const std::string question = "Probíhá zápis nastavení regulátoru, dosud nezapsáno: zpoždění poruchy.\n"
                                 "Chcete přesto změnit komunikační port?";
    notifier.QueueAnswer(TModalResult::mrNo);
    f.cmCom[2]->trigger();
    EXPECT_EQ(ComPort, 1);
    EXPECT_TRUE(f.Conversation().SettingsWriteRunning());
    EXPECT_FALSE(dir.Exists("zekosettingsnew.set"));
    notifier.QueueAnswer(TModalResult::mrYes);
    f.cmCom[2]->trigger();
    EXPECT_EQ(ComPort, 3);
    EXPECT_EQ(Texts(), (std::vector<std::string>{question, question, NoPort(3)}));
    EXPECT_EQ(notifier.Messages()[0].Type, TMsgDlgType::mtWarning);
    EXPECT_TRUE(f.StatusLine().ends_with("> Zápis nastavení regulátoru přerušen, nezapsáno: zpoždění poruchy"))
        << f.StatusLine();
    EXPECT_EQ(TIniFile(dir / "zekosettingsnew.set").ReadInteger("Vystupy", "Zpozdeni poruchy", -1), 10);
    EXPECT_FALSE(f.Conversation().SettingsWriteRunning());
}

// The ticked port chosen again while a settings write waits on it (the port did not
// open): opening it again cuts the write short, so the question comes first.
TEST_F(MainWindowFixture, ChoosingTheTickedPortAgainDuringASettingsWriteAsksFirst) {
    THlavniForm& f = Start();
    ASSERT_TRUE(QueueFaultDelayWrite(f));
    notifier.Clear();
    const std::string question = "Probíhá zápis nastavení regulátoru, dosud nezapsáno: zpoždění poruchy.\n"
                                 "Chcete přesto znovu otevřít komunikační port?";
    notifier.QueueAnswer(TModalResult::mrNo);
    f.cmCom[0]->trigger();
    EXPECT_TRUE(f.Conversation().SettingsWriteRunning());
    notifier.QueueAnswer(TModalResult::mrYes);
    f.cmCom[0]->trigger();
    EXPECT_EQ(Texts(), (std::vector<std::string>{question, question, NoPort()}));
    EXPECT_FALSE(f.Conversation().SettingsWriteRunning());
    EXPECT_EQ(ComPort, 1);
    EXPECT_TRUE(f.cmCom[0]->isChecked());
}

TEST_F(MainWindowFixture, ClockPanelsShowOnlyWhileNoChildWindowIsOpen) {
    THlavniForm& f = Start();
    f.Tmr_ProgramTimer();
    EXPECT_TRUE(f.Pnl_Datum->isVisible());
    EXPECT_FALSE(f.Pnl_Cas->text().isEmpty());
    f.cmOnlineClick();
    EXPECT_TRUE(OnlineOpen);
    f.cmOnlineClick();  // brought forward, not made twice
    EXPECT_EQ(f.MdiArea()->subWindowList().size(), 1);
    EXPECT_FALSE(f.Pnl_Datum->isVisible());
    f.MdiArea()->closeAllSubWindows();
    ASSERT_TRUE(test::ProcessEventsUntil([] { return !OnlineOpen; }));
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return f.Pnl_Datum->isVisible(); }, 3000));
}

TEST_F(MainWindowFixture, TheMainWindowIsFoundByItsClassName) {
    THlavniForm& f = Start();
    EXPECT_EQ(FindWindowByClass("THlavniForm"), &f);
    PostMessageTo(&f, 1425, 0, 0);  // WM_OPEN_ONLINE
    ASSERT_TRUE(test::ProcessEventsUntil([] { return OnlineOpen; }));
}

TEST_F(MainWindowFixture, TableRequestsAreEvaluatedAndTheMainFormStaysUsable) {
    TRecordList records = {test::MakeRecord(24, 3, 5, 12, 0, 0, 25)};  // 40 kW
    SaveRecords(records, "");
    THlavniForm& f = Start();
    notifier.Clear();
    DayResult.Reset();
    f.HandleMessage({WM_SHOW_DAY_TABLE, static_cast<uintptr_t>(EncodeDate(2024, 3, 5)), 0});
    EXPECT_EQ(DayResult.DayTotal(), 0);  // no day window: the request is lost
    f.cmDennitabulkaClick();
    f.cmMesicniTabulkaClick();
    PostMessageTo(&f, WM_SHOW_DAY_TABLE, static_cast<uintptr_t>(EncodeDate(2024, 3, 5)), 0);
    ASSERT_TRUE(test::ProcessEventsUntil([] { return DayResult.DayTotal() == 10; }));
    EXPECT_TRUE(f.isEnabled());
    EXPECT_EQ(f.Tables().DayForm()->Tabulka->Cells(4, 12), "40,0");
    f.HandleMessage({WM_SHOW_MONTH_TABLE, static_cast<uintptr_t>(EncodeDate(2024, 3, 1)), 0});
    EXPECT_EQ(MonthResult.DayTotal[4], 10);
    EXPECT_EQ(MonthPeriodInfo.DayRows, 31);
    EXPECT_EQ(f.Tables().MonthForm()->Tabulka->Cells(7, 5), "10,0");
    f.HandleMessage({WM_SHOW_DAY_TABLE, 0, 0});  // no dialogs to ask the user with: nothing
    EXPECT_EQ(notifier.Count(), 0u);
}

TEST_F(MainWindowFixture, FailedYearEvaluationClosesTheProgressBoxAndEnablesTheMainForm) {
    dir.Write("ROK2024/Mesic02.zek/x", "");
    THlavniForm& f = Start();
    InfoForm = new TInfoForm(&f);
    notifier.Clear();
    f.cmRocniTabulkaClick();
    f.HandleMessage({WM_SHOW_YEAR_TABLE, static_cast<uintptr_t>(EncodeDate(2024, 1, 20)), 0});
    EXPECT_TRUE(f.isEnabled());
    EXPECT_FALSE(InfoForm->isVisible());
    EXPECT_EQ(notifier.Count(), 1u);
    InfoForm = nullptr;
}

TEST_F(MainWindowFixture, TheTableCommandsOpenEachWindowOnceAndBringItForward) {
    THlavniForm& f = Start();
    for (QAction* item : {f.cmDennitabulka, f.cmMesicniTabulka, f.cmRocniTabulka})
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
    EXPECT_TRUE(f.Btn_DenniTabulka->Enabled());

    f.cmMesicniTabulka->trigger();
    EXPECT_TRUE(MonthTableOpen);
    ClickWithMouse(f.Btn_DenniTabulka);
    EXPECT_TRUE(DayTableOpen);
    QMdiSubWindow* day = f.MdiArea()->activeSubWindow();
    f.cmMesicniTabulka->trigger();  // brought forward, not made twice
    EXPECT_EQ(f.MdiArea()->subWindowList().size(), 2);
    EXPECT_NE(f.MdiArea()->activeSubWindow(), day);
    EXPECT_EQ(f.MdiArea()->activeSubWindow()->windowTitle().toStdString(), "Měsíční tabulka");
    ClickWithMouse(f.Btn_RocniTabulka);
    EXPECT_TRUE(YearTableOpen);
    EXPECT_EQ(f.MdiArea()->subWindowList().size(), 3);
    f.MdiArea()->closeAllSubWindows();
    ASSERT_TRUE(test::ProcessEventsUntil([] { return !DayTableOpen && !MonthTableOpen && !YearTableOpen; }));
}

TEST_F(MainWindowFixture, TheBarShowsItsFourButtonsWithTheirGlyphs) {
    THlavniForm& f = Start();
    const QImage window = f.grab().toImage();
    QDir().mkpath(ZEKO_ARTEFACT_DIR);
    window.save(QString(ZEKO_ARTEFACT_DIR) + "/hlavni.png");
    // The table buttons show the navy heading of their sheet, the archive button
    // the red of its glyph.
    for (TZcSpeedButton* button : {f.Btn_DenniTabulka, f.Btn_MesicniTabulka, f.Btn_RocniTabulka}) {
        const QImage face = button->grab().toImage();
        EXPECT_NE(test::InkBox(face, {0, 0, face.width(), face.height()}, clNavy), TRect{})
            << button->objectName().toStdString();
    }
    const QImage archive = f.Btn_A1->grab().toImage();
    EXPECT_NE(test::InkBox(archive, {0, 0, archive.width(), archive.height()}, clRed), TRect{});
}

TEST_F(MainWindowFixture, OpeningTheDayTableByMessageCreatesItAndShowsTheDay) {
    TRecordList records = {test::MakeRecord(24, 3, 5, 10, 15, 0, 25)};  // 40 kW
    SaveRecords(records, "");
    THlavniForm& f = Start();
    PostMessageTo(&f, WM_OPEN_DAY_TABLE, static_cast<uintptr_t>(EncodeDate(2024, 3, 5)), 0);
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return f.Tables().DayForm() != nullptr; }));
    TDenniTabulkaForm& day = *f.Tables().DayForm();
    EXPECT_EQ(day.Day, EncodeDate(2024, 3, 5));
    EXPECT_EQ(day.Tabulka->Cells(1, 11), "40,0");
    EXPECT_TRUE(f.isEnabled());
}

TEST_F(MainWindowFixture, TheArchiveRequestOpensTheArchiveOnlyWithoutAMenuItem) {
    TRecordList records = {test::MakeRecord(24, 3, 5, 10, 15, 0, 25)};
    SaveRecords(records, "");
    THlavniForm& f = Start();
    const auto day = static_cast<uintptr_t>(EncodeDate(2024, 3, 5));
    f.HandleMessage({WM_SHOW_ARCHIVE, day, 2 + ArchiveMenuItemFactor});
    EXPECT_FALSE(ArchiveOpen);
    EXPECT_TRUE(f.MdiArea()->subWindowList().isEmpty());
    f.HandleMessage({WM_SHOW_ARCHIVE, day, 2});
    ASSERT_TRUE(ArchiveOpen);
    TArchivForm& archive = *f.Tables().ArchiveForm();
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return archive.Day == EncodeDate(2024, 3, 5); }));
    EXPECT_EQ(archive.Graph->Series[1].Count(), 1);
    EXPECT_EQ(f.MdiArea()->activeSubWindow()->windowTitle().toStdString(), "Archiv");
    f.HandleMessage({WM_SHOW_ARCHIVE, day - 1, 1});  // the same window shows the day before
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return archive.Day == EncodeDate(2024, 3, 4); }));
    EXPECT_EQ(f.MdiArea()->subWindowList().size(), 1);
    f.MdiArea()->closeAllSubWindows();
    ASSERT_TRUE(test::ProcessEventsUntil([] { return !ArchiveOpen; }));
}

TEST_F(MainWindowFixture, TheArchiveCommandsOpenOneArchiveOnToday) {
    THlavniForm& f = Start();
    EXPECT_TRUE(f.cmArchiv->isEnabled());
    EXPECT_TRUE(f.Btn_A1->Enabled());
    f.cmArchiv->trigger();
    ASSERT_TRUE(ArchiveOpen);
    EXPECT_EQ(f.Tables().ArchiveForm()->Day, Today());
    EXPECT_TRUE(f.Tables().ArchiveForm()->SetUpDone);
    ClickWithMouse(f.Btn_A1);
    EXPECT_EQ(f.MdiArea()->subWindowList().size(), 1);
    f.MdiArea()->closeAllSubWindows();
    ASSERT_TRUE(test::ProcessEventsUntil([] { return !ArchiveOpen; }));
}

// The middle button at the right of the menu bar restores a maximised child: the
// archive and the live values to their design sizes (within the area), the record
// viewer, laid out for the area, to the area, a table to the height of its grids and
// buttons; never a small box.
TEST_F(MainWindowFixture, ARestoredChildHasItsDesignSize) {
    THlavniForm& f = Start();
    const QSize room = f.MdiArea()->viewport()->size();
    struct Case {
        const char* what;
        std::function<void()> open;
        QSize size;  // empty: as tall as the table, as wide as the area
        const char* picture;
    };
    const Case cases[] = {
        {"Archiv", [&] { f.cmArchiv->trigger(); }, {696, 480}, "obnoveno-archiv.png"},
        {"Aktuální hodnoty", [&] { f.cmOnline->trigger(); }, QSize(958, 706).boundedTo(room), "obnoveno-online.png"},
        {"Záznamy ze souboru", [&] { f.cmNactiZaznamyZeSouboru->trigger(); }, room, "obnoveno-zaznamy.png"},
        {"Denní tabulka", [&] { f.cmDennitabulka->trigger(); }, {}, "obnoveno-denni.png"},
        {"Měsíční tabulka", [&] { f.cmMesicniTabulka->trigger(); }, {}, "obnoveno-mesicni.png"},
        {"Roční tabulka", [&] { f.cmRocniTabulka->trigger(); }, {}, "obnoveno-rocni.png"},
    };
    QDir().mkpath(ZEKO_ARTEFACT_DIR);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.open();
        QMdiSubWindow* child = f.MdiArea()->activeSubWindow();
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->windowTitle().toStdString(), c.what);
        ASSERT_TRUE(child->isMaximized());
        child->showNormal();
        QApplication::processEvents();
        if (c.size.isValid()) {
            EXPECT_EQ(child->size(), c.size);
        } else {
            EXPECT_EQ(child->width(), room.width());
            EXPECT_LE(child->height(), room.height());
            EXPECT_EQ(qobject_cast<QScrollArea*>(child->widget())->verticalScrollBar()->maximum(), 0);
        }
        EXPECT_TRUE(f.grab().save(QString(ZEKO_ARTEFACT_DIR "/") + c.picture));
        delete child;
        QApplication::processEvents();
    }
}

TEST_F(MainWindowFixture, TheSendTimerPutsNoPollInFrontWhileTheSettingsAreWritten) {
    THlavniForm& f = Start();
    Komunikace->DirectionControl = false;  // a closed port: nothing to switch
    PollingList->AddItem(LiveValuesPollItem);  // no interval: due at once
    Komunikace->SetDataByte(1, 10);
    ASSERT_TRUE(Komunikace->QueueTelegram(63, 8, 1, 0, 0x0E97, 1, 0));
    const std::vector<uint8_t> write = Komunikace->HeadTelegram();
    LastReplyTick = GetTickCount() - 10000;  // long without a reply

    f.Conversation().EnterSettingsWrite();
    f.Tmr_SendTLGTimer();
    EXPECT_EQ(HexBytes(Komunikace->LastSentTelegram()), HexBytes(write));
    EXPECT_EQ(Komunikace->QueuedCount(), 1);

    f.Conversation().LeaveSettingsWrite();
    f.Tmr_SendTLGTimer();
    EXPECT_EQ(HexBytes(Komunikace->LastSentTelegram()), "A5 08 3F 02 12 10 00 FF F1");
    EXPECT_EQ(HexBytes(Komunikace->HeadTelegram()), HexBytes(write));
}

// A disabled window can still be closed from its title bar; while a table is
// evaluated the main window stays, and with it the channels the evaluation uses.
TEST_F(MainWindowFixture, TheMainWindowStaysOpenWhileATableIsEvaluated) {
    THlavniForm& f = Start();
    f.cmMesicniTabulkaClick();
    bool closed = true;
    QTimer::singleShot(0, &f, [&] { closed = f.close(); });
    f.HandleMessage({WM_SHOW_MONTH_TABLE, static_cast<uintptr_t>(EncodeDate(2024, 3, 1)), 0});
    EXPECT_FALSE(closed);
    EXPECT_TRUE(f.isVisible());
    EXPECT_NE(Devices, nullptr);
    EXPECT_TRUE(f.close());
}

// The record-file viewer: one window, maximised, with the grid over the sorting
// choice and the open button, none of them over another.
TEST_F(MainWindowFixture, TheRecordViewerOpensOnceLaidOutInItsWindow) {
    THlavniForm& f = Start();
    ASSERT_TRUE(f.cmNactiZaznamyZeSouboru->isEnabled());
    f.cmNactiZaznamyZeSouboru->trigger();
    ASSERT_TRUE(ServiceViewerOpen);
    TZaznamyServisForm* viewer = f.ServiceViewer();
    ASSERT_NE(viewer, nullptr);
    f.cmDennitabulkaClick();
    f.cmNactiZaznamyZeSouboru->trigger();  // brought forward, not made twice
    EXPECT_EQ(f.MdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(f.MdiArea()->activeSubWindow(), MdiChildOf(viewer));
    EXPECT_TRUE(f.MdiArea()->activeSubWindow()->isMaximized());
    EXPECT_EQ(f.MdiArea()->activeSubWindow()->windowTitle().toStdString(), "Záznamy ze souboru");

    const int w = viewer->width(), h = viewer->height();
    const QRect grid = viewer->HyperGrid1->geometry();
    const QRect sorting = viewer->Rgp_Razeni->geometry();
    const QRect open = viewer->Otevri->geometry();
    EXPECT_EQ(grid.width(), w - 30);
    EXPECT_EQ(grid.height(), h - 80);
    EXPECT_EQ(viewer->HyperGrid1->ColWidths(0), grid.width());
    EXPECT_EQ(open.top(), h - 70);
    EXPECT_EQ(sorting.top(), open.top() - 5);
    EXPECT_FALSE(grid.intersects(sorting));
    EXPECT_FALSE(grid.intersects(open));
    EXPECT_FALSE(sorting.intersects(open));
    for (const QRect& r : {grid, sorting, open})
        EXPECT_TRUE(viewer->rect().contains(r)) << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    const QWidget* texts[] = {viewer->Otevri, viewer->Rgp_Razeni->Button(0), viewer->Rgp_Razeni->Button(1)};
    for (const QWidget* text : texts)
        EXPECT_GE(text->width(), text->sizeHint().width()) << text->objectName().toStdString();
    // A month file listed, one record with a damaged stamp among them: every line
    // whole in the column, the picture kept.
    dir.Write("ROK2024/Mesic03.zek",
              test::BytesOf({test::MakeRecord(24, 3, 5, 12, 0, 0, 25, 41), test::MakeRecord(24, 3, 5, 24, 15, 0, 30, 42),
                             test::MakeRecord(24, 3, 5, 12, 30, 0, 35, 43)}));
    ScriptedDialogs dialogs;
    SetDialogs(&dialogs);
    dialogs.AnswerFile(dir / "ROK2024/Mesic03.zek");
    // While the file loads, its window cannot be closed from its title bar.
    InfoForm = new TInfoForm(&f);
    bool closed = true;
    QObject::connect(InfoForm->ProgressBar, &QProgressBar::valueChanged, InfoForm, [&](int value) {
        if (value == 1)
            closed = MdiChildOf(viewer)->close();
    });
    viewer->Otevri->click();
    EXPECT_FALSE(closed);
    ASSERT_TRUE(ServiceViewerOpen);
    delete InfoForm;
    InfoForm = nullptr;
    SetDialogs(nullptr);
    ASSERT_EQ(viewer->HyperGrid1->RowCount(), 3);
    TCanvas measure;
    measure.SetFont(viewer->HyperGrid1->Font());
    for (int row = 0; row < 3; ++row)
        EXPECT_LT(measure.TextWidth(viewer->HyperGrid1->Cells(0, row)), viewer->HyperGrid1->ColWidths(0));
    EXPECT_NE(viewer->HyperGrid1->Cells(0, 1).find("Neplatný čas"), std::string::npos);
    EXPECT_EQ(viewer->Rgp_Razeni->geometry(), sorting);  // loading moves nothing
    QDir().mkpath(ZEKO_ARTEFACT_DIR);
    f.grab().save(QString(ZEKO_ARTEFACT_DIR) + "/zaznamyservis.png");

    f.MdiArea()->closeAllSubWindows();
    ASSERT_TRUE(test::ProcessEventsUntil([] { return !ServiceViewerOpen && !DayTableOpen; }));
    EXPECT_EQ(f.ServiceViewer(), nullptr);
}

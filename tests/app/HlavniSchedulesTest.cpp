// The main window's "Tarify" and "Směny": what is saved on OK, and that nothing is
// written on Cancel.
#include "app/hlavni.h"

#include "core/HistoryFormat.h"
#include "core/ProgramGlobals.h"
#include "core/Schedules.h"
#include "dialogs/Smenyunit.h"
#include "dialogs/Tarifyunit.h"
#include "platform/Cp1250.h"
#include "platform/IniFile.h"
#include "platform/Notifier.h"

#include "MainWindowFixture.h"
#include "support/FolderWatch.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace zeko;

namespace {

const TDateTime Now_ = EncodeDate(2026, 3, 12) + EncodeTime(9, 30, 0);
const std::string ProcessingError = "Chyba při zpracování údajů, kontaktujte výrobce systému!";

struct ScheduleCommands : test::MainWindowTest {
    ScheduleCommands() { SetNowOverride(Now_); }
    ~ScheduleCommands() override {
        form.reset();
        SetNowOverride(std::nullopt);
        TariffNames = {"", "Tarif 1", "Tarif 2", "Tarif 3"};
        TariffAbbrevs = {"", "T1", "T2", "T3"};
        ShiftNames = {"", "Směna 1", "Směna 2", "Směna 3"};
        ShiftAbbrevs = {"", "S1", "S2", "S3"};
        PouzivejSvatky = true;
    }
    THlavniForm& Start() {
        MainWindowTest::Start();
        notifier.Clear();  // the port that does not exist
        return *form;
    }
    // Runs the menu item; `act` works the dialog once it is shown modally. False
    // when it was not shown.
    template <typename Dialog>
    bool Shown(QAction* item, std::function<void(Dialog&)> act) {
        bool acted = false;
        auto* poll = new QTimer(form.get());
        QObject::connect(poll, &QTimer::timeout, [&, poll] {
            if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                poll->stop();
                acted = true;
                act(*dialog);
            }
        });
        poll->start(5);
        item->trigger();
        delete poll;
        return acted;
    }
    template <typename Dialog>
    void Run(QAction* item, std::function<void(Dialog&)> act) {
        EXPECT_TRUE(Shown<Dialog>(item, act));
    }
    THistoryList History(const char* name, size_t bodySize) const {
        THistoryList list;
        EXPECT_TRUE(LoadHistory(list, dir / name, bodySize));
        return list;
    }
};

const char* const StartIni = "[Tarify]\r\nPouzivejSvatky=1\r\nTarif1=Den\r\n[Smeny]\r\nSmena1=Ranní\r\n";

} // namespace

TEST_F(ScheduleCommands, CancellingEitherEditorWritesNothingTheHolidaySwitchIncluded) {
    dir.Write("Zeko.ini", Utf8ToCp1250(StartIni));
    THlavniForm& f = Start();
    ASSERT_TRUE(f.cmTarify->isEnabled());
    ASSERT_TRUE(f.cmSmeny->isEnabled());
    const std::string before = dir.Read("Zeko.ini");
    Run<TTarifyForm>(f.cmTarify, [](TTarifyForm& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "Tarify");
        EXPECT_EQ(d.TariffNames[1], "Den");
        EXPECT_TRUE(d.Chk_Svatky->isChecked());
        d.Chk_Svatky->setChecked(false);
        d.TariffNames[1] = "Noc";
        d.Bands.Zone(0, 1, 1) = {360, 840, ZoneInUse};
        d.Changed = true;
        d.BitBtn2->click();
    });
    Run<TSmenyForm>(f.cmSmeny, [](TSmenyForm& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "Směny");
        ShiftNamesEdit[1] = "Noční";
        d.Bands.Shifts[0] = {360, 840};
        d.Changed = true;
        d.BitBtn2->click();
    });
    EXPECT_EQ(dir.Read("Zeko.ini"), before);
    EXPECT_FALSE(std::filesystem::exists(dir / "Tarify.his"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Smeny.his"));
    EXPECT_TRUE(PouzivejSvatky);
    EXPECT_EQ(TariffNames[1], "Den");
    EXPECT_EQ(ShiftNames[1], "Ranní");
    // The shift names edited before the cancel are overwritten at the next opening.
    Run<TSmenyForm>(f.cmSmeny, [](TSmenyForm& d) {
        EXPECT_EQ(ShiftNamesEdit[1], "Ranní");
        d.BitBtn2->click();
    });
    EXPECT_TRUE(notifier.Messages().empty());
}

// Bands entered while the history is empty are not lost: they become its first
// record, valid from the date and time shown, and the next evaluation uses them.
TEST_F(ScheduleCommands, ATariffEditConfirmedIntoAnEmptyHistoryIsSavedAndApplies) {
    dir.Write("Zeko.ini", Utf8ToCp1250(StartIni));
    THlavniForm& f = Start();
    test::FolderWatch watch(dir.Path());
    Run<TTarifyForm>(f.cmTarify, [](TTarifyForm& d) {
        d.Chk_Svatky->setChecked(false);
        d.TariffNames[2] = "Špička";
        d.TariffAbbrevs[2] = "ŠP";
        d.Bands.Zone(0, 2, 1) = {360, 840, ZoneInUse};
        d.Changed = true;
        d.BitBtn1->click();
    });
    EXPECT_TRUE(notifier.Messages().empty());
    const THistoryList history = History("Tarify.his", TTariffTable::BodySize);
    ASSERT_EQ(history.size(), 1u);
    EXPECT_DOUBLE_EQ(history[0].ValidFrom, Now_);
    EXPECT_EQ(std::filesystem::file_size(dir / "Tarify.his"), 132u);
    EXPECT_FALSE(PouzivejSvatky);
    EXPECT_EQ(TariffNames[2], "Špička");
    const TIniFile ini(dir / "Zeko.ini");
    EXPECT_EQ(ini.ReadString("Tarify", "PouzivejSvatky", ""), "0");
    EXPECT_EQ(ini.ReadString("Tarify", "Tarif1", ""), "Den");
    EXPECT_EQ(ini.ReadString("Tarify", "Tarif2", ""), "Špička");
    EXPECT_EQ(ini.ReadString("Tarify", "Tarif2Zkratka", ""), "ŠP");
    EXPECT_EQ(ini.ReadString("Tarify", "Tarif3Zkratka", ""), "T3");
    EXPECT_EQ(ini.ReadString("Smeny", "Smena1", ""), "Ranní");  // the other sections stay
    // The names and the holiday switch go into "Zeko.ini" in one replacement of it.
    std::vector<std::string> iniEvents;
    for (const std::string& e : watch.Events())
        if (e.find(" Zeko.ini") != std::string::npos)
            iniEvents.push_back(e);
    EXPECT_EQ(iniEvents, (std::vector<std::string>{"written Zeko.ini.new", "renamed Zeko.ini"}));

    // Any day, before or after the record's valid-from, takes its bands.
    TScheduleLookup lookup;
    uint8_t mask = 0;
    EXPECT_TRUE(lookup.TariffMaskAt(600, mask, 0, EncodeDate(2024, 3, 5)));
    EXPECT_EQ(mask, 2);
    EXPECT_FALSE(lookup.TariffMaskAt(600, mask, 1, EncodeDate(2024, 3, 5)));

    // The next opening shows the record; a change to it replaces it in the file.
    Run<TTarifyForm>(f.cmTarify, [](TTarifyForm& d) {
        EXPECT_EQ(d.History.size(), 1u);
        EXPECT_FALSE(d.Chk_Svatky->isChecked());
        EXPECT_EQ(d.TariffNames[2], "Špička");
        d.Bands.Zone(0, 2, 1).End = 900;
        d.BitBtn1->click();
    });
    const THistoryList again = History("Tarify.his", TTariffTable::BodySize);
    ASSERT_EQ(again.size(), 1u);
    TTariffTable table;
    table.ReadBody(again[0].Body.data(), again[0].Body.size());
    EXPECT_EQ(table.Zone(0, 2, 1), (TTariffZone{360, 900, ZoneInUse}));
}

TEST_F(ScheduleCommands, ConfirmingAnEmptyHistoryWithoutBandsSavesTheNamesAlone) {
    THlavniForm& f = Start();
    Run<TTarifyForm>(f.cmTarify, [](TTarifyForm& d) { d.BitBtn1->click(); });
    Run<TSmenyForm>(f.cmSmeny, [](TSmenyForm& d) {
        ShiftAbbrevsEdit[3] = "NO";
        d.BitBtn1->click();
    });
    EXPECT_TRUE(notifier.Messages().empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "Tarify.his"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Smeny.his"));
    const TIniFile ini(dir / "Zeko.ini");
    EXPECT_EQ(ini.ReadString("Tarify", "PouzivejSvatky", ""), "1");
    EXPECT_EQ(ini.ReadString("Smeny", "Smena3Zkratka", ""), "NO");
    EXPECT_EQ(ini.ReadString("Smeny", "Smena2", ""), "Směna 2");
    EXPECT_EQ(ShiftAbbrevs[3], "NO");
}

TEST_F(ScheduleCommands, AShiftEditConfirmedIsSavedWithItsRecordsValidFromKept) {
    const TDateTime first = EncodeDate(2024, 1, 1) + EncodeTime(6, 0, 0);
    {
        TShiftTable table;
        table.Shifts[0] = {360, 840};
        std::vector<uint8_t> bytes;
        THistoryRecord::Of(first, table).AppendBytes(bytes);
        dir.Write("Smeny.his", std::string(bytes.begin(), bytes.end()));
    }
    THlavniForm& f = Start();
    Run<TSmenyForm>(f.cmSmeny, [](TSmenyForm& d) {
        d.Bands.Shifts[1] = {840, 1320};
        ShiftNamesEdit[2] = "Odpol.";
        d.BitBtn1->click();
    });
    const THistoryList history = History("Smeny.his", TShiftTable::BodySize);
    ASSERT_EQ(history.size(), 1u);
    EXPECT_DOUBLE_EQ(history[0].ValidFrom, first);
    TShiftTable table;
    table.ReadBody(history[0].Body.data(), history[0].Body.size());
    EXPECT_EQ(table.Shifts[1], (TShiftBand{840, 1320}));
    EXPECT_EQ(ShiftNames[2], "Odpol.");
    EXPECT_EQ(TIniFile(dir / "Zeko.ini").ReadString("Smeny", "Smena2", ""), "Odpol.");
}

// What was done before a failure stays done: the history is saved, the names are
// not, and the user is told.
TEST_F(ScheduleCommands, FailuresAreReportedAndWhatWasDoneBeforeThemStaysDone) {
    std::filesystem::create_directories(dir / "Zeko.ini");  // no file the names can go into
    THlavniForm& f = Start();
    Run<TTarifyForm>(f.cmTarify, [](TTarifyForm& d) {
        d.TariffNames[1] = "Noc";
        d.Bands.Zone(0, 1, 1) = {360, 840, ZoneInUse};
        d.Changed = true;
        d.BitBtn1->click();
    });
    ASSERT_EQ(notifier.Messages().size(), 1u);
    EXPECT_EQ(notifier.Messages()[0].Text, ProcessingError);
    EXPECT_EQ(notifier.Messages()[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(History("Tarify.his", TTariffTable::BodySize).size(), 1u);
    EXPECT_TRUE(PouzivejSvatky);

    // A history that cannot be read is never written over: the editor does not open.
    notifier.Clear();
    std::filesystem::create_directories(dir / "Smeny.his");
    EXPECT_FALSE(Shown<TSmenyForm>(f.cmSmeny, [](TSmenyForm& d) { d.BitBtn1->click(); }));
    ASSERT_EQ(notifier.Messages().size(), 1u);
    EXPECT_EQ(notifier.Messages()[0].Text, "Chyba při načítání historie tarifů/směn!\n" + dir / "Smeny.his" +
                                               "\nSoubor nelze přečíst. Je to složka, ne soubor.\nEditor se "
                                               "neotevře, aby soubor nepřepsal.");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Smeny.his"));
}

// The file of 288 bytes whose third record, the tariffs from 15 March 2024, an
// unedited "Potvrď" used to drop: a record of shift size stands in the middle. The
// editor shows the two intact records and writes over the file only when the user
// says Yes to being told what would be lost; No leaves it byte for byte.
TEST_F(ScheduleCommands, ADamagedMiddleRecordKeepsTheIntactOnesThroughAnUneditedConfirm) {
    TTariffTable early, march;
    early.Zone(0, 1, 1) = {360, 840, ZoneInUse};
    march.Zone(0, 2, 1) = {420, 900, ZoneInUse};
    const THistoryRecord first = THistoryRecord::Of(EncodeDate(2024, 1, 1), early);
    const THistoryRecord third = THistoryRecord::Of(EncodeDate(2024, 3, 15), march);
    std::vector<uint8_t> bytes, intact;
    first.AppendBytes(bytes);
    THistoryRecord::Of(EncodeDate(2024, 7, 1), TShiftTable{}).AppendBytes(bytes);
    third.AppendBytes(bytes);
    ASSERT_EQ(bytes.size(), 288u);
    first.AppendBytes(intact);
    third.AppendBytes(intact);
    const std::string damaged(bytes.begin(), bytes.end());
    dir.Write("Tarify.his", damaged);
    const std::string told = "Chyba při načítání historie tarifů/směn!\n" + dir / "Tarify.his" +
                             "\nPoškozený záznam na pozici 132 (vynecháno bajtů:\u00a024): délka dat 12 místo 120.\n"
                             "Poškozená místa nebyla použita.";
    const std::string asked = "Historie nebyla načtena celá:\n" + dir / "Tarify.his" +
                              "\nPoškozený záznam na pozici 132 (vynecháno bajtů:\u00a024): délka dat 12 místo 120.\n"
                              "Poškozená místa nebyla použita.\nUložením se soubor přepíše jen záznamy, které "
                              "editor ukazuje, a vše ostatní, co soubor obsahuje, se ztratí.\nPřejete si historii "
                              "přesto uložit?";
    THlavniForm& f = Start();
    const auto confirmUnedited = [&](TModalResult answer) {
        notifier.Clear();
        notifier.QueueAnswer(TModalResult::mrOk);
        notifier.QueueAnswer(answer);
        Run<TTarifyForm>(f.cmTarify, [](TTarifyForm& d) {
            ASSERT_EQ(d.History.size(), 2u);
            EXPECT_DOUBLE_EQ(d.History[1].ValidFrom, EncodeDate(2024, 3, 15));
            d.BitBtn1->click();
        });
        ASSERT_EQ(notifier.Messages().size(), 2u);
        EXPECT_EQ(notifier.Messages()[0].Text,
                  told + "\nEditor ukazuje jen nepoškozené záznamy; než soubor přepíše, zeptá se.");
        EXPECT_EQ(notifier.Messages()[1].Text, asked);
        EXPECT_EQ(notifier.Messages()[1].Type, TMsgDlgType::mtWarning);
    };
    confirmUnedited(TModalResult::mrNo);
    EXPECT_EQ(dir.Read("Tarify.his"), damaged);
    EXPECT_EQ(TIniFile(dir / "Zeko.ini").ReadString("Tarify", "Tarif1", ""), "Tarif 1");  // the rest of OK is done
    confirmUnedited(TModalResult::mrYes);
    EXPECT_EQ(dir.Read("Tarify.his"), std::string(intact.begin(), intact.end()));
    // Read whole now, it is written again without a question.
    notifier.Clear();
    Run<TTarifyForm>(f.cmTarify, [](TTarifyForm& d) { d.BitBtn1->click(); });
    EXPECT_TRUE(notifier.Messages().empty());
    EXPECT_EQ(dir.Read("Tarify.his"), std::string(intact.begin(), intact.end()));
    EXPECT_EQ(SelectTariffTable(EncodeDate(2024, 4, 1), dir / "Tarify.his"), march);
}

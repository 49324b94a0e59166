// The tariff editor: the band check's messages, editing bands with the keyboard,
// the history records it keeps, the names through input boxes and its picture.
#include "dialogs/Tarifyunit.h"

#include "ScheduleFixture.h"
#include "LayoutProbe.h"
#include "LetterGaps.h"
#include "controls/ToolEdit.h"
#include "core/Holidays.h"
#include "core/Schedules.h"
#include "platform/Exceptions.h"
#include "platform/qt/Grids.h"
#include "platform/qt/RadioGroup.h"
#include "platform/qt/TimePicker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cstring>
#include <fstream>

using namespace zeko;

namespace {

TEST(BandCheck, TheLetterNFirstThenBlanksThenTheLastFailingRangeTest) {
    const struct {
        const char* text;
        const char* error;  // "" when the text passes
        bool notInUse;
        uint16_t start, end;
    } cases[] = {
        {"06:00-14:00  _", "", false, 360, 840},
        {"22:00-06:00  _", "", false, 1320, 360},  // over midnight
        {"00:00-00:00  _", "", false, 0, 0},
        {"23:59-00:00  _", "", false, 1439, 0},
        {"_6:00-14:00  _", "Neúplně zadaný čas !", false, 0, 0},  // an hour typed with one digit
        {"06:00-14:0_  _", "Neúplně zadaný čas !", false, 0, 0},
        {"__:__-__:__  _", "Neúplně zadaný čas !", false, 0, 0},
        {"24:00-10:00  _", "Hodiny prvního čas. údaje větší než 23 !", false, 0, 0},
        {"10:60-10:00  _", "Minuty prvního čas. údaje větší než 59 !", false, 0, 0},
        {"10:00-24:00  _", "Hodiny druhého čas. údaje větší než 23 !", false, 0, 0},
        {"10:00-10:60  _", "Minuty druhého čas. údaje větší než 59 !", false, 0, 0},
        {"24:00-25:70  _", "Minuty druhého čas. údaje větší než 59 !", false, 0, 0},  // the last one wins
        {"99:99-99:00  _", "Hodiny druhého čas. údaje větší než 23 !", false, 0, 0},
        {"12:00-13:00  N", "", true, 0, 0},
        {"__:__-__:__  n", "", true, 0, 0},  // whatever the times say
        {"99:99-99:99  N", "", true, 0, 0},
    };
    for (const auto& c : cases) {
        const TBandCheck check = CheckBandText(c.text);
        EXPECT_EQ(check.Error, c.error) << c.text;
        EXPECT_EQ(check.NotInUse, c.notInUse) << c.text;
        if (*c.error == 0 && !c.notInUse) {
            EXPECT_EQ(check.Start, c.start) << c.text;
            EXPECT_EQ(check.End, c.end) << c.text;
        }
    }
    EXPECT_EQ(BandText(360, 840), "06:00-14:00");
}

THistoryRecord TariffRecord(TDateTime validFrom, uint16_t start, uint16_t end) {
    TTariffTable table;
    table.Zone(0, 1, 1) = {start, end, ZoneInUse};
    return THistoryRecord::Of(validFrom, table);
}

struct TariffEditor : test::ScheduleFixture<TTarifyForm> {
    // The band editor opened on a cell with Enter.
    void EditBand(int col, int row) {
        form->TabTarify->setFocus();
        form->TabTarify->FocusCell(col, row);
        Press(Qt::Key_Return);
        ASSERT_TRUE(form->CasEdit->isVisible());
        ASSERT_TRUE(form->CasEdit->hasFocus());
    }
    const std::string& Cell(int col, int row) const { return form->TabTarify->Cells(col, row); }
};

TEST_F(TariffEditor, WithoutAHistoryEveryBandIsUnusedAndTheEditsShowNow) {
    TTarifyForm& f = Open();
    EXPECT_EQ(f.size(), QSize(TTarifyForm::ClientWidth, TTarifyForm::ClientHeight));
    EXPECT_TRUE(f.History.empty());
    EXPECT_EQ(f.RecordIndex, -1);
    EXPECT_EQ(f.Cmb_Datumy->count(), 0);
    EXPECT_FALSE(f.Btn_Zmenit->isEnabled());
    EXPECT_FALSE(f.Btn_Smazat->isEnabled());
    EXPECT_DOUBLE_EQ(f.ShownValidFrom(), test::FixedNow());
    EXPECT_EQ(Cell(1, 0), "1. Od   Do");
    EXPECT_EQ(Cell(4, 0), "4. Od   Do");
    EXPECT_EQ(Cell(0, 2), "    2. Tarif");  // until the main window gives the names
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 4; ++c)
            EXPECT_EQ(Cell(c, r), "Nepoužito");
    EXPECT_FALSE(f.CasEdit->isVisible());
    EXPECT_FALSE(f.Button1->isVisible());
    EXPECT_EQ(f.DnyRadio->ItemIndex(), 0);
    EXPECT_TRUE(Messages().empty());
}

// "Nepoužito" and the captions "1. Od   Do" show their letters as the face sets
// them, with no gap inside a word.
TEST_F(TariffEditor, TheGridsWordsAreWhole) {
    TTarifyForm& f = Open();
    f.TabTarify->SetCells(1, 1, "06:00-14:00");
    EXPECT_EQ(test::GridWiderGaps(*f.TabTarify), "");
}

TEST_F(TariffEditor, ABandTypedIntoTheEditorGoesIntoItsZoneOfTheDayTypeShown) {
    TTarifyForm& f = Open();
    EditBand(2, 3);  // band 2 of tariff 3
    EXPECT_TRUE(f.Label1->isVisible());
    EXPECT_EQ(f.Label1->text().toStdString(), "Zadej tarif:");
    Type("06001400");
    EXPECT_EQ(f.CasEdit->EditText(), "06:00-14:00  _");
    Press(Qt::Key_Return);
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(f.CasEdit->isVisible());
    EXPECT_FALSE(f.Label1->isVisible());
    EXPECT_TRUE(f.BitBtn1->hasFocus());
    EXPECT_EQ(Cell(2, 3), "06:00-14:00");
    EXPECT_TRUE(f.Changed);
    EXPECT_EQ(f.Bands.Zone(0, 3, 2), (TTariffZone{360, 840, ZoneInUse}));
    EXPECT_EQ(f.Bands.Zone(1, 3, 2).State, ZoneNotInUse);

    // The weekend's bands are edited apart and keep the working days' ones.
    f.DnyRadio->Button(1)->click();
    EXPECT_EQ(Cell(2, 3), "Nepoužito");
    EditBand(1, 1);
    Type("22000600");
    Press(Qt::Key_Return);
    EXPECT_EQ(f.Bands.Zone(1, 1, 1), (TTariffZone{1320, 360, ZoneInUse}));
    f.DnyRadio->Button(0)->click();
    EXPECT_EQ(Cell(2, 3), "06:00-14:00");
    EXPECT_EQ(Cell(1, 1), "Nepoužito");
    EXPECT_EQ(f.Bands.Zone(0, 1, 1).State, ZoneNotInUse);

    // An open band shows its text in the editor.
    EditBand(2, 3);
    EXPECT_EQ(f.CasEdit->EditText(), "06:00-14:00  _");
    EXPECT_EQ(test::LayoutFaults(&f), std::vector<std::string>{});
    SavePicture(f, "tarify-editor.png");
}

// The band's colons are its own, whatever separator the session's times use.
TEST_F(TariffEditor, BandsKeepTheirColonsUnderAnotherTimeSeparator) {
    FormatSettings().TimeSeparator = '.';
    WriteHistory("Tarify.his", {TariffRecord(EncodeDate(2024, 1, 1), 360, 840)});
    TTarifyForm& f = Open();
    EditBand(1, 1);
    EXPECT_EQ(f.CasEdit->EditText(), "06:00-14:00  _");
    Type("07001500");
    Press(Qt::Key_Return);
    EXPECT_EQ(Cell(1, 1), "07:00-15:00");
    EXPECT_EQ(f.Bands.Zone(0, 1, 1), (TTariffZone{420, 900, ZoneInUse}));
}

TEST_F(TariffEditor, ARefusedBandIsReportedAndStaysInTheEditor) {
    TTarifyForm& f = Open();
    EditBand(1, 1);
    Type("24002570");
    Press(Qt::Key_Return);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Minuty druhého čas. údaje větší než 59 !"});
    EXPECT_EQ(notifier.Messages().at(0).Type, TMsgDlgType::mtError);
    EXPECT_TRUE(f.CasEdit->isVisible());
    EXPECT_TRUE(f.CasEdit->hasFocus());
    EXPECT_EQ(f.CasEdit->EditText(), "24:00-25:70  _");
    EXPECT_EQ(Cell(1, 1), "Nepoužito");
    EXPECT_FALSE(f.Changed);

    // Leaving the editor runs the check too and brings the focus back; the dialog
    // is not confirmed over the refused band.
    f.TabTarify->setFocus();
    Settle();
    EXPECT_EQ(notifier.Count(), 2u);
    EXPECT_TRUE(f.CasEdit->hasFocus());
    f.BitBtn1->click();
    EXPECT_TRUE(f.isVisible());

    // A blank in the times: the mask keeps the place, the check refuses it.
    f.CasEdit->SetText("_6:00-14:00  _");
    Press(Qt::Key_Return);
    EXPECT_EQ(Messages().back(), "Neúplně zadaný čas !");
    EXPECT_TRUE(f.CasEdit->isVisible());
}

TEST_F(TariffEditor, TheLetterNAndDeleteMarkTheBandUnusedAndEscapeLeavesItAsItWas) {
    WriteHistory("Tarify.his", {TariffRecord(EncodeDate(2024, 1, 1), 360, 840)});
    TTarifyForm& f = Open();
    ASSERT_EQ(Cell(1, 1), "06:00-14:00");

    EditBand(1, 1);
    Type("1");
    Press(Qt::Key_Escape);
    EXPECT_FALSE(f.CasEdit->isVisible());
    EXPECT_EQ(f.CasEdit->EditText(), "__:__-__:__  _");
    EXPECT_FALSE(f.EscapePressed);
    EXPECT_EQ(Cell(1, 1), "06:00-14:00");
    EXPECT_FALSE(f.Changed);
    EXPECT_TRUE(f.isVisible());  // Escape in the editor does not cancel the dialog

    // Only digits and N reach the editor; the letter ends it whatever the times.
    EditBand(1, 1);
    Type("x");
    Press(Qt::Key_Backspace);
    EXPECT_EQ(f.CasEdit->EditText(), "06:00-14:00  _");
    f.CasEdit->setCursorPosition(13);
    Type("n");
    Press(Qt::Key_Return);
    EXPECT_EQ(Cell(1, 1), " Nepoužito ");
    EXPECT_EQ(f.CasEdit->EditText(), "00:00-00:00  N");
    EXPECT_EQ(f.Bands.Zone(0, 1, 1).State, ZoneNotInUse);
    EXPECT_TRUE(f.Changed);

    f.Bands.Zone(0, 2, 4) = {60, 120, ZoneInUse};
    f.RefreshGrid();
    f.TabTarify->setFocus();
    f.TabTarify->FocusCell(4, 2);
    notifier.QueueAnswer(TModalResult::mrNo);
    Press(Qt::Key_Delete);
    EXPECT_EQ(Cell(4, 2), "01:00-02:00");
    Press(Qt::Key_Delete);  // answered Yes
    EXPECT_EQ(Messages().back(), "Opravdu chcete hodnotu smazat?");
    EXPECT_EQ(notifier.Messages().back().Type, TMsgDlgType::mtWarning);
    EXPECT_EQ(Cell(4, 2), " Nepoužito ");
    EXPECT_EQ(f.Bands.Zone(0, 2, 4).State, ZoneNotInUse);
    // Column 0 holds no band.
    f.TabTarify->FocusCell(0, 2);
    const size_t asked = notifier.Count();
    Press(Qt::Key_Delete);
    EXPECT_EQ(notifier.Count(), asked);
}

TEST_F(TariffEditor, NamesAndAbbreviationsComeThroughInputBoxesHeldToTheirLengths) {
    TTarifyForm& f = Open();
    f.TariffNames = {"", "Tarif 1", "Tarif 2", "Tarif 3"};
    f.TariffAbbrevs = {"", "T1", "T2", "T3"};
    f.RefreshGrid();
    EXPECT_EQ(Cell(0, 2), "Tarif 2");
    dialogs.AnswerInput("Nízký tarif pro noční odběr");
    dialogs.AnswerInput("NTX");
    f.TabTarify->setFocus();
    f.TabTarify->FocusCell(0, 2);
    Press(Qt::Key_Return);
    EXPECT_EQ(f.TariffNames[2], "Nízký tarif pro nočn");
    EXPECT_EQ(f.TariffAbbrevs[2], "NT");
    EXPECT_EQ(Cell(0, 2), "Nízký tarif pro nočn");
    EXPECT_FALSE(f.Changed);
    const std::vector<std::string> boxes = dialogs.Log();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], "InputQuery Tarify | Název tarifu: (max. 20 znaků) -> Nízký tarif pro noční odběr");
    EXPECT_EQ(boxes[1],
              "InputQuery Tarify | Zkratka tarifu: (max. 2 znaky - do tisku měsíční a roční tabulky) -> NTX");
    // A cancelled box keeps the name.
    Press(Qt::Key_Return);
    EXPECT_EQ(f.TariffNames[2], "Nízký tarif pro nočn");
    EXPECT_EQ(f.TariffAbbrevs[2], "NT");
}

// The history record as it goes into "Tarify.his": valid from the two edits, the
// marker 1, the length 120, then per day type 12 zones of start, end and state.
TEST_F(TariffEditor, StoredRecordsHoldTheEditsDateAndTimeAndBothDayTypesBands) {
    TTarifyForm& f = Open();
    f.Bands.Zone(0, 1, 1) = {360, 840, ZoneInUse};
    f.Bands.Zone(1, 3, 4) = {1320, 360, ZoneInUse};
    f.Changed = true;
    f.Dedt_Datum->SetDate(EncodeDate(2024, 7, 1));
    f.Dtp_Cas->SetTime(EncodeTime(6, 30, 0));
    // With an empty history the bands entered become its first record.
    f.StoreShownRecord();
    ASSERT_EQ(f.History.size(), 1u);
    EXPECT_EQ(f.RecordIndex, 0);
    std::vector<uint8_t> bytes;
    f.History[0].AppendBytes(bytes);
    ASSERT_EQ(bytes.size(), 132u);
    std::vector<uint8_t> head(12);
    const double validFrom = EncodeDate(2024, 7, 1) + EncodeTime(6, 30, 0);
    std::memcpy(head.data(), &validFrom, 8);  // the test machine is little-endian, as the file
    head[8] = 1;
    head[10] = 120;
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 12), head);
    auto zone = [&](int dayType, int z) {
        const size_t at = 12 + static_cast<size_t>(dayType * 12 + z) * 5;
        return std::vector<uint8_t>(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at) + 5);
    };
    EXPECT_EQ(zone(0, 0), (std::vector<uint8_t>{0x68, 0x01, 0x48, 0x03, 0}));
    EXPECT_EQ(zone(0, 1), (std::vector<uint8_t>{0, 0, 0, 0, 2}));
    EXPECT_EQ(zone(1, 11), (std::vector<uint8_t>{0x28, 0x05, 0x68, 0x01, 0}));
    EXPECT_EQ(zone(1, 0), (std::vector<uint8_t>{0, 0, 0, 0, 2}));

    // StoreRecord replaces the record, valid-from and all.
    f.Dedt_Datum->SetDate(EncodeDate(2025, 1, 1));
    f.Dtp_Cas->SetTime(0);
    f.StoreRecord(0);
    EXPECT_DOUBLE_EQ(f.History[0].ValidFrom, EncodeDate(2025, 1, 1));
    EXPECT_THROW(f.StoreRecord(1), EListError);
}

TEST_F(TariffEditor, NothingIsStoredForAnEmptyHistoryWithoutBandsEntered) {
    TTarifyForm& f = Open();
    f.StoreShownRecord();
    EXPECT_TRUE(f.History.empty());
}

TEST_F(TariffEditor, HistoryRecordsAreAddedChangedAndDeleted) {
    WriteHistory("Tarify.his", {TariffRecord(EncodeDate(2024, 7, 1), 600, 660),
                                TariffRecord(EncodeDate(2024, 1, 1), 360, 840)});
    TTarifyForm& f = Open();
    // Sorted by valid-from, the last one shown with its valid-from in the edits.
    ASSERT_EQ(f.Cmb_Datumy->count(), 2);
    EXPECT_EQ(f.Cmb_Datumy->itemText(0).toStdString(), "01.01.2024");
    EXPECT_EQ(f.RecordIndex, 1);
    EXPECT_EQ(f.Cmb_Datumy->currentIndex(), 1);
    EXPECT_EQ(Cell(1, 1), "10:00-11:00");
    EXPECT_DOUBLE_EQ(f.ShownValidFrom(), EncodeDate(2024, 7, 1));
    EXPECT_TRUE(f.Btn_Zmenit->isEnabled());

    // "Přidat": a record from the edits with the bands shown, at the end.
    f.Dedt_Datum->SetDate(EncodeDate(2025, 2, 1));
    f.Dtp_Cas->SetTime(EncodeTime(12, 0, 0));
    f.Btn_Pridat->click();
    ASSERT_EQ(f.History.size(), 3u);
    EXPECT_EQ(f.RecordIndex, 2);
    EXPECT_EQ(f.Cmb_Datumy->currentIndex(), 2);
    EXPECT_DOUBLE_EQ(f.History[2].ValidFrom, EncodeDate(2025, 2, 1) + EncodeTime(12, 0, 0));
    EXPECT_EQ(f.History[2].Body, f.History[1].Body);

    // "Změnit" after its question; No changes nothing.
    f.Dedt_Datum->SetDate(EncodeDate(2023, 5, 5));
    notifier.QueueAnswer(TModalResult::mrNo);
    f.Btn_Zmenit->click();
    EXPECT_DOUBLE_EQ(f.History[2].ValidFrom, EncodeDate(2025, 2, 1) + EncodeTime(12, 0, 0));
    f.Btn_Zmenit->click();
    EXPECT_EQ(Messages().back(), "Opravdu si přejete změnit datum platnosti?");
    EXPECT_DOUBLE_EQ(f.History[2].ValidFrom, EncodeDate(2023, 5, 5) + EncodeTime(12, 0, 0));
    EXPECT_EQ(f.Cmb_Datumy->itemText(2).toStdString().substr(0, 10), "05.05.2023");  // not sorted again

    // Choosing another record with bands edited asks to store them into the one shown.
    f.Bands.Zone(0, 2, 1) = {0, 60, ZoneInUse};
    f.Changed = true;
    f.Cmb_Datumy->activated(2);  // the record shown again: nothing asked, nothing lost
    EXPECT_EQ(Messages().back(), "Opravdu si přejete změnit datum platnosti?");
    EXPECT_TRUE(f.Changed);
    f.Cmb_Datumy->setCurrentIndex(0);
    f.Cmb_Datumy->activated(0);
    EXPECT_EQ(Messages().back(), "Byly provedeny změny v nastavení tarifu, přejete si je uložit?");
    EXPECT_EQ(f.RecordIndex, 0);
    EXPECT_FALSE(f.Changed);
    TTariffTable stored;
    stored.ReadBody(f.History[2].Body.data(), f.History[2].Body.size());
    EXPECT_EQ(stored.Zone(0, 2, 1), (TTariffZone{0, 60, ZoneInUse}));
    EXPECT_EQ(Cell(1, 1), "06:00-14:00");
    EXPECT_DOUBLE_EQ(f.ShownValidFrom(), EncodeDate(2024, 1, 1));

    // "Smazat" of the last record: the one before it is shown, its valid-from in
    // the edits, so that storing the bands gives it no other record's date.
    f.Cmb_Datumy->setCurrentIndex(2);
    f.Cmb_Datumy->activated(2);
    f.Btn_Smazat->click();
    EXPECT_EQ(Messages().back(), "Opravdu si přejete smazat datum platnosti a nastavení tarifů?");
    ASSERT_EQ(f.History.size(), 2u);
    EXPECT_EQ(f.RecordIndex, 1);
    EXPECT_EQ(Cell(1, 1), "10:00-11:00");
    EXPECT_DOUBLE_EQ(f.ShownValidFrom(), EncodeDate(2024, 7, 1));
    f.Btn_Smazat->click();
    f.Btn_Smazat->click();
    EXPECT_TRUE(f.History.empty());
    EXPECT_EQ(f.RecordIndex, -1);
    EXPECT_FALSE(f.Btn_Smazat->isEnabled());
    EXPECT_FALSE(f.Btn_Zmenit->isEnabled());
    EXPECT_EQ(Cell(1, 1), "Nepoužito");
}

// Bands edited go into the record "Přidat" makes; the one shown keeps its own, and
// nothing is asked when another record is chosen.
TEST_F(TariffEditor, BandsEditedGoIntoTheRecordAdded) {
    WriteHistory("Tarify.his", {TariffRecord(EncodeDate(2024, 1, 1), 360, 840)});
    TTarifyForm& f = Open();
    const std::vector<uint8_t> first = f.History[0].Body;
    f.Bands.Zone(0, 3, 3) = {1200, 1260, ZoneInUse};
    f.Changed = true;
    f.Dedt_Datum->SetDate(EncodeDate(2025, 1, 1));
    f.Btn_Pridat->click();
    ASSERT_EQ(f.History.size(), 2u);
    EXPECT_FALSE(f.Changed);
    EXPECT_EQ(Cell(3, 3), "20:00-21:00");
    EXPECT_EQ(f.History[0].Body, first);
    f.Cmb_Datumy->setCurrentIndex(0);
    f.Cmb_Datumy->activated(0);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Cell(3, 3), "Nepoužito");
}

TEST_F(TariffEditor, ADamagedHistoryIsReportedAndItsIntactRecordsShown) {
    WriteHistory("Tarify.his", {TariffRecord(EncodeDate(2024, 1, 1), 360, 840)});
    {
        std::ofstream(dir / "Tarify.his", std::ios::binary | std::ios::app) << "cut short";
    }
    TTarifyForm& f = Open();
    EXPECT_EQ(Messages(), std::vector<std::string>{
                              "Chyba při načítání historie tarifů/směn!\n" + dir / "Tarify.his" +
                              "\nPoškozený záznam na pozici 132 (vynecháno bajtů:\u00a09): soubor končí uprostřed "
                              "záznamu.\nPoškozená místa nebyla použita.\nEditor ukazuje jen nepoškozené záznamy; "
                              "než soubor přepíše, zeptá se."});
    ASSERT_EQ(f.History.size(), 1u);
    EXPECT_EQ(Cell(1, 1), "06:00-14:00");
    EXPECT_TRUE(f.HistoryReadable());
}

TEST_F(TariffEditor, TheHolidayButtonShowsTheHolidayDialogAndOnlyEditsReachTheList) {
    HolidayList = {THolidayRecord{2000, 2020, 28, 10, "Den vzniku"}};
    TTarifyForm& f = Open();
    QTimer::singleShot(0, [] {
        auto* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle().toStdString(), "Definice dnů pracovního volna");
        dialog->findChild<QPushButton*>("Btn_OK")->click();
    });
    f.Btn_Svatky->click();
    ASSERT_EQ(HolidayList.size(), 1u);
    EXPECT_EQ(HolidayList[0].ToYear, 2020);
    HolidayList.clear();
}

TEST_F(TariffEditor, AltF4IsSwallowedAndEscapeCancels) {
    TTarifyForm& f = Open();
    Press(Qt::Key_F4, Qt::AltModifier);
    EXPECT_TRUE(f.isVisible());
    QTimer::singleShot(0, [this] { Press(Qt::Key_Escape); });
    EXPECT_EQ(f.ShowModal(), ModalResults::Cancel);
    QTimer::singleShot(0, [&f] { f.BitBtn1->click(); });
    EXPECT_EQ(f.ShowModal(), ModalResults::Ok);
}

TEST_F(TariffEditor, PictureAtTheDefaultSize) {
    WriteHistory("Tarify.his", {TariffRecord(EncodeDate(2024, 1, 1) + EncodeTime(6, 0, 0), 360, 840)});
    TTarifyForm& f = Open();
    f.setWindowTitle("Tarify");
    f.TariffNames = {"", "Tarif 1", "Tarif 2", "Tarif 3"};
    f.Chk_Svatky->setChecked(true);
    f.RefreshGrid();
    // Every text whole: the grid's cells in their columns, the controls inside the dialog.
    TCanvas measure;
    measure.SetFont(f.TabTarify->Font());
    for (int r = 0; r < f.TabTarify->RowCount(); ++r)
        for (int c = 0; c < f.TabTarify->ColCount(); ++c)
            EXPECT_LE(measure.TextWidth(Cell(c, r)) + 4, f.TabTarify->ColWidths(c)) << Cell(c, r);
    for (QWidget* w : f.findChildren<QWidget*>())
        if (w->parentWidget() == &f && !w->isHidden()) {
            EXPECT_TRUE(f.rect().contains(w->geometry())) << w->objectName().toStdString();
        }
    for (QPushButton* b : f.findChildren<QPushButton*>()) {
        if (!b->isHidden()) {
            EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text().remove('&')) + 8, b->width())
                << b->text().toStdString();
        }
    }
    EXPECT_LE(f.Chk_Svatky->sizeHint().width(), f.Chk_Svatky->width());
    SavePicture(f, "tarify.png");
}

} // namespace

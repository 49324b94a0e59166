// The shift editor: a shift edited with its name and abbreviation, the two presses
// of "&Potvrď", the history records it keeps and its picture.
#include "dialogs/Smenyunit.h"

#include "ScheduleFixture.h"
#include "LayoutProbe.h"
#include "LetterGaps.h"
#include "controls/ToolEdit.h"
#include "core/ProgramGlobals.h"
#include "platform/Exceptions.h"
#include "platform/qt/Grids.h"
#include "platform/qt/TimePicker.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <cstring>

using namespace zeko;

namespace {

THistoryRecord ShiftRecord(TDateTime validFrom, uint16_t start, uint16_t end) {
    TShiftTable table;
    table.Shifts[0] = {start, end};
    return THistoryRecord::Of(validFrom, table);
}

struct ShiftEditor : test::ScheduleFixture<TSmenyForm> {
    ShiftEditor() {
        ShiftNamesEdit = {"", "Ranní", "Odpol.", "Noční"};
        ShiftAbbrevsEdit = {"", "R", "O", "N"};
    }
    ~ShiftEditor() override {
        ShiftNamesEdit = ShiftNames;
        ShiftAbbrevsEdit = ShiftAbbrevs;
    }
    void EditShift(int row) {
        form->TabSmeny->setFocus();
        form->TabSmeny->FocusCell(1, row);
        Press(Qt::Key_Return);
        ASSERT_TRUE(form->Editing());
    }
    const std::string& Cell(int row) const { return form->TabSmeny->Cells(1, row); }
};

TEST_F(ShiftEditor, AShiftIsEditedWithItsNameAndEndedByTheFirstConfirm) {
    TSmenyForm& f = Open();
    EXPECT_EQ(f.size(), QSize(TSmenyForm::ClientWidth, TSmenyForm::ClientHeight));
    EXPECT_EQ(f.TabSmeny->Cells(0, 1), "  1. Směna");
    EXPECT_EQ(f.TabSmeny->Cells(1, 0), " Od       Do");
    // Without a history the shifts in effect are the defaults, not stored yet.
    EXPECT_EQ(Cell(1), "06:00-14:00");
    EXPECT_EQ(Cell(2), "14:00-22:00");
    EXPECT_EQ(Cell(3), "22:00-06:00");
    EXPECT_EQ(f.Cmb_Datumy->count(), 0);
    EXPECT_EQ(f.Cmb_Datumy->placeholderText().toStdString(), "výchozí, neuloženo");
    // The words whole beside the list's arrow.
    EXPECT_LE(f.Cmb_Datumy->fontMetrics().horizontalAdvance(f.Cmb_Datumy->placeholderText()) + 30,
              f.Cmb_Datumy->width());
    EXPECT_FALSE(f.NazevEdit->isVisible());

    EditShift(2);
    for (QWidget* w : std::initializer_list<QWidget*>{f.Label1, f.CasEdit, f.NazevLabel, f.NazevEdit, f.ZkratkaLabel,
                                                      f.ZkratkaEdit})
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_FALSE(f.TabSmeny->isEnabled());
    EXPECT_FALSE(f.BitBtn2->isEnabled());
    EXPECT_TRUE(f.NazevEdit->hasFocus());
    EXPECT_EQ(f.NazevEdit->Text(), "Odpol.");
    EXPECT_EQ(f.ZkratkaEdit->Text(), "O");
    EXPECT_EQ(f.CasEdit->EditText(), "14:00-22:00  _");
    // The edits of the shift beside the grid, clear of the buttons below.
    EXPECT_EQ(test::LayoutFaults(&f), std::vector<std::string>{});
    SavePicture(f, "smeny-editor.png");

    // A name of more than seven characters cannot be typed; Enter moves on.
    f.NazevEdit->selectAll();
    Type("Odpolednice");
    EXPECT_EQ(f.NazevEdit->Text(), "Odpoled");
    Press(Qt::Key_Return);
    EXPECT_TRUE(f.ZkratkaEdit->hasFocus());
    Type("OPX");
    EXPECT_EQ(f.ZkratkaEdit->Text(), "OP");
    Press(Qt::Key_Return);
    ASSERT_TRUE(f.CasEdit->hasFocus());
    f.CasEdit->setCursorPosition(0);
    Type("13002100");
    Press(Qt::Key_Return);
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(f.BitBtn1->hasFocus());
    EXPECT_EQ(f.Bands.Shifts[1], (TShiftBand{780, 1260}));
    EXPECT_TRUE(f.Changed);
    EXPECT_EQ(Cell(2), "14:00-22:00");  // not before the editing ends

    f.BitBtn1->click();
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.Editing());
    EXPECT_EQ(Cell(2), "13:00-21:00");
    EXPECT_EQ(ShiftNamesEdit[2], "Odpoled");
    EXPECT_EQ(ShiftAbbrevsEdit[2], "OP");
    EXPECT_FALSE(f.NazevEdit->isVisible());
    EXPECT_TRUE(f.TabSmeny->isEnabled());
    EXPECT_TRUE(f.BitBtn2->isEnabled());
    QTimer::singleShot(0, [&f] { f.BitBtn1->click(); });
    EXPECT_EQ(f.ShowModal(), ModalResults::Ok);
}

// The shift names, "Nepoužito" and the caption " Od       Do" with no gap inside a
// word.
TEST_F(ShiftEditor, TheGridsWordsAreWhole) {
    TSmenyForm& f = Open();
    EXPECT_EQ(test::GridWiderGaps(*f.TabSmeny), "");
}

TEST_F(ShiftEditor, NMarksTheShiftUnusedAndEscapeGivesTheCellsTextBack) {
    WriteHistory("Smeny.his", {ShiftRecord(EncodeDate(2024, 1, 1), 360, 840)});
    TSmenyForm& f = Open();
    ASSERT_EQ(Cell(1), "06:00-14:00");
    EditShift(1);
    f.CasEdit->setFocus();
    Type("0700");
    EXPECT_EQ(f.CasEdit->EditText(), "07:00-__:__  _");
    Press(Qt::Key_Escape);
    EXPECT_EQ(f.CasEdit->EditText(), "06:00-14:00  _");
    EXPECT_TRUE(f.Editing());  // the editors stay open
    EXPECT_FALSE(f.Changed);
    EXPECT_TRUE(Messages().empty());

    f.CasEdit->setFocus();
    f.CasEdit->setCursorPosition(13);
    Type("n");
    Press(Qt::Key_Return);
    EXPECT_EQ(f.CasEdit->EditText(), "00:00-00:00  N");
    EXPECT_EQ(f.Bands.Shifts[0], (TShiftBand{ShiftNotInUse, ShiftNotInUse}));
    f.BitBtn1->click();
    EXPECT_EQ(Cell(1), "Nepoužito");

    // A refused band keeps the editing open: the first "&Potvrď" does not end it.
    EditShift(3);
    f.CasEdit->setFocus();
    Type("2500");
    Press(Qt::Key_Return);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Neúplně zadaný čas !"});
    f.BitBtn1->click();
    EXPECT_TRUE(f.Editing());
}

// The cell shows what the shift holds, also when only its name was edited; while a
// shift is edited Escape does not cancel the dialog.
TEST_F(ShiftEditor, ANameEditedAloneLeavesTheBandAsItWas) {
    TSmenyForm& f = Open();
    EditShift(3);
    Type("Noc");
    Press(Qt::Key_Escape);
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.Editing());
    f.BitBtn1->click();
    EXPECT_EQ(Cell(3), "22:00-06:00");
    EXPECT_EQ(ShiftNamesEdit[3], "Noc");
    EXPECT_FALSE(f.Changed);
    EXPECT_EQ(f.Bands.Shifts[2], (TShiftBand{1320, 360}));
}

TEST_F(ShiftEditor, DeleteInTheGridMarksTheShiftUnused) {
    WriteHistory("Smeny.his", {ShiftRecord(EncodeDate(2024, 1, 1), 360, 840)});
    TSmenyForm& f = Open();
    f.TabSmeny->setFocus();
    f.TabSmeny->FocusCell(1, 1);
    Press(Qt::Key_Delete);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Opravdu chcete hodnotu smazat?"});
    EXPECT_EQ(Cell(1), "Nepoužito");
    EXPECT_EQ(f.Bands.Shifts[0], (TShiftBand{ShiftNotInUse, ShiftNotInUse}));
    EXPECT_TRUE(f.Changed);
}

// "Přidat" takes the PC's clock, not the edits; StoreRecord keeps a record's
// valid-from and writes the 12-byte body: per shift start and end, little-endian.
TEST_F(ShiftEditor, RecordsAreAddedValidFromNowAndStoredInPlace) {
    WriteHistory("Smeny.his", {ShiftRecord(EncodeDate(2024, 1, 1), 360, 840)});
    TSmenyForm& f = Open();
    f.Dedt_Datum->SetDate(EncodeDate(2020, 1, 1));
    f.Btn_Pridat->click();
    ASSERT_EQ(f.History.size(), 2u);
    EXPECT_DOUBLE_EQ(f.History[1].ValidFrom, test::FixedNow());
    EXPECT_EQ(f.RecordIndex, 1);
    EXPECT_DOUBLE_EQ(f.ShownValidFrom(), test::FixedNow());
    // "Změnit" then sets the wanted date.
    f.Dedt_Datum->SetDate(EncodeDate(2025, 6, 1));
    f.Dtp_Cas->SetTime(EncodeTime(6, 0, 0));
    f.Btn_Zmenit->click();
    EXPECT_DOUBLE_EQ(f.History[1].ValidFrom, EncodeDate(2025, 6, 1) + EncodeTime(6, 0, 0));

    f.Bands.Shifts = {TShiftBand{360, 840}, TShiftBand{840, 1320}, TShiftBand{ShiftNotInUse, ShiftNotInUse}};
    f.Dedt_Datum->SetDate(EncodeDate(2030, 1, 1));
    f.StoreRecord(1);
    EXPECT_DOUBLE_EQ(f.History[1].ValidFrom, EncodeDate(2025, 6, 1) + EncodeTime(6, 0, 0));
    std::vector<uint8_t> bytes;
    f.History[1].AppendBytes(bytes);
    ASSERT_EQ(bytes.size(), 24u);
    EXPECT_EQ(bytes[8], 1);
    EXPECT_EQ(bytes[9], 0);
    EXPECT_EQ(bytes[10], 12);
    EXPECT_EQ(bytes[11], 0);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 12, bytes.end()),
              (std::vector<uint8_t>{0x68, 0x01, 0x48, 0x03, 0x48, 0x03, 0x28, 0x05, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_THROW(f.StoreRecord(2), EListError);

    // Editing a band, ending the editing and choosing another record asks whether
    // to store it into the one shown.
    EditShift(3);
    f.CasEdit->setFocus();
    Type("22000600");
    Press(Qt::Key_Return);
    f.BitBtn1->click();
    notifier.QueueAnswer(TModalResult::mrNo);
    f.Cmb_Datumy->setCurrentIndex(0);
    f.Cmb_Datumy->activated(0);
    EXPECT_EQ(Messages().back(), "Byly provedeny změny v nastavení směny, přejete si je uložit?");
    EXPECT_EQ(f.RecordIndex, 0);
    EXPECT_EQ(Cell(1), "06:00-14:00");
    EXPECT_EQ(Cell(3), "Nepoužito");
}

TEST_F(ShiftEditor, BandsEnteredIntoAnEmptyHistoryBecomeItsFirstRecord) {
    TSmenyForm& f = Open();
    EXPECT_FALSE(f.Btn_Smazat->isEnabled());
    EditShift(1);
    f.CasEdit->setFocus();
    f.CasEdit->setCursorPosition(0);
    Type("05001300");
    Press(Qt::Key_Return);
    f.BitBtn1->click();
    f.StoreShownRecord();
    ASSERT_EQ(f.History.size(), 1u);
    EXPECT_DOUBLE_EQ(f.History[0].ValidFrom, test::FixedNow());
    // The edited shift and the other two as they were in effect, the defaults.
    TShiftTable stored;
    stored.ReadBody(f.History[0].Body.data(), f.History[0].Body.size());
    EXPECT_EQ(stored.Shifts[0], (TShiftBand{300, 780}));
    EXPECT_EQ(stored.Shifts[1], (TShiftBand{840, 1320}));
    EXPECT_EQ(stored.Shifts[2], (TShiftBand{1320, 360}));
}

// The defaults shown are stored only when something is changed: "Potvrď" alone
// leaves the history empty, and the evaluations go on using the defaults.
TEST_F(ShiftEditor, TheDefaultShiftsShownAreNotStoredUnchanged) {
    TSmenyForm& f = Open();
    f.setWindowTitle("Směny");
    EXPECT_EQ(test::LayoutFaults(&f), std::vector<std::string>{});
    SavePicture(f, "smeny-vychozi.png");
    f.StoreShownRecord();
    EXPECT_TRUE(f.History.empty());
    // Deleting the last record shows the defaults again.
    f.Btn_Pridat->click();
    ASSERT_EQ(f.History.size(), 1u);
    EXPECT_EQ(f.Cmb_Datumy->count(), 1);
    notifier.QueueAnswer(TModalResult::mrYes);
    f.Btn_Smazat->click();
    EXPECT_TRUE(f.History.empty());
    EXPECT_EQ(Cell(1), "06:00-14:00");
    EXPECT_EQ(f.Cmb_Datumy->currentIndex(), -1);
}

TEST_F(ShiftEditor, PictureAtTheDefaultSize) {
    WriteHistory("Smeny.his", {ShiftRecord(EncodeDate(2024, 1, 1), 360, 840)});
    TSmenyForm& f = Open();
    f.setWindowTitle("Směny");
    TCanvas measure;
    measure.SetFont(f.TabSmeny->Font());
    for (int r = 0; r < f.TabSmeny->RowCount(); ++r)
        for (int c = 0; c < f.TabSmeny->ColCount(); ++c)
            EXPECT_LE(measure.TextWidth(f.TabSmeny->Cells(c, r)) + 4, f.TabSmeny->ColWidths(c))
                << f.TabSmeny->Cells(c, r);
    for (QWidget* w : f.findChildren<QWidget*>())
        if (w->parentWidget() == &f && !w->isHidden()) {
            EXPECT_TRUE(f.rect().contains(w->geometry())) << w->objectName().toStdString();
        }
    for (QPushButton* b : f.findChildren<QPushButton*>())
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text().remove('&')) + 8, b->width())
            << b->text().toStdString();
    SavePicture(f, "smeny.png");
}

} // namespace

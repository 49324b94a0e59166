// The settings dialog: what it shows of the settings, what it stores back, its
// rules and checks as the user meets them, its file buttons, and pictures of its
// pages.
#include "dialogs/nastaveni.h"

#include "core/RegulatorReplies.h"
#include "core/Zeko.h"
#include "grids/Aligrid.h"
#include "grids/HgGrid.h"
#include "platform/Exceptions.h"
#include "platform/FormatSettings.h"
#include "platform/IniFile.h"
#include "platform/Notifier.h"
#include "platform/ProgramDir.h"
#include "platform/UserDialogs.h"
#include "platform/qt/RadioGroup.h"
#include "support/QtApp.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <tuple>

using namespace zeko;

namespace {

// Settings of an installation of 12 outputs, the first three inductive.
TZEKO Installation() {
    TZEKO s;
    s.OutputCount = 12;
    s.OutputTypes = 0x0007;
    for (size_t i = 0; i < s.OutputValues.size(); ++i)
        s.OutputValues[i] = static_cast<uint16_t>(25 * (i + 1));
    s.DischargeTimes.fill(6);
    s.FaultOutput = 1;
    s.FaultDelay = 10;
    s.MeterConstants = {230000, 100000000, 1, 123456789};
    s.InputFunctions = {0, 1, 2, 5};
    s.AveragingIndex = 3;
    s.NonAveragedPulse = 20;
    s.SpeedUnder = 60;
    s.SpeedOver = 30;
    s.SpeedType = 0x10;
    s.BandLow = 78;
    s.BandCentre = 98;
    s.BandHigh = 118;
    s.Band2Low = 0;
    s.Band2Centre = 128;
    s.Band2High = 255;
    s.UseBand2 = 1;
    s.Band2Start = 6 * 60;
    s.Band2End = 22 * 60;
    s.Switches = 0x81;
    s.SensitivityIndex = 2;
    s.UnderWait = 3;
    return s;
}

// Every byte the regulator holds of the settings, in its register layouts.
std::vector<uint8_t> RegisterBytes(const TZEKO& s) {
    const TLastBlockBytes block = EncodeLastSettingsBlock(s);
    std::vector<uint8_t> bytes(block.begin(), block.end());
    for (uint8_t index : StartupSettingsIndices) {
        const std::vector<uint8_t> part = EncodeStartupSettings(RegisterOf(index), s);
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return bytes;
}

struct SettingsDialog : ::testing::Test {
    SettingsDialog() { test::QtApp(); }

    TNastaveniForm& Open() {
        form = std::make_unique<TNastaveniForm>(edited, current);
        form->LoadControls();
        form->show();
        form->activateWindow();
        EXPECT_TRUE(test::ProcessEventsUntil([&] { return form->isActiveWindow(); }));
        return *form;
    }
    // Types a text into an edit and leaves it, as the user would.
    void Type(TCheckedEdit* edit, const std::string& text) {
        form->PageControl1->setCurrentWidget(edit->parentWidget());
        edit->setFocus();
        ASSERT_TRUE(test::ProcessEventsUntil([&] { return edit->hasFocus(); }));
        edit->SetText(text);
        form->BitBtn2->setFocus();
        QApplication::processEvents();
    }
    void Choose(TRadioGroup* group, int item) { group->Button(item)->click(); }

    TZEKO current = Installation();
    TZEKO edited = Installation();
    ScopedLoggingNotifier notifier;
    std::unique_ptr<TNastaveniForm> form;
};

} // namespace

TEST_F(SettingsDialog, ShowsTheSettingsAsTheRegulatorHoldsThem) {
    TNastaveniForm& f = Open();
    EXPECT_EQ(f.windowTitle().toStdString(), "Nastavení regulátoru");
    EXPECT_EQ(f.size(), QSize(386, 438));
    EXPECT_EQ(f.PageControl1->currentWidget(), f.TabRegulace);
    EXPECT_FALSE(f.PageControl1->isTabVisible(f.PageControl1->indexOf(f.TabVystupy2)));
    EXPECT_FALSE(f.Btn_TiskniNastaveni->isEnabled());
    EXPECT_FALSE(f.Btn_OdesliNastaveni->isEnabled());
    EXPECT_TRUE(f.BandsLoaded());
    EXPECT_EQ(f.Edt_Dolni->Text(), "0,950");
    EXPECT_EQ(f.Edt_Horni->Text(), "0,990");
    EXPECT_EQ(f.Edt_Dolni2->Text(), "0,872");
    EXPECT_EQ(f.Edt_Stred2->Text(), "1,000");
    EXPECT_EQ(f.Edt_Horni2->Text(), "-0,873");
    EXPECT_EQ(f.Cmb_TypNedokompenzovano->currentIndex(), 0);
    EXPECT_EQ(f.Cmb_TypPrekompenzovano->currentText().toStdString(), "Exponenciální");
    EXPECT_EQ(f.Rgp_PouzijP2->ItemIndex(), 1);
    EXPECT_EQ(f.Edt_ZacatekP2->Text(), "06:00");
    EXPECT_EQ(f.Edt_KonecP2->Text(), "22:00");
    EXPECT_EQ(f.Cmb_Citlivost->currentText().toStdString(), "1/50");
    EXPECT_EQ(f.Cmb_Prodleva->currentText().toStdString(), "3 impulsy");
    EXPECT_EQ(f.Cmb_Vstup[3]->currentText().toStdString(), "Nepřiřazeno");
    EXPECT_EQ(f.Edt_Konstanta[0]->Text(), "2,30000");
    EXPECT_EQ(f.Edt_Konstanta[2]->Text(), "0,00001");
    EXPECT_EQ(f.Cmb_Prumer->currentText().toStdString(), "4");
    EXPECT_EQ(f.Edt_Neprumerovatelnadelka->Text(), "30");
    EXPECT_EQ(f.Cmb_VystupniExpander->ItemIndex(), 1);
    EXPECT_EQ(f.Cmb_PocetVystupu->currentText().toStdString(), "12");
    EXPECT_EQ(f.Hg_Typ->Cells(0, 2), "L");
    EXPECT_EQ(f.Hg_Typ->Cells(0, 3), "C");
    EXPECT_EQ(f.Hg_Typ->RowHeights(5), TNastaveniForm::OutputRowHeight);
    EXPECT_EQ(f.Grd_Hodnota->Cells(0, 0), "2,5");
    EXPECT_EQ(f.Grd_Hodnota->Cells(0, 15), "40,0");
    EXPECT_EQ(f.Grd_Cas->Cells(0, 15), "60");
    EXPECT_EQ(f.Rgp_VystupPoruchy->ItemIndex(), 0);
    EXPECT_EQ(f.Edt_ZpozdeniPoruchy->Text(), "10");
    EXPECT_TRUE(f.Edt_ZpozdeniPoruchy->isEnabled());
}

TEST_F(SettingsDialog, ConfirmedWithoutAnEditItStoresEveryByteAsItWas) {
    // Bytes that no list item shows, and values that doubles would not bring back
    // by truncating.
    edited.InputFunctions = {6, 0, 255, 5};
    edited.AveragingIndex = 9;
    edited.SensitivityIndex = 8;
    edited.UnderWait = 11;
    edited.OutputCount = 17;
    edited.UseBand2 = 2;
    edited.FaultOutput = 3;
    edited.SpeedType = 0x23;
    edited.OutputValues[4] = 32767;
    edited.OutputValues[5] = 3;
    edited.NonAveragedPulse = 255;
    edited.SpeedUnder = 0;
    for (uint8_t wait : {uint8_t{0}, uint8_t{11}}) {
        edited.UnderWait = wait;
        TNastaveniForm& f = Open();
        EXPECT_EQ(f.Cmb_Vstup[0]->currentIndex(), -1);
        EXPECT_EQ(f.Cmb_Prumer->currentIndex(), -1);
        EXPECT_EQ(f.Cmb_Prodleva->currentIndex(), -1);
        EXPECT_EQ(f.Cmb_PocetVystupu->currentIndex(), -1);
        EXPECT_EQ(f.Rgp_PouzijP2->ItemIndex(), -1);
        const TZEKO loaded = edited;
        f.StoreControls();
        EXPECT_EQ(edited.UnderWait, wait);
        edited.UnderWait = loaded.UnderWait;
        EXPECT_EQ(RegisterBytes(edited), RegisterBytes(loaded));
        EXPECT_EQ(edited.InputFunctions, loaded.InputFunctions);
        EXPECT_EQ(edited.FaultOutput, 3);
        EXPECT_EQ(edited.UseBand2, 2);
    }
    // The expander's other switches are the ones the regulator has now.
    current.Switches = 0x40;
    Open().StoreControls();
    EXPECT_EQ(edited.Switches, 0x41);
}

TEST_F(SettingsDialog, ListsStoreTheirChoice) {
    TNastaveniForm& f = Open();
    f.Cmb_Prodleva->setCurrentIndex(9);  // the empty tenth item
    f.Cmb_TypNedokompenzovano->setCurrentIndex(1);
    f.Cmb_TypPrekompenzovano->setCurrentIndex(0);
    f.Cmb_Vstup[1]->setCurrentIndex(4);
    f.Cmb_PocetVystupu->setCurrentIndex(15);
    Choose(f.Rgp_PouzijP2, 0);
    Choose(f.Cmb_VystupniExpander, 0);
    Choose(f.Rgp_VystupPoruchy, 1);
    EXPECT_FALSE(f.Edt_ZpozdeniPoruchy->isEnabled());
    f.StoreControls();
    EXPECT_EQ(edited.UnderWait, 10);
    EXPECT_EQ(edited.SpeedType, 0x01);
    EXPECT_EQ(edited.InputFunctions[1], 4);
    EXPECT_EQ(edited.OutputCount, 16);
    EXPECT_EQ(edited.UseBand2, 0);
    EXPECT_EQ(edited.Switches, 0x80);
    EXPECT_EQ(edited.FaultOutput, 0);
    Choose(f.Rgp_VystupPoruchy, 0);
    EXPECT_TRUE(f.Edt_ZpozdeniPoruchy->isEnabled());
}

TEST_F(SettingsDialog, EditsAreCheckedWhenTheyAreLeft) {
    TNastaveniForm& f = Open();
    Type(f.Edt_Dolni, "0,98");  // above its centre 0.970
    EXPECT_EQ(f.Edt_Dolni->Text(), "0,969");
    Type(f.Edt_Stred, "0,995");  // above the upper edge: accepted
    EXPECT_EQ(f.Edt_Stred->Text(), "0,995");
    Type(f.Edt_CasNedokompenzovano, "0");
    EXPECT_EQ(f.Edt_CasNedokompenzovano->Text(), "1");
    Type(f.Edt_Konstanta[1], "2,3");
    EXPECT_EQ(f.Edt_Konstanta[1]->Text(), "2,30000");
    Type(f.Edt_ZpozdeniPoruchy, "300");
    EXPECT_EQ(f.Edt_ZpozdeniPoruchy->Text(), "255");
    EXPECT_EQ(notifier.Count(), 0u);
    f.StoreControls();
    EXPECT_EQ(edited.BandLow, 97);
    EXPECT_EQ(edited.BandCentre, 123);
    EXPECT_EQ(edited.SpeedUnder, 1);
    EXPECT_EQ(edited.MeterConstants[1], 230000u);
    EXPECT_EQ(edited.FaultDelay, 255);
}

TEST_F(SettingsDialog, EditsTakeOnlyTheirCharactersAndEnterMovesOn) {
    TNastaveniForm& f = Open();
    const auto press = [](QWidget* target, int key, const QString& text) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &event);
    };
    const auto typeInto = [&](TCheckedEdit* edit, const QString& keys) {
        edit->setFocus();
        edit->SetText("");
        for (QChar c : keys)
            press(edit, c.toUpper().unicode(), QString(c));
        return edit->Text();
    };
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return f.isActiveWindow(); }));
    EXPECT_EQ(typeInto(f.Edt_Dolni, "-0,9a5.x"), "-0,95");
    EXPECT_EQ(typeInto(f.Edt_CasNedokompenzovano, "1-2,3a"), "123");
    EXPECT_EQ(typeInto(f.Edt_Konstanta[0], "1-2,3a"), "12,3");
    f.Edt_Dolni->setFocus();
    press(f.Edt_Dolni, Qt::Key_Return, "\r");
    EXPECT_TRUE(test::ProcessEventsUntil([&] { return !f.Edt_Dolni->hasFocus(); }));
    EXPECT_TRUE(f.isVisible());  // no button took the Enter
    // The value grids take digits and the decimal separator.
    f.PageControl1->setCurrentWidget(f.TabVystupy);
    f.Grd_Hodnota->setFocus();
    f.Grd_Hodnota->FocusCell(0, 4);
    char32_t letter = U'x', digit = U'7', comma = U',';
    f.Grd_Hodnota->OnKeyPress(f.Grd_Hodnota, letter);
    f.Grd_Hodnota->OnKeyPress(f.Grd_Hodnota, digit);
    f.Grd_Hodnota->OnKeyPress(f.Grd_Hodnota, comma);
    EXPECT_EQ(letter, 0u);
    EXPECT_EQ(digit, U'7');
    EXPECT_EQ(comma, U',');
}

TEST_F(SettingsDialog, ABandTimeOutsideTheDayIsRefusedAndNeverStored) {
    TNastaveniForm& f = Open();
    Type(f.Edt_KonecP2, "24:00");
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return notifier.Count() > 0; }));
    EXPECT_EQ(notifier.Messages()[0].Text, BandTimeError);
    EXPECT_EQ(notifier.Messages()[0].Type, TMsgDlgType::mtError);
    EXPECT_TRUE(test::ProcessEventsUntil([&] { return f.Edt_KonecP2->hasFocus(); }));
    EXPECT_TRUE(f.Edt_KonecP2->Refused());
    EXPECT_THROW(f.StoreControls(), EConvertError);
    EXPECT_EQ(edited.Band2End, 22 * 60);
    // The confirm keeps the dialog open.
    f.Btn_ZapisNastaveni->click();
    EXPECT_TRUE(f.isVisible());
    Type(f.Edt_KonecP2, "23:59");
    EXPECT_FALSE(f.Edt_KonecP2->Refused());
    f.StoreControls();
    EXPECT_EQ(edited.Band2End, 1439);
}

// The confirm's accelerator leaves the focus where it is: the edit being typed in is
// checked before the dialog closes, as leaving it would check it.
TEST_F(SettingsDialog, AConfirmChecksTheEditThatStillHasTheFocus) {
    TNastaveniForm& f = Open();
    f.Edt_Dolni->setFocus();
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return f.Edt_Dolni->hasFocus(); }));
    f.Edt_Dolni->SetText("0,98");  // above its centre 0.970
    f.Btn_ZapisNastaveni->click();
    EXPECT_EQ(f.Edt_Dolni->Text(), "0,969");
    EXPECT_EQ(f.ModalResult(), ModalResults::Ok);
    f.StoreControls();
    EXPECT_EQ(edited.BandLow, 97);

    TNastaveniForm& again = Open();
    again.Edt_ZacatekP2->setFocus();
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return again.Edt_ZacatekP2->hasFocus(); }));
    again.Edt_ZacatekP2->SetText("24:00");
    again.Btn_ZapisNastaveni->click();
    EXPECT_EQ(again.ModalResult(), ModalResults::None);
    EXPECT_TRUE(again.isVisible());
    EXPECT_TRUE(again.Edt_ZacatekP2->Refused());
    ASSERT_EQ(notifier.Count(), 1u);
    EXPECT_EQ(notifier.Messages()[0].Text, BandTimeError);
}

TEST_F(SettingsDialog, AValueFromTheRegulatorOutsideTheDayIsNotWrittenBackUnasked) {
    edited.Band2Start = 1500;
    TNastaveniForm& f = Open();
    EXPECT_EQ(f.Edt_ZacatekP2->Text(), "25:00");
    f.Btn_ZapisNastaveni->click();
    EXPECT_TRUE(f.isVisible());
    ASSERT_EQ(notifier.Count(), 1u);
    EXPECT_EQ(notifier.Messages()[0].Text, BandTimeError);
}

TEST_F(SettingsDialog, TheOutputGridsStoreTheirCells) {
    TNastaveniForm& f = Open();
    // An edited cell is checked when its edit ends.
    f.PageControl1->setCurrentWidget(f.TabVystupy);
    for (const auto& [grid, typed, shown] : {std::tuple{f.Grd_Hodnota, "5000", "3276,7"},
                                            std::tuple{f.Grd_Cas, "33,3", "33"}}) {
        grid->setFocus();
        grid->FocusCell(0, 7);
        grid->ShowEditor();
        ASSERT_TRUE(grid->InplaceEditor() && grid->InplaceEditor()->Visible());
        grid->InplaceEditor()->SetText(typed);
        grid->EndEdit(false);
        EXPECT_EQ(grid->Cells(0, 7), shown);
    }
    f.Grd_Cas->SetCells(0, 2, "25");
    f.Grd_Hodnota->SetCells(0, 1, "12,3");
    f.StoreControls();
    EXPECT_EQ(edited.DischargeTimes[2], 2);
    EXPECT_EQ(edited.OutputValues[1], 123);
    f.LoadControls();
    EXPECT_EQ(f.Grd_Cas->Cells(0, 2), "20");
}

TEST_F(SettingsDialog, InductiveOutputsAlwaysFormTheFirstBlock) {
    TNastaveniForm& f = Open();
    f.Hg_Typ->SetEditText(0, 2, "C");  // row 3
    for (int row = 2; row < 16; ++row)
        EXPECT_EQ(f.Hg_Typ->Cells(0, row), "C") << row;
    EXPECT_EQ(f.Hg_Typ->Cells(0, 1), "L");
    f.Hg_Typ->SetEditText(0, 9, "L");  // row 10
    for (int row = 0; row <= 9; ++row)
        EXPECT_EQ(f.Hg_Typ->Cells(0, row), "L") << row;
    EXPECT_EQ(f.Hg_Typ->Cells(0, 10), "C");
    // Selecting a cell applies the rule to its text too.
    f.Hg_Typ->SetCells(0, 14, "L");
    f.Hg_Typ->FocusCell(0, 14);
    for (int row = 0; row <= 14; ++row)
        EXPECT_EQ(f.Hg_Typ->Cells(0, row), "L") << row;
    f.StoreControls();
    EXPECT_EQ(edited.OutputTypes, 0x7FFF);
}

namespace {

// Keeps the requests of the file dialogs.
struct RecordingDialogs : ScriptedDialogs {
    bool OpenFileDialog(const TFileDialogRequest& request, std::string& fileName) override {
        requests.push_back(request);
        return ScriptedDialogs::OpenFileDialog(request, fileName);
    }
    bool SaveFileDialog(const TFileDialogRequest& request, std::string& fileName) override {
        requests.push_back(request);
        return ScriptedDialogs::SaveFileDialog(request, fileName);
    }
    std::vector<TFileDialogRequest> requests;
};

} // namespace

TEST_F(SettingsDialog, SavesAndLoadsSettingsFilesOfTheUsersChoice) {
    test::TempDir dir;
    RecordingDialogs dialogs;
    SetDialogs(&dialogs);
    TNastaveniForm& f = Open();
    Type(f.Edt_ZpozdeniPoruchy, "42");
    dialogs.AnswerFile(dir / "zaloha.set");
    f.Btn_UlozNastaveni->click();
    EXPECT_EQ(edited.FaultDelay, 42);
    ASSERT_TRUE(dir.Exists("zaloha.set"));
    EXPECT_EQ(TIniFile(dir / "zaloha.set").ReadInteger("Vystupy", "Zpozdeni poruchy", -1), 42);

    // A file of another installation: its regulation fields are shown.
    TZEKO other = Installation();
    other.BandLow = 88;
    other.SpeedUnder = 120;
    other.Band2Start = 0;
    other.FaultDelay = 99;
    other.SaveToIni(dir / "jine.set");
    dialogs.AnswerFile(dir / "jine.set");
    f.Btn_NactiNastaveni->click();
    EXPECT_EQ(f.Edt_Dolni->Text(), "0,960");
    EXPECT_EQ(f.Edt_CasNedokompenzovano->Text(), "120");
    EXPECT_EQ(f.Edt_ZacatekP2->Text(), "00:00");
    EXPECT_EQ(f.Edt_ZpozdeniPoruchy->Text(), "42");  // only the regulation fields are loaded
    EXPECT_EQ(notifier.Count(), 0u);
    ASSERT_EQ(dialogs.requests.size(), 2u);
    for (const TFileDialogRequest& request : dialogs.requests) {
        EXPECT_EQ(request.Filter, "Záložní soubory nastavení (*.set)|*.SET|Všechny soubory (*.*)|*.*");
        EXPECT_EQ(request.DefaultExt, "set");
        EXPECT_EQ(request.FileName, "");
        EXPECT_EQ(request.InitialDir, ProgramDir());
    }
    EXPECT_TRUE(dialogs.requests[0].OverwritePrompt);
    SetDialogs(nullptr);
}

// A file refused is named in a message and the dialog keeps what it showed, an edit
// of the user's included; nothing of it reaches the settings.
TEST_F(SettingsDialog, AFileThatIsNoSettingsFileOrHoldsRefusedValuesLeavesTheDialogAsItWas) {
    test::TempDir dir;
    ScriptedDialogs dialogs;
    SetDialogs(&dialogs);
    TNastaveniForm& f = Open();
    Type(f.Edt_CasPrekompenzovano, "45");
    TZEKO bad = Installation();
    bad.SpeedUnder = 0;
    bad.SaveToIni(dir / "nula.set");
    dir.Write("prazdny.set", "");
    dir.Write("slozka/x", "");
    const auto shown = [&] {
        return std::vector<std::string>{f.Edt_Dolni->Text(), f.Edt_CasNedokompenzovano->Text(),
                                        f.Edt_CasPrekompenzovano->Text(), f.Edt_ZacatekP2->Text(),
                                        std::to_string(f.Rgp_PouzijP2->ItemIndex())};
    };
    const std::vector<std::string> before = shown();
    const TZEKO settingsBefore = edited;
    for (const auto& [name, says] : {std::pair{"nula.set", "Rychlost nedokompenzovani = 0: povoleno je 1 až 65535"},
                                     std::pair{"prazdny.set", "Chybí v něm oddíl [Regulace]."},
                                     std::pair{"slozka", "Je to složka, ne soubor."}}) {
        SCOPED_TRACE(name);
        notifier.Clear();
        dialogs.AnswerFile(dir / name);
        f.Btn_NactiNastaveni->click();
        ASSERT_EQ(notifier.Count(), 1u);
        const LoggingNotifier::Entry message = notifier.Messages()[0];
        EXPECT_EQ(message.Type, TMsgDlgType::mtError);
        EXPECT_NE(message.Text.find(dir / name), std::string::npos) << message.Text;
        EXPECT_NE(message.Text.find(says), std::string::npos) << message.Text;
        EXPECT_EQ(shown(), before);
        EXPECT_EQ(RegisterBytes(edited), RegisterBytes(settingsBefore));
    }
    SetDialogs(nullptr);
}

TEST_F(SettingsDialog, ABandEditThatHoldsNoNumberIsRefusedInCzech) {
    TNastaveniForm& f = Open();
    Type(f.Edt_Horni2, "-");
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return notifier.Count() > 0; }));
    EXPECT_EQ(notifier.Messages()[0].Text, "„-“ není číslo!");
    EXPECT_TRUE(f.Edt_Horni2->Refused());
    EXPECT_EQ(f.Edt_Horni2->Text(), "-");
}

TEST_F(SettingsDialog, AnIncompleteBandTimeIsRefusedInCzechAndEveryConfirmSaysWhy) {
    TNastaveniForm& f = Open();
    Type(f.Edt_ZacatekP2, "1");
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return notifier.Count() > 0; }));
    EXPECT_EQ(notifier.Messages()[0].Text, BandTimeIncomplete);
    EXPECT_TRUE(test::ProcessEventsUntil([&] { return f.Edt_ZacatekP2->hasFocus(); }));
    EXPECT_TRUE(f.Edt_ZacatekP2->Refused());
    // The confirm, as the accelerator gives it, leaves the focus where it is: each
    // press says again why the dialog stays.
    for (size_t press = 2; press <= 3; ++press) {
        f.Btn_ZapisNastaveni->click();
        QApplication::processEvents();
        EXPECT_EQ(f.ModalResult(), ModalResults::None);
        ASSERT_EQ(notifier.Count(), press);
        EXPECT_EQ(notifier.Messages().back().Text, BandTimeIncomplete);
    }
    // Mended, the confirm goes through.
    f.Edt_ZacatekP2->SetText("13:30");
    f.Btn_ZapisNastaveni->click();
    EXPECT_EQ(f.ModalResult(), ModalResults::Ok);
    EXPECT_EQ(notifier.Count(), 3u);
}

TEST_F(SettingsDialog, EveryTextOfEveryPageIsWhole) {
    TNastaveniForm& f = Open();
    QDir().mkpath(ZEKO_ARTEFACT_DIR);
    for (QWidget* page : {f.TabRegulace, f.TabVstupy, f.TabVystupy, f.TabKomunikace}) {
        f.PageControl1->setCurrentWidget(page);
        QApplication::processEvents();
        f.grab().save(QString(ZEKO_ARTEFACT_DIR) + "/nastaveni-" + page->objectName().mid(3).toLower() + ".png");
        for (QLabel* label : page->findChildren<QLabel*>()) {
            if (!label->isVisible())
                continue;
            const QRect needed = label->fontMetrics().boundingRect(label->contentsRect(), int(label->alignment()),
                                                                   label->text());
            EXPECT_TRUE(label->contentsRect().contains(needed))
                << page->objectName().toStdString() << ": " << label->text().toStdString();
            EXPECT_TRUE(page->rect().contains(label->geometry().translated(label->parentWidget()->mapTo(page, QPoint()))))
                << label->text().toStdString();
        }
        for (QComboBox* list : page->findChildren<QComboBox*>())
            for (int i = 0; i < list->count(); ++i)
                EXPECT_LE(list->fontMetrics().horizontalAdvance(list->itemText(i)) + 28, list->width())
                    << list->itemText(i).toStdString();
        for (QRadioButton* button : page->findChildren<QRadioButton*>())
            EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
    }
    for (QPushButton* button : f.findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
}

// Filling the settings dialog from the settings being edited and storing it back,
// the output-type and fault-output rules, and the buttons that confirm the dialog
// and save and load settings files.
#include "dialogs/nastaveni.h"
#include "dialogs/nastaveniFile.h"

#include "core/Zeko.h"
#include "grids/Aligrid.h"
#include "grids/HgGrid.h"
#include "platform/Exceptions.h"
#include "platform/FormatSettings.h"
#include "platform/Notifier.h"
#include "platform/ProgramDir.h"
#include "platform/UserDialogs.h"
#include "platform/qt/RadioGroup.h"

#include <QApplication>
#include <QComboBox>

namespace zeko {

namespace {

constexpr const char* Inductive = "L";
constexpr const char* Capacitive = "C";
constexpr uint8_t UnderBit = 0x01, OverBit = 0x10;  // of SpeedType: exponential
constexpr int FaultOutputYes = 0;  // "ANO"

// The item of `value`, or none when the list has no item for it.
int ItemOf(int value, int count) { return value >= 0 && value < count ? value : -1; }
int ItemOf(int value, const QComboBox* list) { return ItemOf(value, list->count()); }

// The chosen item's value; the value as it was when no item is chosen.
template <typename T>
void TakeItem(int item, T& field, int offset = 0) {
    if (item >= 0)
        field = static_cast<T>(item + offset);
}

TFileDialogRequest SettingsFileRequest() {
    TFileDialogRequest request;
    request.Filter = std::string("Záložní soubory nastavení") + " (*.set)|*.SET|" + "Všechny soubory" + " (*.*)|*.*";
    request.DefaultExt = "set";
    request.InitialDir = ProgramDir();
    return request;
}

} // namespace

void TNastaveniForm::LoadControls() {
    const TZEKO& e = edited_;
    bandsLoaded_ = false;
    Edt_Dolni->SetText(BandText(e.BandLow));
    Edt_Stred->SetText(BandText(e.BandCentre));
    Edt_Horni->SetText(BandText(e.BandHigh));
    Edt_Dolni2->SetText(BandText(e.Band2Low));
    Edt_Stred2->SetText(BandText(e.Band2Centre));
    Edt_Horni2->SetText(BandText(e.Band2High));
    bandsLoaded_ = true;

    Edt_CasNedokompenzovano->SetText(IntToStr(e.SpeedUnder));
    Cmb_TypNedokompenzovano->setCurrentIndex((e.SpeedType & UnderBit) ? 1 : 0);
    Edt_CasPrekompenzovano->SetText(IntToStr(e.SpeedOver));
    Cmb_TypPrekompenzovano->setCurrentIndex((e.SpeedType & OverBit) ? 1 : 0);
    Rgp_PouzijP2->SetItemIndex(ItemOf(e.UseBand2, 2));
    Edt_ZacatekP2->SetText(BandTimeText(e.Band2Start));
    Edt_KonecP2->SetText(BandTimeText(e.Band2End));
    Cmb_Citlivost->setCurrentIndex(ItemOf(e.SensitivityIndex, Cmb_Citlivost));
    Cmb_Prodleva->setCurrentIndex(ItemOf(e.UnderWait - 1, Cmb_Prodleva));

    for (size_t i = 0; i < Cmb_Vstup.size(); ++i) {
        Cmb_Vstup[i]->setCurrentIndex(ItemOf(e.InputFunctions[i], Cmb_Vstup[i]));
        Edt_Konstanta[i]->SetText(FormatFixed(e.MeterConstants[i] / 100000.0, 5));
    }
    Cmb_Prumer->setCurrentIndex(ItemOf(e.AveragingIndex, Cmb_Prumer));
    Edt_Neprumerovatelnadelka->SetText(IntToStr(e.NonAveragedPulse + 10));
    Cmb_VystupniExpander->SetItemIndex(e.Switches & 1);

    Cmb_PocetVystupu->setCurrentIndex(ItemOf(e.OutputCount - 1, Cmb_PocetVystupu));
    for (int row = 0; row < MaxOutputs; ++row) {
        const size_t i = static_cast<size_t>(row);
        Hg_Typ->SetCells(0, row, (e.OutputTypes >> row) & 1 ? Inductive : Capacitive);
        Grd_Hodnota->SetCells(0, row, FormatFixed(e.OutputValues[i] / 10.0, 1));
        Grd_Cas->SetCells(0, row, IntToStr(e.DischargeTimes[i] * 10));
    }
    Rgp_VystupPoruchy->SetItemIndex(e.FaultOutput > 0 ? FaultOutputYes : 1);
    Edt_ZpozdeniPoruchy->SetText(IntToStr(e.FaultDelay));
    ApplyFaultOutputRule();
}

void TNastaveniForm::StoreControls() {
    TZEKO stored = edited_;
    StoreControlsInto(stored);
    edited_ = stored;
}

void TNastaveniForm::StoreControlsInto(TZEKO& s) const {
    s.BandLow = BandCode(Edt_Dolni->Text());
    s.BandCentre = BandCode(Edt_Stred->Text());
    s.BandHigh = BandCode(Edt_Horni->Text());
    s.Band2Low = BandCode(Edt_Dolni2->Text());
    s.Band2Centre = BandCode(Edt_Stred2->Text());
    s.Band2High = BandCode(Edt_Horni2->Text());

    s.SpeedUnder = static_cast<uint16_t>(WholeNumberOf(Edt_CasNedokompenzovano->Text(), 0, UINT16_MAX));
    s.SpeedOver = static_cast<uint16_t>(WholeNumberOf(Edt_CasPrekompenzovano->Text(), 0, UINT16_MAX));
    // The bits the lists do not show stay as the regulator has them.
    uint8_t speedType = s.SpeedType & ~(UnderBit | OverBit);
    if (Cmb_TypNedokompenzovano->currentIndex() == 1)
        speedType |= UnderBit;
    if (Cmb_TypPrekompenzovano->currentIndex() == 1)
        speedType |= OverBit;
    s.SpeedType = speedType;
    TakeItem(Rgp_PouzijP2->ItemIndex(), s.UseBand2);
    s.Band2Start = BandTimeOf(Edt_ZacatekP2->Text());
    s.Band2End = BandTimeOf(Edt_KonecP2->Text());
    TakeItem(Cmb_Citlivost->currentIndex(), s.SensitivityIndex);
    TakeItem(Cmb_Prodleva->currentIndex(), s.UnderWait, 1);

    for (size_t i = 0; i < Cmb_Vstup.size(); ++i) {
        TakeItem(Cmb_Vstup[i]->currentIndex(), s.InputFunctions[i]);
        s.MeterConstants[i] = MeterConstantOf(Edt_Konstanta[i]->Text());
    }
    TakeItem(Cmb_Prumer->currentIndex(), s.AveragingIndex);
    s.NonAveragedPulse = static_cast<uint8_t>(WholeNumberOf(Edt_Neprumerovatelnadelka->Text(), 10, 10 + 255) - 10);
    if (Cmb_VystupniExpander->ItemIndex() >= 0)
        s.Switches = static_cast<uint8_t>((current_.Switches & ~1) | Cmb_VystupniExpander->ItemIndex());

    TakeItem(Cmb_PocetVystupu->currentIndex(), s.OutputCount, 1);
    s.OutputTypes = 0;
    for (int row = 0; row < MaxOutputs; ++row) {
        const size_t i = static_cast<size_t>(row);
        if (Hg_Typ->Cells(0, row) == Inductive)
            s.OutputTypes = static_cast<uint16_t>(s.OutputTypes | 1u << row);
        s.OutputValues[i] = OutputValueOf(Grd_Hodnota->Cells(0, row));
        s.DischargeTimes[i] = DischargeTimeOf(Grd_Cas->Cells(0, row));
    }
    // "ANO" keeps a fault-output byte above 1 as the regulator has it.
    if (Rgp_VystupPoruchy->ItemIndex() == FaultOutputYes)
        s.FaultOutput = s.FaultOutput > 0 ? s.FaultOutput : 1;
    else if (Rgp_VystupPoruchy->ItemIndex() >= 0)
        s.FaultOutput = 0;
    s.FaultDelay = static_cast<uint8_t>(WholeNumberOf(Edt_ZpozdeniPoruchy->Text(), 0, UINT8_MAX));
}

void TNastaveniForm::MakeTypesContiguous(int row) {
    const std::string& type = Hg_Typ->Cells(0, row);
    if (type == Inductive)
        for (int above = 0; above < row; ++above)
            Hg_Typ->SetCells(0, above, Inductive);
    else if (type == Capacitive)
        for (int below = row + 1; below < MaxOutputs; ++below)
            Hg_Typ->SetCells(0, below, Capacitive);
}

void TNastaveniForm::ApplyFaultOutputRule() {
    Edt_ZpozdeniPoruchy->setEnabled(Rgp_VystupPoruchy->ItemIndex() == FaultOutputYes);
}

bool TNastaveniForm::LeaveFocusedControl() {
    for (TCheckedEdit* edit : findChildren<TCheckedEdit*>()) {
        if (!edit->Refused())
            continue;
        // Refused as the click took the focus from it: its error is on its way.
        if (edit->ErrorPending())
            return false;
        // Refused before: it says why again, unless its text passes now.
        if (!edit->CheckNow())
            return false;
    }
    if (auto* edit = dynamic_cast<TCheckedEdit*>(QApplication::focusWidget()))
        return edit->CheckNow();
    for (TStringAlignGrid* grid : {Grd_Hodnota, Grd_Cas})
        if (grid->EditorMode())
            grid->EndEdit(false);
    return true;
}

bool TNastaveniForm::ControlsStore() const {
    try {
        TZEKO scratch = edited_;
        StoreControlsInto(scratch);
        return true;
    } catch (const EConvertError& error) {
        ShowException(error);
        return false;
    }
}

void TNastaveniForm::Btn_ZapisNastaveniClick() {
    if (LeaveFocusedControl() && ControlsStore())
        SetModalResult(ModalResults::Ok);
}

void TNastaveniForm::Btn_UlozNastaveniClick() {
    if (!LeaveFocusedControl() || !ControlsStore())
        return;
    TFileDialogRequest request = SettingsFileRequest();
    request.OverwritePrompt = true;
    std::string fileName;
    if (!CurrentDialogs().SaveFileDialog(request, fileName))
        return;
    try {
        StoreControls();
        edited_.SaveToIni(fileName);
    } catch (const std::runtime_error& error) {
        ShowException(error);
    }
}

void TNastaveniForm::Btn_NactiNastaveniClick() {
    std::string fileName;
    if (!CurrentDialogs().OpenFileDialog(SettingsFileRequest(), fileName))
        return;
    // A file refused leaves the dialog as it was.
    const TSettingsFileCheck check = LoadSettingsFile(fileName, edited_);
    if (check.Fault != TSettingsFileFault::None) {
        MessageDlg(SettingsFileRefusal(fileName, check), TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
        return;
    }
    LoadControls();
}

} // namespace zeko

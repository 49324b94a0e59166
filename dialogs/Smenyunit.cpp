#include "dialogs/Smenyunit.h"

#include "controls/ToolEdit.h"
#include "core/ProgramGlobals.h"
#include "core/Schedules.h"
#include "core/TextHelpers.h"
#include "platform/ProgramDir.h"
#include "platform/qt/Grids.h"
#include "platform/qt/QtText.h"
#include "platform/qt/TimePicker.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace zeko {

namespace {

constexpr int BandColumn = 1;
constexpr int ShiftRows = 3;
constexpr int ColumnWidth = 65;
constexpr int NameLength = 7;
constexpr const char* ShiftText = "Směna";
constexpr const char* DefaultShiftsText = "výchozí, neuloženo";
constexpr const char* NextFieldHint = "Stiskem klávesy ENTER se přesunete na další pole";

TShiftBand& BandOf(TShiftTable& table, int row) { return table.Shifts.at(static_cast<size_t>(row - 1)); }

} // namespace

TSmenyForm::TSmenyForm(QWidget* parent)
    : TScheduleEditorForm(parent, "SmenyForm", TShiftTable::BodySize,
                          {"Byly provedeny změny v nastavení směny, přejete si je uložit?",
                           "Opravdu si přejete smazat datum platnosti a nastavení směn?"}) {
    setFixedSize(ClientWidth, ClientHeight);

    TabSmeny = MakeBandGrid("TabSmeny", 2, ShiftRows, 1, ColumnWidth);
    // Stands in the empty list of valid-from dates, over the default shifts.
    Cmb_Datumy->setPlaceholderText(U(DefaultShiftsText));

    Label1->setText(U("Směna:"));
    CasEdit->setToolTip(U(BandEditHint("směna")));
    SetBandKeyFocus(BitBtn1, BitBtn1);
    NazevLabel = new QLabel(U("Název:"), this);
    NazevLabel->setObjectName("NazevLabel");
    NazevEdit = new TCustomEdit(this);
    NazevEdit->setObjectName("NazevEdit");
    NazevEdit->setMaxLength(NameLength);
    ZkratkaLabel = new QLabel(U("Zkratka:"), this);
    ZkratkaLabel->setObjectName("ZkratkaLabel");
    ZkratkaEdit = new TCustomEdit(this);
    ZkratkaEdit->setObjectName("ZkratkaEdit");
    ZkratkaEdit->setMaxLength(static_cast<int>(ScheduleAbbrevLength));
    for (TCustomEdit* edit : {NazevEdit, ZkratkaEdit}) {
        edit->setToolTip(U(NextFieldHint));
        edit->OnKeyPress = [this](TCustomEdit*, char32_t& key) {
            if (key == CH_RETURN) {
                key = 0;
                focusNextChild();
            }
        };
    }
    ShowEditors(false);

    // The history at the top, the grid below it on the left and the shift's edits
    // on its right; the buttons at the bottom.
    constexpr int left = 8, right = ClientWidth - 8;
    constexpr int buttonWidth = 80, buttonHeight = 24, editHeight = 22;
    Label2->setGeometry(left, 6, 120, 16);
    Cmb_Datumy->setGeometry(left, 24, 176, editHeight);
    Dedt_Datum->setGeometry(left, 52, 100, editHeight);
    Dtp_Cas->setGeometry(left + 102, 52, 78, editHeight);
    Btn_Pridat->setGeometry(right - buttonWidth, 23, buttonWidth, buttonHeight);
    Btn_Zmenit->setGeometry(right - buttonWidth, 51, buttonWidth, buttonHeight);
    Btn_Smazat->setGeometry(right - buttonWidth, 79, buttonWidth, buttonHeight);
    const int gridWidth = 2 * (ColumnWidth + TabSmeny->GridLineWidth()) + 2 * 2;
    const int gridHeight = (1 + ShiftRows) * (BandRowHeight + TabSmeny->GridLineWidth()) + 2 * 2;
    TabSmeny->setGeometry(left, 84, gridWidth, gridHeight);
    const int editsLeft = left + gridWidth + 8;
    const QFontMetrics metrics(ZkratkaLabel->font());
    const int labelWidth =
        std::max(metrics.horizontalAdvance(NazevLabel->text()), metrics.horizontalAdvance(ZkratkaLabel->text())) + 6;
    // The shift's edits between "Smazat" above and the buttons below: lines of 20
    // pixels, 4 apart, end 6 pixels above the buttons.
    constexpr int buttonTop = ClientHeight - 32, lineHeight = 20, lineStep = lineHeight + 4;
    constexpr int casTop = buttonTop - 6 - 3 * lineHeight - 2 * 4;
    Label1->setGeometry(editsLeft, casTop - 16, right - editsLeft, 15);
    CasEdit->setGeometry(editsLeft, casTop, right - editsLeft, lineHeight);
    NazevLabel->setGeometry(editsLeft, casTop + lineStep + 2, labelWidth, 16);
    NazevEdit->setGeometry(editsLeft + labelWidth, casTop + lineStep, right - editsLeft - labelWidth, lineHeight);
    ZkratkaLabel->setGeometry(editsLeft, casTop + 2 * lineStep + 2, labelWidth, 16);
    ZkratkaEdit->setGeometry(editsLeft + labelWidth, casTop + 2 * lineStep, 36, lineHeight);
    BitBtn1->setGeometry(ClientWidth / 2 - 95 - 6, buttonTop, 95, 28);
    BitBtn2->setGeometry(ClientWidth / 2 + 6, buttonTop, 95, 28);
    // The focus order: the shift's name, its abbreviation, its band, "&Potvrď".
    setTabOrder(NazevEdit, ZkratkaEdit);
    setTabOrder(ZkratkaEdit, CasEdit);
    setTabOrder(CasEdit, BitBtn1);

    // FormCreate
    for (int r = 1; r <= ShiftRows; ++r)
        TabSmeny->SetCells(0, r, "  " + std::to_string(r) + ". " + ShiftText);
    TabSmeny->SetCells(BandColumn, 0, " Od       Do");
    LoadHistoryFile(ProgramFile(ShiftHistoryFile));
}

THistoryRecord TSmenyForm::NewRecord() const { return THistoryRecord::Of(Now(), Bands); }

void TSmenyForm::StoreRecord(int N) { RecordAt(N).Body = Bands.Body(); }

// Without a record the evaluations and the reports take the default shifts, so
// the editor shows those, as not stored yet.
void TSmenyForm::LoadRecord() { LoadShownBands(Bands, DefaultShiftTable); }

std::string TSmenyForm::CellText(int row) const {
    const TShiftBand& band = Bands.Shifts.at(static_cast<size_t>(row - 1));
    return band.Start == ShiftNotInUse && band.End == ShiftNotInUse ? NotInUseText : BandText(band.Start, band.End);
}

void TSmenyForm::RefreshGrid() {
    for (int r = 1; r <= ShiftRows; ++r)
        TabSmeny->SetCells(BandColumn, r, CellText(r));
}

void TSmenyForm::MarkBandUnused() {
    const int row = TabSmeny->Row();
    BandOf(Bands, row) = TShiftBand{ShiftNotInUse, ShiftNotInUse};
    TabSmeny->SetCells(BandColumn, row, NotInUseText);
}

void TSmenyForm::ShowEditors(bool show) {
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, CasEdit, NazevLabel, NazevEdit, ZkratkaLabel, ZkratkaEdit})
        w->setVisible(show);
}

bool TSmenyForm::OnBandCell() const { return TabSmeny->Row() >= 1; }

void TSmenyForm::EditBandCell() {
    const int row = TabSmeny->Row();
    if (row < 1 || Editing())
        return;
    editedRow_ = row;
    ShowEditors(true);
    EscapePressed = false;
    NazevEdit->SetText(ShiftNamesEdit[static_cast<size_t>(row)]);
    ZkratkaEdit->SetText(ShiftAbbrevsEdit[static_cast<size_t>(row)]);
    const std::string cell = TabSmeny->Cells(BandColumn, row);
    CasEdit->SetText(cell == NotInUseText ? EmptyBandText : cell);
    SetBandEditorOpen(true);
    NazevEdit->setFocus(Qt::OtherFocusReason);
    TabSmeny->setEnabled(false);
    BitBtn2->setEnabled(false);
}

std::string TSmenyForm::CasEditExit() {
    if (EscapePressed) {
        const std::string cell = TabSmeny->Cells(BandColumn, editedRow_);
        CasEdit->SetText(cell == NotInUseText ? EmptyBandText : cell);
        EscapePressed = false;
        return {};
    }
    const TBandCheck band = CheckBandText(CasEdit->Text());
    if (band.NotInUse) {
        BandOf(Bands, editedRow_) = TShiftBand{ShiftNotInUse, ShiftNotInUse};
        CasEdit->SetText(UnusedBandEditText);
        Changed = true;
        return {};
    }
    if (!band.Passed())
        return band.Error;
    BandOf(Bands, editedRow_) = TShiftBand{band.Start, band.End};
    Changed = true;
    return {};
}

bool TSmenyForm::ConfirmEditing() {
    if (!Editing())
        return false;
    // The cell shows what the shift now holds: the band that passed the check, or
    // the one it had when the band was left as it was.
    TabSmeny->SetCells(BandColumn, editedRow_, CellText(editedRow_));
    ShiftNamesEdit[static_cast<size_t>(editedRow_)] = LimitLength(NazevEdit->Text(), ScheduleNameLength);
    ShiftAbbrevsEdit[static_cast<size_t>(editedRow_)] = LimitLength(ZkratkaEdit->Text(), ScheduleAbbrevLength);
    SetBandEditorOpen(false);
    ShowEditors(false);
    TabSmeny->setEnabled(true);
    BitBtn2->setEnabled(true);
    TabSmeny->setFocus(Qt::OtherFocusReason);
    return true;
}

} // namespace zeko

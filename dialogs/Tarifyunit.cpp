#include "dialogs/Tarifyunit.h"

#include "controls/ToolEdit.h"
#include "core/ProgramGlobals.h"
#include "core/Schedules.h"
#include "core/TextHelpers.h"
#include "dialogs/Svatkyformunit.h"
#include "platform/ProgramDir.h"
#include "platform/UserDialogs.h"
#include "platform/qt/Grids.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RadioGroup.h"
#include "platform/qt/TimePicker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace zeko {

namespace {

constexpr int NameColumn = 0;
constexpr int BandColumns = 4;
constexpr int TariffRows = 3;
constexpr int ColumnWidth = 67;
// The title of the input boxes of the names.
constexpr const char* InputTitle = "Tarify";
constexpr const char* TariffText = "Tarif";
constexpr const char* MarkedUnusedText = " Nepoužito ";

} // namespace

TTarifyForm::TTarifyForm(QWidget* parent)
    : TScheduleEditorForm(parent, "TarifyForm", TTariffTable::BodySize,
                          {"Byly provedeny změny v nastavení tarifu, přejete si je uložit?",
                           "Opravdu si přejete smazat datum platnosti a nastavení tarifů?"}) {
    setFixedSize(ClientWidth, ClientHeight);

    DnyRadio = new TRadioGroup("DnyRadio", QString(), {U("Pondělí-Pátek"), U("Sobota+Neděle")}, 2, this);
    DnyRadio->Caption()->hide();
    DnyRadio->SetItemIndex(0);
    DnyRadio->OnClick = [this](TRadioGroup*) { RefreshGrid(); };

    TabTarify = MakeBandGrid("TabTarify", 1 + BandColumns, TariffRows, 0, ColumnWidth);

    Label1->setText(U("Zadej tarif:"));
    CasEdit->setToolTip(U(BandEditHint("tarif")));
    SetBandKeyFocus(nullptr, TabTarify);

    Chk_Svatky = new QCheckBox(U("O svátcích použít víkendové tarify"), this);
    Chk_Svatky->setObjectName("Chk_Svatky");
    Btn_Svatky = new QPushButton(U("Svátky..."), this);
    Btn_Svatky->setObjectName("Btn_Svatky");
    connect(Btn_Svatky, &QPushButton::clicked, this, [this] { Btn_SvatkyClick(); });
    Button1 = new QPushButton(U("Nastavit poč."), this);
    Button1->setObjectName("Button1");
    Button1->setEnabled(false);
    Button1->hide();

    // The history above the grid, the band editor, the holiday switch and the
    // buttons below it.
    constexpr int left = 8, right = ClientWidth - 8;
    constexpr int buttonWidth = 76, buttonHeight = 24, editHeight = 22;
    Label2->setGeometry(left, 6, 120, 16);
    Cmb_Datumy->setGeometry(left, 24, 178, editHeight);
    Dedt_Datum->setGeometry(left, 52, 100, editHeight);
    Dtp_Cas->setGeometry(left + 102, 52, 76, editHeight);
    Btn_Pridat->setGeometry(right - 2 * buttonWidth - 6, 23, buttonWidth, buttonHeight);
    Btn_Zmenit->setGeometry(right - buttonWidth, 23, buttonWidth, buttonHeight);
    Btn_Smazat->setGeometry(right - 2 * buttonWidth - 6, 51, buttonWidth, buttonHeight);
    Btn_Svatky->setGeometry(right - buttonWidth, 51, buttonWidth, buttonHeight);
    DnyRadio->setGeometry(left, 80, right - left, 30);
    const int gridWidth = (1 + BandColumns) * (ColumnWidth + TabTarify->GridLineWidth()) + 2 * 2;
    const int gridHeight = (1 + TariffRows) * (BandRowHeight + TabTarify->GridLineWidth()) + 2 * 2;
    TabTarify->setGeometry((ClientWidth - gridWidth) / 2, 116, gridWidth, gridHeight);
    const int below = TabTarify->geometry().bottom() + 6;
    Label1->setGeometry(left, below + 3, 80, 16);
    CasEdit->setGeometry(left + 84, below, 130, editHeight);
    Chk_Svatky->setGeometry(left, below + 28, right - left, 20);
    BitBtn1->setGeometry(ClientWidth / 2 - 95 - 6, ClientHeight - 34, 95, 28);
    BitBtn2->setGeometry(ClientWidth / 2 + 6, ClientHeight - 34, 95, 28);
    Button1->setGeometry(left, ClientHeight - 34, 80, 28);

    // FormCreate
    for (int c = 1; c <= BandColumns; ++c)
        TabTarify->SetCells(c, 0, std::to_string(c) + ". Od   Do");
    LoadHistoryFile(ProgramFile(TariffHistoryFile));
}

int TTarifyForm::DayType() const { return DnyRadio->ItemIndex() == 1 ? 1 : 0; }

THistoryRecord TTarifyForm::NewRecord() const { return THistoryRecord::Of(ShownValidFrom(), Bands); }

void TTarifyForm::StoreRecord(int N) { RecordAt(N) = NewRecord(); }

void TTarifyForm::LoadRecord() { LoadShownBands(Bands); }

void TTarifyForm::RefreshGrid() {
    const int dayType = DayType();
    for (int r = 1; r <= TariffRows; ++r) {
        for (int c = 1; c <= BandColumns; ++c) {
            const TTariffZone& zone = Bands.Zone(dayType, r, c);
            TabTarify->SetCells(c, r, zone.State == ZoneNotInUse ? NotInUseText : BandText(zone.Start, zone.End));
        }
        // The row's caption until the tariff has a name.
        const std::string& name = TariffNames[static_cast<size_t>(r)];
        TabTarify->SetCells(NameColumn, r, name.empty() ? "    " + std::to_string(r) + ". " + TariffText : name);
    }
}

void TTarifyForm::MarkBandUnused(int col, int row, int dayType) {
    if (dayType == DayType())
        TabTarify->SetCells(col, row, MarkedUnusedText);
    Bands.Zone(dayType, row, col).State = ZoneNotInUse;
}

void TTarifyForm::MarkBandUnused() { MarkBandUnused(TabTarify->Col(), TabTarify->Row(), DayType()); }

bool TTarifyForm::OnBandCell() const { return TabTarify->Col() != NameColumn && TabTarify->Row() >= 1; }

void TTarifyForm::EditBandCell() {
    const int col = TabTarify->Col(), row = TabTarify->Row();
    if (row < 1)
        return;
    if (col == NameColumn) {
        std::string& name = TariffNames[static_cast<size_t>(row)];
        std::string& abbrev = TariffAbbrevs[static_cast<size_t>(row)];
        std::string text = name;
        if (CurrentDialogs().InputQuery(InputTitle, "Název tarifu: (max. 20 znaků)", text))
            name = LimitLength(text, ScheduleNameLength);
        text = abbrev;
        if (CurrentDialogs().InputQuery(InputTitle, "Zkratka tarifu: (max. 2 znaky - do tisku měsíční a roční tabulky)",
                                        text))
            abbrev = LimitLength(text, ScheduleAbbrevLength);
        RefreshGrid();
        return;
    }
    editedCol_ = col;
    editedRow_ = row;
    editedDayType_ = DayType();
    EscapePressed = false;
    const TTariffZone& zone = Bands.Zone(editedDayType_, row, col);
    if (zone.State != ZoneNotInUse)
        CasEdit->SetText(TabTarify->Cells(col, row));
    SetBandEditorOpen(true);
    Label1->show();
    CasEdit->show();
    CasEdit->setFocus(Qt::OtherFocusReason);
    // Typing replaces the whole band, also when the focus came without the entering
    // that selects it.
    CasEdit->SelectAll();
}

void TTarifyForm::CloseBandEditor() {
    SetBandEditorOpen(false);
    Label1->hide();
    CasEdit->hide();
}

std::string TTarifyForm::CasEditExit() {
    if (EscapePressed) {
        CasEdit->SetText(EmptyBandText);
        CloseBandEditor();
        EscapePressed = false;
        return {};
    }
    const TBandCheck band = CheckBandText(CasEdit->Text());
    if (band.NotInUse) {
        MarkBandUnused(editedCol_, editedRow_, editedDayType_);
        CasEdit->SetText(UnusedBandEditText);
        CloseBandEditor();
        Changed = true;
        return {};
    }
    if (!band.Passed())
        return band.Error;
    TTariffZone& zone = Bands.Zone(editedDayType_, editedRow_, editedCol_);
    zone.Start = band.Start;
    zone.End = band.End;
    zone.State = ZoneInUse;
    if (editedDayType_ == DayType())
        TabTarify->SetCells(editedCol_, editedRow_, BandText(band.Start, band.End));
    CloseBandEditor();
    BitBtn1->setFocus(Qt::OtherFocusReason);
    Changed = true;
    return {};
}

void TTarifyForm::Btn_SvatkyClick() {
    TSvatkyForm holidays(this);
    if (holidays.ShowModal() == ModalResults::Ok && holidays.Edited())
        holidays.StoreRows();
}

} // namespace zeko

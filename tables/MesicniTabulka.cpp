#include "tables/MesicniTabulka.h"

#include <QPushButton>

#include "core/Calendar.h"
#include "core/Holidays.h"
#include "core/ProgramGlobals.h"
#include "core/ZekoMessages.h"
#include "platform/FormatPatterns.h"
#include "platform/FormatSettings.h"
#include "tables/TableTexts.h"

namespace zeko {

namespace {

const std::vector<TTableColumn> MonthColumns = {
    {"Odběr:\nDen:", 43},
    {"Směna 1\n[kWh]", 53}, {"Směna 2\n[kWh]", 53}, {"Směna 3\n[kWh]", 53},
    {"Tarif 1\n[kWh]", 53}, {"Tarif 2\n[kWh]", 53}, {"Tarif 3\n[kWh]", 53},
    {"Celý den\n[kWh]", 60},
    {"TRF [kWh]", 60},
    {"Celý den kum.", 60},
    {"Sjednáno", 45},
    {"Sjednáno kum.", 45},
    {"Rozdíl [%]", 50},
    {"Rozdíl\nkum.[%]", 50},
    {"cos. fí", 33},
    {"Hodnota\n[kW]", 45},
    {"Čas", 50},
    {"Hodnota [kW]", 50},
    {"Čas", 50},
    {"Stav počitadla [kWh]", 65},
    {"", 64}, {"", 64}, {"", 64},
};

constexpr int StateColumn = 19;
constexpr int LastValueColumn = 18;  // the columns a day without records crosses out

constexpr TColor WeekendColor = 0x80FFFF;
constexpr TColor HolidayColor = 0x5EAEFF;

const TPeriodGridDesign MonthGrid = {MonthColumns, "Měsíční tabulka", "1/4hod. max.", 15, 16, "Hod. max.", 17, 18, 47};

} // namespace

TMesicniTabulkaForm::TMesicniTabulkaForm(const TRect& mdiClientRect, QWidget* parent)
    : TPeriodTableForm("MesicniTabulkaForm", "Měsíční tabulka", mdiClientRect, parent, MonthGrid) {
    Tabulka->Columns().Items(5)->SetColumnColor(clWhite);
    AddDateButtons(false);
    AddOutputButtons(true);
    Btn_DenTab = AddButton("Btn_DenTab", "Denní tab.", [this] { Btn_DenTabClick(); });
    Btn_RokTab = AddButton("Btn_RokTab", "Roční tab.", [this] { Btn_RokTabClick(); });
    AddBevel();
    AddAnalysisButtons(true);
    FormCreate();
}

TMesicniTabulkaForm::~TMesicniTabulkaForm() { MonthTableOpen = false; }

void TMesicniTabulkaForm::FormCreate() {
    MonthTableOpen = true;
    FirstDay = Today();
    if (Devices != nullptr)
        Devices->FindById(RegulatorMeasurementId, Channel);
    DayStartHour = Channel.DayStartHour;
    SelectedRow = 1;
    MeasurementIndex = RegulatorMeasurementId;
    PartialMonth = 0;
    PeriodDays = static_cast<uint8_t>(DaysInMonthOf(Today()));
    LayOut("Mesicni", 15, 17);
    SetupTable();
    const int month = DecodeDate(Today()).Month;
    for (int d = 1; d <= PeriodDays; ++d)
        Tabulka->SetCells(LabelColumn, d, TwoDigits(d) + ". " + TwoDigits(month) + ".");
}

void TMesicniTabulkaForm::SetupTable() {
    WeekendRows.reset();
    HolidayRows.reset();
    TakeQuantity();
    SetSummaryRows(false);
    LayOutRows(TotalLabel());
    SetCaptions("Celý den");
    Tabulka->Columns().Items(StateColumn)->SetCaption("Stav počitadla " + EnergyUnitText);
    for (int i = TrfColumn; i < ColumnCount; ++i)
        if (i != MaximumColumn && i != MaximumTimeColumn)
            Tabulka->Columns().Items(i)->SetVisible(i == CosPhiColumn && OwnMeasurement());
    std::vector<std::string> labels;
    for (const std::string& name : FormatSettings().ShortDayNames)
        labels.push_back("00.00. " + name);
    FitPeriodTable(labels, FirstDay);
}

void TMesicniTabulkaForm::FillTable(const TMonthResult& result, const TPeriodAccumulators& period) {
    Tabulka->Headings().Items(0)->SetCaption("Měsíční výpis - " + DeviceValueCaption(Channel.Id) + "  " +
                                             DateToStr(FirstDay));
    const int p = PeriodDays;
    for (int r = 1; r <= p; ++r) {
        const TDateTime t = DateOf(FirstDay) + r - 1;
        const DateParts date = DecodeDate(t);
        SetCellByColumn(LabelColumn, r, TwoDigits(date.Day) + "." + TwoDigits(date.Month) + ". " + ShortDayName(t));
        if (IsWeekend(t))
            WeekendRows.set(r);
        if (PouzivejSvatky && IsHolidayDate(t))
            HolidayRows.set(r);
        if (result.DayHasData[r - 1] != 1) {
            for (int c = 1; c <= LastValueColumn; ++c)
                SetCellByColumn(c, r, NoDataText);
            continue;
        }
        for (int k = 1; k <= ScheduleCount; ++k) {
            SetCellByColumn(k, r, TableValueText(result.DayShiftSums[r - 1][k - 1]));
            SetCellByColumn(k + 3, r, TableValueText(result.DayTariffSums[r - 1][k - 1]));
        }
        SetCellByColumn(TotalColumn, r, TableValueText(result.DayTotal[r - 1]));
        SetCellByColumn(CosPhiColumn, r, CosPhiCellText(result.DayCosPhiValue[r - 1]));
        SetCellByColumn(MaximumColumn, r, TableValueText(result.DayMaximum[r - 1]));
        SetCellByColumn(MaximumTimeColumn, r, result.DayMaximumTime[r - 1]);
    }

    const bool own = OwnMeasurement();
    for (int k = 1; k <= ScheduleCount; ++k) {
        SetCellByColumn(k, p + TotalRowOffset, TableValueText(result.PeriodShiftSums[k - 1]));
        SetCellByColumn(k + 3, p + TotalRowOffset, TableValueText(result.PeriodTariffSums[k - 1]));
        SetCellByColumn(k, p + WorkdayRowOffset, TableValueText(period.ShiftWorkdaySums[k - 1]));
        SetCellByColumn(k + 3, p + WorkdayRowOffset, TableValueText(period.TariffWorkdaySums[k - 1]));
        SetCellByColumn(k, p + WeekendRowOffset, TableValueText(period.ShiftWeekendSums[k - 1]));
        SetCellByColumn(k + 3, p + WeekendRowOffset, TableValueText(period.TariffWeekendSums[k - 1]));
        if (own)
            SetCellByColumn(k + 3, p + CosPhiRowOffset, TariffCosPhiText(result.PeriodTariffCosPhiParts, k));
    }
    SetCellByColumn(TotalColumn, p + TotalRowOffset, TableValueText(result.PeriodTotal));
    SetCellByColumn(TotalColumn, p + WorkdayRowOffset, TableValueText(period.PeriodWorkdayTotal));
    SetCellByColumn(TotalColumn, p + WeekendRowOffset, TableValueText(period.PeriodWeekendTotal));
    SetMaximumRow(result.DayHasData, result.PeriodMaximumDate, result.PeriodMaximumTime, result.PeriodMaximum);
    SetCellByColumn(CosPhiColumn, p + TotalRowOffset, PeriodCosPhiText(result.PeriodCosPhi, result.PeriodCosPhiCount));
    Tabulka->InvalidateGrid();
}

void TMesicniTabulkaForm::ShowResult(const TMonthTableFields& fields, const TMonthResult& result,
                                     const TPeriodAccumulators& period) {
    TakeFields(fields);
    FirstDay = fields.FirstDay;
    PeriodMonths = fields.PeriodMonths;
    PartialMonth = fields.PartialMonth;
    PeriodDays = fields.PeriodDays;
    SetupTable();
    FillTable(result, period);
}

void TMesicniTabulkaForm::TabulkaChangeCellAttributes(int col, int row, ThgCellStates state, TColor& color,
                                                      TFont& font) {
    TPeriodTableForm::TabulkaChangeCellAttributes(col, row, state, color, font);
    if (row < 1 || col == LabelColumn)
        return;
    if (WeekendRows.test(row) || row == PeriodDays + WeekendRowOffset)
        color = WeekendColor;
    else if (HolidayRows.test(row))
        color = HolidayColor;
}

void TMesicniTabulkaForm::Btn_DnesniClick() {
    FirstDay = Today();
    PartialMonth = 0;
    PostRequest(WM_SHOW_MONTH_TABLE, FirstDay, Channel.Id);
}

void TMesicniTabulkaForm::Btn_VyberDataClick() { PostRequest(WM_SHOW_MONTH_TABLE, 0, 0); }

void TMesicniTabulkaForm::Btn_PredchoziClick() {
    FirstDay = AddMonths(-1, FirstDay);
    PostRequest(WM_SHOW_MONTH_TABLE, FirstDay, Channel.Id);
}

void TMesicniTabulkaForm::Btn_DalsiClick() {
    FirstDay = AddMonths(1, FirstDay);
    PostRequest(WM_SHOW_MONTH_TABLE, FirstDay, Channel.Id);
}

void TMesicniTabulkaForm::Btn_RokTabClick() { PostRequest(WM_OPEN_YEAR_TABLE, FirstDay, Channel.Id); }

void TMesicniTabulkaForm::Btn_DenTabClick() {
    PostRequest(WM_OPEN_DAY_TABLE, DateOf(FirstDay) + SelectedRow - 1, Channel.Id);
}

} // namespace zeko

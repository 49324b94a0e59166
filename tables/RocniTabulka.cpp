#include "tables/RocniTabulka.h"

#include <QPushButton>

#include "core/Calendar.h"
#include "core/ProgramGlobals.h"
#include "core/ZekoMessages.h"
#include "platform/FormatPatterns.h"
#include "tables/TableTexts.h"

namespace zeko {

namespace {

const std::vector<TTableColumn> YearColumns = {
    {"Odběr:\nMěsíc:", 50},
    {"Směna 1\n[kWh]", 53}, {"Směna 2\n[kWh]", 53}, {"Směna 3\n[kWh]", 53},
    {"Tarif 1\n[kWh]", 53}, {"Tarif 2\n[kWh]", 53}, {"Tarif 3\n[kWh]", 53},
    {"Celý měsíc\n[kWh]", 63},
    {"TRF\n[kWh]", 63},
    {"Celý měs.\nkum.", 50},
    {"Sjednáno", 38},
    {"Sjednáno \nkum.", 43},
    {"Rozdíl\n[%]", 50},
    {"Rozdíl\nkum.[%]", 50},
    {"cos.fí", 33},
    {"Hodnota\n[kW]", 43},
    {"Čas", 43},
    {"Datum", 43},
    {"Hodnota\n[kW]", 50},
    {"Čas", 38},
    {"Datum", 43},
    {"Stav počitadla\n[kWh]", 64},
    {"", 64}, {"", 64}, {"", 64},
};

constexpr int StateColumn = 21;
constexpr int LastValueColumn = 20;  // the columns a month without records crosses out
// "dd.mm." of the short date text.
constexpr size_t DayAndMonthLength = 6;

const TPeriodGridDesign YearGrid = {YearColumns, "Roční tabulka", "1/4hod. maximum", 15, 17, "Hodinové maximum", 18, 20,
                                    51};

std::string MonthLabel(int month, int year) { return TwoDigits(month) + ". " + std::to_string(year); }

} // namespace

TRocniTabulkaForm::TRocniTabulkaForm(const TRect& mdiClientRect, QWidget* parent)
    : TPeriodTableForm("RocniTabulkaForm", "Roční tabulka", mdiClientRect, parent, YearGrid) {
    AddDateButtons(false);
    AddOutputButtons(false);
    Btn_MesTab = AddButton("Btn_MesTab", "Měs. tab.", [this] { Btn_MesTabClick(); });
    AddBevel();
    AddAnalysisButtons(true);
    FormCreate();
}

TRocniTabulkaForm::~TRocniTabulkaForm() { YearTableOpen = false; }

void TRocniTabulkaForm::FormCreate() {
    YearTableOpen = true;
    const int year = DecodeDate(Today()).Year;
    StartMonth = 1;
    StartYear = static_cast<uint16_t>(year);
    FirstMonth = EncodeDate(year, 1, 1);
    if (Devices != nullptr)
        Devices->GetItem(0, Channel);
    DayStartHour = Channel.DayStartHour;
    SelectedRow = 1;
    MeasurementIndex = RegulatorMeasurementId;
    YearCustomPeriod = 0;
    YearMonthCount = DefaultYearMonthCount;
    LayOut("Rocni", 16, 19);
    SetupTable();
    for (int m = 1; m <= YearMonthCount; ++m)
        Tabulka->SetCells(LabelColumn, m, MonthLabel(m, year));
}

void TRocniTabulkaForm::SetupTable() {
    TakeQuantity();
    // Transformer losses add to energies; a mean temperature or pressure has none.
    TrfShown = Channel.TrfLosses != 0 && Quantity.Kind != AggregatePresentMean;
    SetSummaryRows(TrfShown);
    LayOutRows(TotalLabel());
    SetCaptions("Celý měsíc");
    ThgColumns& columns = Tabulka->Columns();
    columns.Items(StateColumn)->SetCaption("Počáteční " + EnergyUnitText);
    columns.Items(TrfColumn)->SetVisible(TrfShown);
    for (int i = TrfColumn + 1; i < ColumnCount; ++i)
        if (i < MaximumColumn || i > MaximumDateColumn)
            columns.Items(i)->SetVisible(i == CosPhiColumn && OwnMeasurement());
    FitPeriodTable({MonthLabel(12, 2000)}, FirstMonth);
}

void TRocniTabulkaForm::FillTable(const TYearResult& result) {
    Tabulka->Headings().Items(0)->SetCaption("Roční výpis - " + DeviceValueCaption(Channel.Id) + "  " +
                                             DateToStr(EncodeDate(StartYear, StartMonth, 1)));
    const int y = YearMonthCount;
    int month = StartMonth, year = StartYear;
    for (int r = 1; r <= y; ++r, NextMonth(month, year, month, year)) {
        SetCellByColumn(LabelColumn, r, MonthLabel(month, year));
        if (result.MonthHasData[r - 1] != 1) {
            for (int c = 1; c <= LastValueColumn; ++c)
                SetCellByColumn(c, r, NoDataText);
            continue;
        }
        for (int k = 1; k <= ScheduleCount; ++k) {
            SetCellByColumn(k, r, TableValueText(result.MonthShiftSums[r - 1][k - 1]));
            SetCellByColumn(k + 3, r, TableValueText(result.MonthTariffSums[r - 1][k - 1]));
        }
        SetCellByColumn(TotalColumn, r, TableValueText(result.MonthTotal[r - 1]));
        SetCellByColumn(TrfColumn, r, TableValueText(WithLosses(result.MonthTotal[r - 1])));
        SetCellByColumn(CosPhiColumn, r, CosPhiCellText(result.MonthCosPhi[r - 1]));
        SetCellByColumn(MaximumColumn, r, TableValueText(result.MonthMaximum[r - 1]));
        SetCellByColumn(MaximumTimeColumn, r, result.MonthMaximumTime[r - 1]);
        SetCellByColumn(MaximumDateColumn, r, DateToStr(result.MonthMaximumDate[r - 1]).substr(0, DayAndMonthLength));
    }

    // Per shift and tariff (columns 1..6), then the whole (column 7): both together
    // (a mean for an averaged quantity), working days and weekends.
    const bool own = OwnMeasurement();
    auto summary = [&](int column, double whole, double workdays, double weekends) {
        SetCellByColumn(column, y + TotalRowOffset, TableValueText(whole));
        SetCellByColumn(column, y + WorkdayRowOffset, TableValueText(workdays));
        SetCellByColumn(column, y + WeekendRowOffset, TableValueText(weekends));
        if (TrfShown)
            SetCellByColumn(column, y + TrfRowOffset, TableValueText(WithLosses(whole)));
    };
    for (int k = 1; k <= ScheduleCount; ++k) {
        summary(k, result.YearShiftTotals[k - 1], result.YearShiftWorkdaySums[k - 1],
                result.YearShiftWeekendSums[k - 1]);
        summary(k + 3, result.YearTariffTotals[k - 1], result.YearTariffWorkdaySums[k - 1],
                result.YearTariffWeekendSums[k - 1]);
        if (own)
            SetCellByColumn(k + 3, y + CosPhiRowOffset, TariffCosPhiText(result.YearTariffCosPhiParts, k));
    }
    summary(TotalColumn, result.YearTotal, result.YearWorkdayTotal, result.YearWeekendTotal);
    SetCellByColumn(TrfColumn, y + TotalRowOffset, TableValueText(WithLosses(result.YearTotal)));
    SetCellByColumn(TrfColumn, y + WorkdayRowOffset, TableValueText(WithLosses(result.YearWorkdayTotal)));
    SetCellByColumn(TrfColumn, y + WeekendRowOffset, TableValueText(WithLosses(result.YearWeekendTotal)));

    SetMaximumRow(result.MonthHasData, result.YearMaximumDate, result.YearMaximumTime, result.YearMaximum);
    if (own)
        SetCellByColumn(CosPhiColumn, y + TotalRowOffset, PeriodCosPhiText(result.YearCosPhi, result.YearCosPhiCount));
    Tabulka->InvalidateGrid();
}

void TRocniTabulkaForm::ShowResult(const TYearTableFields& fields, const TYearResult& result) {
    TakeFields(fields);
    FirstMonth = fields.FirstMonth;
    StartMonth = fields.StartMonth;
    StartYear = fields.StartYear;
    StartDay = fields.StartDay;
    SetupTable();
    FillTable(result);
}

void TRocniTabulkaForm::Btn_DnesniClick() {
    const DateParts today = DecodeDate(Today());
    FirstMonth = EncodeDate(today.Year, today.Month, 1);
    YearCustomPeriod = 0;
    PostRequest(WM_SHOW_YEAR_TABLE, FirstMonth, Channel.Id);
}

void TRocniTabulkaForm::Btn_VyberDataClick() { PostRequest(WM_SHOW_YEAR_TABLE, 0, 0); }

void TRocniTabulkaForm::Btn_PredchoziClick() {
    FirstMonth = AddMonths(-12, FirstMonth);
    PostRequest(WM_SHOW_YEAR_TABLE, FirstMonth, Channel.Id);
}

void TRocniTabulkaForm::Btn_DalsiClick() {
    FirstMonth = AddMonths(12, FirstMonth);
    PostRequest(WM_SHOW_YEAR_TABLE, FirstMonth, Channel.Id);
}

void TRocniTabulkaForm::Btn_MesTabClick() {
    const DateParts month = DecodeDate(AddMonths(SelectedRow - 1, FirstMonth));
    PostRequest(WM_OPEN_MONTH_TABLE, EncodeDate(month.Year, month.Month, 1), Channel.Id);
}

} // namespace zeko

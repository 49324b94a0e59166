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

constexpr int TrfColumn = 8;
constexpr int StateColumn = 19;
constexpr int LastValueColumn = 18;  // the columns a day without records crosses out
constexpr int TitleHeight = 47;
constexpr int WideTitleHeight = 57;

constexpr TColor WeekendColor = 0x80FFFF;
constexpr TColor HolidayColor = 0x5EAEFF;

} // namespace

TMesicniTabulkaForm::TMesicniTabulkaForm(const TRect& mdiClientRect, QWidget* parent)
    : TTableForm("MesicniTabulkaForm", "Měsíční tabulka", mdiClientRect, parent) {
    PrepareTableGrid(*Tabulka, MonthColumns);
    Tabulka->SetFixedCols(1);
    SetColumnFonts(*Tabulka, TableFont("Small Fonts", 9, true), TableFont("Small Fonts", 9));
    Tabulka->Columns().Items(5)->SetColumnColor(clWhite);
    Tabulka->Columns().Items(DayTotalColumn)->SetColumnColor(clAqua);
    ThgHeading* heading = AddTableHeading(*Tabulka, "Měsíční tabulka", 0, CosPhiColumn, TableFont("Arial", 12, true));
    heading->SetTitleColor(clMenu);
    heading->SetTitleInnerBevel(bvRaised);
    heading->SetTitleVAlignment(hgvaBottom);
    AddTableHeading(*Tabulka, "1/4hod. max.", MaximumColumn, MaximumTimeColumn, TableFont("Arial", 11, true));
    AddTableHeading(*Tabulka, "Hod. max.", 17, 18, TableFont("Arial", 11, true));
    Tabulka->SetRowHeights(0, TitleHeight);

    Btn_VyberData = AddButton("Btn_VyberData", "&Výběr data");  // the date dialog comes later
    Btn_Dnesni = AddButton("Btn_Dnesni", "&Dnešní", [this] { Btn_DnesniClick(); });
    Btn_Predchozi = AddButton("Btn_Predchozi", "&Předchozí", [this] { Btn_PredchoziClick(); });
    Btn_Dalsi = AddButton("Btn_Dalsi", "D&alší", [this] { Btn_DalsiClick(); });
    AddBevel();
    Btn_Tisk = AddButton("Btn_Tisk", "&Tisk");
    Btn_ExportTXT = AddButton("Btn_ExportTXT", "T&XT");
    Btn_ExportXLS = AddButton("Btn_ExportXLS", "XL&S");
    AddBevel();
    Btn_DenTab = AddButton("Btn_DenTab", "Denní tab.", [this] { Btn_DenTabClick(); });
    Btn_RokTab = AddButton("Btn_RokTab", "Roční tab.", [this] { Btn_RokTabClick(); });
    AddBevel();
    Btn_Cetnost = AddButton("Btn_Cetnost", "Če&tnost");
    Btn_Maxima = AddButton("Btn_Maxima", "&Maxima");
    Btn_Minima = AddButton("Btn_Minima", "M&inima");
    Btn_Graf = AddButton("Btn_Graf", "Gra&f");
    AddBevel();

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
    if (WideLayout()) {
        SetColumnFonts(*Tabulka, WideLayoutFont(), WideLayoutFont());
        Tabulka->SetRowHeights(0, WideTitleHeight);
        HourRowHeight = 15;
        SummaryRowHeight = 17;
    } else {
        HourRowHeight = 13;
        SummaryRowHeight = 15;
    }
    PartialMonth = 0;
    PeriodDays = static_cast<uint8_t>(DaysInMonthOf(Today()));
    Tabulka->LoadColumnWidths(ColumnWidthsKey("Mesicni"));
    AvailableHeight = MdiClientRect.Bottom - Tabulka->y() - Margin;
    PlacePanel();
    SetupTable();
    const int month = DecodeDate(Today()).Month;
    for (int d = 1; d <= PeriodDays; ++d)
        Tabulka->SetCells(DayColumn, d, TwoDigits(d) + ". " + TwoDigits(month) + ".");
}

void TMesicniTabulkaForm::SetupTable() {
    WeekendRows.reset();
    HolidayRows.reset();
    TakeQuantity();
    const bool own = OwnMeasurement();
    TotalRowOffset = 1;
    WorkdayRowOffset = 2;
    WeekendRowOffset = 3;
    MaxRowOffset = 4;
    SummaryRowCount = 4;
    if (own) {
        SummaryRowCount = 5;
        CosPhiRowOffset = 5;
    }

    const int p = PeriodDays;
    Tabulka->SetRowCount(SummaryRowCount + 1 + p);
    SetRowHeights(*Tabulka, 1, p, HourRowHeight);
    SetRowHeights(*Tabulka, p + 1, p + SummaryRowCount, SummaryRowHeight);
    Tabulka->SetCells(DayColumn, p + TotalRowOffset, Quantity.Kind == AggregatePresentMean ? "Průměr:" : "Celkem:");
    Tabulka->SetCells(DayColumn, p + WorkdayRowOffset, "Po÷Pá");
    Tabulka->SetCells(DayColumn, p + WeekendRowOffset, "So+Ne");
    Tabulka->SetCells(DayColumn, p + MaxRowOffset, "1/4h.max:");
    ClearValueCells(*Tabulka);

    ThgColumns& columns = Tabulka->Columns();
    for (int k = 1; k <= ScheduleCount; ++k) {
        columns.Items(k)->SetCaption("S" + std::to_string(k));
        columns.Items(k + 3)->SetCaption("T" + std::to_string(k));
    }
    columns.Items(DayTotalColumn)->SetCaption("Celý den " + EnergyUnitText);
    columns.Items(TrfColumn)->SetCaption("TRF " + EnergyUnitText);
    columns.Items(MaximumColumn)->SetCaption("Hodnota " + PowerUnitText);
    columns.Items(StateColumn)->SetCaption("Stav počitadla " + EnergyUnitText);

    for (int i = TrfColumn; i < ColumnCount; ++i)
        if (i != MaximumColumn && i != MaximumTimeColumn)
            columns.Items(i)->SetVisible(i == CosPhiColumn && own);
    if (own)
        Tabulka->SetCells(DayColumn, p + CosPhiRowOffset, "cos. fí:");
    std::vector<std::string> labels;
    for (const std::string& name : FormatSettings().ShortDayNames)
        labels.push_back("00.00. " + name);
    for (int r = p + 1; r < Tabulka->RowCount(); ++r)
        labels.push_back(Tabulka->Cells(DayColumn, r));
    FitColumnToTexts(*Tabulka, 0, true, labels);
    // The maximum row shows the date of the maximum in column 5.
    FitColumnToTexts(*Tabulka, 5, false, {DateToStr(FirstDay)});
    FitTable();
}

void TMesicniTabulkaForm::FillTable(const TMonthResult& result, const TPeriodAccumulators& period) {
    Tabulka->Headings().Items(0)->SetCaption("Měsíční výpis - " + DeviceValueCaption(Channel.Id) + "  " +
                                             DateToStr(FirstDay));
    const int p = PeriodDays;
    for (int r = 1; r <= p; ++r) {
        const TDateTime t = DateOf(FirstDay) + r - 1;
        const DateParts date = DecodeDate(t);
        SetCellByColumn(DayColumn, r, TwoDigits(date.Day) + "." + TwoDigits(date.Month) + ". " + ShortDayName(t));
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
        SetCellByColumn(DayTotalColumn, r, TableValueText(result.DayTotal[r - 1]));
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
    SetCellByColumn(DayTotalColumn, p + TotalRowOffset, TableValueText(result.PeriodTotal));
    SetCellByColumn(DayTotalColumn, p + WorkdayRowOffset, TableValueText(period.PeriodWorkdayTotal));
    SetCellByColumn(DayTotalColumn, p + WeekendRowOffset, TableValueText(period.PeriodWeekendTotal));
    SetCellByColumn(5, p + MaxRowOffset, DateToStr(result.PeriodMaximumDate));
    SetCellByColumn(6, p + MaxRowOffset, result.PeriodMaximumTime);
    SetCellByColumn(DayTotalColumn, p + MaxRowOffset, TableValueText(result.PeriodMaximum, 1, 10));
    SetCellByColumn(CosPhiColumn, p + TotalRowOffset, CosPhiCellText(result.PeriodCosPhi));
    Tabulka->InvalidateGrid();
}

void TMesicniTabulkaForm::ShowResult(const TMonthTableFields& fields, const TMonthResult& result,
                                     const TPeriodAccumulators& period) {
    FirstDay = fields.FirstDay;
    Channel = fields.Channel;
    PeriodMonths = fields.PeriodMonths;
    DayStartHour = fields.DayStartHour;
    PartialMonth = fields.PartialMonth;
    PeriodDays = fields.PeriodDays;
    SetupTable();
    FillTable(result, period);
    Tariffs = fields.Tariffs;
    Shifts = fields.Shifts;
}

void TMesicniTabulkaForm::TabulkaFixedCellClick(int col, int row) { SelectRow(col, row, PeriodDays); }

void TMesicniTabulkaForm::TabulkaChangeCellAttributes(int col, int row, ThgCellStates, TColor& color, TFont&) {
    if (row < 1 || LabelColour(col, row, color))
        return;
    if (WeekendRows.test(row) || row == PeriodDays + WeekendRowOffset)
        color = WeekendColor;
    else if (HolidayRows.test(row))
        color = HolidayColor;
}

void TMesicniTabulkaForm::TabulkaChangeCellBorders(int row, ThgBorder& top) {
    if (row == PeriodDays + TotalRowOffset)
        SetThickLine(top);
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

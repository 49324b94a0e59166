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
constexpr int TitleHeight = 51;
constexpr int WideTitleHeight = 57;
// "dd.mm." of the short date text.
constexpr size_t DayAndMonthLength = 6;

std::string MonthLabel(int month, int year) { return TwoDigits(month) + ". " + std::to_string(year); }

} // namespace

TRocniTabulkaForm::TRocniTabulkaForm(const TRect& mdiClientRect, QWidget* parent)
    : TTableForm("RocniTabulkaForm", "Roční tabulka", mdiClientRect, parent) {
    PrepareTableGrid(*Tabulka, YearColumns);
    Tabulka->SetFixedCols(1);
    SetColumnFonts(*Tabulka, TableFont("Small Fonts", 9, true), TableFont("Small Fonts", 9));
    Tabulka->Columns().Items(MonthTotalColumn)->SetColumnColor(clAqua);
    ThgHeading* heading = AddTableHeading(*Tabulka, "Roční tabulka", 0, CosPhiColumn, TableFont("Arial", 12, true));
    heading->SetTitleColor(clMenu);
    heading->SetTitleInnerBevel(bvRaised);
    heading->SetTitleVAlignment(hgvaBottom);
    AddTableHeading(*Tabulka, "1/4hod. maximum", MaximumColumn, MaximumDateColumn, TableFont("Arial", 11, true));
    AddTableHeading(*Tabulka, "Hodinové maximum", 18, 20, TableFont("Arial", 11, true));
    Tabulka->SetRowHeights(0, TitleHeight);

    Btn_VyberData = AddButton("Btn_VyberData", "&Výběr data");  // the date dialog comes later
    Btn_Dnesni = AddButton("Btn_Dnesni", "&Dnešní", [this] { Btn_DnesniClick(); });
    Btn_Predchozi = AddButton("Btn_Predchozi", "&Předchozí", [this] { Btn_PredchoziClick(); });
    Btn_Dalsi = AddButton("Btn_Dalsi", "D&alší", [this] { Btn_DalsiClick(); });
    AddBevel();
    Btn_ExportTXT = AddButton("Btn_ExportTXT", "T&XT");
    Btn_ExportXLS = AddButton("Btn_ExportXLS", "XL&S");
    Btn_Tisk = AddButton("Btn_Tisk", "&Tisk");
    AddBevel();
    Btn_MesTab = AddButton("Btn_MesTab", "Měs. tab.", [this] { Btn_MesTabClick(); });
    AddBevel();
    Btn_Cetnost = AddButton("Btn_Cetnost", "Če&tnost");
    Btn_Maxima = AddButton("Btn_Maxima", "&Maxima");
    Btn_Minima = AddButton("Btn_Minima", "M&inima");
    Btn_Graf = AddButton("Btn_Graf", "Gra&f");
    AddBevel();

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
    if (WideLayout()) {
        SetColumnFonts(*Tabulka, WideLayoutFont(), WideLayoutFont());
        Tabulka->SetRowHeights(0, WideTitleHeight);
        HourRowHeight = 16;
        SummaryRowHeight = 19;
    } else {
        HourRowHeight = 13;
        SummaryRowHeight = 15;
    }
    YearCustomPeriod = 0;
    YearMonthCount = 12;
    Tabulka->LoadColumnWidths(ColumnWidthsKey("Rocni"));
    AvailableHeight = MdiClientRect.Bottom - Tabulka->y() - Margin;
    PlacePanel();
    TotalRowOffset = 1;
    SetupTable();
    for (int m = 1; m <= YearMonthCount; ++m)
        Tabulka->SetCells(MonthColumn, m, MonthLabel(m, year));
}

void TRocniTabulkaForm::SetupTable() {
    TakeQuantity();
    const bool own = OwnMeasurement();
    TrfShown = Channel.TrfLosses != 0;
    if (TrfShown) {
        TrfRowOffset = 2;
        WorkdayRowOffset = 3;
        WeekendRowOffset = 4;
        MaxRowOffset = 5;
        SummaryRowCount = 5;
    } else {
        WorkdayRowOffset = 2;
        WeekendRowOffset = 3;
        MaxRowOffset = 4;
        SummaryRowCount = 4;
    }
    if (own)
        CosPhiRowOffset = ++SummaryRowCount;

    const int y = YearMonthCount;
    Tabulka->SetRowCount(y + 1 + SummaryRowCount);
    SetRowHeights(*Tabulka, 1, y, HourRowHeight);
    SetRowHeights(*Tabulka, y + 1, y + SummaryRowCount, SummaryRowHeight);
    Tabulka->SetCells(MonthColumn, y + TotalRowOffset, Quantity.Kind == AggregatePresentMean ? "Průměr:" : "Celkem:");
    if (TrfShown)
        Tabulka->SetCells(MonthColumn, y + TrfRowOffset, "Celk. TRF:");
    Tabulka->SetCells(MonthColumn, y + WorkdayRowOffset, "Po÷Pá");
    Tabulka->SetCells(MonthColumn, y + WeekendRowOffset, "So+Ne");
    Tabulka->SetCells(MonthColumn, y + MaxRowOffset, "1/4h.max:");
    ClearValueCells(*Tabulka);

    ThgColumns& columns = Tabulka->Columns();
    for (int k = 1; k <= ScheduleCount; ++k) {
        columns.Items(k)->SetCaption("S" + std::to_string(k));
        columns.Items(k + 3)->SetCaption("T" + std::to_string(k));
    }
    columns.Items(MonthTotalColumn)->SetCaption("Celý měsíc " + EnergyUnitText);
    columns.Items(TrfColumn)->SetCaption("TRF " + EnergyUnitText);
    columns.Items(MaximumColumn)->SetCaption("Hodnota " + PowerUnitText);
    columns.Items(StateColumn)->SetCaption("Počáteční " + EnergyUnitText);

    columns.Items(TrfColumn)->SetVisible(TrfShown);
    for (int i = TrfColumn + 1; i < ColumnCount; ++i)
        if (i < MaximumColumn || i > MaximumDateColumn)
            columns.Items(i)->SetVisible(i == CosPhiColumn && own);
    if (own)
        Tabulka->SetCells(MonthColumn, y + CosPhiRowOffset, "cos. fí:");
    std::vector<std::string> labels = {MonthLabel(12, 2000)};
    for (int r = y + 1; r < Tabulka->RowCount(); ++r)
        labels.push_back(Tabulka->Cells(MonthColumn, r));
    FitColumnToTexts(*Tabulka, 0, true, labels);
    // The maximum row shows the date of the maximum in column 5.
    FitColumnToTexts(*Tabulka, 5, false, {DateToStr(FirstMonth)});
    FitTable();
}

void TRocniTabulkaForm::FillTable(const TYearResult& result) {
    Tabulka->Headings().Items(0)->SetCaption("Roční výpis - " + DeviceValueCaption(Channel.Id) + "  " +
                                             DateToStr(EncodeDate(StartYear, StartMonth, 1)));
    const int y = YearMonthCount;
    int month = StartMonth, year = StartYear;
    for (int r = 1; r <= y; ++r, NextMonth(month, year, month, year)) {
        SetCellByColumn(MonthColumn, r, MonthLabel(month, year));
        if (result.MonthHasData[r - 1] != 1) {
            for (int c = 1; c <= LastValueColumn; ++c)
                SetCellByColumn(c, r, NoDataText);
            continue;
        }
        for (int k = 1; k <= ScheduleCount; ++k) {
            SetCellByColumn(k, r, TableValueText(result.MonthShiftSums[r - 1][k - 1]));
            SetCellByColumn(k + 3, r, TableValueText(result.MonthTariffSums[r - 1][k - 1]));
        }
        SetCellByColumn(MonthTotalColumn, r, TableValueText(result.MonthTotal[r - 1]));
        SetCellByColumn(TrfColumn, r, TableValueText(WithLosses(result.MonthTotal[r - 1])));
        SetCellByColumn(CosPhiColumn, r, CosPhiCellText(result.MonthCosPhi[r - 1]));
        SetCellByColumn(MaximumColumn, r, TableValueText(result.MonthMaximum[r - 1]));
        SetCellByColumn(MaximumTimeColumn, r, result.MonthMaximumTime[r - 1]);
        SetCellByColumn(MaximumDateColumn, r, DateToStr(result.MonthMaximumDate[r - 1]).substr(0, DayAndMonthLength));
    }

    // Per shift and tariff (columns 1..6), then the whole (column 7): working days,
    // weekends and both.
    const bool own = OwnMeasurement();
    auto summary = [&](int column, double workdays, double weekends) {
        const double total = workdays + weekends;
        SetCellByColumn(column, y + TotalRowOffset, TableValueText(total));
        SetCellByColumn(column, y + WorkdayRowOffset, TableValueText(workdays));
        SetCellByColumn(column, y + WeekendRowOffset, TableValueText(weekends));
        if (TrfShown)
            SetCellByColumn(column, y + TrfRowOffset, TableValueText(WithLosses(total)));
    };
    for (int k = 1; k <= ScheduleCount; ++k) {
        summary(k, result.YearShiftWorkdaySums[k - 1], result.YearShiftWeekendSums[k - 1]);
        summary(k + 3, result.YearTariffWorkdaySums[k - 1], result.YearTariffWeekendSums[k - 1]);
        if (own)
            SetCellByColumn(k + 3, y + CosPhiRowOffset, TariffCosPhiText(result.YearTariffCosPhiParts, k));
    }
    summary(MonthTotalColumn, result.YearWorkdayTotal, result.YearWeekendTotal);
    SetCellByColumn(TrfColumn, y + TotalRowOffset,
                    TableValueText(WithLosses(result.YearWorkdayTotal + result.YearWeekendTotal)));
    SetCellByColumn(TrfColumn, y + WorkdayRowOffset, TableValueText(WithLosses(result.YearWorkdayTotal)));
    SetCellByColumn(TrfColumn, y + WeekendRowOffset, TableValueText(WithLosses(result.YearWeekendTotal)));

    SetCellByColumn(5, y + MaxRowOffset, DateToStr(result.YearMaximumDate));
    SetCellByColumn(6, y + MaxRowOffset, result.YearMaximumTime);
    SetCellByColumn(MonthTotalColumn, y + MaxRowOffset, TableValueText(result.YearMaximum, 1, 10));
    if (own)
        SetCellByColumn(CosPhiColumn, y + TotalRowOffset, CosPhiCellText(result.YearCosPhi));
    Tabulka->InvalidateGrid();
}

void TRocniTabulkaForm::ShowResult(const TYearTableFields& fields, const TYearResult& result) {
    Tariffs = fields.Tariffs;
    Shifts = fields.Shifts;
    FirstMonth = fields.FirstMonth;
    StartMonth = fields.StartMonth;
    StartYear = fields.StartYear;
    Channel = fields.Channel;
    StartDay = fields.StartDay;
    DayStartHour = fields.DayStartHour;
    SetupTable();
    FillTable(result);
}

void TRocniTabulkaForm::TabulkaFixedCellClick(int col, int row) { SelectRow(col, row, YearMonthCount); }

void TRocniTabulkaForm::TabulkaChangeCellAttributes(int col, int row, ThgCellStates, TColor& color, TFont&) {
    if (row >= 1)
        LabelColour(col, row, color);
}

void TRocniTabulkaForm::TabulkaChangeCellBorders(int row, ThgBorder& top) {
    if (row == YearMonthCount + TotalRowOffset)
        SetThickLine(top);
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

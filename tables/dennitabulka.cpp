#include "tables/dennitabulka.h"

#include <QPushButton>

#include <algorithm>

#include "app/DayTimeGrid.h"
#include "core/ProgramGlobals.h"
#include "core/QuarterHours.h"
#include "core/TextHelpers.h"
#include "core/ZekoMessages.h"
#include "platform/FormatPatterns.h"
#include "tables/TableTexts.h"

namespace zeko {

namespace {

const std::vector<TTableColumn> DayColumns = {
    {"Čtvrthodina:\nHodina:", 75},
    {"1.", 55}, {"2.", 55}, {"3.", 55}, {"4.", 55},
    {"Celkem: [kWh]", 58},
    {"Celkem kum.[kWh]", 58},
    {"Sjednáno: [kWh]", 58},
    {"Sjednáno kum.[kWh]", 58},
    {"Rozdíl: [%]", 58},
    {"Rozdíl kum. [%]", 58},
    {"cos. fí", 33},
    {"Stav poč. [kWh]", 68},
    {"", 68}, {"", 68}, {"", 68},
};

const std::vector<TTableColumn> ScheduleColumns = {
    {"", 77},
    {"Směna 1", 77}, {"Směna 2", 77}, {"Směna 3", 77},
    {"Tarif 1", 77}, {"Tarif 2", 77}, {"Tarif 3", 77},
};

constexpr int HeadingLastColumn = 12;
constexpr int ScheduleRowCount = 4;
// The title rows: Tabulka in the 800 layout, Tabulka1 in the 1024 layout and at last
// in both.
constexpr int TitleHeight = 47;
constexpr int ScheduleWideTitleHeight = 54;
constexpr int ScheduleTitleHeight = 16;
// Room kept under Tabulka1 in the main window's client area.
constexpr int BottomRoom = 50;

constexpr TColor MaximumColor = 0x0000FF;
constexpr TColor MinimumColor = 0xFF0000;

} // namespace

TDenniTabulkaForm::TDenniTabulkaForm(const TRect& mdiClientRect, QWidget* parent)
    : TTableForm("DenniTabulkaForm", "Denní tabulka", mdiClientRect, parent) {
    PrepareTableGrid(*Tabulka, DayColumns);
    SetColumnFonts(*Tabulka, TableFont("Small Fonts", 9, true), TableFont("Small Fonts", 9));
    Tabulka->Columns().Items(HourColumn)->SetColumnFont(TableFont("MS Serif", 9));
    Tabulka->Columns().Items(HourColumn)->SetTitleVAlignment(hgvaBottom);
    Tabulka->Columns().Items(HourTotalColumn)->SetColumnColor(clAqua);
    AddMainHeading(*Tabulka, "Denní tabulka", HeadingLastColumn);
    Tabulka->SetRowHeights(0, TitleHeight);

    Tabulka1 = new THyperGrid(this);
    Tabulka1->setObjectName("Tabulka1");
    PrepareTableGrid(*Tabulka1, ScheduleColumns);
    SetColumnFonts(*Tabulka1, TableFont("Small Fonts", 9, true), TableFont("Small Fonts", 9));
    Tabulka1->SetFixedCols(1);
    Tabulka1->Columns().Items(0)->SetTitleHAlignment(taLeftJustify);

    AddDateButtons(true);
    AddOutputButtons(true);
    Btn_MesTab = AddButton("Btn_MesTab", "Měs.tab.", [this] { Btn_MesTabClick(); });
    Btn_RokTab = AddButton("Btn_RokTab", "Roční tab.", [this] { Btn_RokTabClick(); });
    Btn_Graf = AddButton("Btn_Graf", "Gra&f", [this] { Btn_GrafClick(); });
    AddBevel();
    AddAnalysisButtons(false);

    FormCreate();
}

TDenniTabulkaForm::~TDenniTabulkaForm() { DayTableOpen = false; }

void TDenniTabulkaForm::FormCreate() {
    DayTableOpen = true;
    Day = Today();
    if (Devices != nullptr)
        Devices->FindById(0, Channel);
    MeasurementIndex = RegulatorMeasurementId;
    Tabulka->LoadColumnWidths(ColumnWidthsKey("Denni"));
    Tabulka1->LoadColumnWidths(ColumnWidthsKey("Denni1"));

    if (ApplyLayout(*Tabulka, 13, 16, 16, 19)) {
        SetColumnFonts(*Tabulka1, WideLayoutFont(), WideLayoutFont());
        Tabulka1->SetRowHeights(0, ScheduleWideTitleHeight);
    }

    Tabulka->SetRowCount(RowCount);
    for (int r = 1; r <= DayRowCount; ++r) {
        Tabulka->SetCells(HourColumn, r, TwoDigits(r - 1) + " - " + TwoDigits(r));
        Tabulka->SetRowHeights(r, HourRowHeight);
    }
    Tabulka->SetCells(HourColumn, TotalRow, "Celkem:");
    Tabulka->SetCells(HourColumn, MinMaxRow, "MIN/MAX");
    SetRowHeights(*Tabulka, TotalRow, MinMaxRow, SummaryRowHeight);

    Tabulka1->SetRowCount(ScheduleRowCount);
    Tabulka1->move(Tabulka1->x(), Tabulka->y() + Tabulka->height() + 2);
    Tabulka1->SetRowHeights(0, ScheduleTitleHeight);
    for (int k = 1; k <= ScheduleCount; ++k)
        Tabulka1->Columns().Items(k + 3)->SetCaption(TariffNames[k]);
    Tabulka1->resize(ScheduleGridWidth(), Tabulka1->height());

    PlacePanel();
    SetupTable();
}

void TDenniTabulkaForm::SetupTable() {
    TakeQuantity();
    if (Quantity.Kind == AggregatePresentMean) {
        Tabulka->Columns().Items(HourTotalColumn)->SetCaption("Průměr " + EnergyUnitText);
        Tabulka1->SetCells(0, SumRow, "Průměry " + EnergyUnitText);
    } else {
        Tabulka->Columns().Items(HourTotalColumn)->SetCaption("Celkem " + EnergyUnitText + ":");
        Tabulka1->SetCells(0, SumRow, "Součty " + EnergyUnitText + ":");
    }
    Tabulka1->SetCells(0, MaxRow, "Maxima " + PowerUnitText + ":");
    Tabulka1->SetCells(0, TimeRow, "Časy:");
    for (int i = RunningTotalColumn; i < ColumnCount; ++i)
        Tabulka->Columns().Items(i)->SetVisible(i == CosPhiColumn && OwnMeasurement());

    SetRowHeights(*Tabulka1, SumRow, TimeRow, HourRowHeight);
    FitColumnToTexts(*Tabulka1, 0, true,
                     {Tabulka1->Cells(0, SumRow), Tabulka1->Cells(0, MaxRow), Tabulka1->Cells(0, TimeRow)});
    const int rows = Tabulka1->RowCount();
    Tabulka1->resize(ScheduleGridWidth(), Tabulka1->RowHeights(1) * (rows - 1) + Tabulka1->RowHeights(0) + rows);

    AvailableHeight = MdiClientRect.Bottom - Tabulka->y() - BottomRoom;
    FitTable();
    Tabulka1->move(std::max(2, CentredLeft(Tabulka1->width())), Tabulka->y() + Tabulka->height() + 2);

    Tabulka->Headings().Items(0)->SetCaption("Denní výpis : " + DeviceValueCaption(Channel.Id) + " - " +
                                             LongDayName(Day) + "  " + DateToStr(Day));
    MaxCellRow = MaxCellCol = MinCellRow = MinCellCol = -1;
}

int TDenniTabulkaForm::ScheduleGridWidth() const {
    return 6 * Tabulka1->ColWidths(1) + Tabulka1->ColWidths(0) + Tabulka1->ColCount();
}

void TDenniTabulkaForm::FillTable(const TDayResult& result) {
    const int start = NormalDayStartHour(DayStartHour);
    const bool own = OwnMeasurement();
    double running = 0;
    for (int r = 1; r <= DayRowCount; ++r) {
        int hour = start + r;
        if (hour > 24)
            hour -= 24;
        SetCellByColumn(HourColumn, r, TwoDigits(hour - 1) + " - " + (hour == 24 ? "00" : TwoDigits(hour)));
        const auto& counts = result.DayQuarterCounts[r - 1];
        for (int q = 1; q <= QuarterSlotCount; ++q)
            SetCellByColumn(FirstQuarterColumn + q - 1, r,
                            counts[q - 1] > 0 ? TableValueText(result.DayQuarterValues[r - 1][q - 1])
                                              : NoDataText);
        const double hourValue = result.DayHourValues[r - 1];
        running += hourValue;
        SetCellByColumn(HourTotalColumn, r, TableValueText(hourValue, 1, 10));
        SetCellByColumn(RunningTotalColumn, r, TableValueText(running, 1, 10));
        if (own)
            SetCellByColumn(CosPhiColumn, r,
                            counts[RowCountIndex] > 0 ? CosPhiCellText(result.DayHourCosPhi[r - 1]) : NoDataText);
    }

    const auto& hv = result.DayHourValues;
    SetCellByColumn(HourTotalColumn, TotalRow, TableValueText(hv[DayHourIndex::Total], 1, 10));
    if (own)
        SetCellByColumn(CosPhiColumn, TotalRow, CosPhiCellText(result.DayCosPhi));
    SetCellByColumn(1, MinMaxRow, SecondsToHHMM(hv[DayHourIndex::MinimumSecond]));
    SetCellByColumn(2, MinMaxRow, TableValueText(hv[DayHourIndex::Minimum], 1, 10));
    SetCellByColumn(4, MinMaxRow, SecondsToHHMM(hv[DayHourIndex::MaximumSecond]));
    SetCellByColumn(5, MinMaxRow, TableValueText(hv[DayHourIndex::Maximum], 1, 10));

    for (int k = 1; k <= ScheduleCount; ++k) {
        const struct {
            int column;
            double total;
            int32_t records;
            const TScheduleMaxima& maxima;
        } parts[] = {{k, result.DayShiftTotals[k - 1], result.DayShiftCounts[k - 1], result.DayShiftMaxima},
                     {k + 3, result.DayTariffTotals[k - 1], result.DayTariffCounts[k - 1], result.DayTariffMaxima}};
        for (const auto& part : parts) {
            // A shift or tariff without records has no maximum.
            const bool any = part.records > 0;
            Tabulka1->SetCells(part.column, SumRow, TableValueText(part.total, 1, 10));
            Tabulka1->SetCells(part.column, MaxRow, any ? TableValueText(part.maxima.Values[k - 1], 1, 10) : NoDataText);
            Tabulka1->SetCells(part.column, TimeRow, any ? MinutesToHHMM(part.maxima.Minutes[k - 1]) : NoDataText);
        }
        Tabulka1->Columns().Items(k + 3)->SetCaption(TariffNames[k]);
        if (own) {
            Tabulka1->SetCells(k, 0, "");
            Tabulka1->SetCells(k + 3, 0, TariffCosPhiText(result.DayTariffCosPhiParts, k));
        }
    }

    for (int r = 0; r < DayRowCount; ++r) {
        const auto& counts = result.DayQuarterCounts[r];
        MultiRecordQuarters[r] =
            static_cast<uint8_t>(std::count_if(counts.begin(), counts.begin() + QuarterSlotCount,
                                               [](int32_t n) { return n > 1; }));
    }
    QuarterCellOf(hv[DayHourIndex::MaximumSecond], MaxCellRow, MaxCellCol);
    QuarterCellOf(hv[DayHourIndex::MinimumSecond], MinCellRow, MinCellCol);
    Tabulka->InvalidateGrid();
    Tabulka1->InvalidateGrid();
}

void TDenniTabulkaForm::ShowResult(const TDayTableFields& fields, const TDayResult& result) {
    TakeFields(fields);
    Day = fields.Day;
    DayType = fields.DayType;
    SetupTable();
    FillTable(result);
}

void TDenniTabulkaForm::QuarterCellOf(double seconds, int& row, int& col) const {
    const int t = static_cast<int>(seconds);
    const int hour = t / 3600, minute = t % 3600 / 60, second = t % 60;
    row = DayRowOf(hour, minute, second, DayStartHour);
    col = QuarterHourSlot(minute, second);
}

void TDenniTabulkaForm::TabulkaChangeCellAttributes(int col, int row, ThgCellStates state, TColor& color,
                                                    TFont& font) {
    if (row < 1 || row > DayRowCount)
        return;
    if (col == MaxCellCol && row == MaxCellRow) {
        color = MaximumColor;
        font.SetColor(clWhite);
    } else if (col == MinCellCol && row == MinCellRow) {
        color = MinimumColor;
        font.SetColor(clWhite);
    } else if (col == HourTotalColumn && MultiRecordQuarters[row - 1] > 0) {
        font.SetColor(clRed);
    } else {
        font.SetColor(clBlack);
    }
}

void TDenniTabulkaForm::TabulkaChangeCellBorders(int row, ThgBorder& top) {
    if (row == TotalRow)
        SetThickLine(top);
}

void TDenniTabulkaForm::Btn_DnesniClick() { PostRequest(WM_SHOW_DAY_TABLE, Today(), Channel.Id); }
void TDenniTabulkaForm::Btn_VyberDataClick() { PostRequest(WM_SHOW_DAY_TABLE, 0, 0); }
void TDenniTabulkaForm::Btn_PredchoziClick() { PostRequest(WM_SHOW_DAY_TABLE, DateOf(Day) - 1, Channel.Id); }
void TDenniTabulkaForm::Btn_DalsiClick() { PostRequest(WM_SHOW_DAY_TABLE, DateOf(Day) + 1, Channel.Id); }
void TDenniTabulkaForm::Btn_MesTabClick() { PostRequest(WM_OPEN_MONTH_TABLE, Day, Channel.Id); }
void TDenniTabulkaForm::Btn_RokTabClick() { PostRequest(WM_OPEN_YEAR_TABLE, Day, Channel.Id); }
void TDenniTabulkaForm::Btn_GrafClick() { PostRequest(WM_SHOW_ARCHIVE, Day, Channel.Id); }

} // namespace zeko

#include "tables/PeriodTableForm.h"

#include <algorithm>

#include "platform/FormatPatterns.h"
#include "tables/TableTexts.h"

namespace zeko {

namespace {

constexpr TColor SelectedLabelColor = 0x00FF00;
constexpr int NarrowRowHeight = 13;
constexpr int NarrowSummaryHeight = 15;

} // namespace

TPeriodTableForm::TPeriodTableForm(const char* objectName, const char* caption, const TRect& mdiClientRect,
                                   QWidget* parent, const TPeriodGridDesign& design)
    : TTableForm(objectName, caption, mdiClientRect, parent) {
    PrepareTableGrid(*Tabulka, design.Columns);
    Tabulka->SetFixedCols(1);
    SetColumnFonts(*Tabulka, TableFont("Small Fonts", 9, true), TableFont("Small Fonts", 9));
    Tabulka->Columns().Items(TotalColumn)->SetColumnColor(clAqua);
    AddMainHeading(*Tabulka, design.Heading, CosPhiColumn)->SetTitleVAlignment(hgvaBottom);
    AddTableHeading(*Tabulka, design.QuarterMaxHeading, design.QuarterMaxFirst, design.QuarterMaxLast,
                    TableFont("Arial", 11, true));
    AddTableHeading(*Tabulka, design.HourMaxHeading, design.HourMaxFirst, design.HourMaxLast,
                    TableFont("Arial", 11, true));
    Tabulka->SetRowHeights(0, design.TitleHeight);
}

void TPeriodTableForm::LayOut(const char* widthsKey, int wideHour, int wideSummary) {
    ApplyLayout(*Tabulka, NarrowRowHeight, NarrowSummaryHeight, wideHour, wideSummary);
    Tabulka->LoadColumnWidths(ColumnWidthsKey(widthsKey));
    AvailableHeight = MdiClientRect.Bottom - Tabulka->y() - Margin;
    PlacePanel();
}

void TPeriodTableForm::SetSummaryRows(bool withTrf) {
    TotalRowOffset = 1;
    TrfRowOffset = withTrf ? 2 : 0;
    WorkdayRowOffset = withTrf ? 3 : 2;
    WeekendRowOffset = WorkdayRowOffset + 1;
    MaxRowOffset = WeekendRowOffset + 1;
    SummaryRowCount = MaxRowOffset;
    if (OwnMeasurement())
        CosPhiRowOffset = ++SummaryRowCount;
}

void TPeriodTableForm::LayOutRows(const std::string& total) {
    const int p = PeriodRows();
    // A shorter period keeps a row selected: the day table must not open a day
    // beyond the period.
    SelectedRow = std::clamp(SelectedRow, 1, std::max(1, p));
    Tabulka->SetRowCount(p + 1 + SummaryRowCount);
    SetRowHeights(*Tabulka, 1, p, HourRowHeight);
    SetRowHeights(*Tabulka, p + 1, p + SummaryRowCount, SummaryRowHeight);
    Tabulka->SetCells(LabelColumn, p + TotalRowOffset, total);
    if (TrfRowOffset > 0)
        Tabulka->SetCells(LabelColumn, p + TrfRowOffset, "Celk. TRF:");
    Tabulka->SetCells(LabelColumn, p + WorkdayRowOffset, "Po÷Pá");
    Tabulka->SetCells(LabelColumn, p + WeekendRowOffset, "So+Ne");
    Tabulka->SetCells(LabelColumn, p + MaxRowOffset, "1/4h.max:");
    if (OwnMeasurement())
        Tabulka->SetCells(LabelColumn, p + CosPhiRowOffset, "cos. fí:");
    ClearValueCells(*Tabulka);
}

void TPeriodTableForm::SetCaptions(const std::string& totalCaption) {
    ThgColumns& columns = Tabulka->Columns();
    for (int k = 1; k <= 3; ++k) {
        columns.Items(k)->SetCaption("S" + std::to_string(k));
        columns.Items(k + 3)->SetCaption("T" + std::to_string(k));
    }
    columns.Items(TotalColumn)->SetCaption(totalCaption + " " + EnergyUnitText);
    columns.Items(TrfColumn)->SetCaption("TRF " + EnergyUnitText);
    columns.Items(MaximumColumn)->SetCaption("Hodnota " + PowerUnitText);
}

void TPeriodTableForm::FitPeriodTable(std::vector<std::string> periodLabels, TDateTime someDate) {
    for (int r = PeriodRows() + 1; r < Tabulka->RowCount(); ++r)
        periodLabels.push_back(Tabulka->Cells(LabelColumn, r));
    FitColumnToTexts(*Tabulka, LabelColumn, true, periodLabels);
    // The maximum row shows the date of the maximum in column 5.
    FitColumnToTexts(*Tabulka, 5, false, {DateToStr(someDate)});
    FitTable();
}

std::string TPeriodTableForm::TotalLabel() const {
    return Quantity.Kind == AggregatePresentMean ? "Průměr:" : "Celkem:";
}

void TPeriodTableForm::SetMaximumRow(std::span<const uint8_t> rowHasData, TDateTime date, const std::string& time,
                                     double value) {
    const int row = PeriodRows() + MaxRowOffset;
    const bool anyRecords = std::any_of(rowHasData.begin(), rowHasData.begin() + PeriodRows(),
                                        [](uint8_t has) { return has == 1; });
    SetCellByColumn(5, row, anyRecords ? DateToStr(date) : NoDataText);
    SetCellByColumn(6, row, anyRecords ? time : NoDataText);
    SetCellByColumn(TotalColumn, row, anyRecords ? TableValueText(value, 1, 10) : NoDataText);
}

void TPeriodTableForm::TabulkaFixedCellClick(int col, int row) {
    if (col != LabelColumn || row < 1 || row > PeriodRows())
        return;
    SelectedRow = row;
    Tabulka->InvalidateGrid();
}

void TPeriodTableForm::TabulkaChangeCellAttributes(int col, int row, ThgCellStates, TColor& color, TFont&) {
    if (col == LabelColumn && row >= 1)
        color = row == SelectedRow ? SelectedLabelColor : clBtnFace;
}

void TPeriodTableForm::TabulkaChangeCellBorders(int row, ThgBorder& top) {
    if (row == PeriodRows() + TotalRowOffset)
        SetThickLine(top);
}

} // namespace zeko

#pragma once
// What the month and year windows share: one grid with a fixed label column, one
// row per day (or month) of the period, then the summary rows (the total, the
// total with transformer losses where the window has it, working days, weekends,
// the maximum and, for the regulator's own measurement, the cos phi per tariff). A
// click on a row's label selects it; the selected label is green.
#include "tables/TableForm.h"

#include <cstdint>
#include <span>

namespace zeko {

// The design of a period grid: its model columns and its three headings (the
// table's over columns 0..14, the quarter-hour maximum's and the hour maximum's).
struct TPeriodGridDesign {
    std::vector<TTableColumn> Columns;
    const char* Heading;
    const char* QuarterMaxHeading;
    int QuarterMaxFirst, QuarterMaxLast;
    const char* HourMaxHeading;
    int HourMaxFirst, HourMaxLast;
    int TitleHeight;  // of the 800 layout
};

class TPeriodTableForm : public TTableForm {
public:
    // Model columns both windows use alike.
    static constexpr int LabelColumn = 0;
    static constexpr int TotalColumn = 7;
    static constexpr int TrfColumn = 8;
    static constexpr int CosPhiColumn = 14;
    static constexpr int MaximumColumn = 15;
    static constexpr int MaximumTimeColumn = 16;

    // The row whose label was clicked last (1..).
    int SelectedRow = 1;
    // Summary rows counted from the last row of the period; TrfRowOffset 0: none.
    int TotalRowOffset = 1;
    int TrfRowOffset = 0;
    int WorkdayRowOffset = 2;
    int WeekendRowOffset = 3;
    int MaxRowOffset = 4;
    int CosPhiRowOffset = 5;
    int SummaryRowCount = 4;

    void TabulkaFixedCellClick(int col, int row) override;
    // The label column: the selected row green, the others button-face.
    void TabulkaChangeCellAttributes(int col, int row, ThgCellStates state, TColor& color, TFont& font) override;
    // A thick line over the total row.
    void TabulkaChangeCellBorders(int row, ThgBorder& top) override;

protected:
    TPeriodTableForm(const char* objectName, const char* caption, const TRect& mdiClientRect, QWidget* parent,
                     const TPeriodGridDesign& design);
    // Rows of the period: days or months.
    virtual int PeriodRows() const = 0;

    // The layout of the window (fonts, row heights), the column widths of its
    // registry key, the room of the grid and the panel.
    void LayOut(const char* widthsKey, int wideHour, int wideSummary);
    // The summary rows with or without the one of transformer losses.
    void SetSummaryRows(bool withTrf);
    // Rows, heights, the labels of the summary rows (`total`, then the fixed ones),
    // every value cell emptied; the selected row kept inside the period.
    void LayOutRows(const std::string& total);
    // Captions S1..S3, T1..T3, the total, the losses and the maximum.
    void SetCaptions(const std::string& totalCaption);
    // The label column (with labels like `periodLabels` and the summary labels) and
    // column 5 (the maximum's date) wide enough for their texts, then the grid
    // fitted into its room.
    void FitPeriodTable(std::vector<std::string> periodLabels, TDateTime someDate);
    // The label of the total row: "Průměr:" for an averaged quantity.
    std::string TotalLabel() const;
    // The maximum row: the date, time and value of the period's maximum, or "x" in
    // each when no row of the period had records (`rowHasData` 1 for a row with).
    void SetMaximumRow(std::span<const uint8_t> rowHasData, TDateTime date, const std::string& time, double value);
};

} // namespace zeko

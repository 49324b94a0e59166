#pragma once
// TDenniTabulkaForm: the MDI child "Denní tabulka", one evaluated day of one
// channel. `Tabulka` holds the 24 hours of the day by their four quarter hours with
// the hour totals (the running total and the cos phi of the regulator's own
// measurement beside them), the day total and the day's minimum and maximum;
// `Tabulka1` under it the sums, maxima and times of the maxima per shift and per
// tariff. The main window evaluates the day, writes the day fields and calls
// SetupTable and FillTable; the buttons ask it for other days and for the month and
// year tables. DayTableOpen is set while the window exists.
#include <array>
#include <cstdint>

#include "app/DayEvaluation.h"
#include "app/DayResult.h"
#include "tables/TableForm.h"

namespace zeko {

class TDenniTabulkaForm : public TTableForm {
public:
    explicit TDenniTabulkaForm(const TRect& mdiClientRect, QWidget* parent = nullptr);
    ~TDenniTabulkaForm() override;

    THyperGrid* Tabulka1;
    QPushButton* Btn_MesTab;
    QPushButton* Btn_RokTab;

    // Model columns of Tabulka.
    static constexpr int HourColumn = 0;
    static constexpr int FirstQuarterColumn = 1;
    static constexpr int HourTotalColumn = 5;
    static constexpr int RunningTotalColumn = 6;
    static constexpr int CosPhiColumn = 11;
    static constexpr int ColumnCount = 16;
    // Rows of Tabulka after the 24 hours.
    static constexpr int TotalRow = 25;
    static constexpr int MinMaxRow = 26;
    static constexpr int RowCount = 27;
    // Rows of Tabulka1 that FillTable writes.
    static constexpr int SumRow = 1;
    static constexpr int MaxRow = 2;
    static constexpr int TimeRow = 3;

    // Written by the main window (besides the fields of every table window).
    TDateTime Day = 0;
    uint8_t DayType = 0;  // 1: a Saturday, a Sunday or a holiday

    // Captions, units, visible columns and sizes for Channel.
    void SetupTable();
    // The day result into both grids.
    void FillTable(const TDayResult& result);
    // What the main window does with an evaluated day: the fields, SetupTable,
    // FillTable.
    void ShowResult(const TDayTableFields& fields, const TDayResult& result);

    // The cells of the day's largest and smallest quarter value; -1 before FillTable.
    int MaxCellRow = -1, MaxCellCol = -1, MinCellRow = -1, MinCellCol = -1;
    // Per hour row: the quarters that held more than one record.
    std::array<uint8_t, DayRowCount> MultiRecordQuarters{};

    void Btn_DnesniClick() override;
    void Btn_VyberDataClick() override;
    // Printing and the text and spreadsheet exports (dennitabulkaOutput.cpp).
    void Btn_TiskClick() override;
    void Btn_ExportTXTClick() override;
    void Btn_ExportXLSClick() override;
    void Btn_PredchoziClick() override;
    void Btn_DalsiClick() override;
    void Btn_MesTabClick();
    void Btn_RokTabClick();
    void Btn_GrafClick();

    void TabulkaChangeCellAttributes(int col, int row, ThgCellStates state, TColor& color, TFont& font) override;
    void TabulkaChangeCellBorders(int row, ThgBorder& top) override;

private:
    void FormCreate();
    // Six value columns of the width of the first, the label column and the lines.
    int ScheduleGridWidth() const;
    // The grid cell of a quarter value stamped at `seconds` of the day.
    void QuarterCellOf(double seconds, int& row, int& col) const;
};

} // namespace zeko

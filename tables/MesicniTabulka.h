#pragma once
// TMesicniTabulkaForm: the MDI child "Měsíční tabulka", a period of up to 35 days
// of one channel, one row per day: sums per shift and per tariff, the day total,
// the day's cos phi and quarter-hour maximum with its time; then the period's
// total, its working-day and weekend sums, its maximum and, for the regulator's
// own measurement, the cos phi per tariff. Weekend and holiday rows are coloured; a
// click on a day's label selects it for the day table. The main window evaluates
// the period, writes the period fields and calls SetupTable and FillTable.
// MonthTableOpen is set while the window exists.
#include <array>
#include <bitset>
#include <cstdint>

#include "app/PeriodResult.h"
#include "app/TableRequests.h"
#include "tables/PeriodTableForm.h"

namespace zeko {

class TMesicniTabulkaForm : public TPeriodTableForm {
public:
    explicit TMesicniTabulkaForm(const TRect& mdiClientRect, QWidget* parent = nullptr);
    ~TMesicniTabulkaForm() override;

    QPushButton* Btn_DenTab;
    QPushButton* Btn_RokTab;

    static constexpr int ColumnCount = 23;

    // Written by the main window (besides the fields of every table window).
    TDateTime FirstDay = 0;
    // The first day, its month, the next month and the month after that.
    std::array<uint8_t, 4> PeriodMonths{};
    uint8_t PartialMonth = 0;  // 1: the days shown are not the days of the first month
    uint8_t PeriodDays = 0;    // day rows, 1..35

    std::bitset<256> WeekendRows;
    std::bitset<256> HolidayRows;

    void SetupTable();
    // The month result and the converted working-day and weekend sums into the grid.
    void FillTable(const TMonthResult& result, const TPeriodAccumulators& period);
    // What the main window does with an evaluated period: the fields, SetupTable,
    // FillTable.
    void ShowResult(const TMonthTableFields& fields, const TMonthResult& result, const TPeriodAccumulators& period);

    void Btn_DnesniClick() override;
    void Btn_VyberDataClick() override;
    // Printing and the text and spreadsheet exports (MesicniTabulkaOutput.cpp).
    void Btn_TiskClick() override;
    void Btn_ExportTXTClick() override;
    void Btn_ExportXLSClick() override;
    void Btn_PredchoziClick() override;
    void Btn_DalsiClick() override;
    void Btn_RokTabClick();
    void Btn_DenTabClick();

    // Besides the label column: weekend rows and the weekend summary light yellow,
    // holidays orange.
    void TabulkaChangeCellAttributes(int col, int row, ThgCellStates state, TColor& color, TFont& font) override;

protected:
    int PeriodRows() const override { return PeriodDays; }

private:
    void FormCreate();
};

} // namespace zeko

#pragma once
// TRocniTabulkaForm: the MDI child "Roční tabulka", one row per month for
// YearMonthCount months (12 unless the user chose another count) of one channel:
// sums per shift and per tariff, the month total and, when an energy channel has
// transformer losses, the total with them ("TRF"), the month's cos phi and its
// quarter-hour maximum with time and date; then the year's total (and with losses),
// its working-day and weekend sums, its maximum and, for the regulator's own
// measurement, the cos phi per tariff. A click on a month's label selects it for
// the month table. The main window evaluates the months, writes the fields and
// calls SetupTable and FillTable. YearTableOpen is set while the window exists.
#include <cstdint>

#include "app/PeriodResult.h"
#include "app/TableRequests.h"
#include "tables/PeriodTableForm.h"

namespace zeko {

class TRocniTabulkaForm : public TPeriodTableForm {
public:
    explicit TRocniTabulkaForm(const TRect& mdiClientRect, QWidget* parent = nullptr);
    ~TRocniTabulkaForm() override;

    QPushButton* Btn_MesTab;

    static constexpr int MaximumDateColumn = 17;
    static constexpr int ColumnCount = 25;

    // Written by the main window (besides the fields of every table window).
    TDateTime FirstMonth = 0;  // the 1st of the first month
    uint16_t StartMonth = 1, StartYear = 0;
    uint8_t StartDay = 1;  // kept for the main window

    // The total with transformer losses is shown.
    bool TrfShown = false;

    void SetupTable();
    // The year result into the grid.
    void FillTable(const TYearResult& result);
    // What the main window does with evaluated months: the fields, SetupTable,
    // FillTable.
    void ShowResult(const TYearTableFields& fields, const TYearResult& result);

    void Btn_DnesniClick() override;
    void Btn_VyberDataClick() override;
    // Printing and the text and spreadsheet exports (RocniTabulkaOutput.cpp).
    void Btn_TiskClick() override;
    void Btn_ExportTXTClick() override;
    void Btn_ExportXLSClick() override;
    void Btn_PredchoziClick() override;
    void Btn_DalsiClick() override;
    void Btn_MesTabClick();

protected:
    int PeriodRows() const override { return YearMonthCount; }

private:
    void FormCreate();
    // The month total times (1 + losses ÷ 100).
    double WithLosses(double value) const { return value * (Channel.TrfLosses / 100 + 1); }
};

} // namespace zeko

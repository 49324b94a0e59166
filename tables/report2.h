#pragma once
// TReportForm2: the printed form of the month table, and the base of the year
// table's (report3.h): a line per day with the shift and tariff sums, the total
// and the quarter-hour maximum with its time, then the period's total, working-day
// and weekend sums, its maximum and the shift and tariff time bands for working
// days and for weekends. Every value is taken from the window's grid as it shows
// it. The form lives for one print command.
#include <string>

#include "platform/DateTime.h"
#include "platform/report/QuickRep.h"

namespace zeko {

class TMesicniTabulkaForm;
class TPeriodTableForm;

class TReportForm2 {
public:
    // `rows`: the day (or month) rows of the window's grid; `firstDay`: the first of
    // them, for the title.
    TReportForm2(TPeriodTableForm& window, int rows, TDateTime firstDay);
    virtual ~TReportForm2() = default;

    TQuickRep QuickRep1{"QuickRep1"};
    // The counter readings: never part of the printout.
    TQuickRep QuickRep2{"QuickRep2"};
    TQRCompositeReport QRCompositeReport1;
    bool IncludeSecondReport = false;
    int RowCounter = 1;

    virtual void SetStaticCaptions();
    void QuickRep1BeforePrint(bool& printReport);
    void QuickRep1NeedData(bool& moreData);
    void QRCompositeReport1AddReports(TQRCompositeReport& report);

protected:
    // "Měsíční výpis - " and the date of the first day.
    virtual std::string Title() const;
    // The detail labels beyond the maximum's time.
    virtual void FillDetailExtras() {}
    TPeriodTableForm& window_;
    const int rows_;
    const TDateTime firstDay_;

private:
    void CreateBands();
};

void PrintMonthReport(TMesicniTabulkaForm& window);

} // namespace zeko

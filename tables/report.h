#pragma once
// TReportForm: the printed form of the day table, one portrait page: the title,
// a line per hour with its quarter values, hour total and (for the regulator's own
// measurement) cos phi, the day's total and quarter-hour maximum, the sums, maxima
// and times per shift and per tariff with the tariff cos phi, and the shift and
// tariff time bands. Every value is taken from the day window's grids as they show
// it. The form lives for one print command.
#include "platform/report/QuickRep.h"

namespace zeko {

class TDenniTabulkaForm;

class TReportForm {
public:
    explicit TReportForm(TDenniTabulkaForm& window);

    TQuickRep QuickRep1{"QuickRep1"};
    // The hourly counter readings: never part of the printout.
    TQuickRep QuickRep2{"QuickRep2"};
    TQRCompositeReport QRCompositeReport1;
    bool IncludeSecondReport = false;
    // The next table row to print.
    int RowCounter = 1;

    void SetStaticCaptions();
    void QuickRep1BeforePrint(bool& printReport);
    void QuickRep1NeedData(bool& moreData);
    void QRCompositeReport1AddReports(TQRCompositeReport& report);

private:
    void CreateBands();
    // The columns placed for the regulator's own measurement or any other channel.
    void PlaceColumns(bool own);

    TDenniTabulkaForm& window_;
};

// The day window's "&Tisk": the progress box while the report is prepared, the
// printer set-up and the preview.
void PrintDayReport(TDenniTabulkaForm& window);

} // namespace zeko

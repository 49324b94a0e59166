#include "tables/report3.h"

#include "core/ProgramGlobals.h"
#include "platform/FormatPatterns.h"
#include "tables/ReportParts.h"
#include "tables/RocniTabulka.h"

namespace zeko {

TReportForm3::TReportForm3(TRocniTabulkaForm& window) : TReportForm2(window, YearMonthCount, window.FirstMonth) {
    // The base's constructor ran its own captions; the year's replace some of them.
    SetStaticCaptions();
    LabelOf(QuickRep1, "QRL_Detail10").Enabled = true;
}

void TReportForm3::SetStaticCaptions() {
    TReportForm2::SetStaticCaptions();
    SetCaptions(QuickRep1, {{"QRLabel14", "Měsíc:"}, {"QRLabel6", "Celý měsíc"}});
}

std::string TReportForm3::Title() const { return "Roční výpis - " + DateToStr(firstDay_); }

void TReportForm3::FillDetailExtras() {
    SetCaption(QuickRep1, "QRL_Detail10",
               window_.GetCellByColumn(TRocniTabulkaForm::MaximumDateColumn, RowCounter));
}

void PrintYearReport(TRocniTabulkaForm& window) {
    TReportForm3 report(window);
    report.IncludeSecondReport = false;
    PrintPreparedReport(report.QRCompositeReport1);
}

} // namespace zeko

#pragma once
// TReportForm3: the printed form of the year table, the month table's form with a
// line per month and the date of each month's maximum.
#include "tables/report2.h"

namespace zeko {

class TRocniTabulkaForm;

class TReportForm3 : public TReportForm2 {
public:
    explicit TReportForm3(TRocniTabulkaForm& window);
    void SetStaticCaptions() override;

protected:
    std::string Title() const override;
    void FillDetailExtras() override;
};

void PrintYearReport(TRocniTabulkaForm& window);

} // namespace zeko

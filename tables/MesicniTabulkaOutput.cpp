// The month window's printing and its text and spreadsheet exports: every figure
// is taken from the grid as it shows it.
#include "tables/MesicniTabulka.h"

#include "platform/FormatPatterns.h"
#include "tables/SheetExport.h"
#include "tables/TextExport.h"
#include "tables/report2.h"

namespace zeko {

namespace {

// Grid columns a line of the text export holds.
constexpr int TextColumns = 12;

} // namespace

void TMesicniTabulkaForm::Btn_TiskClick() { PrintMonthReport(*this); }

void TMesicniTabulkaForm::Btn_ExportTXTClick() {
    SaveDialog1 = TextExportDialog(true);
    RunTextExport(*this, FirstDay,
                  [this](TReportExport& file) { WritePeriodTable(file, *this, "Odběr/Den", TextColumns - 1); });
}

void TMesicniTabulkaForm::Btn_ExportXLSClick() {
    // A month from its first day is named by the month alone.
    const std::string date = FormatDateTime(DecodeDate(FirstDay).Day == 1 ? "yyyy-mm" : "yyyy-mm-dd", FirstDay);
    RunSheetExport(*this, FirstDay, WorkbookTitle("Měsíční tabulka", Channel.Id, date), [this](TExcel& excel) {
        const int n = Tabulka->ColCount();
        return ExportPeriodTable(*this, excel, PeriodDays, "Odběr/Den", n, n + 1, 1);
    });
}

} // namespace zeko

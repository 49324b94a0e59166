// The year window's printing and its text and spreadsheet exports: every figure is
// taken from the grid as it shows it.
#include "tables/RocniTabulka.h"

#include "core/ProgramGlobals.h"
#include "platform/FormatPatterns.h"
#include "tables/SheetExport.h"
#include "tables/TextExport.h"
#include "tables/report3.h"

namespace zeko {

namespace {

// Grid columns a line of the text export holds.
constexpr int TextColumns = 13;
// The one-decimal format reaches this spreadsheet column.
constexpr int FormatRight = 14;

} // namespace

void TRocniTabulkaForm::Btn_TiskClick() { PrintYearReport(*this); }

void TRocniTabulkaForm::Btn_ExportTXTClick() {
    SaveDialog1 = TextExportDialog(true);
    RunTextExport(*this, FirstMonth,
                  [this](TReportExport& file) { WritePeriodTable(file, *this, "Odběr/Měsíc", TextColumns - 1); });
}

void TRocniTabulkaForm::Btn_ExportXLSClick() {
    // A year from January is named by the year alone.
    const std::string date = FormatDateTime(DecodeDate(FirstMonth).Month == 1 ? "yyyy" : "yyyy-mm", FirstMonth);
    RunSheetExport(*this, FirstMonth, WorkbookTitle("Roční tabulka", Channel.Id, date), [this](TExcel& excel) {
        return ExportPeriodTable(*this, excel, YearMonthCount, "", Tabulka->ColCount() - 1, FormatRight, 2);
    });
}

} // namespace zeko

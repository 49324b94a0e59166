// The year window's printing and its text and spreadsheet exports: every figure is
// taken from the grid as it shows it.
#include "tables/RocniTabulka.h"

#include "core/ProgramGlobals.h"
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
    RunTextExport(*this, FirstMonth, [this](TReportExport& file) {
        file.WriteLine("\t\t\t" + Tabulka->Headings().Items(0)->Caption());
        const std::vector<std::string> headings =
            ShownColumnHeadings(*Tabulka, 1, TextColumns - 1, [this](int model, const std::string& caption) {
                switch (model) {
                case MaximumColumn: return "1/4h.max. " + PowerUnitText;
                case MaximumTimeColumn: return std::string("Čas 1/4h.max.");
                case MaximumDateColumn: return std::string("Datum 1/4h.max.");
                default: return caption;
                }
            });
        file.WriteLine("Odběr/Měsíc\t" + TabJoined(headings));
        for (int r = 1; r < Tabulka->RowCount(); ++r)
            file.WriteLine(RowLine(*Tabulka, r, TextColumns - 1));
        file.WriteLine("");
        file.WriteLine("");
    });
}

void TRocniTabulkaForm::Btn_ExportXLSClick() {
    RunSheetExport(*this, FirstMonth, [this](TExcel& excel) {
        return ExportPeriodTable(*this, excel, YearMonthCount, "", Tabulka->ColCount() - 1, FormatRight, 2);
    });
}

} // namespace zeko

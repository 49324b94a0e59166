// The month window's printing and its text and spreadsheet exports: every figure
// is taken from the grid as it shows it.
#include "tables/MesicniTabulka.h"

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
    RunTextExport(*this, FirstDay, [this](TReportExport& file) {
        file.WriteLine("\t\t\t" + Tabulka->Headings().Items(0)->Caption());
        const std::vector<std::string> headings =
            ShownColumnHeadings(*Tabulka, 1, TextColumns - 1, [this](int model, const std::string& caption) {
                if (model == MaximumColumn)
                    return "1/4h.max. " + PowerUnitText;
                return model == MaximumTimeColumn ? std::string("Čas 1/4h.max.") : caption;
            });
        file.WriteLine("Odběr/Den\t" + TabJoined(headings));
        for (int r = 1; r < Tabulka->RowCount(); ++r)
            file.WriteLine(RowLine(*Tabulka, r, TextColumns - 1));
        file.WriteLine("");
        file.WriteLine("");
    });
}

void TMesicniTabulkaForm::Btn_ExportXLSClick() {
    RunSheetExport(*this, FirstDay, [this](TExcel& excel) {
        const int n = Tabulka->ColCount();
        return ExportPeriodTable(*this, excel, PeriodDays, "Odběr/Den", n, n + 1, 1);
    });
}

} // namespace zeko

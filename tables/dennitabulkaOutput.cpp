// The day window's printing and its text and spreadsheet exports: every figure is
// taken from the two grids as they show it.
#include "tables/dennitabulka.h"

#include "core/Schedules.h"
#include "tables/Excels.h"
#include "platform/FormatPatterns.h"
#include "tables/SheetExport.h"
#include "tables/TextExport.h"
#include "tables/report.h"

namespace zeko {

namespace {

// Grid columns a line of the text export holds.
constexpr int TextColumns = 10;
constexpr int HourRows = 24;
// Spreadsheet rows of the hours, the summary and the shift and tariff grid.
constexpr int FirstHourRow = 5;
constexpr int LastHourRow = FirstHourRow + HourRows - 1;
constexpr int TotalSheetRow = 29;
constexpr int MinMaxSheetRow = 30;
constexpr int ScheduleCaptionRow = 33;
constexpr int ClosingRow = 41;

} // namespace

void TDenniTabulkaForm::Btn_TiskClick() { PrintDayReport(*this); }

void TDenniTabulkaForm::Btn_ExportTXTClick() {
    SaveDialog1 = TextExportDialog(false);
    RunTextExport(*this, Day, [this](TReportExport& file) {
        WriteGridLines(file, *Tabulka, "Čtvrthodina/Hodina", TextColumns - 1, MinMaxRow,
                       [](int, const std::string& caption) { return caption; });
        file.WriteLine("");
        file.WriteLine("");
        // The captions stand over their columns: the label column is the first field.
        std::string captions;
        for (int k = 1; k <= 2 * ScheduleCount; ++k)
            captions += "\t" + Tabulka1->Columns().Items(k)->Caption();
        file.WriteLine(captions);
        for (int r = SumRow; r <= TimeRow; ++r)
            file.WriteLine(RowLine(*Tabulka1, r, 2 * ScheduleCount));
        std::string bands;
        for (int k = 1; k <= ScheduleCount; ++k)
            bands += "\t" + ShiftIntervalText(k, Shifts);
        for (int k = 1; k <= ScheduleCount; ++k)
            bands += "\t" + TariffIntervalText(k, 1, DayType, Tariffs);
        file.WriteLine(bands);
        for (int band = 2; band <= 3; ++band) {
            std::string line = "\t\t\t";
            for (int k = 1; k <= ScheduleCount; ++k)
                line += "\t" + TariffIntervalText(k, band, DayType, Tariffs);
            file.WriteLine(line);
        }
        file.WriteLine("");
    });
}

void TDenniTabulkaForm::Btn_ExportXLSClick() {
    RunSheetExport(*this, Day, WorkbookTitle("Denní tabulka", Channel.Id, FormatDateTime("yyyy-mm-dd", Day)),
                   [this](TExcel& excel) {
        const THyperGrid& t = *Tabulka;
        const int n = t.ColCount();
        excel.PutStr(4, 2, "Čtvrthodina/Hodina");
        for (int g = 1; g < n; ++g)
            excel.PutStr(4, g + 2, OneLineCaption(t.ColumnFromGridIndex(g)->Caption()));
        SelectRange(excel, 4, 2, 4, n + 1);
        excel.Exec("[FORMAT.FONT(,10,TRUE,FALSE,FALSE,FALSE,0)]");
        excel.Exec("[ALIGNMENT(3,FALSE,3,0)]");
        excel.Exec("[BORDER(5, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0)]");
        excel.Select(4, 2);
        excel.Exec("[ALIGNMENT(2,FALSE,3,0)]");
        SelectRange(excel, FirstHourRow, 3, LastHourRow, n + 1);
        FormatOneDecimal(excel);
        int cosPhi = -1;
        const bool withCosPhi = GridColumnIndex(t, CosPhiColumn, cosPhi);
        if (withCosPhi) {
            SelectRange(excel, FirstHourRow, cosPhi + 2, LastHourRow, cosPhi + 2);
            FormatTwoDecimals(excel);
        }
        SelectRange(excel, FirstHourRow, 2, LastHourRow, 2);
        FormatText(excel);
        for (int r = 1; r <= HourRows; ++r) {
            for (int g = 1; g < n; ++g)
                excel.PutStr(r + 4, g + 2, t.Cells(g, r));
            // Spaces round the label keep it a text.
            excel.PutStr(r + 4, 2, " " + t.Cells(HourColumn, r) + " ");
        }
        SelectRange(excel, FirstHourRow, 2, LastHourRow, n + 1);
        excel.Exec("[ALIGNMENT(3,FALSE,3,0)]");
        excel.Exec("[FORMAT.FONT(,10,FALSE,FALSE,FALSE,FALSE,0)]");
        excel.Exec("[BORDER(5, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0)]");
        SelectRange(excel, TotalSheetRow, 6, MinMaxSheetRow, n + 1);
        excel.Exec("[ALIGNMENT(3,FALSE,3,0)]");
        SelectRange(excel, TotalSheetRow, 2, MinMaxSheetRow, n + 1);
        excel.Exec("[BORDER(5, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0)]");
        excel.Exec("[FORMAT.FONT(,10,TRUE,FALSE,FALSE,FALSE,0)]");
        // The day's total and maximum have one decimal as the hours above them.
        SelectRange(excel, TotalSheetRow, 3, MinMaxSheetRow, n + 1);
        FormatOneDecimal(excel);
        if (withCosPhi) {
            SelectRange(excel, TotalSheetRow, cosPhi + 2, TotalSheetRow, cosPhi + 2);
            FormatTwoDecimals(excel);
        }
        excel.PutStr(TotalSheetRow, 2, t.Cells(HourColumn, TotalRow));
        excel.PutStr(TotalSheetRow, 7, t.Cells(HourTotalColumn, TotalRow));
        if (withCosPhi)
            excel.PutStr(TotalSheetRow, cosPhi + 2, t.Cells(cosPhi, TotalRow));
        excel.PutStr(MinMaxSheetRow, 2, t.Cells(HourColumn, MinMaxRow));
        excel.PutStr(MinMaxSheetRow, 6, t.Cells(4, MinMaxRow));
        excel.PutStr(MinMaxSheetRow, 7, t.Cells(5, MinMaxRow));

        const int sc = ScheduleCaptionRow;
        SelectRange(excel, sc, 2, sc + 3, 2);
        excel.Exec("[BORDER(5, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0)]");
        excel.Exec("[FORMAT.FONT(,10,TRUE,FALSE,FALSE,FALSE,0)]");
        excel.Exec("[ALIGNMENT(2,FALSE,3,0)]");
        SelectRange(excel, sc, 2, sc, 8);
        excel.Exec("[BORDER(5, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0)]");
        SelectRange(excel, sc + 1, 3, sc + 3, 8);
        excel.Exec("[BORDER(5, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0)]");
        SelectRange(excel, sc + 1, 3, sc + 2, 9);
        FormatOneDecimal(excel);
        SelectRange(excel, sc, 3, sc + 6, 9);
        excel.Exec("[ALIGNMENT(3,FALSE,3,0)]");
        for (int k = 1; k <= 2 * ScheduleCount; ++k)
            excel.PutStr(sc, k + 2, Tabulka1->Columns().Items(k)->Caption());
        SelectRange(excel, MinMaxSheetRow, 2, sc, 8);
        excel.Exec("[FORMAT.FONT(,10,TRUE,FALSE,FALSE,FALSE,0)]");
        SelectRange(excel, MinMaxSheetRow + 1, 2, MinMaxSheetRow + 1, 8);
        excel.Exec("[FORMAT.FONT(,10,FALSE,FALSE,FALSE,FALSE,0)]");
        for (int r = SumRow; r <= TimeRow; ++r)
            for (int c = 0; c <= 2 * ScheduleCount; ++c)
                excel.PutStr(sc + r, c + 2, Tabulka1->Cells(c, r));
        return ClosingRow;
    });
}

} // namespace zeko

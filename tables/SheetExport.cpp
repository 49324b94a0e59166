#include "tables/SheetExport.h"

#include <QPointer>
#include <QWidget>

#include <exception>
#include <vector>

#include "core/PripojenaZarizeniUnit.h"
#include "core/ProgramGlobals.h"
#include "platform/FormatPatterns.h"
#include "platform/FormatSettings.h"
#include "platform/Notifier.h"
#include "tables/Excels.h"
#include "tables/PeriodTableForm.h"
#include "tables/TextExport.h"

namespace zeko {

namespace {

constexpr int FirstColumn = 2;
constexpr int HeadingRow = 3;
// Spreadsheet rows above grid row 1.
constexpr int RowOffset = 4;

std::string Cell(int row, int col) { return "R" + std::to_string(row) + "C" + std::to_string(col); }

std::string WithoutQuotes(std::string text) {
    std::erase(text, '"');
    return text;
}

std::string NumberFormat(const std::string& decimals) {
    return std::string("[FORMAT.NUMBER(\"## ##0") + FormatSettings().DecimalSeparator + decimals + "\")]";
}

void ExportClosingRows(TExcel& excel, int row, TDateTime start) {
    const TDateTime now = Now();
    excel.PutStr(row, 2, "Exportováno:");
    excel.PutStr(row, 3, DateToStr(now));
    excel.PutStr(row, 4, TimeToStr(now));
    excel.PutStr(row + 1, 2, "Den začíná:");
    excel.PutStr(row + 1, 3, DateToStr(start));
    excel.PutStr(row + 1, 4, TimeToStr(start));
    excel.PutStr(row + 1, 6, "Verze softwaru PC:");
    excel.PutStr(row + 1, 8, ProgramVersion);
}

} // namespace

bool GridColumnShown(const THyperGrid& grid, int index) {
    int gridIndex;
    return GridColumnIndex(grid, index, gridIndex);
}

bool GridColumnIndex(const THyperGrid& grid, int index, int& gridIndex) {
    gridIndex = grid.GridIndexOfColumn(grid.Columns().Items(index));
    return gridIndex >= 0;
}

void SelectRange(TExcel& excel, int top, int left, int bottom, int right) {
    excel.Exec("[Select(\"" + Cell(top, left) + ":" + Cell(bottom, right) + "\")]");
}

void FormatOneDecimal(TExcel& excel) { excel.Exec(NumberFormat("0")); }
void FormatTwoDecimals(TExcel& excel) { excel.Exec(NumberFormat("00")); }
void FormatText(TExcel& excel) { excel.Exec("[FORMAT.NUMBER(\"@\")]"); }

void ExportGridHeadings(const THyperGrid& grid, TExcel& excel, int firstCol, int row) {
    const int headings = grid.Headings().Count();
    if (headings == 0)
        return;
    const int shown = grid.ColCount();
    std::vector<int> counts(static_cast<size_t>(headings), 0);
    int withoutHeading = 0;
    for (int g = 0; g < shown; ++g) {
        const int h = grid.ColumnFromGridIndex(g)->HeadingIndex();
        if (h >= 0 && h < headings)
            ++counts[static_cast<size_t>(h)];
        else
            ++withoutHeading;
    }
    // Captions are texts whatever they look like: "1." is a number where the decimal
    // separator is a point.
    SelectRange(excel, row, firstCol, row + 1, firstCol + shown - 1);
    FormatText(excel);
    int c = firstCol;
    for (int h = 0; h < headings; ++h) {
        const int k = counts[static_cast<size_t>(h)];
        if (k == 0)
            continue;
        excel.PutStr(row, c, WithoutQuotes(grid.Headings().Items(h)->Caption()));
        excel.Select(row, c);
        excel.Exec("[FORMAT.FONT(,11,TRUE,FALSE,FALSE,FALSE,0)]");
        excel.Exec("[ALIGNMENT(2,FALSE,3,0)]");
        SelectRange(excel, row, c, row, c + k - 1);
        excel.Exec("[BORDER(5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)]");
        c += k;
    }
    if (withoutHeading > 0) {
        SelectRange(excel, row, c, row, c + withoutHeading - 1);
        excel.Exec("[BORDER(5, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0)]");
    }
    SelectRange(excel, row + 1, firstCol, row + 1, firstCol + shown - 1);
    excel.Exec("[BORDER(5, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0)]");
    for (int g = 0; g < shown; ++g)
        excel.PutStr(row + 1, firstCol + g, OneLineCaption(grid.ColumnFromGridIndex(g)->Caption()));
}

std::string WorkbookTitle(const std::string& kind, int channelId, const std::string& date) {
    return kind + " " + DeviceValueCaption(channelId) + " " + date;
}

void RunSheetExport(TTableForm& form, TDateTime firstDay, const std::string& title,
                    const std::function<int(TExcel&)>& writeTable) {
    // The link lets the window system's events through while it works. A click on
    // an "XL&S" button meanwhile would start another export in the middle of this
    // one, whose sheet would take the rest of this table, and a day chosen meanwhile
    // would refill the grid half way through: the program takes no input until the
    // export ends, as during an evaluation.
    static bool running = false;
    if (running)
        return;
    running = true;
    struct Ended {
        QPointer<QWidget> window;
        bool wasEnabled;
        ~Ended() {
            running = false;
            if (window)
                window->setEnabled(wasEnabled);
        }
    } ended{form.window(), form.window()->isEnabled()};
    ended.window->setEnabled(false);
    TExcel& excel = *form.Excel;
    try {
        excel.Connect();
        if (!excel.Connected()) {
            MessageDlg(ExcelFailureText, TMsgDlgType::mtError);
            return;
        }
        excel.Exec("[WorkBook.Insert(1)]");
        ExportGridHeadings(*form.Tabulka, excel, FirstColumn, HeadingRow);
        const int closingRow = writeTable(excel);
        ExportClosingRows(excel, closingRow, PeriodStart(firstDay, form.DayStartHour));
        excel.Select(1, 1);
        excel.Activate(title);
    } catch (const EExcelNotSaved& e) {
        MessageDlg(e.what(), TMsgDlgType::mtError);
    } catch (const std::exception&) {
        MessageDlg(ExcelFailureText, TMsgDlgType::mtError);
    }
}

int ExportPeriodTable(TPeriodTableForm& form, TExcel& excel, int periodRows, const std::string& label, int lastCol,
                      int formatRight, int textColumns) {
    const THyperGrid& grid = *form.Tabulka;
    const int n = grid.ColCount();
    const int firstSummary = RowOffset + periodRows + form.TotalRowOffset;
    const int lastBeforeMax = RowOffset + periodRows + form.WeekendRowOffset;
    const int maxRow = RowOffset + periodRows + form.MaxRowOffset;
    const int right = n + 1;
    if (!label.empty()) {
        excel.PutStr(4, 2, label);
        for (int g = 1; g < n; ++g)
            excel.PutStr(4, g + 2, OneLineCaption(grid.ColumnFromGridIndex(g)->Caption()));
    }
    // The period's maximum has one decimal as the values above it.
    SelectRange(excel, 5, 3, maxRow, formatRight);
    FormatOneDecimal(excel);
    // Cos phi with two decimals, as the grid shows it.
    if (int cosPhi; GridColumnIndex(grid, TPeriodTableForm::CosPhiColumn, cosPhi)) {
        SelectRange(excel, 5, cosPhi + 2, firstSummary, cosPhi + 2);
        FormatTwoDecimals(excel);
    }
    if (int time; GridColumnIndex(grid, TPeriodTableForm::MaximumTimeColumn, time)) {
        SelectRange(excel, 5, time + 2, firstSummary, time + 2 + textColumns - 1);
        FormatText(excel);
    }
    // Every summary row down to the maximum, also the one with transformer losses.
    for (int r = 1; r <= periodRows + form.MaxRowOffset; ++r)
        for (int g = 0; g <= lastCol; ++g)
            excel.PutStr(r + RowOffset, g + 2, grid.Cells(g, r));
    SelectRange(excel, 5, 2, lastBeforeMax, right);
    excel.Exec("[ALIGNMENT(3,FALSE,3,0)]");
    excel.Exec("[FORMAT.FONT(,10,FALSE,FALSE,FALSE,FALSE,0)]");
    excel.Exec("[BORDER(1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0)]");
    SelectRange(excel, 5, 2, RowOffset + periodRows, 2);
    excel.Exec("[FORMAT.FONT(,10,TRUE,FALSE,FALSE,FALSE,0)]");
    SelectRange(excel, firstSummary, 2, maxRow, right);
    excel.Exec("[BORDER(5, 1, 1, 5, 5, 0, 0, 0, 0, 0, 0)]");
    excel.Exec("[FORMAT.FONT(,10,TRUE,FALSE,FALSE,FALSE,0)]");
    SelectRange(excel, firstSummary, 2, maxRow, 2);
    excel.Exec("[ALIGNMENT(2,FALSE,3,0)]");
    SelectRange(excel, maxRow, 2, maxRow, right);
    excel.Exec("[BORDER(5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)]");
    return maxRow + 2;
}

} // namespace zeko

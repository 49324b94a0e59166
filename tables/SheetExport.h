#pragma once
// What the spreadsheet exports ("XL&S") of the three table windows share: a new
// worksheet, the grid's two-level headings (ExportGridHeadings), the number and
// text formats, the closing rows with the export time, the start of the shown
// period and the program version, and the one message for every failure. Grid
// column g of a table goes to spreadsheet column g + 2 and grid row r to row
// r + 4; row 3 holds the headings, row 4 the column captions. Cell texts go over
// as the grid shows them; the spreadsheet program makes numbers of number texts.
#include <functional>
#include <string>

#include "platform/DateTime.h"

namespace zeko {

class TExcel;
class THyperGrid;
class TTableForm;
class TPeriodTableForm;

constexpr const char* ExcelFailureText = "Nepodařilo se provést propojení s programem Excel..";

// True when model column `index` is shown; GridColumnIndex gives its grid column.
bool GridColumnShown(const THyperGrid& grid, int index);
bool GridColumnIndex(const THyperGrid& grid, int index, int& gridIndex);

// The headings of the grid in `row` and its column captions (line breaks as
// spaces) in the row below, from spreadsheet column `firstCol` on, both rows in
// the text format; nothing for a grid without headings.
void ExportGridHeadings(const THyperGrid& grid, TExcel& excel, int firstCol, int row);

// "[Select("R1C2:R3C4")]".
void SelectRange(TExcel& excel, int top, int left, int bottom, int right);
// The number formats of the selection: one or two decimals with grouped thousands,
// or text.
void FormatOneDecimal(TExcel& excel);
void FormatTwoDecimals(TExcel& excel);
void FormatText(TExcel& excel);

// What the front sheet holds, for the workbook's name: the table's kind ("Denní
// tabulka"), the measurement and the date of the table ("2024-03-05").
std::string WorkbookTitle(const std::string& kind, int channelId, const std::string& date);

// The export of a table window through its Excel: the link, a new worksheet, the
// headings, `writeTable` (which answers the row of the closing rows), the closing
// rows, the first cell selected, and the workbook shown to the user under `title`.
// A link that cannot be made and any failure on the way show ExcelFailureText
// once; a workbook that cannot be saved shows the spreadsheet program's message,
// which names the file and the cause. The worksheet keeps what was written. The
// program's window takes no input while the export runs, and a second export
// started meanwhile does nothing.
void RunSheetExport(TTableForm& form, TDateTime firstDay, const std::string& title,
                    const std::function<int(TExcel&)>& writeTable);

// The month and year tables: rows of the period, the summary rows down to the
// maximum (the cos phi row stays out), the formats and borders; `label` (when not
// empty) stands over the label column with the captions beside it; grid columns
// 0..lastCol go over, the one-decimal format covers the rows down to the maximum
// and reaches column `formatRight`, and the
// text format covers `textColumns` columns from the maximum's time on. Answers the
// row of the closing rows.
int ExportPeriodTable(TPeriodTableForm& form, TExcel& excel, int periodRows, const std::string& label, int lastCol,
                      int formatRight, int textColumns);

} // namespace zeko

#pragma once
// What the text exports ("T&XT") of the three table windows share: the save
// dialog, the file written through TReportExport (Windows-1250, CR LF), the lines
// made of the grid's cells as the grid shows them, the closing lines with the
// export time, the start of the shown period and the program version, and the
// message when the file cannot be written.
#include <functional>
#include <string>
#include <vector>

#include "core/ReportExport.h"
#include "platform/DateTime.h"
#include "platform/UserDialogs.h"

namespace zeko {

class THyperGrid;
class TPeriodTableForm;
class TTableForm;

// "Export.txt" in the program folder, text files first; `defaultExtension` adds
// ".txt" to a name given without one. Every text export asks before it rewrites an
// existing file.
TFileDialogRequest TextExportDialog(bool defaultExtension);

// The date and time the shown period starts: its first day at the day-start hour
// (taken into 0..23).
TDateTime PeriodStart(TDateTime firstDay, int dayStartHour);

// A caption as one field: its line breaks become spaces.
std::string OneLineCaption(const std::string& caption);
// The heading fields over grid columns first..last: `headingOf` gets the model
// column shown there and its caption; a field past the last shown column is empty,
// so that every heading stands over its column's values.
std::vector<std::string> ShownColumnHeadings(const THyperGrid& grid, int first, int last,
                                             const std::function<std::string(int model, const std::string& caption)>&
                                                 headingOf);
// Fields joined by tabs.
std::string TabJoined(const std::vector<std::string>& fields);
// The cells of grid columns 0..last of a row, each followed by a tab.
std::string RowLine(const THyperGrid& grid, int row, int last);

// The title line (the caption of heading 0 after three empty fields), the heading
// line (`label`, then the headings over grid columns 1..last) and the grid rows
// 1..lastRow.
void WriteGridLines(TReportExport& file, const THyperGrid& grid, const std::string& label, int last, int lastRow,
                    const std::function<std::string(int model, const std::string& caption)>& headingOf);
// The month or year table: its lines, the quarter-hour maximum's columns headed as
// such, then two empty lines.
void WritePeriodTable(TReportExport& file, const TPeriodTableForm& form, const std::string& label, int last);

// The export of a table window: its SaveDialog1 asks for the file (nothing happens
// when the user cancels), `writeTable` writes the table's lines, the closing lines
// follow. A failure to create or write the file shows "Chyba zápisu do souboru:"
// with the reason and "Export nebyl proveden." and closes the file.
void RunTextExport(TTableForm& form, TDateTime firstDay, const std::function<void(TReportExport&)>& writeTable);

} // namespace zeko

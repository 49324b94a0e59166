#include "tables/TextExport.h"

#include <exception>

#include "app/DayTimeGrid.h"
#include "core/Calendar.h"
#include "core/ProgramGlobals.h"
#include "platform/FormatPatterns.h"
#include "platform/Notifier.h"
#include "platform/ProgramDir.h"
#include "tables/RocniTabulka.h"
#include "tables/TableForm.h"

namespace zeko {

TFileDialogRequest TextExportDialog(bool defaultExtension) {
    TFileDialogRequest request;
    request.Title = "Uložit jako";
    request.Filter = "Textové soubory (*.txt)|*.TXT|Všechny soubory (*.*)|*.*";
    request.FileName = "Export.txt";
    request.InitialDir = ProgramDir();
    request.DefaultExt = defaultExtension ? "txt" : "";
    request.OverwritePrompt = true;
    return request;
}

TDateTime PeriodStart(TDateTime firstDay, int dayStartHour) {
    return AddHours(DateOf(firstDay), NormalDayStartHour(dayStartHour));
}

std::string OneLineCaption(const std::string& caption) {
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '\r' && i + 1 < caption.size() && caption[i + 1] == '\n')
            continue;
        out += caption[i] == '\n' || caption[i] == '\r' ? ' ' : caption[i];
    }
    return out;
}

std::vector<std::string> ShownColumnHeadings(const THyperGrid& grid, int first, int last,
                                             const std::function<std::string(int model, const std::string& caption)>&
                                                 headingOf) {
    std::vector<std::string> fields;
    for (int g = first; g <= last; ++g) {
        const ThgColumn* column = g < grid.ColCount() ? grid.ColumnFromGridIndex(g) : nullptr;
        fields.push_back(column ? OneLineCaption(headingOf(column->Index(), column->Caption())) : std::string());
    }
    return fields;
}

std::string TabJoined(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i)
        line += (i ? "\t" : "") + fields[i];
    return line;
}

std::string RowLine(const THyperGrid& grid, int row, int last) {
    std::string line;
    for (int g = 0; g <= last; ++g)
        line += grid.Cells(g, row) + "\t";
    return line;
}

void WriteGridLines(TReportExport& file, const THyperGrid& grid, const std::string& label, int last, int lastRow,
                    const std::function<std::string(int model, const std::string& caption)>& headingOf) {
    file.WriteLine("\t\t\t" + grid.Headings().Items(0)->Caption());
    file.WriteLine(label + "\t" + TabJoined(ShownColumnHeadings(grid, 1, last, headingOf)));
    for (int r = 1; r <= lastRow; ++r)
        file.WriteLine(RowLine(grid, r, last));
}

void WritePeriodTable(TReportExport& file, const TPeriodTableForm& form, const std::string& label, int last) {
    WriteGridLines(file, *form.Tabulka, label, last, form.Tabulka->RowCount() - 1,
                   [&form](int model, const std::string& caption) {
                       switch (model) {
                       case TPeriodTableForm::MaximumColumn: return "1/4h.max. " + form.PowerUnitText;
                       case TPeriodTableForm::MaximumTimeColumn: return std::string("Čas 1/4h.max.");
                       case TRocniTabulkaForm::MaximumDateColumn: return std::string("Datum 1/4h.max.");
                       default: return caption;
                       }
                   });
    file.WriteLine("");
    file.WriteLine("");
}

void RunTextExport(TTableForm& form, TDateTime firstDay, const std::function<void(TReportExport&)>& writeTable) {
    std::string fileName;
    if (!CurrentDialogs().SaveFileDialog(form.SaveDialog1, fileName))
        return;
    try {
        TReportExport file(fileName, true);
        writeTable(file);
        const TDateTime now = Now();
        file.WriteLine("Exportováno:\t" + DateToStr(now) + "\t" + TimeToStr(now));
        file.WriteLine("Den začíná:\t" + DateTimeToStr(PeriodStart(firstDay, form.DayStartHour)) +
                       "\t\t\t\tVerze softwaru PC: " + ProgramVersion);
        file.Finish();
    } catch (const std::exception& e) {
        MessageDlg(std::string("Chyba zápisu do souboru:") + e.what() + "\nExport nebyl proveden.",
                   TMsgDlgType::mtError);
    }
}

} // namespace zeko

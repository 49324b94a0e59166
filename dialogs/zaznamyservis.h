#pragma once
// TZaznamyServisForm: the service window that lists every record of one month
// file as a line of text, so that the stored records can be inspected: the
// record's index in the regulator's ring, date, time, status word and, for the
// first three inputs, impulse count, constant and the value computed from them.
// "&Otevři soubor" loads a file (with the progress box and its "Přerušit"); the
// radio group "Řazení:" orders the lines by their place in the file or by date.
//
// An MDI child of the main window, which creates it, lays it out and keeps at most
// one; ServiceViewerOpen is set while it exists.
#include "core/RegulatorRecord.h"
#include "platform/DateTime.h"

#include <QWidget>

#include <string>
#include <vector>

class QPushButton;

namespace zeko {

class THyperGrid;
class TRadioGroup;

// One listed line with the record it was made from.
struct TRadek {
    int Index = 0;       // 0-based place of the record in the file
    TDateTime Date = 0;  // the stamp's date and time as far as they are valid
    std::string Text;
    TRegulatorRecord Raw;
};

// The line of a record, its pieces joined by two blanks: the ring index (five
// digits at least), the date (or "Neplatné datum"), the time in the long time
// format (or "Neplatný čas"), the status word as minutes and seconds, and for
// inputs 1..3 the impulse count, the constant and the value in kWh. `date` gets
// the stamp's time when it is valid (else 0), plus its date when that is one.
std::string RecordToText(const TRegulatorRecord& record, TDateTime& date);

class TZaznamyServisForm : public QWidget {
    Q_OBJECT
public:
    explicit TZaznamyServisForm(QWidget* parent = nullptr);
    ~TZaznamyServisForm() override;

    THyperGrid* HyperGrid1 = nullptr;
    TRadioGroup* Rgp_Razeni = nullptr;  // "Dle souboru" (0), "Dle data" (1)
    QPushButton* Otevri = nullptr;

    // Chooses a file and loads its records; a file that cannot be read is reported.
    void OtevriClick();
    // Orders the lines as the radio group says and shows them again.
    void Rgp_RazeniClick();
    void ClearLines() { lines_.clear(); }
    // Writes the lines into the grid in their order; the column as wide as the
    // widest line.
    void FillGrid();

    const std::vector<TRadek>& Lines() const { return lines_; }
    const std::string& LastFolder() const { return lastFolder_; }
    const std::string& FileName() const { return fileName_; }

    // The open dialog's filter: the names that begin with "m" and end with "zek".
    static constexpr const char* FileFilter = "Datové soubory ZEKO (*.zek)|m*zek|";
    static constexpr const char* LoadingText = "Načítají se záznamy...";

protected:
    // Closing the window, or the MDI child that holds it, is refused while a file
    // loads: "Přerušit" ends the loading first.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LoadFile();

    std::vector<TRadek> lines_;
    std::string lastFolder_;
    std::string fileName_;
    bool loading_ = false;
};

} // namespace zeko

#pragma once
// What the tariff editor (Tarifyunit) and the shift editor (Smenyunit) share: the
// history of schedule records with its drop-down list of valid-from dates, the
// date and time edits and the buttons "Přidat", "Změnit" and "Smazat"; the band
// editor CasEdit with its mask and the band check; "&Potvrď" and "&Zruš". Both
// are modal dialogs that the main window makes for one use; Alt+F4 is swallowed.
//
// A band text is "HH:MM-HH:MM  L": start and end as hours and minutes, two blanks
// and a letter; the letter N marks the band (the shift) not in use.
#include "core/HistoryFormat.h"
#include "core/Schedules.h"
#include "platform/qt/Forms.h"
#include "platform/qt/MaskEdit.h"

#include <cstdint>
#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QPushButton;

namespace zeko {

class TDateEdit;
class TStringGrid;
class TTimePicker;

// The colons are literal: the grids show bands as "hh:mm-hh:mm" whatever the
// session's time separator.
constexpr const char* BandEditMask = "!90\\:00-!90\\:00  >l;1;_";
constexpr const char* EmptyBandText = "__:__-__:__  _";
constexpr const char* UnusedBandEditText = "00:00-00:00  N";
constexpr const char* NotInUseText = "Nepoužito";
constexpr const char* BandGridHint =
    "Pro editaci času dvakrát poklikněte na dané pole nebo stiskněte na zvoleném poli klávesu Enter.";
// The band editor's hint; `what` is "tarif" or "směna".
std::string BandEditHint(const std::string& what);

// What a band text stands for. The letter N (n) marks the band not in use, whatever
// the times say; otherwise a blank among the digits gives "Neúplně zadaný čas !",
// and then the hours and minutes of both times are tested in turn, each failing
// test's message replacing the one before.
struct TBandCheck {
    bool NotInUse = false;
    uint16_t Start = 0, End = 0;  // minutes of day
    std::string Error;
    bool Passed() const { return Error.empty(); }
};
TBandCheck CheckBandText(const std::string& text);

// The band editor. The band check takes the place of the mask's own check of the
// places left blank: it runs whenever the focus goes to another control (OnBandCheck
// answers its message, empty when the text passed), and a text that fails it
// brings the focus back and is reported in an error box. A message box or another
// window taking the focus is no leaving.
class TBandEdit : public TCustomMaskEdit {
public:
    explicit TBandEdit(QWidget* parent = nullptr);
    std::function<std::string()> OnBandCheck;
    void DoExit() override;

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

class TScheduleEditorForm : public TDialogForm {
    Q_OBJECT
public:
    QLabel* Label2 = nullptr;  // "Platnost od:"
    QComboBox* Cmb_Datumy = nullptr;
    TDateEdit* Dedt_Datum = nullptr;
    TTimePicker* Dtp_Cas = nullptr;
    QPushButton* Btn_Pridat = nullptr;
    QPushButton* Btn_Zmenit = nullptr;
    QPushButton* Btn_Smazat = nullptr;
    QLabel* Label1 = nullptr;  // over the band editor
    TBandEdit* CasEdit = nullptr;
    QPushButton* BitBtn1 = nullptr;  // "&Potvrď"
    QPushButton* BitBtn2 = nullptr;  // "&Zruš"

    // The whole history, in the order the editor keeps it, and the record shown.
    THistoryList History;
    int RecordIndex = -1;
    // Bands were edited since the record was shown.
    bool Changed = false;
    // The band editor was left with Escape.
    bool EscapePressed = false;

    // The shown bands into history record N (EListError when there is none).
    virtual void StoreRecord(int N) = 0;
    // The bands of the selected record, or those an evaluation takes without one
    // for an empty history; then RefreshGrid.
    virtual void LoadRecord() = 0;
    virtual void RefreshGrid() = 0;

    // What the main window stores on OK: the shown bands into the record shown.
    // Bands entered while the history is empty become its first record, valid from
    // the date and time in the two edits; with nothing entered nothing is stored.
    void StoreShownRecord();
    // The history file was there to read, or missing; a file that could not be
    // read has been reported, and the main window does not show the editor.
    bool HistoryReadable() const { return loaded_.ReadError == 0; }
    // Whether the history may be written over: always when it was read whole (or
    // nothing would be written); else only when the user, told what the file holds
    // that the editor does not, answers Yes.
    bool MaySaveHistory() const;
    // The valid-from the two edits show: the date's whole days and the time of day.
    TDateTime ShownValidFrom() const;

    // When bands were edited, asks whether to store them into the record shown.
    void AskSaveChanges();
    void Cmb_DatumyChange();
    void Btn_PridatClick();
    void Btn_ZmenitClick();
    void Btn_SmazatClick();
    void BitBtn1Click();

protected:
    struct TTexts {
        const char* SaveQuestion;    // AskSaveChanges
        const char* DeleteQuestion;  // "Smazat"
    };
    // Makes the history controls and the two buttons; the descendant places them.
    TScheduleEditorForm(QWidget* parent, const char* name, size_t bodySize, TTexts texts);

    // The grid of bands: a fixed heading row over `rows` rows, `fixedCols` of its
    // `cols` columns fixed, no scroll bars. Double click and Enter in it run
    // EditBandCell; Delete on a band cell asks and marks the band not in use.
    TStringGrid* MakeBandGrid(const char* name, int cols, int rows, int fixedCols, int colWidth);
    static constexpr int BandRowHeight = 20;
    // Double click or Enter in the grid.
    virtual void EditBandCell() = 0;
    // The grid's current cell holds a band.
    virtual bool OnBandCell() const = 0;
    // The current cell's band is not in use.
    virtual void MarkBandUnused() = 0;
    void BandGridKeyDown(uint16_t& key);

    // Keys in the band editor: Enter runs the band check and, when it passed, moves
    // the focus to `afterEnter` (stays with none); Escape leaves the band as it was
    // and moves the focus to `afterEscape`; no other key than a digit, N or n.
    void SetBandKeyFocus(QWidget* afterEnter, QWidget* afterEscape);
    void CasEditKeyPress(char32_t& key);

    // Record N of the history; EListError when there is none.
    THistoryRecord& RecordAt(int N);
    // The record shown, none when the history is empty.
    const THistoryRecord* ShownRecord() const;
    // LoadRecord: the bands of the record shown, `withoutRecord` without one.
    template <class Table>
    void LoadShownBands(Table& bands, const Table& withoutRecord = Table{}) {
        bands = withoutRecord;
        if (const THistoryRecord* record = ShownRecord())
            bands.ReadBody(record->Body.data(), record->Body.size());
        RefreshGrid();
    }

    // The history of the file sorted by valid-from, the last record shown. What
    // was not read (a damaged record, or the whole of a file that cannot be read)
    // is reported and left out; the records around a damaged one are shown.
    void LoadHistoryFile(const std::string& fileName);
    // The record "Přidat" appends, with the bands shown.
    virtual THistoryRecord NewRecord() const = 0;
    // "&Potvrď" while the dialog is to stay open (a shift being edited); the
    // default closes it.
    virtual bool ConfirmEditing() { return false; }

    // The band editor is open (shown to the user).
    bool BandEditorOpen() const { return bandEditorOpen_; }
    void SetBandEditorOpen(bool open);
    // The descendant's band check while the band editor is open (nothing
    // otherwise); answers the message of a refused text.
    std::string RunBandCheck();
    // The band check as if the editor were left; false when its text was refused
    // (the message has been shown and the focus is back in the editor).
    bool CheckOpenBand();
    virtual std::string CasEditExit() = 0;

    void keyPressEvent(QKeyEvent* event) override;

private:
    // The selected record's bands, and its valid-from in the two edits.
    void ShowSelectedRecord();
    void RefillDateList();

    size_t bodySize_;
    THistoryLoad loaded_;
    TTexts texts_;
    bool bandEditorOpen_ = false;
    QWidget* focusAfterEnter_ = nullptr;
    QWidget* focusAfterEscape_ = nullptr;
    // A refused text waits in the band editor; the dialog is not confirmed over it.
    bool bandRefused_ = false;
};

} // namespace zeko

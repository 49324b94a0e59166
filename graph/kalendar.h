#pragma once
// TKalendarForm: the modal dialog "Výběr data" in which the user picks the day,
// month or year a table or the archive is to show. It marks in bold red the years
// of the year row that have a year folder, the months that have a month file and,
// in the month calendar, the days the calendar month's file holds records of.
// For the month and year tables it also offers the count of days (with the end
// date "Do data:") or months to put into the table.
//
// Created once at program start (KalendarForm) and kept until exit. A caller fills
// InputList with channel ids, sets SpinLimit and MonthsMode and calls ShowSpinEdit
// when it wants a count, then ShowModal; on ModalResults::Ok it reads
// Kalendar->Year(), Month(), Day() and SpinCount(). Every close starts the next
// showing in days mode without the count; InputList, SpinLimit and the calendar's
// date stay as they were.
#include "core/PripojenaZarizeniUnit.h"
#include "platform/DateTime.h"
#include "platform/qt/Forms.h"

#include <cstdint>
#include <string>
#include <vector>

class QFrame;
class QLabel;
class QPushButton;

namespace zeko {

class TDateEdit;
class TMujKalendar;
class TStringAlignGrid;
class TZcSpinButton;
class TZcSpinEdit;

// The smallest count of days or months the dialog offers.
constexpr int MinSpinCount = 2;

// The folder of a year's month files of the channel: <program dir>/ROK<yyyy> as it
// exists in any letter case; empty for a channel of another device type than
// "ZEKO", whose records the program does not keep.
std::string YearFolder(int Year, const TVstupyInfo& Channel);
// The channel's month file of that month in a year folder, in any letter case.
std::string MonthFileOf(const std::string& yearFolder, int Month);

class TKalendarForm : public TDialogForm {
    Q_OBJECT
public:
    explicit TKalendarForm(QWidget* parent = nullptr);
    ~TKalendarForm() override;

    QLabel* Label1 = nullptr;  // "Výběr dne:"
    TMujKalendar* Kalendar = nullptr;
    TStringAlignGrid* MesiceGrid = nullptr;  // months 1..12
    TStringAlignGrid* RokyGrid = nullptr;    // the calendar's year in the middle of seven
    QFrame* Bevel1 = nullptr;
    QLabel* Label2 = nullptr;  // "Měsíc:"
    QLabel* LMesic = nullptr;
    TZcSpinButton* SpinButton1 = nullptr;  // the month
    QFrame* Bevel2 = nullptr;
    QLabel* Label3 = nullptr;  // "Rok:"
    QLabel* LRok = nullptr;
    TZcSpinButton* SpinButton2 = nullptr;  // the year
    QFrame* SpinEditBevel = nullptr;
    QLabel* SpinEditLabel = nullptr;
    TZcSpinEdit* SpinEdit = nullptr;  // the count; stepped by its button only
    QLabel* Lbl_VyberDT = nullptr;    // "Do data:"
    TDateEdit* VyberDT = nullptr;     // the end date of a count of days
    QPushButton* BitBtn1 = nullptr;   // "&Potvrď", ModalResults::Ok
    QPushButton* BitBtn2 = nullptr;   // "&Zruš", ModalResults::Cancel
    // The labels of external records; hidden whenever the dialog shows.
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;

    // Channel ids (decimal texts) whose record files mark years, months and days.
    std::vector<std::string> InputList;
    // The largest count the spin edit offers; the smallest is MinSpinCount.
    uint8_t SpinLimit = 0;
    // 1: the count is of months (no end date); 0: of days.
    uint8_t MonthsMode = 0;

    static constexpr int ClientWidth = 428;
    static constexpr int ClientHeight = 268;
    static constexpr int YearCells = 7;

    // The count, its label and bevel shown or hidden; the end date only with a
    // count of days.
    void ShowSpinEdit(bool Show);
    // The marks of the years, months and days, the highlighted year and month, and
    // the count and end date of the calendar's month.
    void RefreshMarks();
    // The end date's earliest and latest date for the calendar date.
    void SetDateRange();
    // The count in the spin edit, held to MinSpinCount..SpinLimit.
    int SpinCount() const;

    // Handlers, as the form's controls call them.
    void FormShow();
    void FormActivate();
    void FormClose();
    void FormHide();
    void KalendarChange();
    void KalendarDblClick();
    void SpinButton1TopClick();
    void SpinButton1BottomClick();
    void SpinButton2TopClick();
    void SpinButton2BottomClick();
    void MesiceGridDblClick();
    void RokyGridDblClick();
    void SpinEditTopClick();
    void SpinEditBottomClick();
    void VyberDTChange();
    void VyberDTExit();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    // The largest count for the current SpinLimit.
    int SpinUpperLimit() const;
    // Writes the count, held to the limits, into the spin edit.
    void SetSpinCount(int count);
    // The end date that goes with the count.
    void ShowEndDate();
    void ShowMonthAndYear();
    void MoveToMonth(int year, int month);
    TDateTime CalendarDate() const;
};

extern TKalendarForm* KalendarForm;

} // namespace zeko

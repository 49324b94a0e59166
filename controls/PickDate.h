#pragma once
// The month calendars and the select-date dialog.
//
// TZcCalendar: one month on a 7 × 7 grid (a row of day names and six week rows)
// with the shown day selected; weekend columns and the days of a day set are drawn
// in colours of their own. TLocCalendar: its flat variant for drop-downs, which
// never takes the focus and frames today's day. TPopupCalendar: the date edit's
// drop-down, a TLocCalendar under a title with four month and year buttons.
// TSelectDateDlg and SelectDate: the same as a small modal dialog.
//
// Titles show the month's name as FormatSettings() names it on its own
// ("březen, 2026"), not as a date would decline it.
#include <array>
#include <bitset>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/DateUtil.h"
#include "controls/ToolEdit.h"
#include "controls/ZcCtrls.h"
#include "platform/qt/Forms.h"
#include "platform/qt/Grids.h"

class QPushButton;

namespace zeko {

constexpr int PopupCalendarWidth = 187;
constexpr int PopupCalendarHeight = 124;

// The title of a calendar's month: its name and the year, "březen, 2026".
std::string CalendarTitle(TDateTime date);

// The font of the calendars' windows: the system gives no message font here, so
// "MS Sans Serif" of 8 points in the window text colour.
void FontSetDefault(TFont& font);

class TZcCalendar : public TCustomGrid {
public:
    explicit TZcCalendar(QWidget* parent = nullptr);

    TDateTime CalendarDate() const { return date_; }
    void SetCalendarDate(TDateTime value);
    int Year() const;
    int Month() const;
    int Day() const;
    // Values below 1, beyond the month (a day) or beyond 12 (a month) and the
    // present value are ignored; a month or a year lowers the day to the new
    // month's length.
    void SetYear(int value) { SetDateElement(YearIndex, value); }
    void SetMonth(int value) { SetDateElement(MonthIndex, value); }
    void SetDay(int value) { SetDateElement(DayIndex, value); }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    TDayOfWeekName StartOfWeek() const { return startOfWeek_; }
    void SetStartOfWeek(TDayOfWeekName value) { SetAndLayOut(startOfWeek_, value); }
    bool UseCurrentDate() const { return useCurrentDate_; }
    void SetUseCurrentDate(bool value);
    TDaysOfWeek Weekends() const { return weekends_; }
    void SetWeekends(TDaysOfWeek value) { SetAndLayOut(weekends_, value); }
    TColor WeekendColor() const { return weekendColor_; }
    void SetWeekendColor(TColor value) { SetAndRepaint(weekendColor_, value); }
    TColor DataAvailableColor() const { return dataAvailableColor_; }
    void SetDataAvailableColor(TColor value) { SetAndRepaint(dataAvailableColor_, value); }
    // The day numbers (0..255) drawn in DataAvailableColor; none after construction.
    bool DataAvailable(int day) const;
    void SetDataAvailable(int day, bool on);

    // The day number in column 0 of the first week row (-5..1).
    int MonthOffset() const { return monthOffset_; }
    // Row 0: the short day name; week rows: the day number, or empty outside the month.
    std::string CellText(int col, int row) const;
    // A column of a weekend day (its day-name cell included).
    bool IsWeekendColumn(int col) const;

    // A month (year) either way, keeping the day where the target month has it.
    void PrevMonth();
    void NextMonth();
    void PrevYear();
    void NextYear();

    std::function<void(TZcCalendar*)> OnChange;

    // Lays the shown month out and puts the current cell on the shown day.
    virtual void UpdateCalendar();
    // Raises OnChange.
    virtual void Change();

    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    bool SelectCell(int col, int row) override;
    void Click() override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void Resize() override;

protected:
    enum DateElement { YearIndex = 1, MonthIndex = 2, DayIndex = 3 };
    void SetDateElement(int index, int value);
    // The cell's text centred in it, weekend and marked days in their colours.
    void DrawDayText(int col, int row, const TRect& rect, TGridDrawState state);

private:
    void StepMonth(TDateTime target, int day);
    // Stores a different value and lays the month out again.
    template <typename T>
    void SetAndLayOut(T& field, const T& value) {
        if (field == value)
            return;
        field = value;
        UpdateCalendar();
    }

    TDateTime date_ = 0;
    int monthOffset_ = 1;
    bool readOnly_ = false;
    TDayOfWeekName startOfWeek_ = Mon;
    bool updating_ = false;
    bool useCurrentDate_ = true;
    TDaysOfWeek weekends_{Sun};
    TColor weekendColor_ = clBlue;
    TColor dataAvailableColor_ = clRed;
    std::bitset<256> dataAvailable_;
};

class TLocCalendar : public TZcCalendar {
public:
    explicit TLocCalendar(QWidget* parent = nullptr);

    // The colour it takes from its window; the day-name row takes it too.
    void TakeParentColor(TColor color);
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
};

// The title buttons: they click again while held.
class TZcTimerSpeedButton : public TZcSpeedButton {
public:
    explicit TZcTimerSpeedButton(QWidget* parent = nullptr);
};

// A plain panel in a colour, with an outer and an inner bevel of one pixel.
class TCalendarPanel : public QWidget {
public:
    TCalendarPanel(QWidget* parent, TColor color, TBevelCut outer, TBevelCut inner);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    // The width of the bevels.
    int BevelWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TColor color_;
    TBevelCut outer_;
    TBevelCut inner_;
    TCanvas canvas_;
};

// A caption centred across the control, drawn without a background.
class TCalendarTitle : public TGraphicControl {
public:
    explicit TCalendarTitle(QWidget* parent = nullptr) : TGraphicControl(parent) {}

protected:
    void Paint() override;
};

// Which title button: previous year, previous month, next month, next year.
enum TCalendarButton { cbPrevYear, cbPrevMonth, cbNextMonth, cbNextYear };
constexpr int CalendarButtonCount = 4;

// The buttons at the bounds (previous year, previous month, next month, next
// year), with their pictures and hints; a click calls `click` with the button.
std::array<TZcTimerSpeedButton*, CalendarButtonCount> CreateCalendarButtons(
    QWidget* parent, const std::array<TRect, CalendarButtonCount>& bounds,
    const std::function<void(TCalendarButton)>& click);
// What a title button does to the calendar.
void StepCalendar(TZcCalendar& calendar, TCalendarButton which);
// Each of the first four lines that is not empty becomes its button's hint.
void SetCalendarButtonHints(const std::array<TZcTimerSpeedButton*, CalendarButtonCount>& buttons,
                            const std::vector<std::string>& hints);

class TPopupCalendar : public TPopupWindow {
public:
    explicit TPopupCalendar(TCustomComboEdit* editor);

    TLocCalendar* Calendar() const { return calendar_; }
    TCalendarTitle* Title() const { return title_; }
    TZcTimerSpeedButton* Button(TCalendarButton which) const { return buttons_[which]; }
    const std::array<TZcTimerSpeedButton*, CalendarButtonCount>& Buttons() const { return buttons_; }

    // The calendar's date.
    TPopupValue GetValue() override;
    // Null, empty, no more than separators or no date: today.
    void SetValue(const TPopupValue& value) override;
    void SetColor(TColor color) override;

    // Page Down / Up a month (with Ctrl a year) on; other keys to the calendar.
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;

private:
    // The title follows the date; the date-change event tells of it.
    void CalendarChange();

    TCalendarPanel* back_ = nullptr;
    TCalendarPanel* top_ = nullptr;
    TLocCalendar* calendar_ = nullptr;
    TCalendarTitle* title_ = nullptr;
    std::array<TZcTimerSpeedButton*, CalendarButtonCount> buttons_{};
};

// The drop-down of a date edit, in the screen's size and font.
TPopupCalendar* CreatePopupCalendar(TCustomComboEdit* owner);
// Passes a date edit's settings to its drop-down (nothing for other windows); a
// hint line that is empty leaves its button's hint.
void SetupPopupCalendar(TPopupWindow* popup, TDayOfWeekName startOfWeek, TDaysOfWeek weekends,
                        const std::vector<std::string>& hints, TColor dataAvailableColor, TColor weekendColor);
// Enables or disables the four title buttons of a popup calendar.
void EnablePopupCalendarButtons(TPopupWindow* popup, bool enabled);

class TSelectDateDlg : public TDialogForm {
public:
    explicit TSelectDateDlg(QWidget* parent = nullptr);

    TZcCalendar* Calendar = nullptr;
    TCalendarTitle* TitleLabel = nullptr;
    std::array<TZcTimerSpeedButton*, CalendarButtonCount> Buttons{};
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

    TDateTime Date() const { return Calendar->CalendarDate(); }
    // NullDate shows today.
    void SetDate(TDateTime value);

    // The form sees every key first: Enter and Escape end it, Page Up / Down move a
    // month (with Ctrl a year), Tab a month on and Shift+Tab one back.
    void FormKeyDown(uint16_t& key, TShiftState shift);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CalendarChange();
};

// The dialog with its caption (the default title when empty), owned by the caller.
std::unique_ptr<TSelectDateDlg> CreateDateDialog(const std::string& caption);
// Shows the dialog on `date` (today for NullDate); true and the chosen date on
// OK, false and the date untouched otherwise.
bool SelectDate(TDateTime& date, const std::string& caption, TDayOfWeekName startOfWeek,
                const std::vector<std::string>& hints, TColor weekendColor, TDaysOfWeek weekends);

// "Vyberte datum": the dialog's title.
extern const char* const SelectDateTitle;

} // namespace zeko

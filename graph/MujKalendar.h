#pragma once
// TMujKalendar: a month calendar drawn as a 7 × 7 grid, a heading row of short day
// names over six week rows of day numbers. It holds one date, which the user
// changes by clicking a day; Year, Month and Day are what its owner reads. Beside
// that it keeps a set of marked day numbers, drawn in bold red: the date-choice
// dialog marks the days for which the month's record file holds records.
//
// Cell (col, row ≥ 1) shows the day col + MonthOffset() + (row − 1) × 7 when that
// day exists in the month held, else nothing.
#include "platform/DateTime.h"
#include "platform/qt/Grids.h"

#include <bitset>
#include <cstdint>
#include <functional>
#include <string>

namespace zeko {

class TMujKalendar : public TCustomGrid {
public:
    // Day numbers 0..255, as a month file's day bytes give them.
    using TMarkedDays = std::bitset<256>;

    explicit TMujKalendar(QWidget* parent = nullptr);

    // Index 1 the year, 2 the month, 3 the day of the date held; -1 for another index.
    int GetDateElement(int index) const;
    // Nothing for a value of 0 or less, a month above 12, a day beyond the month held,
    // the value the element has already, or another index. Otherwise the date takes
    // the value, follows today no longer, and OnChange fires. EConvertError when the
    // day held does not exist in the new month or year (31 March -> month 4).
    void SetDateElement(int index, int value);
    int Year() const { return GetDateElement(1); }
    int Month() const { return GetDateElement(2); }
    int Day() const { return GetDateElement(3); }
    void SetYear(int value) { SetDateElement(1, value); }
    void SetMonth(int value) { SetDateElement(2, value); }
    void SetDay(int value) { SetDateElement(3, value); }

    TDateTime CalendarDate() const { return calendarDate_; }
    int MonthOffset() const { return monthOffset_; }
    // Days of the month held.
    uint8_t DnuVMesici() const { return dnuVMesici_; }

    // The user cannot select cells (the program still moves the selection).
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    // Weekday of column 0: 0 Sunday .. 6 Saturday.
    int StartOfWeek() const { return startOfWeek_; }
    void SetStartOfWeek(int value);
    // The date is today's; set again it goes back to today (without OnChange).
    bool UseCurrentDate() const { return useCurrentDate_; }
    void SetUseCurrentDate(bool value);

    const TMarkedDays& MarkedDays() const { return markedDays_; }
    void SetMarkedDays(const TMarkedDays& days);

    virtual int DaysPerMonth(int year, int month) const;
    virtual int DaysThisMonth() const;
    virtual bool IsLeapYear(int year) const;
    // Lays the month held out: MonthOffset, the selected day, DnuVMesici.
    virtual void UpdateCalendar();
    // Fires OnChange.
    virtual void Change();

    // A short day name in row 0, a day number or nothing below it.
    std::string CellText(int col, int row) const;

    // The date held changed (not when it follows today again).
    std::function<void(TMujKalendar*)> OnChange;

    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    // Only cells with a day, and none by the user while ReadOnly.
    bool SelectCell(int col, int row) override;
    // OnClick, then the clicked day becomes the date.
    void Click() override;
    // Seven columns and rows share the new size.
    void Resize() override;

private:
    TDateTime calendarDate_ = 0;
    int monthOffset_ = 0;
    bool readOnly_ = false;
    int startOfWeek_ = 0;
    bool updating_ = false;
    bool useCurrentDate_ = true;
    uint8_t dnuVMesici_ = 0;
    TMarkedDays markedDays_;
};

} // namespace zeko

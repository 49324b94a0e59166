// The month calendar and its flat drop-down variant. The drop-down window is in
// PickDatePopup.cpp, the dialog in PickDateDialog.cpp.
#include "controls/PickDate.h"

#include "platform/FormatSettings.h"

#include <algorithm>

namespace zeko {
namespace {

constexpr int WeekDays = 7;
constexpr int WeekRows = 6;

} // namespace

void FontSetDefault(TFont& font) {
    font.SetName("MS Sans Serif");
    font.SetSize(8);
    font.SetColor(clWindowText);
    font.SetStyle({});
}

// ---------------------------------------------------------------- TZcCalendar

TZcCalendar::TZcCalendar(QWidget* parent) : TCustomGrid(parent) {
    SetColCount(WeekDays);
    SetRowCount(WeekRows + 1);
    SetFixedCols(0);
    SetFixedRows(1);
    SetScrollBars(ssNone);
    SetOptions(Options() - goRangeSelect + goDrawFocusSelected);
    // A plain one-pixel border, not the sunken edit edge.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    date_ = Today();
    UpdateCalendar();
}

int TZcCalendar::Year() const { return DecodeDate(date_).Year; }
int TZcCalendar::Month() const { return DecodeDate(date_).Month; }
int TZcCalendar::Day() const { return DecodeDate(date_).Day; }

void TZcCalendar::SetCalendarDate(TDateTime value) {
    if (value == date_)
        return;
    date_ = value;
    UpdateCalendar();
    Change();
}

void TZcCalendar::SetDateElement(int index, int value) {
    if (value < 1)
        return;
    DateParts d = DecodeDate(date_);
    switch (index) {
    case YearIndex:
        if (value == d.Year)
            return;
        d.Year = value;
        break;
    case MonthIndex:
        if (value > 12 || value == d.Month)
            return;
        d.Month = value;
        break;
    case DayIndex:
        if (value > DaysPerMonth(d.Year, d.Month) || value == d.Day)
            return;
        d.Day = value;
        break;
    default: return;
    }
    // A year or a month without the day takes the month's last day (29 February
    // into a common year is the 28th).
    d.Day = std::min(d.Day, std::max(1, DaysPerMonth(d.Year, d.Month)));
    TDateTime date = 0;
    if (!TryEncodeDate(d.Year, d.Month, d.Day, date))
        return;
    date_ = date;
    useCurrentDate_ = false;
    UpdateCalendar();
    Change();
}

void TZcCalendar::SetUseCurrentDate(bool value) {
    if (value == useCurrentDate_)
        return;
    useCurrentDate_ = value;
    if (value) {
        date_ = Today();
        UpdateCalendar();
    }
}

bool TZcCalendar::DataAvailable(int day) const { return day >= 0 && day < 256 && dataAvailable_.test(day); }

void TZcCalendar::SetDataAvailable(int day, bool on) {
    if (day < 0 || day >= 256 || dataAvailable_.test(day) == on)
        return;
    dataAvailable_.set(day, on);
    InvalidateGrid();
}

std::string TZcCalendar::CellText(int col, int row) const {
    if (row == 0)
        return FormatSettings().ShortDayNames[(startOfWeek_ + col) % WeekDays];
    const int day = monthOffset_ + col + (row - 1) * WeekDays;
    const DateParts d = DecodeDate(date_);
    if (day < 1 || day > DaysPerMonth(d.Year, d.Month))
        return {};
    return std::to_string(day);
}

bool TZcCalendar::IsWeekendColumn(int col) const {
    return weekends_.Contains(static_cast<TDayOfWeekName>((startOfWeek_ + col) % WeekDays));
}

// ---- steps

void TZcCalendar::StepMonth(TDateTime target, int day) {
    if (!ValidDate(target))
        return;
    const DateParts t = DecodeDate(target);
    SetCalendarDate(EncodeDate(t.Year, t.Month, std::min(day, DaysPerMonth(t.Year, t.Month))));
}

void TZcCalendar::PrevMonth() {
    const DateParts d = DecodeDate(date_);
    StepMonth(EncodeDate(d.Year, d.Month, 1) - 1, d.Day);
}

void TZcCalendar::NextMonth() {
    const DateParts d = DecodeDate(date_);
    StepMonth(EncodeDate(d.Year, d.Month, DaysPerMonth(d.Year, d.Month)) + 1, d.Day);
}

void TZcCalendar::NextYear() {
    if (IsLeapYear(Year()) && Month() == 2 && Day() == 29)
        SetDay(28);
    SetYear(Year() + 1);
}

void TZcCalendar::PrevYear() {
    if (IsLeapYear(Year()) && Month() == 2 && Day() == 29)
        SetDay(28);
    SetYear(Year() - 1);
}

// ---- layout

void TZcCalendar::UpdateCalendar() {
    updating_ = true;
    const DateParts d = DecodeDate(date_);
    if (d.Year >= MinYear) {
        const int firstWeekday = DayOfWeek(EncodeDate(d.Year, d.Month, 1));  // 1 = Sunday
        monthOffset_ = 2 - ((firstWeekday - startOfWeek_ + WeekDays) % WeekDays);
        if (monthOffset_ == 2)
            monthOffset_ = -5;
        FocusCell((d.Day - monthOffset_) % WeekDays, (d.Day - monthOffset_) / WeekDays + 1);
    }
    InvalidateGrid();
    updating_ = false;
}

void TZcCalendar::Change() {
    if (OnChange)
        OnChange(this);
}

void TZcCalendar::Resize() {
    // The grid keeps a line after the last column (row) as well: all seven must
    // fit, or the grid would scroll by a cell to show a line.
    SetDefaultColWidth((ClientWidth() - WeekDays * VertLineWidth()) / WeekDays);
    SetDefaultRowHeight((ClientHeight() - (WeekRows + 1) * HorzLineWidth()) / (WeekRows + 1));
}

// ---- drawing

void TZcCalendar::DrawDayText(int col, int row, const TRect& rect, TGridDrawState state) {
    TCanvas& c = Canvas();
    const std::string text = CellText(col, row);
    if (IsWeekendColumn(col) && !state.Contains(gdSelected))
        c.Font().SetColor(weekendColor_);
    if (row > 0 && !text.empty() && DataAvailable(std::stoi(text)))
        c.Font().SetColor(dataAvailableColor_);
    const TSize size = c.TextExtent(text);
    c.TextRect(rect, rect.Left + (rect.Width() - size.cx) / 2, rect.Top + (rect.Height() - size.cy) / 2, text);
}

void TZcCalendar::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    DrawDayText(col, row, rect, state);
}

// ---- input

bool TZcCalendar::SelectCell(int col, int row) {
    if (updating_)
        return true;
    return !readOnly_ && !CellText(col, row).empty();
}

void TZcCalendar::Click() {
    TCustomGrid::Click();
    if (updating_)
        return;
    const std::string text = CellText(Col(), Row());
    if (Row() > 0 && !text.empty())
        SetDay(std::stoi(text));
}

void TZcCalendar::KeyDown(uint16_t& key, TShiftState shift) {
    if (!shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt)) {
        const DateParts d = DecodeDate(date_);
        switch (key) {
        case VK_LEFT:
        case VK_SUBTRACT:
            if (d.Day > 1)
                SetDay(d.Day - 1);
            else
                SetCalendarDate(date_ - 1);
            key = 0;
            return;
        case VK_RIGHT:
        case VK_ADD:
            if (d.Day < DaysPerMonth(d.Year, d.Month))
                SetDay(d.Day + 1);
            else
                SetCalendarDate(date_ + 1);
            key = 0;
            return;
        default: break;
        }
    }
    TCustomGrid::KeyDown(key, shift);
}

void TZcCalendar::KeyPress(char32_t& key) {
    if (key == U'T' || key == U't') {
        SetCalendarDate(Today());
        key = 0;
        return;
    }
    TCustomGrid::KeyPress(key);
}

// ---------------------------------------------------------------- TLocCalendar

TLocCalendar::TLocCalendar(QWidget* parent) : TZcCalendar(parent) {
    // It takes the mouse but never the focus: the keys stay with the date edit.
    setFocusPolicy(Qt::NoFocus);
    SetCtl3D(false);
    SetBorderStyle(bsNone);
    SetOptions({goFixedHorzLine});
    SetUseCurrentDate(false);
    SetCalendarDate(Today());
}

void TLocCalendar::TakeParentColor(TColor color) {
    SetColor(color);
    SetFixedColor(color);
}

void TLocCalendar::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    TZcCalendar::DrawCell(col, row, rect, state);
    const DateParts today = DecodeDate(Today());
    const DateParts shown = DecodeDate(CalendarDate());
    if (row == 0 || today.Year != shown.Year || today.Month != shown.Month ||
        CellText(col, row) != std::to_string(today.Day))
        return;
    TRect frame = rect;
    Frame3D(Canvas(), frame, clBtnShadow, clBtnHighlight, 1);
}

} // namespace zeko

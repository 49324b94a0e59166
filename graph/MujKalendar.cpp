#include "graph/MujKalendar.h"

#include "platform/FormatSettings.h"

#include <QString>

#include <algorithm>

namespace zeko {

namespace {

constexpr int CalendarColumns = 7;
constexpr int CalendarRows = 7;
constexpr int DateYear = 1, DateMonth = 2, DateDay = 3;
// The first characters of a cell's text are drawn; day names are longer elsewhere.
constexpr int DrawnCharacters = 3;

std::string FirstCharacters(const std::string& text, int count) {
    return QString::fromStdString(text).left(count).toStdString();
}

// The number of a short text made only of decimal digits; -1 for any other text.
int DigitsValue(const std::string& text) {
    const bool digits = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    return digits ? std::stoi(text) : -1;
}

} // namespace

TMujKalendar::TMujKalendar(QWidget* parent) : TCustomGrid(parent) {
    SetColCount(CalendarColumns);
    SetRowCount(CalendarRows);
    SetFixedCols(0);
    SetFixedRows(1);
    SetScrollBars(ssNone);
    SetOptions(Options() - goRangeSelect + goDrawFocusSelected);
    calendarDate_ = Today();
    UpdateCalendar();
}

int TMujKalendar::GetDateElement(int index) const {
    const DateParts d = DecodeDate(calendarDate_);
    switch (index) {
    case DateYear: return d.Year;
    case DateMonth: return d.Month;
    case DateDay: return d.Day;
    default: return -1;
    }
}

void TMujKalendar::SetDateElement(int index, int value) {
    if (value <= 0)
        return;
    DateParts d = DecodeDate(calendarDate_);
    switch (index) {
    case DateYear:
        if (d.Year == value)
            return;
        d.Year = value;
        break;
    case DateMonth:
        if (value > 12 || d.Month == value)
            return;
        d.Month = value;
        break;
    case DateDay:
        if (value > DaysThisMonth() || d.Day == value)
            return;
        d.Day = value;
        break;
    default: return;
    }
    calendarDate_ = EncodeDate(d.Year, d.Month, d.Day);
    useCurrentDate_ = false;
    UpdateCalendar();
    Change();
}

void TMujKalendar::SetStartOfWeek(int value) {
    if (value == startOfWeek_)
        return;
    startOfWeek_ = value;
    UpdateCalendar();
}

void TMujKalendar::SetUseCurrentDate(bool value) {
    if (value == useCurrentDate_)
        return;
    useCurrentDate_ = value;
    if (value) {
        calendarDate_ = Today();
        UpdateCalendar();
    }
}

void TMujKalendar::SetMarkedDays(const TMarkedDays& days) {
    markedDays_ = days;
    InvalidateGrid();
}

bool TMujKalendar::IsLeapYear(int year) const { return zeko::IsLeapYear(year); }

int TMujKalendar::DaysPerMonth(int year, int month) const { return MonthDays(year, month); }

int TMujKalendar::DaysThisMonth() const { return DaysPerMonth(Year(), Month()); }

void TMujKalendar::UpdateCalendar() {
    updating_ = true;
    const DateParts d = DecodeDate(calendarDate_);
    const TDateTime first = EncodeDate(d.Year, d.Month, 1);
    monthOffset_ = 2 - ((DayOfWeek(first) - startOfWeek_ + 7) % 7);
    if (monthOffset_ == 2)
        monthOffset_ = -5;
    FocusCell((d.Day - monthOffset_) % 7, (d.Day - monthOffset_) / 7 + 1);
    dnuVMesici_ = static_cast<uint8_t>(DaysThisMonth());
    InvalidateGrid();
    updating_ = false;
}

void TMujKalendar::Change() {
    if (OnChange)
        OnChange(this);
}

std::string TMujKalendar::CellText(int col, int row) const {
    if (row == 0)
        return FormatSettings().ShortDayNames[static_cast<size_t>((startOfWeek_ + col) % 7)];
    const int day = col + monthOffset_ + (row - 1) * 7;
    return day >= 1 && day <= DaysThisMonth() ? std::to_string(day) : std::string();
}

void TMujKalendar::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    TCanvas& canvas = Canvas();
    const std::string text = FirstCharacters(CellText(col, row), DrawnCharacters);
    const int day = DigitsValue(text);
    const bool marked = day >= 0 && day < static_cast<int>(markedDays_.size()) && markedDays_.test(static_cast<size_t>(day));
    const TColor color = canvas.Font().Color();
    const TFontStyles style = canvas.Font().Style();
    if (marked) {
        canvas.Font().SetColor(clRed);
        canvas.Font().SetStyle(style + fsBold);
    }
    canvas.TextRect(rect, rect.Left + (rect.Width() - canvas.TextWidth(text)) / 2,
                    rect.Top + (rect.Height() - canvas.TextHeight(text)) / 2, text);
    canvas.Font().SetColor(color);
    canvas.Font().SetStyle(style);
}

bool TMujKalendar::SelectCell(int col, int row) {
    if (CellText(col, row).empty() || (readOnly_ && !updating_))
        return false;
    return TCustomGrid::SelectCell(col, row);
}

void TMujKalendar::Click() {
    // The selection the calendar moves itself is no click of the user.
    if (updating_)
        return;
    TCustomGrid::Click();
    const std::string text = CellText(Col(), Row());
    if (!text.empty())
        SetDay(std::stoi(text));
}

void TMujKalendar::Resize() {
    SetDefaultColWidth((ClientWidth() - 6 * GridLineWidth()) / CalendarColumns);
    SetDefaultRowHeight((ClientHeight() - 6 * GridLineWidth()) / CalendarRows);
    // A smaller size before (the one it was made with) may have scrolled the
    // selected day into view; now the whole month is in view.
    SetLeftCol(0);
    SetTopRow(FixedRows());
}

} // namespace zeko

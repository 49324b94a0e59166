#include "core/Calendar.h"

#include "platform/Exceptions.h"
#include "platform/TickClock.h"

namespace zeko {

int ExpandYear(int year2) {
    return year2 < 80 ? 2000 + year2 : 1900 + year2;
}

int ShortYear(int year) {
    return year >= 2000 ? year - 2000 : year - 1900;
}

TDateTime AddHours(TDateTime dateTime, int hours) {
    const TDateTime span = EncodeTime(hours < 0 ? -hours : hours, 0, 0);
    return hours < 0 ? dateTime - span : dateTime + span;
}

TDateTime AddMonths(int n, TDateTime dateTime) {
    if (n == 0)
        return dateTime;
    const DateParts d = DecodeDate(dateTime);
    // Whole years first, so a large n needs no loop.
    long month = d.Month - 1L + n;
    long year = d.Year + month / 12;
    month %= 12;
    if (month < 0) {
        month += 12;
        --year;
    }
    if (year < MinYear || year > MaxYear)
        throw EConvertError("Invalid argument to date encode");
    const int y = static_cast<int>(year), m = static_cast<int>(month) + 1;
    const int day = d.Day > MonthDays(y, m) ? MonthDays(y, m) : d.Day;
    return EncodeDate(y, m, day) + TimeOf(dateTime);
}

void NextMonth(int month, int year, int& newMonth, int& newYear) {
    if (month >= 12) {
        newMonth = 1;
        newYear = year + 1;
    } else {
        newMonth = month + 1;
        newYear = year;
    }
}

int DaysInMonth(int month, int year) {
    return MonthDays(year, month);
}

int DaysInMonthOf(TDateTime dateTime) {
    const DateParts d = DecodeDate(dateTime);
    return MonthDays(d.Year, d.Month);
}

int WeekdayMondayFirst(TDateTime dateTime) {
    return (DayOfWeek(dateTime) + 5) % 7 + 1;
}

bool IsWeekend(TDateTime dateTime) {
    return WeekdayMondayFirst(dateTime) >= 6;
}

bool IsWeekendDate(int day, int month, int year) {
    TDateTime date;
    return TryEncodeDate(year, month, day, date) && IsWeekend(date);
}

TDateTime EasterMondayDate(int year) {
    // Gauss with M = 24, N = 5 for the Gregorian centuries 1900..2099.
    const int a = year % 19, b = year % 4, c = year % 7;
    const int d = (19 * a + 24) % 30;
    const int e = (2 * b + 4 * c + 6 * d + 5) % 7;
    int month = 3, day = 22 + d + e;
    if (day > 31) {
        month = 4;
        day -= 31;
        if (day == 26)
            day = 19;
        else if (day == 25 && d == 28 && e == 6)
            day = 18;
    }
    return EncodeDate(year, month, day) + 1;
}

bool IsEasterMonday(int day, int month, int year) {
    TDateTime date;
    return TryEncodeDate(year, month, day, date) && EasterMondayDate(year) == date;
}

TDateTime TicksToDateTime(uint32_t milliseconds) {
    const uint32_t perDay = 86400000u;
    return static_cast<double>(milliseconds / perDay) +
           static_cast<double>(milliseconds % perDay) / MSecsPerDay;
}

TDateTime ElapsedSince(uint32_t ticks, TDateTime base) {
    const uint32_t elapsed = TicksBetween(ticks, GetTickCount());
    if (elapsed >= 0x80000000u)
        return base;
    return base + TicksToDateTime(elapsed);
}

} // namespace zeko

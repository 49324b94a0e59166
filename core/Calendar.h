#pragma once
// Calendar helpers of the evaluation and the regulator clock: two-digit years,
// month and hour steps, weekdays counted from Monday, weekends and Easter Monday,
// and the running time since a tick count.
#include "platform/DateTime.h"

#include <cstdint>

namespace zeko {

// Two-digit years of the regulator: below 80 are 20xx, from 80 on 19xx.
int ExpandYear(int year2);
// Four-digit years back to two digits (by 2000 from 2000 on, else by 1900).
int ShortYear(int year);

// `dateTime` plus whole hours; |hours| must be below 24 (EConvertError otherwise).
TDateTime AddHours(TDateTime dateTime, int hours);
// `dateTime` moved by n months (either way, also beyond a year); the day is lowered
// to the new month's length and the time of day kept. EConvertError when the year
// leaves 1..9999.
TDateTime AddMonths(int n, TDateTime dateTime);
void NextMonth(int month, int year, int& newMonth, int& newYear);

int DaysInMonth(int month, int year);  // 0 for a month outside 1..12
int DaysInMonthOf(TDateTime dateTime);

int WeekdayMondayFirst(TDateTime dateTime);  // 1 = Monday .. 7 = Sunday
bool IsWeekend(TDateTime dateTime);
bool IsWeekendDate(int day, int month, int year);  // false for no valid date

// Gauss's rule (valid for 1900..2099); EConvertError for a year outside 1..9999.
TDateTime EasterMondayDate(int year);
bool IsEasterMonday(int day, int month, int year);  // false for no valid date

// A millisecond count as whole days plus the time of the remainder.
TDateTime TicksToDateTime(uint32_t milliseconds);
// base + the time since the tick count `ticks`; base itself when `ticks` lies ahead
// of the clock (more than half the counter's range).
TDateTime ElapsedSince(uint32_t ticks, TDateTime base);

} // namespace zeko

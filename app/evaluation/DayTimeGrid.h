#pragma once
// The time grid of a channel's day. A day that starts at hour H runs from H:07:31
// of its date to H:07:31 of the next date (that second belongs to the next day
// only). Its 24 rows are numbered 1..24 from the day start; row r covers
// (H + r - 1):07:31 .. (H + r):07:30, hours counted modulo 24, and each row holds
// the four quarter slots of core/QuarterHours.h.
#include "platform/DateTime.h"

namespace zeko {

// The day-start hour of a channel reduced into 0..23; "Zarizeni.ini" may hold any
// integer.
int NormalDayStartHour(int hour);

// H:07:31 of the date, the first second of its day (H reduced into 0..23).
TDateTime DayWindowStart(TDateTime date, int dayStartHour);

// Row 1..24 of a record stamped hh:mm:ss in a day that starts at hour H (0..23):
// the clock hour the record's quarter ends in, counted from the day start.
int DayRowOf(int hour, int minute, int second, int dayStartHour);

} // namespace zeko

#pragma once
// Quarter-hour arithmetic of the regulator. Its quarter hours are offset by 7 min
// 30 s from the clock quarters; with s = minute × 60 + second:
//
//   s             slot  window
//   451..1350     1     hh:07:31 .. hh:22:30
//   1351..2250    2     hh:22:31 .. hh:37:30
//   2251..3150    3     hh:37:31 .. hh:52:30
//   3151..3599,
//   0..450        4     hh:52:31 .. (hh+1):07:30
#include "platform/DateTime.h"

#include <cstdint>

namespace zeko {

// Seconds into the hour at which slots 1, 2, 3 and 4 begin.
constexpr int QuarterSlotStartSecond[4] = {451, 1351, 2251, 3151};
// Minute of the hour at which the window of slots 1..4 begins (its first whole
// minute is one later: the window starts at :mm:31).
constexpr int QuarterSlotStartMinute[4] = {7, 22, 37, 52};

int QuarterHourSlot(int minute, int second);
int QuarterHourSlotOfTime(TDateTime dateTime);

// Minute of day at which the window holding hh:mm:ss begins; before hh:07:31 it is
// the previous hour's :52 (1432 for hour 0).
int QuarterWindowStartMinute(int hour, int minute, int second);
// End of the window holding the time: hh:22:31, hh:37:31, hh:52:31 or hh:07:31 of
// the next hour (00:07:31 of the next day after 23:52:31).
TDateTime QuarterWindowEnd(TDateTime dateTime);
TDateTime QuarterWindowStart(TDateTime dateTime);  // the end minus 15 minutes
// The same end as a minute of day without the seconds (hh:07, :22, :37, :52; an
// hour of 24 becomes 0); schedule band edges are rounded with it.
int QuarterWindowEndMinute(int hour, int minute, int second);

// Hourly rate of a quarter hour's impulse count: count × 4 ÷ constant; 0 when the
// constant is 0 or the result is no finite number.
double QuarterHourPower(uint32_t count, double constant);

// Table row (1..24) of an hour for a day that starts at hour `offset`.
uint8_t ShiftHour(int hour, int offset);

} // namespace zeko

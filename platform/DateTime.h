#pragma once
// Dates as the program holds them: a floating day number counted from 30 December
// 1899, whole part = day, fraction = time of day. There are no time zones and no
// daylight saving: arithmetic is done in whole days and seconds.
#include <cstdint>
#include <optional>

namespace zeko {

using TDateTime = double;

constexpr double SecsPerDay = 86400.0;
constexpr double MSecsPerDay = 86400000.0;
constexpr int MinYear = 1;
constexpr int MaxYear = 9999;

bool IsLeapYear(int year);
int MonthDays(int year, int month);  // 0 when the month is not 1..12

bool TryEncodeDate(int year, int month, int day, TDateTime& out);
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& out);
// Raise EConvertError when the parts form no valid date or time.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec = 0);

struct DateParts {
    int Year = 0, Month = 0, Day = 0;
};
struct TimeParts {
    int Hour = 0, Minute = 0, Second = 0, MSec = 0;
};
DateParts DecodeDate(TDateTime value);
TimeParts DecodeTime(TDateTime value);  // rounded to the millisecond
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec);

// 1 = Sunday .. 7 = Saturday, as the class library counts.
int DayOfWeek(TDateTime value);

double DateOf(TDateTime value);  // the whole day
double TimeOf(TDateTime value);  // the time of day, 0 <= t < 1
// Whole seconds since 30 Dec 1899 00:00:00 (rounded), and back.
int64_t ToSeconds(TDateTime value);
TDateTime FromSeconds(int64_t seconds);

// The local wall clock. Tests may fix it with SetNowOverride.
TDateTime Now();
TDateTime Today();
void SetNowOverride(std::optional<TDateTime> value);  // nullopt: the real clock again

} // namespace zeko

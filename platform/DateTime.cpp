#include "platform/DateTime.h"

#include "platform/Exceptions.h"

#include <cmath>
#include <ctime>
#include <sys/time.h>

namespace zeko {
namespace {

// Days from 1 January of year 1 to 30 December 1899.
constexpr int64_t DateDelta = 693593;

int64_t DaysBeforeYear(int year) {
    const int64_t y = year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400;
}

// Splits a day number into day and millisecond of the day; the millisecond is
// rounded so that 0.99999999 of a day does not read as 23:59:59.999 of the wrong day.
void SplitDay(TDateTime value, int64_t& day, int64_t& msec) {
    const int64_t total = static_cast<int64_t>(std::llround(value * MSecsPerDay));
    day = total / 86400000;
    msec = total % 86400000;
    if (msec < 0) {
        // Before 1899 the time of day counts forwards from the day's start.
        msec += 86400000;
        day -= 1;
    }
}

std::optional<TDateTime> nowOverride;

} // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int MonthDays(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out) {
    if (year < MinYear || year > MaxYear || month < 1 || month > 12 || day < 1 ||
        day > MonthDays(year, month))
        return false;
    int64_t days = DaysBeforeYear(year);
    for (int m = 1; m < month; ++m)
        days += MonthDays(year, m);
    days += day - 1;
    out = static_cast<double>(days - DateDelta);
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& out) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        msec < 0 || msec > 999)
        return false;
    out = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / MSecsPerDay;
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime result;
    if (!TryEncodeDate(year, month, day, result))
        throw EConvertError("Invalid argument to date encode");
    return result;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
    TDateTime result;
    if (!TryEncodeTime(hour, minute, second, msec, result))
        throw EConvertError("Invalid argument to time encode");
    return result;
}

DateParts DecodeDate(TDateTime value) {
    int64_t day, msec;
    SplitDay(value, day, msec);
    int64_t n = day + DateDelta;  // days since 1 Jan 0001
    DateParts parts;
    if (n < 0)
        return parts;
    // 400-, 100-, 4- and 1-year cycles, as the Gregorian calendar repeats.
    int64_t y = 1;
    y += (n / 146097) * 400;
    n %= 146097;
    int64_t c = n / 36524;
    if (c == 4)
        c = 3;
    y += c * 100;
    n -= c * 36524;
    y += (n / 1461) * 4;
    n %= 1461;
    int64_t k = n / 365;
    if (k == 4)
        k = 3;
    y += k;
    n -= k * 365;
    parts.Year = static_cast<int>(y);
    int month = 1;
    while (n >= MonthDays(parts.Year, month)) {
        n -= MonthDays(parts.Year, month);
        ++month;
    }
    parts.Month = month;
    parts.Day = static_cast<int>(n) + 1;
    return parts;
}

TimeParts DecodeTime(TDateTime value) {
    int64_t day, msec;
    SplitDay(value, day, msec);
    TimeParts parts;
    parts.Hour = static_cast<int>(msec / 3600000);
    parts.Minute = static_cast<int>(msec / 60000 % 60);
    parts.Second = static_cast<int>(msec / 1000 % 60);
    parts.MSec = static_cast<int>(msec % 1000);
    return parts;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
    const DateParts p = DecodeDate(value);
    year = p.Year;
    month = p.Month;
    day = p.Day;
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec) {
    const TimeParts p = DecodeTime(value);
    hour = p.Hour;
    minute = p.Minute;
    second = p.Second;
    msec = p.MSec;
}

int DayOfWeek(TDateTime value) {
    int64_t day, msec;
    SplitDay(value, day, msec);
    // 30 Dec 1899 was a Saturday (7).
    int64_t w = (day + 6) % 7;
    if (w < 0)
        w += 7;
    return static_cast<int>(w) + 1;
}

double DateOf(TDateTime value) {
    int64_t day, msec;
    SplitDay(value, day, msec);
    return static_cast<double>(day);
}

double TimeOf(TDateTime value) {
    int64_t day, msec;
    SplitDay(value, day, msec);
    return static_cast<double>(msec) / MSecsPerDay;
}

int64_t ToSeconds(TDateTime value) {
    return static_cast<int64_t>(std::llround(value * SecsPerDay));
}

TDateTime FromSeconds(int64_t seconds) {
    return static_cast<double>(seconds) / SecsPerDay;
}

TDateTime Now() {
    if (nowOverride)
        return *nowOverride;
    timeval tv{};
    gettimeofday(&tv, nullptr);
    std::tm local{};
    const time_t t = tv.tv_sec;
    localtime_r(&t, &local);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           EncodeTime(local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec,
                      static_cast<int>(tv.tv_usec / 1000));
}

TDateTime Today() {
    return DateOf(Now());
}

void SetNowOverride(std::optional<TDateTime> value) {
    nowOverride = value;
}

} // namespace zeko

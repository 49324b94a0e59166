#include "core/QuarterHours.h"

#include <cmath>

namespace zeko {

int QuarterHourSlot(int minute, int second) {
    const int s = minute * 60 + second;
    for (int slot = 3; slot >= 1; --slot)
        if (s >= QuarterSlotStartSecond[slot - 1] && s < QuarterSlotStartSecond[slot])
            return slot;
    return 4;
}

int QuarterHourSlotOfTime(TDateTime dateTime) {
    const TimeParts t = DecodeTime(dateTime);
    return QuarterHourSlot(t.Minute, t.Second);
}

int QuarterWindowStartMinute(int hour, int minute, int second) {
    if (minute * 60 + second < QuarterSlotStartSecond[0])
        return hour == 0 ? 23 * 60 + QuarterSlotStartMinute[3]
                         : (hour - 1) * 60 + QuarterSlotStartMinute[3];
    return hour * 60 + QuarterSlotStartMinute[QuarterHourSlot(minute, second) - 1];
}

namespace {

// Second of day of the window end; may reach the next day (86400 + 451).
int64_t WindowEndSecond(int hour, int minute, int second) {
    const int slot = QuarterHourSlot(minute, second);
    int endHour = hour;
    int endStart;  // second of the hour at which the next window begins
    if (slot < 4) {
        endStart = QuarterSlotStartSecond[slot];
    } else {
        endStart = QuarterSlotStartSecond[0];
        if (minute > 7)
            ++endHour;
    }
    return endHour * 3600 + endStart;
}

} // namespace

TDateTime QuarterWindowEnd(TDateTime dateTime) {
    const TimeParts t = DecodeTime(dateTime);
    const int64_t day = static_cast<int64_t>(DateOf(dateTime));
    return FromSeconds(day * 86400 + WindowEndSecond(t.Hour, t.Minute, t.Second));
}

TDateTime QuarterWindowStart(TDateTime dateTime) {
    return FromSeconds(ToSeconds(QuarterWindowEnd(dateTime)) - 15 * 60);
}

int QuarterWindowEndMinute(int hour, int minute, int second) {
    const int m = static_cast<int>(WindowEndSecond(hour, minute, second) / 60);
    return m >= 24 * 60 ? m - 24 * 60 : m;
}

double QuarterHourPower(uint32_t count, double constant) {
    if (constant == 0)
        return 0;
    const double power = count * 4.0 / constant;
    return std::isfinite(power) ? power : 0;
}

uint8_t ShiftHour(int hour, int offset) {
    if (offset == 0)
        return static_cast<uint8_t>(hour);
    if (offset < 0)
        offset += 24;
    return static_cast<uint8_t>(offset < hour ? hour - offset : hour + 24 - offset);
}

} // namespace zeko

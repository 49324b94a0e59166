#include "app/evaluation/DayTimeGrid.h"

#include "core/QuarterHours.h"

namespace zeko {

int NormalDayStartHour(int hour) {
    const int h = hour % 24;
    return h < 0 ? h + 24 : h;
}

TDateTime DayWindowStart(TDateTime date, int dayStartHour) {
    const int64_t dayStart = ToSeconds(DateOf(date)) + NormalDayStartHour(dayStartHour) * 3600;
    return QuarterWindowEnd(FromSeconds(dayStart));
}

int DayRowOf(int hour, int minute, int second, int dayStartHour) {
    int clockRow;
    if (minute * 60 + second >= QuarterSlotStartSecond[0])
        clockRow = hour + 1;
    else
        clockRow = hour == 0 ? 24 : hour;
    return ShiftHour(clockRow, dayStartHour);
}

} // namespace zeko

#include "core/Holidays.h"

#include "core/Calendar.h"
#include "core/TextHelpers.h"

namespace zeko {

TSvatkyArray HolidayList;
TSvatkyArray HolidayList2;

void SetHoliday(THolidayRecord& rec, uint16_t fromYear, uint16_t toYear, uint8_t day, uint8_t month,
                const std::string& description) {
    rec.FromYear = fromYear;
    rec.ToYear = toYear;
    rec.Day = day;
    rec.Month = month;
    rec.Description = LimitLength(description, HolidayDescriptionLength);
}

THolidayRecord& HolidayAt(TSvatkyArray& list, size_t index) {
    if (index >= list.size())
        list.resize(index + 1);
    return list[index];
}

bool YearInRange(int year, int fromYear, int toYear) {
    return fromYear <= year && year <= (toYear == 0 ? 65535 : toYear);
}

bool IsHoliday(int day, int month, int year) {
    for (const THolidayRecord& h : HolidayList)
        if (h.Day == day && h.Month == month && YearInRange(year, h.FromYear, h.ToYear))
            return true;
    return IsEasterMonday(day, month, year);
}

bool IsHolidayDate(TDateTime dateTime) {
    const DateParts d = DecodeDate(dateTime);
    return IsHoliday(d.Day, d.Month, d.Year);
}

} // namespace zeko

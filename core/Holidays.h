#pragma once
// Holiday definitions and the holiday test of the evaluation: a date is a holiday
// when a record of HolidayList has its day and month within the record's years, or
// when it is Easter Monday. The lists live in memory only; the holiday dialog and
// the tariff editor fill them.
#include "platform/DateTime.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zeko {

constexpr size_t HolidayDescriptionLength = 255;

struct THolidayRecord {
    uint16_t FromYear = 0;  // first year in which it applies
    uint16_t ToYear = 0;    // last year; 0 = no end
    uint8_t Day = 0;
    uint8_t Month = 0;
    std::string Description;  // at most 255 characters
};

using TSvatkyArray = std::vector<THolidayRecord>;

// HolidayList is the one the test scans; HolidayList2 is shown beside it.
extern TSvatkyArray HolidayList;
extern TSvatkyArray HolidayList2;

void SetHoliday(THolidayRecord& rec, uint16_t fromYear, uint16_t toYear, uint8_t day, uint8_t month,
                const std::string& description);
// The record at index, the list grown with empty records (which match no date)
// when the index lies beyond its end.
THolidayRecord& HolidayAt(TSvatkyArray& list, size_t index);

bool YearInRange(int year, int fromYear, int toYear);  // toYear 0 counts as 65535
bool IsHoliday(int day, int month, int year);
bool IsHolidayDate(TDateTime dateTime);

} // namespace zeko

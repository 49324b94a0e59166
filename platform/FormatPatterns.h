#pragma once
// Pattern formatting of numbers and dates as the class library does it; the grids'
// display formats and the status lines use it. Texts follow FormatSettings().
//
// FormatFloat patterns:
//   0     digit, shown also when it is a leading or trailing zero
//   #     digit, shown only when significant
//   .     the decimal separator (the first one counts)
//   ,     anywhere: thousand separators in the integer part
//   E+00  scientific notation (E- shows only a negative sign; up to four 0s give the
//         least number of exponent digits)
//   'x' "x"  literal text; any other character is copied
//   ;     sections: positive;negative;zero (an empty section falls back to the first;
//         a negative section shows no minus sign of its own)
// An empty pattern (or empty first section) gives the general format (FloatToStr).
// The value is rounded half away from zero on its decimal digits.
//
// FormatDateTime patterns (letters in any case):
//   c      ShortDateFormat, then " " and LongTimeFormat unless the time is midnight
//   d dd ddd dddd ddddd dddddd   day, two-digit day, short and long day name,
//                                ShortDateFormat, LongDateFormat
//   m mm mmm mmmm   month, two-digit month, short and long month name; m and mm right
//                   after an hour specifier are minutes
//   yy yyyy   year;  h hh   hour;  n nn   minute;  s ss   second;  z zzz   millisecond
//   t tt      ShortTimeFormat, LongTimeFormat
//   am/pm a/p ampm   12-hour clock with "am"/"pm" (case as written), "a"/"p", or
//                    TimeAMString/TimePMString
//   /  :      DateSeparator, TimeSeparator;  'x' "x"  literal text
// An empty pattern is "c". A value outside 1 Jan 0001 .. 31 Dec 9999 (or not a
// number) raises EConvertError.
#include "platform/DateTime.h"

#include <string>

namespace zeko {

std::string FormatFloat(const std::string& pattern, double value);
std::string FormatDateTime(const std::string& pattern, TDateTime value);

std::string DateToStr(TDateTime value);      // ShortDateFormat
std::string TimeToStr(TDateTime value);      // LongTimeFormat
std::string DateTimeToStr(TDateTime value);  // "c"

} // namespace zeko

#pragma once
// The calendar arithmetic and the date-text rules of the calendars and the date
// edit: month lengths, validity, reading a date the user typed (by the positions
// of a date format first, then by its separators) with a two-digit-year rule of
// its own, and the display formats and edit masks of dates. The locale facts come
// from FormatSettings(), the clock from Now(), so tests may fix both.
//
// The two-digit-year rule here (ExpandShortYear, 30 years ahead) is that of typed
// dates; the regulator's time stamps have their own (ExpandYear).
#include <cstdint>
#include <string>

#include "platform/DateParsing.h"
#include "platform/DateTime.h"
#include "platform/Sets.h"

namespace zeko {

// Ordinal 0 is Sunday.
enum TDayOfWeekName : uint8_t { Sun, Mon, Tue, Wed, Thu, Fri, Sat };
using TDaysOfWeek = TSet<TDayOfWeekName>;

constexpr int CenturyOffset = 30;
// The date value that stands for no date.
constexpr TDateTime NullDate = 0.0;

// Whether the short date format shows four-digit years, as it stood when first
// asked (the program asks before it sets its own format).
bool FourDigitYear();

// IsLeapYear comes with DateTime.h.
inline int DaysPerMonth(int year, int month) { return MonthDays(year, month); }
// Year 1..9999, month 1..12, day 1..DaysPerMonth.
bool IsValidDate(int year, int month, int day);
// Whether the value decodes into a valid date; false for values that are no day
// numbers at all.
bool ValidDate(TDateTime value);
int CurrentYear();

// A year below 100 goes into the current century, or into the next one when it is
// no more than the current year's last two digits minus 70 (in 2080, 05 is 2105
// and 11 is 2011). Larger years stay.
int ExpandShortYear(int year);
// 1..12 for the first long month name whose first `length` characters equal the
// text's, compared without case; 0 for an empty text or no match.
int MonthFromName(const std::string& text, int length);

// Reads "day sep month [sep year]" (in the order of `format`) from the 1-based
// position `pos`, which moves on; blanks around numbers and separators are allowed
// and a trailing separator is stepped over. Without a year ("5.3.", or a mask's
// blank year) the current year holds.
// True only for a valid date that takes the whole text.
bool ScanDate(const std::string& text, const std::string& format, int& pos, int& year, int& month, int& day);
// One date element read by its positions in the format: the characters of the
// text under the first run of `count` letters (any case), blanks left out. The
// blank value when they are all blank, -1 when they are no number (no month name
// for a count above 1), the default when the format has no such run or the text
// is longer than the format.
int ExtractMask(const std::string& format, const std::string& text, char letter, int count, int blank,
                int fallback);
// The text by the format's positions, or else by ScanDate.
bool ScanDateStr(const std::string& format, const std::string& text, int& day, int& month, int& year);

// An empty text is NullDate.
bool TryStrToDateFmt(const std::string& format, const std::string& text, TDateTime& date);
// EConvertError "''<text>'' is not a valid date" when the text is none.
TDateTime StrToDateFmt(const std::string& format, const std::string& text);
// The whole day of `fallback` when the text is no date.
TDateTime StrToDateFmtDef(const std::string& format, const std::string& text, TDateTime fallback);

// "DD/MM/YYYY" and the like in the order of the short date format ("/" is the date
// separator); "YY" instead of "YYYY" without fourDigits.
std::string DefDateFormat(bool fourDigits);
// The matching edit mask of optional digits with the literals kept and `blank` for
// the empty places, e.g. "!99/99/9999;1; ".
std::string DefDateMask(char blank, bool fourDigits);

} // namespace zeko

#pragma once
// Dates and times typed as text, read in the order of the short date format with
// the separators of FormatSettings(): "15.3.2024", "15.3." (this year), "15.3.24"
// (two-digit years fall within 50 years before or after the current year),
// "8:30", "8:30:15", "8:30:15,250", "8:30 PM", "15.3.2024 8:30".
#include "platform/DateTime.h"

#include <cstdint>
#include <string>

namespace zeko {

// The order of day, month and year in a date text.
enum TDateOrder : uint8_t { doMDY, doDMY, doYMD };
// By the first of the letters D, E, M and Y in the format (any case): D day first,
// M month first, E or Y year first; day first when there is none.
TDateOrder GetDateOrder(const std::string& format);
// The numbers of a typed date put in their places by the order: three numbers
// hold a year, two only day and month (day first for day-month-year, else month).
void PlaceDateNumbers(TDateOrder order, int n1, int n2, int n3, int& year, int& month, int& day);
void PlaceDayAndMonth(TDateOrder order, int n1, int n2, int& month, int& day);

bool TryStrToDate(const std::string& text, TDateTime& value);
bool TryStrToTime(const std::string& text, TDateTime& value);
bool TryStrToDateTime(const std::string& text, TDateTime& value);  // a date, a time, or both

// EConvertError "'<text>' is not a valid date" / "... time" / "... date and time".
TDateTime StrToDate(const std::string& text);
TDateTime StrToTime(const std::string& text);
TDateTime StrToDateTime(const std::string& text);

} // namespace zeko

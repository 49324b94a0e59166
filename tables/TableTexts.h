#pragma once
// The texts the table windows put into their cells: values in fixed notation with
// the locale's decimal separator, "x" for a period without records, two-digit day
// and hour labels, and the key under which the column widths of a table lie in the
// registry store.
#include <array>
#include <string>

#include "core/TextHelpers.h"
#include "platform/DateTime.h"

namespace zeko {

// What a cell shows for a period without records.
constexpr const char* NoDataText = "x";

// Fixed notation with `decimals` places (the old tables' fixed format): a value with
// more than `precision` digits before the decimal point, or no finite value, is
// written in the general format instead.
std::string TableValueText(double value, int decimals = 1, int precision = 11);
// A cos phi: two decimals, at most four significant digits.
std::string CosPhiCellText(double value);
// The cos phi of a period from its `count` hour values: "x" when the period had no
// records, and so no hour value (its result then holds 1 all the same).
std::string PeriodCosPhiText(double value, int count);
// The cos phi of tariff k (1..3) from its numerator parts[k - 1] and denominator
// parts[k + 2]; "x" when the denominator is not above 0: the tariff had no records.
std::string TariffCosPhiText(const std::array<double, 6>& parts, int tariff);

// "hh:mm" of a time held as seconds of the day (whole minutes).
std::string SecondsToHHMM(double seconds);

// The locale's long and short weekday name of a date.
std::string LongDayName(TDateTime date);
std::string ShortDayName(TDateTime date);

// "SOFTWARE\Vadro\ColWidths" + "800" or "1024" (LayoutWidth) + "\" + table.
std::string ColumnWidthsKey(const std::string& table);

} // namespace zeko

#include "tables/TableTexts.h"

#include <cmath>
#include <cstdio>

#include "core/TextHelpers.h"
#include "core/WindowHelpers.h"
#include "platform/FormatSettings.h"

namespace zeko {

std::string TableValueText(double value, int decimals, int precision) {
    if (!std::isfinite(value) || std::fabs(value) >= std::pow(10.0, precision))
        return FloatToStr(value);
    return FormatFixed(value, decimals);
}

std::string CosPhiCellText(double value) { return TableValueText(value, 2, 4); }

std::string PeriodCosPhiText(double value, int count) { return count > 0 ? CosPhiCellText(value) : NoDataText; }

std::string TariffCosPhiText(const std::array<double, 6>& parts, int tariff) {
    const double divisor = parts[tariff + 2];
    return divisor > 0 ? CosPhiCellText(parts[tariff - 1] / divisor) : NoDataText;
}

std::string SecondsToHHMM(double seconds) {
    return MinutesToHHMM(static_cast<int>(seconds) / 60);
}

std::string LongDayName(TDateTime date) { return FormatSettings().LongDayNames[DayOfWeek(date) - 1]; }
std::string ShortDayName(TDateTime date) { return FormatSettings().ShortDayNames[DayOfWeek(date) - 1]; }

std::string ColumnWidthsKey(const std::string& table) {
    return "SOFTWARE\\Vadro\\ColWidths" + std::to_string(LayoutWidth()) + "\\" + table;
}

} // namespace zeko

#include "app/evaluation/PeriodResult.h"

namespace zeko {

TMonthPeriodInfo MonthPeriodInfo;
TMonthResult MonthResult;
uint8_t YearMonthCount = DefaultYearMonthCount;
uint8_t YearCustomPeriod = 0;
TYearResult YearResult;

} // namespace zeko

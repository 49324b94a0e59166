#include "app/evaluation/PeriodResult.h"

namespace zeko {

TMonthPeriodInfo MonthPeriodInfo;
TMonthResult MonthResult;
uint8_t YearMonthCount = 12;
uint8_t YearCustomPeriod = 0;
TYearResult YearResult;

} // namespace zeko

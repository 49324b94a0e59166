#include "app/PeriodResult.h"

namespace zeko {

TMonthPeriodInfo MonthPeriodInfo;
TMonthResult MonthResult;
TYearResult YearResult;

} // namespace zeko

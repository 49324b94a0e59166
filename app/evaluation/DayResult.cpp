#include "app/evaluation/DayResult.h"

namespace zeko {

TDayResult DayResult;
TPeriodAccumulators PeriodAccumulators;

void TDayResult::Reset() {
    *this = TDayResult{};
    DayHourCosPhi.fill(1);
    DayShiftMaxima.Values.fill(NoMaximum);
    DayTariffMaxima.Values.fill(NoMaximum);
}

} // namespace zeko

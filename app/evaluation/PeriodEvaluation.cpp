#include "app/evaluation/PeriodEvaluation.h"

#include "app/evaluation/DayTimeGrid.h"
#include "core/Calendar.h"
#include "core/MojeDB.h"
#include "core/TextHelpers.h"
#include "platform/ProgramDir.h"

#include <algorithm>

namespace zeko {

namespace {

constexpr int64_t SecondsPerDay = 86400;

// What the second maximum's text holds until a day gives it one: hours 0 to 1.
constexpr const char* SecondMaximumStartText = "00 - 01";

template <size_t N>
void AddTo(std::array<double, N>& sums, const std::array<double, N>& values) {
    for (size_t k = 0; k < N; ++k)
        sums[k] += values[k];
}

void CountDaysWithRecords(TScheduleCounts& days, const TScheduleCounts& records) {
    for (int k = 0; k < ScheduleCount; ++k)
        if (records[k] > 0)
            ++days[k];
}

double MeanOr1(double sum, int32_t count) {
    return count != 0 ? sum / count : 1;
}

// The working-day and weekend sums of the month as energies or means.
void ConvertPeriodSums(TPeriodAccumulators& p, uint8_t kind) {
    p.PeriodWorkdayTotal = AggregateValue(p.PeriodWorkdayTotal, p.PeriodWorkdayCount, kind);
    p.PeriodWeekendTotal = AggregateValue(p.PeriodWeekendTotal, p.PeriodWeekendCount, kind);
    for (int k = 0; k < ScheduleCount; ++k) {
        p.ShiftWorkdaySums[k] = AggregateValue(p.ShiftWorkdaySums[k], p.ShiftWorkdayCounts[k], kind);
        p.ShiftWeekendSums[k] = AggregateValue(p.ShiftWeekendSums[k], p.ShiftWeekendCounts[k], kind);
        p.TariffWorkdaySums[k] = AggregateValue(p.TariffWorkdaySums[k], p.TariffWorkdayCounts[k], kind);
        p.TariffWeekendSums[k] = AggregateValue(p.TariffWeekendSums[k], p.TariffWeekendCounts[k], kind);
    }
}

// Adds a month's converted working-day and weekend figures to the year's. The
// means of an averaged quantity go back to sums of their records, so that the year
// converts them into means over all its records.
void AddMonthSums(TPeriodAccumulators& year, const TPeriodAccumulators& month, uint8_t kind) {
    const auto add = [kind](double& sum, int32_t& count, double value, int32_t monthCount) {
        sum += kind == AggregatePresentMean ? value * monthCount : value;
        count += monthCount;
    };
    add(year.PeriodWorkdayTotal, year.PeriodWorkdayCount, month.PeriodWorkdayTotal, month.PeriodWorkdayCount);
    add(year.PeriodWeekendTotal, year.PeriodWeekendCount, month.PeriodWeekendTotal, month.PeriodWeekendCount);
    for (int k = 0; k < ScheduleCount; ++k) {
        add(year.ShiftWorkdaySums[k], year.ShiftWorkdayCounts[k], month.ShiftWorkdaySums[k],
            month.ShiftWorkdayCounts[k]);
        add(year.ShiftWeekendSums[k], year.ShiftWeekendCounts[k], month.ShiftWeekendSums[k],
            month.ShiftWeekendCounts[k]);
        add(year.TariffWorkdaySums[k], year.TariffWorkdayCounts[k], month.TariffWorkdaySums[k],
            month.TariffWorkdayCounts[k]);
        add(year.TariffWeekendSums[k], year.TariffWeekendCounts[k], month.TariffWeekendSums[k],
            month.TariffWeekendCounts[k]);
    }
}

// Working days and weekends together: their sum, for an averaged quantity the mean
// over the records of both (the sums must not be converted yet).
double WholeOf(double workdays, int32_t workdayCount, double weekends, int32_t weekendCount, uint8_t kind) {
    if (kind == AggregatePresentMean)
        return AggregateValue(workdays + weekends, workdayCount + weekendCount, kind);
    return workdays + weekends;
}

} // namespace

TPeriodTargets ProgramResults() {
    return {DayResult, PeriodAccumulators, MonthPeriodInfo, MonthResult, YearResult};
}

void TPeriodEvaluator::ComputeMonth(int Day, int Month, int Year, const TVstupyInfo& Channel) {
    ComputeMonth(Day, Month, Year, Channel, days_.Settings().MonthPeriod);
}

void TPeriodEvaluator::ComputeMonth(int Day, int Month, int Year, const TVstupyInfo& Channel,
                                    const TMonthPeriod& Period) {
    TDayResult& day = results_.Day;
    TPeriodAccumulators& period = results_.Period;
    TMonthPeriodInfo& info = results_.MonthInfo;
    TMonthResult& m = results_.Month;
    const int startHour = NormalDayStartHour(Channel.DayStartHour);
    const uint8_t kind = AggregationKindOf(days_.Settings().QuantityTable(), Channel);
    const TDateTime date = EncodeDate(Year, Month, Day);
    const int64_t start = ToSeconds(DayWindowStart(date, startHour));

    info.CustomPeriod = Period.CustomPeriod;
    info.FirstMonthDays = static_cast<uint8_t>(DaysInMonth(Month, Year));
    info.DayRows = Period.CustomPeriod == 0 ? info.FirstMonthDays : Period.DayRows;
    info.DayRows = static_cast<uint8_t>(std::clamp<int>(info.DayRows, 1, MaxPeriodDays));
    int nextMonth, nextYear;
    NextMonth(Month, Year, nextMonth, nextYear);
    info.NextMonthDays = static_cast<uint8_t>(DaysInMonth(nextMonth, nextYear));

    m = TMonthResult{};
    m.PeriodMaximum = NoMaximum;
    m.PeriodMaximum2 = NoMaximum;
    m.PeriodMaximumTime = "00:00";
    m.PeriodMaximum2Text = SecondMaximumStartText;
    m.PeriodMaximumDate = date;
    m.PeriodMaximum2Date = date;
    period.Clear();
    const int rows = info.DayRows;
    std::fill_n(m.DayMaximum2.begin(), rows, NoMaximum);
    int daysWithData = 0;
    // Days with records in each shift and tariff: the divisors of their means.
    TScheduleCounts shiftDays{}, tariffDays{};

    for (int d = 1; d <= rows; ++d) {
        const int i = d - 1;
        const TDateTime from = FromSeconds(start + i * SecondsPerDay);
        const TDateTime to = FromSeconds(start + d * SecondsPerDay);
        const int n = days_.EvaluatePeriod(Channel, startHour, from, to, false, day, period);
        if (n > 0) {
            m.DayHasData[i] = 1;
            ++daysWithData;
            CountDaysWithRecords(shiftDays, day.DayShiftCounts);
            CountDaysWithRecords(tariffDays, day.DayTariffCounts);
        }
        m.DayTotal[i] = day.DayTotal();
        m.DayMaximum[i] = day.DayMaximum();
        m.PeriodTotal += m.DayTotal[i];
        m.DayMaximumTime[i] =
            MinutesToHHMM(static_cast<int>(day.DayHourValues[DayHourIndex::MaximumSecond]) / 60);
        // A day without records has no maximum; its 0 would beat values below it.
        if (n > 0 && m.DayMaximum[i] > m.PeriodMaximum) {
            m.PeriodMaximum = m.DayMaximum[i];
            m.PeriodMaximumTime = m.DayMaximumTime[i];
            m.PeriodMaximumDate = from;
        }
        if (Channel.UnitCode == 0 || Channel.UnitCode == 1) {
            m.DayMaximum2[i] = 0;
            m.DayMaximum2Time[i].clear();
            if (m.DayMaximum2[i] > m.PeriodMaximum2) {
                m.PeriodMaximum2 = m.DayMaximum2[i];
                m.PeriodMaximum2Text = m.DayMaximum2Time[i];
                m.PeriodMaximum2Date = from;
            }
        }
        m.DayShiftSums[i] = day.DayShiftTotals;
        m.DayTariffSums[i] = day.DayTariffTotals;
        AddTo(m.PeriodShiftSums, day.DayShiftTotals);
        AddTo(m.PeriodTariffSums, day.DayTariffTotals);
        AddTo(m.PeriodTariffCosPhiParts, day.DayTariffCosPhiParts);
        m.DayCosPhiValue[i] = day.DayCosPhi;
        m.PeriodCosPhiSum += day.DayCosPhiSum;
        m.PeriodCosPhiCount += day.DayCosPhiCount;
        if (progress_)
            progress_->DayDone();
    }

    if (m.PeriodMaximum == NoMaximum)
        m.PeriodMaximum = 0;
    if (m.PeriodMaximum2 == NoMaximum)
        m.PeriodMaximum2 = 0;
    m.PeriodCosPhi = MeanOr1(m.PeriodCosPhiSum, m.PeriodCosPhiCount);

    if (kind == AggregateQuarterMean || kind == AggregatePresentMean)
        ConvertPeriodSums(period, kind);
    // The mean of the day means, each over the days that have records in it, so
    // that a tariff of working days only is not diluted by the weekends.
    if (kind == AggregatePresentMean) {
        m.PeriodTotal = AggregateValue(m.PeriodTotal, daysWithData, kind);
        for (int k = 0; k < ScheduleCount; ++k) {
            m.PeriodShiftSums[k] = AggregateValue(m.PeriodShiftSums[k], shiftDays[k], kind);
            m.PeriodTariffSums[k] = AggregateValue(m.PeriodTariffSums[k], tariffDays[k], kind);
        }
    }
}

void TPeriodEvaluator::ComputeYear(int Day, int Month, int Year, const TVstupyInfo& Channel, int MonthCount) {
    TYearResult& y = results_.Year;
    const TMonthResult& m = results_.Month;
    const TPeriodAccumulators& p = results_.Period;
    y = TYearResult{};
    y.YearMaximum = NoMaximum;
    const uint8_t kind = AggregationKindOf(days_.Settings().QuantityTable(), Channel);
    TPeriodAccumulators yearSums;
    // Every month of a year is evaluated whole.
    const TMonthPeriod wholeMonth;
    const int months = std::clamp(MonthCount, 1, MaxYearMonths);
    int month = Month, year = Year;
    for (int r = 1; r <= months; ++r) {
        const int i = r - 1;
        ComputeMonth(std::min(Day, DaysInMonth(month, year)), month, year, Channel, wholeMonth);
        y.MonthTotal[i] = m.PeriodTotal;
        y.MonthMaximum[i] = m.PeriodMaximum;
        y.MonthMaximum2[i] = m.PeriodMaximum2;
        y.MonthMaximumTime[i] = m.PeriodMaximumTime;
        y.MonthMaximum2Text[i] = m.PeriodMaximum2Text;
        y.MonthMaximumDate[i] = m.PeriodMaximumDate;
        y.MonthMaximum2Date[i] = m.PeriodMaximum2Date;
        y.MonthShiftSums[i] = m.PeriodShiftSums;
        y.MonthTariffSums[i] = m.PeriodTariffSums;
        y.MonthCosPhi[i] = m.PeriodCosPhi;
        y.MonthExtraValues[i] = m.DayExtraValues[0];
        y.MonthPairValues[0][i] = m.DayPairValues[0][0];
        y.MonthPairValues[1][i] = m.DayPairValues[1][results_.MonthInfo.DayRows - 1];
        const bool hasData = std::find(m.DayHasData.begin(), m.DayHasData.end(), 1) != m.DayHasData.end();
        y.MonthHasData[i] = hasData ? 1 : 0;
        if (hasData && y.MonthMaximum[i] > y.YearMaximum) {
            y.YearMaximum = y.MonthMaximum[i];
            y.YearMaximumTime = y.MonthMaximumTime[i];
            y.YearMaximumDate = y.MonthMaximumDate[i];
        }
        AddMonthSums(yearSums, p, kind);
        y.YearCosPhiSum += m.PeriodCosPhiSum;
        y.YearCosPhiCount += m.PeriodCosPhiCount;
        AddTo(y.YearTariffCosPhiParts, m.PeriodTariffCosPhiParts);
        NextMonth(month, year, month, year);
    }
    if (y.YearMaximum == NoMaximum) {
        // No month had records: the first month's row, as the month keeps its first day.
        y.YearMaximum = 0;
        y.YearMaximumTime = y.MonthMaximumTime[0];
        y.YearMaximumDate = y.MonthMaximumDate[0];
    }
    const TPeriodAccumulators& s = yearSums;
    y.YearTotal = WholeOf(s.PeriodWorkdayTotal, s.PeriodWorkdayCount, s.PeriodWeekendTotal, s.PeriodWeekendCount, kind);
    for (int k = 0; k < ScheduleCount; ++k) {
        y.YearShiftTotals[k] = WholeOf(s.ShiftWorkdaySums[k], s.ShiftWorkdayCounts[k], s.ShiftWeekendSums[k],
                                       s.ShiftWeekendCounts[k], kind);
        y.YearTariffTotals[k] = WholeOf(s.TariffWorkdaySums[k], s.TariffWorkdayCounts[k], s.TariffWeekendSums[k],
                                        s.TariffWeekendCounts[k], kind);
    }
    if (kind == AggregatePresentMean)
        ConvertPeriodSums(yearSums, kind);
    y.YearShiftWorkdaySums = yearSums.ShiftWorkdaySums;
    y.YearShiftWeekendSums = yearSums.ShiftWeekendSums;
    y.YearTariffWorkdaySums = yearSums.TariffWorkdaySums;
    y.YearTariffWeekendSums = yearSums.TariffWeekendSums;
    y.YearWorkdayTotal = yearSums.PeriodWorkdayTotal;
    y.YearWeekendTotal = yearSums.PeriodWeekendTotal;
    y.YearCosPhi = MeanOr1(y.YearCosPhiSum, y.YearCosPhiCount);
}

void ComputeMonth(int Day, int Month, int Year, uint16_t Id, const TEvaluationSettings& settings,
                  TEvaluationProgress* progress) {
    TEvaluationSession session(ProgramDir(), settings);
    TPeriodEvaluator(session.Evaluator(), ProgramResults(), progress).ComputeMonth(Day, Month, Year, ChannelOfId(Id));
}

void ComputeYear(int Day, int Month, int Year, const TVstupyInfo& Channel, int MonthCount,
                 const TEvaluationSettings& settings, TEvaluationProgress* progress) {
    TEvaluationSession session(ProgramDir(), settings);
    TPeriodEvaluator(session.Evaluator(), ProgramResults(), progress)
        .ComputeYear(Day, Month, Year, Channel, MonthCount);
}

} // namespace zeko

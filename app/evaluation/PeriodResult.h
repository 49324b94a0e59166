#pragma once
// The month result (one row per day of a period of up to 35 days) and the year
// result (one row per month of up to 15 months), built from day evaluations by
// app/evaluation/PeriodEvaluation.h and read by the month and year windows. Day rows
// and month rows are numbered from 1 in the tables; here row 1 is at index 0. Main
// thread only.
#include "app/evaluation/DayResult.h"
#include "platform/DateTime.h"

#include <array>
#include <cstdint>
#include <string>

namespace zeko {

constexpr int MaxPeriodDays = 35;
constexpr int MaxYearMonths = 15;

// The period of a month evaluation.
struct TMonthPeriodInfo {
    uint8_t FirstMonthDays = 0;  // days of the month the period starts in
    uint8_t DayRows = 0;         // 1..35
    uint8_t NextMonthDays = 0;   // days of the month after it
    uint8_t CustomPeriod = 0;    // 1: DayRows is not the length of the first month
    bool operator==(const TMonthPeriodInfo&) const = default;
};

template <int N>
using TRowValues = std::array<double, N>;
template <int N>
using TRowScheduleValues = std::array<TScheduleValues, N>;
template <int N>
using TRowTexts = std::array<std::string, N>;

struct TMonthResult {
    TRowValues<MaxPeriodDays> DayTotal{};
    TRowValues<MaxPeriodDays> DayMaximum{};        // the day's largest quarter value
    TRowTexts<MaxPeriodDays> DayMaximumTime{};     // "hh:mm"
    // A second day value nothing computes yet: 0 for quantity codes 0 and 1,
    // NoMaximum for the others, with an empty text.
    TRowValues<MaxPeriodDays> DayMaximum2{};
    TRowTexts<MaxPeriodDays> DayMaximum2Time{};
    TRowScheduleValues<MaxPeriodDays> DayShiftSums{};
    TRowScheduleValues<MaxPeriodDays> DayTariffSums{};
    double PeriodMaximum = 0;
    double PeriodMaximum2 = 0;
    std::string PeriodMaximumTime;
    std::string PeriodMaximum2Text;
    TScheduleValues PeriodShiftSums{};
    TScheduleValues PeriodTariffSums{};
    double PeriodTotal = 0;
    TDateTime PeriodMaximumDate = 0;   // the start (H:07:31) of the maximum's day
    TDateTime PeriodMaximum2Date = 0;
    std::array<uint8_t, MaxPeriodDays> DayHasData{};
    // Values nothing computes yet (0): two per day, and three per day.
    std::array<TRowValues<MaxPeriodDays>, 2> DayPairValues{};
    TRowScheduleValues<MaxPeriodDays> DayExtraValues{};
    TScheduleValues PeriodExtraValues{};
    TRowValues<MaxPeriodDays> DayCosPhiValue{};
    double PeriodCosPhi = 1;
    double PeriodCosPhiSum = 0;
    int32_t PeriodCosPhiCount = 0;
    std::array<double, 2 * ScheduleCount> PeriodTariffCosPhiParts{};

    bool operator==(const TMonthResult&) const = default;
};

struct TYearResult {
    TRowValues<MaxYearMonths> MonthTotal{};
    TRowValues<MaxYearMonths> MonthMaximum{};
    TRowValues<MaxYearMonths> MonthMaximum2{};
    TRowTexts<MaxYearMonths> MonthMaximumTime{};
    TRowTexts<MaxYearMonths> MonthMaximum2Text{};
    std::array<TDateTime, MaxYearMonths> MonthMaximumDate{};
    std::array<TDateTime, MaxYearMonths> MonthMaximum2Date{};
    TRowScheduleValues<MaxYearMonths> MonthShiftSums{};
    TRowScheduleValues<MaxYearMonths> MonthTariffSums{};
    TScheduleValues YearShiftWorkdaySums{};
    TScheduleValues YearShiftWeekendSums{};
    TScheduleValues YearTariffWorkdaySums{};
    TScheduleValues YearTariffWeekendSums{};
    double YearWorkdayTotal = 0;
    double YearWeekendTotal = 0;
    // The whole year per shift, per tariff and overall: working days plus weekends;
    // for an averaged quantity the mean over all the year's records instead.
    TScheduleValues YearShiftTotals{};
    TScheduleValues YearTariffTotals{};
    double YearTotal = 0;
    double YearMaximum = 0;
    std::string YearMaximumTime;
    TDateTime YearMaximumDate = 0;
    std::array<uint8_t, MaxYearMonths> MonthHasData{};
    // Not computed yet (0): the first pair value of day 1 and the second of the
    // last day, and the three extra values of day 1.
    std::array<TRowValues<MaxYearMonths>, 2> MonthPairValues{};
    TRowScheduleValues<MaxYearMonths> MonthExtraValues{};
    TRowValues<MaxYearMonths> MonthCosPhi{};
    double YearCosPhi = 1;
    double YearCosPhiSum = 0;
    int32_t YearCosPhiCount = 0;
    std::array<double, 2 * ScheduleCount> YearTariffCosPhiParts{};

    bool operator==(const TYearResult&) const = default;
};

// The program-wide results the month and year windows read.
extern TMonthPeriodInfo MonthPeriodInfo;
extern TMonthResult MonthResult;
// The month rows of a year table unless the user chooses another count.
constexpr int DefaultYearMonthCount = 12;
extern uint8_t YearMonthCount;    // month rows, 1..15; 12 unless the user chose another
extern uint8_t YearCustomPeriod;  // 1 when YearMonthCount is not 12
extern TYearResult YearResult;

} // namespace zeko

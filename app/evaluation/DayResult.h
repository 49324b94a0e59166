#pragma once
// The day result: one channel's records of one day evaluated into quarter-hour
// values, hour rows, the day's total, maximum and minimum, sums and maxima per shift
// and per tariff and, for the regulator's own measurement, cos phi per hour. The
// day window reads it right after an evaluation; a month evaluation builds on it one
// day at a time. Alongside it, the period accumulators collect the working-day and
// weekend sums of one month evaluation.
//
// Rows, slots, shifts and tariffs are numbered from 1 in the tables; here every
// array starts with row (slot, shift, tariff) 1 at index 0. Main thread only.
#include <array>
#include <cstdint>

namespace zeko {

constexpr int DayRowCount = 24;
constexpr int QuarterSlotCount = 4;
constexpr int ScheduleCount = 3;   // shifts, and tariffs, per day
constexpr int PowerSeriesCount = 3;  // active, reactive consumed, reactive supplied

// Start values of the search for the largest and the smallest value.
constexpr double NoMaximum = -1e10;
constexpr double NoMinimum = 1e10;

// Places in DayHourValues after the 24 hour values (0-based).
namespace DayHourIndex {
constexpr int Total = 24;
constexpr int Maximum = 25;
constexpr int MaximumSecond = 26;  // seconds of the day, as a double
constexpr int Minimum = 27;
constexpr int MinimumSecond = 28;
constexpr int Count = 29;
} // namespace DayHourIndex

// Place of the row's record count in DayQuarterCounts, after the four slots.
constexpr int RowCountIndex = 4;

using TScheduleValues = std::array<double, ScheduleCount>;
using TScheduleCounts = std::array<int32_t, ScheduleCount>;

// The largest quarter value per shift (or tariff) and its minute of the day
// (hour × 60 + minute of the record).
struct TScheduleMaxima {
    TScheduleValues Values{};
    std::array<uint16_t, ScheduleCount> Minutes{};
    bool operator==(const TScheduleMaxima&) const = default;
};

struct TDayResult {
    // [row][slot]: the quarter's value; of several records the largest.
    std::array<std::array<double, QuarterSlotCount>, DayRowCount> DayQuarterValues{};
    // [row][slot]: records in the quarter; [row][RowCountIndex]: records in the row.
    std::array<std::array<int32_t, QuarterSlotCount + 1>, DayRowCount> DayQuarterCounts{};
    // [row]: the values of further records of a quarter not taken as its value.
    std::array<double, DayRowCount> DayHourExtra{};
    // The 24 hour values, then the places of DayHourIndex.
    std::array<double, DayHourIndex::Count> DayHourValues{};
    // [row][slot][series]: sums of the regulator's own inputs (active, reactive
    // consumed, reactive supplied) in the quarter.
    std::array<std::array<std::array<double, PowerSeriesCount>, QuarterSlotCount>, DayRowCount>
        DayQuarterPowers{};
    std::array<double, DayRowCount> DayHourCosPhi{};  // 1 where not computed
    double DayCosPhi = 1;       // mean of the computed hour values, 1 when none
    double DayCosPhiSum = 0;
    int32_t DayCosPhiCount = 0;
    TScheduleValues DayShiftTotals{};
    TScheduleValues DayTariffTotals{};
    TScheduleCounts DayShiftCounts{};
    TScheduleCounts DayTariffCounts{};
    TScheduleMaxima DayShiftMaxima{};
    TScheduleMaxima DayTariffMaxima{};
    double DayMax = NoMaximum;
    double DayMin = NoMinimum;
    int32_t DayMaxSecond = 0;  // hour × 3600 + minute × 60 + second of the record
    int32_t DayMinSecond = 0;
    // Per tariff k a numerator [k] and a denominator [k + 3] of a tariff cos phi,
    // for the regulator's own measurement: the sum of the cos phi of the tariff's
    // quarters with records, each from the quarter's powers, and their number. The
    // month and year results add them up; a tariff without quarters has none.
    std::array<double, 2 * ScheduleCount> DayTariffCosPhiParts{};
    // Records of the day (all rows); the mean of an averaged quantity divides by it.
    int32_t DayRecordCount = 0;

    // The state every evaluation starts from.
    void Reset();

    double DayTotal() const { return DayHourValues[DayHourIndex::Total]; }
    double DayMaximum() const { return DayHourValues[DayHourIndex::Maximum]; }
    int32_t RowRecords(int row) const { return DayQuarterCounts[row - 1][RowCountIndex]; }

    bool operator==(const TDayResult&) const = default;
};

// Working-day and weekend sums kept across the days of one month evaluation: the
// day evaluation only adds, the month evaluation clears and converts them.
struct TPeriodAccumulators {
    double PeriodWorkdayTotal = 0;
    double PeriodWeekendTotal = 0;
    int32_t PeriodWorkdayCount = 0;
    int32_t PeriodWeekendCount = 0;
    TScheduleValues ShiftWorkdaySums{};
    TScheduleValues ShiftWeekendSums{};
    TScheduleValues TariffWorkdaySums{};
    TScheduleValues TariffWeekendSums{};
    TScheduleCounts ShiftWorkdayCounts{};
    TScheduleCounts ShiftWeekendCounts{};
    TScheduleCounts TariffWorkdayCounts{};
    TScheduleCounts TariffWeekendCounts{};

    void Clear() { *this = TPeriodAccumulators{}; }
    bool operator==(const TPeriodAccumulators&) const = default;
};

// The program-wide results the day and month windows read.
extern TDayResult DayResult;
extern TPeriodAccumulators PeriodAccumulators;

} // namespace zeko

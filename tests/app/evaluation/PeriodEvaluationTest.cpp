#include "EvaluationFixture.h"

#include "core/Calendar.h"

using namespace zeko;
using namespace zeko::test;

class MonthEvaluation : public EvaluationTest {
protected:
    // One record at 12:00 on each day from 1 April 2024 to 6 May 2024 but 10 April,
    // worth its day's index (day total = index); on 20 April a maximum of 400 at
    // 13:52:30 besides.
    void AddAprilToMay() {
        TDateTime date = EncodeDate(2024, 4, 1);
        for (int index = 1; index <= 36; ++index, date += 1) {
            const DateParts d = DecodeDate(date);
            if (d.Month == 4 && d.Day == 10)
                continue;
            Add(24, d.Month, d.Day, 12, 0, 0, static_cast<uint16_t>(4 * index));
        }
        Add(24, 4, 20, 13, 52, 30, 400);
        Save();
    }
};

TEST_F(MonthEvaluation, ThirtyFiveDaysFromAMonthOfThirtyRunIntoTheNextMonth) {
    AddAprilToMay();
    ComputeMonth(EncodeDate(2024, 4, 1), MakeChannel(1, 0, 6), 35);
    EXPECT_EQ(own_.MonthInfo, (TMonthPeriodInfo{30, 35, 31, 1}));
    const TMonthResult& m = own_.Month;
    for (int row = 1; row <= 35; ++row) {
        SCOPED_TRACE(row);
        const bool data = row != 10;
        EXPECT_EQ(m.DayHasData[row - 1], data ? 1 : 0);
        EXPECT_EQ(m.DayTotal[row - 1], !data ? 0 : row == 20 ? 120 : row);
        EXPECT_EQ(m.DayMaximumTime[row - 1], !data ? "00:00" : row == 20 ? "13:52" : "12:00");
        EXPECT_EQ(m.DayMaximum2[row - 1], 0);
        EXPECT_EQ(m.DayCosPhiValue[row - 1], 1);
    }
    EXPECT_EQ(m.DayMaximum[19], 400);
    EXPECT_EQ(m.PeriodTotal, 630 - 10 + 100);
    EXPECT_EQ(m.PeriodMaximum, 400);
    EXPECT_EQ(m.PeriodMaximumTime, "13:52");
    EXPECT_EQ(m.PeriodMaximumDate, At(2024, 4, 20, 6, 7, 31));
    EXPECT_EQ(m.PeriodMaximum2, 0);
    EXPECT_EQ(m.PeriodMaximum2Text, "");
    EXPECT_EQ(m.PeriodMaximum2Date, At(2024, 4, 1, 6, 7, 31));
    EXPECT_EQ(m.PeriodCosPhi, 1);
    // The default shifts hold 12:00 and 13:52 in shift 1.
    EXPECT_EQ(m.PeriodShiftSums[0], m.PeriodTotal);
    EXPECT_EQ(m.DayShiftSums[19][0], 120);
}

TEST_F(MonthEvaluation, WholeMonthUnlessTheCustomPeriodIsSet) {
    AddAprilToMay();
    ComputeMonth(EncodeDate(2024, 4, 1), MakeChannel(1));
    EXPECT_EQ(own_.MonthInfo, (TMonthPeriodInfo{30, 30, 31, 0}));
    EXPECT_EQ(own_.Month.PeriodTotal, 465 - 10 + 100);
    EXPECT_EQ(own_.Month.DayTotal[30], 0);
    EXPECT_EQ(own_.Month.DayHasData[30], 0);
}

TEST_F(MonthEvaluation, PeriodWithoutRecords) {
    ComputeMonth(EncodeDate(2024, 4, 1), MakeChannel(1, 2));
    const TMonthResult& m = own_.Month;
    EXPECT_EQ(m.PeriodMaximum, 0);
    EXPECT_EQ(m.PeriodMaximumTime, "00:00");
    EXPECT_EQ(m.PeriodCosPhi, 1);
    EXPECT_EQ(m.PeriodCosPhiCount, 0);
    EXPECT_EQ(m.PeriodTotal, 0);
    EXPECT_EQ(m.PeriodMaximum2, 0);
    EXPECT_EQ(m.PeriodMaximum2Text, "00 - 01");
    EXPECT_EQ(m.DayMaximum2[29], NoMaximum);  // not computed for a °C channel
    EXPECT_EQ(m.DayMaximum2[30], 0);           // beyond the period
    EXPECT_EQ(m.DayHasData, (std::array<uint8_t, MaxPeriodDays>{}));
}

// 1 April 2024 is Easter Monday, a weekend day for the sums.
TEST_F(MonthEvaluation, AveragedQuantityGivesMeansOfDaysAndOfRecords) {
    Add(24, 4, 1, 10, 0, 0, 20);
    Add(24, 4, 1, 11, 0, 0, 22);
    Add(24, 4, 3, 12, 0, 0, 30);
    Save();
    ComputeMonth(EncodeDate(2024, 4, 1), MakeChannel(2, 2));
    const TMonthResult& m = own_.Month;
    EXPECT_EQ(m.DayTotal[0], 21);
    EXPECT_EQ(m.DayTotal[2], 30);
    EXPECT_EQ(m.PeriodTotal, 25.5);
    EXPECT_EQ(m.PeriodShiftSums[0], 25.5);
    EXPECT_EQ(own_.Period.PeriodWeekendTotal, 21);
    EXPECT_EQ(own_.Period.PeriodWorkdayTotal, 30);
    EXPECT_EQ(own_.Period.ShiftWeekendSums[0], 21);
    EXPECT_EQ(own_.Period.ShiftWorkdaySums[0], 30);
}

TEST_F(MonthEvaluation, EnergySumsAreConvertedAndADayStartRecordCountsOnce) {
    Add(24, 3, 2, 0, 7, 31, 100);  // the first second of Saturday 2 March
    Add(24, 3, 8, 12, 0, 0, 40);   // Friday
    Add(24, 3, 9, 12, 0, 0, 80);   // Saturday
    Save();
    ComputeMonth(EncodeDate(2024, 3, 1), MakeChannel(1));
    EXPECT_EQ(own_.Month.DayTotal[0], 0);
    EXPECT_EQ(own_.Month.DayTotal[1], 25);
    EXPECT_EQ(own_.Month.PeriodTotal, 55);
    EXPECT_EQ(own_.Period.PeriodWorkdayTotal, 10);
    EXPECT_EQ(own_.Period.PeriodWeekendTotal, 45);
    EXPECT_EQ(own_.Period.PeriodWorkdayCount, 1);
    EXPECT_EQ(own_.Period.PeriodWeekendCount, 2);
    EXPECT_EQ(own_.Period.ShiftWorkdaySums, (TScheduleValues{10, 0, 0}));
    EXPECT_EQ(own_.Period.ShiftWeekendSums, (TScheduleValues{20, 0, 25}));
}

class YearEvaluation : public EvaluationTest {};

// Tariff 1 all day on the regulator's own measurement: quarters of cos phi 0.8 and
// 1 on 5 March, 0.6 on 6 March and 0.8 on 3 April. The month and the year add the
// parts of their days, so each tariff's cos phi is the mean over its quarters.
TEST_F(YearEvaluation, TariffCosPhiPartsAddUpOverDaysAndMonths) {
    TTariffTable tariffs;
    for (int dayType : {0, 1})
        SetZone(tariffs, dayType, 1, 1, 0, 0);
    AddTariffs(At(2024, 1, 1), tariffs);
    Add(24, 3, 5, 10, 15, 0, {400, 300, 0, 0});
    Add(24, 3, 5, 11, 15, 0, {400, 0, 0, 0});
    Add(24, 3, 6, 10, 15, 0, {300, 400, 0, 0});
    Add(24, 4, 3, 10, 15, 0, {400, 300, 0, 0});
    Save();
    ComputeMonth(EncodeDate(2024, 3, 1), MakeChannel(0));
    EXPECT_DOUBLE_EQ(own_.Month.PeriodTariffCosPhiParts[0], 2.4);
    EXPECT_EQ(own_.Month.PeriodTariffCosPhiParts[3], 3);

    ComputeYear(3, 2024, MakeChannel(0), 2);
    const auto& parts = own_.Year.YearTariffCosPhiParts;
    EXPECT_DOUBLE_EQ(parts[0], 3.2);
    EXPECT_EQ(parts[3], 4);
    EXPECT_EQ((std::array<double, 4>{parts[1], parts[2], parts[4], parts[5]}), (std::array<double, 4>{}));
    EXPECT_DOUBLE_EQ(own_.Month.PeriodTariffCosPhiParts[0], 0.8);  // April stays in the month result
    EXPECT_EQ(own_.Month.PeriodTariffCosPhiParts[3], 1);
}

// One record on the 15th of each month from November 2023 to December 2024 but
// February, active k × 4 and reactive k × 3 (cos phi 0.8) in month k; June holds a
// maximum besides.
TEST_F(YearEvaluation, ThirteenMonthsFromNovember) {
    int k = 1, month = 11, year = 2023;
    for (; k <= 14; ++k, NextMonth(month, year, month, year))
        if (month != 2)
            Add(year, month, 15, 12, 0, 0, {static_cast<uint16_t>(4 * k), static_cast<uint16_t>(3 * k), 0, 0});
    Add(24, 6, 15, 13, 52, 30, {4000, 3000, 0, 0});
    Save();
    ComputeYear(11, 2023, MakeChannel(0), 13);
    const TYearResult& y = own_.Year;
    for (int row = 1; row <= 13; ++row) {
        SCOPED_TRACE(row);
        const bool data = row != 4;
        EXPECT_EQ(y.MonthHasData[row - 1], data ? 1 : 0);
        EXPECT_EQ(y.MonthTotal[row - 1], !data ? 0 : row == 8 ? 1008 : row);
        EXPECT_DOUBLE_EQ(y.MonthCosPhi[row - 1], data ? 0.8 : 1);
    }
    EXPECT_EQ(y.MonthTotal[13], 0);
    EXPECT_EQ(y.MonthHasData[13], 0);
    EXPECT_EQ(y.MonthMaximumDate[0], At(2023, 11, 15, 0, 7, 31));
    EXPECT_EQ(y.YearMaximum, 4000);
    EXPECT_EQ(y.YearMaximumTime, "13:52");
    EXPECT_EQ(y.YearMaximumDate, At(2024, 6, 15, 0, 7, 31));
    EXPECT_EQ(y.YearWorkdayTotal + y.YearWeekendTotal, 91 - 4 + 1000);
    EXPECT_EQ(y.YearShiftWorkdaySums[0] + y.YearShiftWeekendSums[0], 1087);
    EXPECT_EQ(y.YearTotal, y.YearWorkdayTotal + y.YearWeekendTotal);
    EXPECT_EQ(y.YearShiftTotals[0], y.YearShiftWorkdaySums[0] + y.YearShiftWeekendSums[0]);
    EXPECT_EQ(y.YearCosPhiCount, 13);
    EXPECT_DOUBLE_EQ(y.YearCosPhi, 0.8);
    // The last month evaluated stays in the month result and the accumulators.
    EXPECT_EQ(own_.Month.PeriodTotal, 13);
    EXPECT_EQ(own_.MonthInfo.DayRows, 30);
}

TEST_F(YearEvaluation, MonthsAreEvaluatedWholeFromTheirFirstDay) {
    Add(24, 1, 1, 12, 0, 0, 40);
    Add(24, 1, 31, 12, 0, 0, 80);
    Add(24, 2, 1, 12, 0, 0, 120);
    Save();
    own_.MonthInfo = {31, 5, 29, 1};
    ComputeYear(1, 2024, MakeChannel(1), 2);
    EXPECT_EQ(own_.Year.MonthTotal[0], 30);
    EXPECT_EQ(own_.Year.MonthTotal[1], 30);
    EXPECT_EQ(own_.MonthInfo, (TMonthPeriodInfo{29, 29, 31, 0}));
}

// Records begin on the 3rd and the channel has nothing to measure: the maximum of
// 0 belongs to the first day that has records, not to a day without any.
TEST_F(MonthEvaluation, PeriodMaximumComesFromADayWithRecords) {
    Add(24, 4, 3, 12, 0, 0, 0);
    Add(24, 4, 4, 9, 0, 0, 0);
    Save();
    ComputeMonth(EncodeDate(2024, 4, 1), MakeChannel(2, 1, 6));
    EXPECT_EQ(own_.Month.PeriodMaximum, 0);
    EXPECT_EQ(own_.Month.PeriodMaximumTime, "12:00");
    EXPECT_EQ(own_.Month.PeriodMaximumDate, At(2024, 4, 3, 6, 7, 31));
}

// A mean of a shift or a tariff over the days on which it has records: tariff 1
// holds working days only and tariff 2 weekends, so neither is diluted by the
// days of the other.
TEST_F(MonthEvaluation, AveragedShiftAndTariffMeansCountTheirOwnDays) {
    TTariffTable tariffs;
    SetZone(tariffs, 0, 1, 1, 0, 0);
    SetZone(tariffs, 1, 2, 1, 0, 0);
    AddTariffs(At(2024, 1, 1), tariffs);
    Add(24, 3, 8, 12, 0, 0, 20);  // Friday
    Add(24, 3, 9, 12, 0, 0, 22);  // Saturday
    Add(24, 3, 11, 12, 0, 0, 24);  // Monday
    Save();
    ComputeMonth(EncodeDate(2024, 3, 1), MakeChannel(2, 2));
    const TMonthResult& m = own_.Month;
    EXPECT_DOUBLE_EQ(m.PeriodTotal, 22);
    EXPECT_DOUBLE_EQ(m.PeriodShiftSums[0], 22);
    EXPECT_EQ(m.PeriodShiftSums[1], 0);
    EXPECT_DOUBLE_EQ(m.PeriodTariffSums[0], 22);
    EXPECT_DOUBLE_EQ(m.PeriodTariffSums[1], 22);
    EXPECT_EQ(m.PeriodTariffSums[2], 0);
    EXPECT_DOUBLE_EQ(own_.Period.TariffWorkdaySums[0], 22);
    EXPECT_DOUBLE_EQ(own_.Period.TariffWeekendSums[1], 22);
}

// February of a leap year has 29 rows, and its last day runs to 1 March 06:07:30
// for a day that starts at 6; February 2023 has 28.
TEST_F(MonthEvaluation, LeapFebruaryEndsInTheMarchFile) {
    Add(24, 2, 29, 12, 0, 0, 40);
    Add(24, 3, 1, 6, 7, 30, 80);
    Add(24, 3, 1, 6, 7, 31, 400);
    Save();
    ComputeMonth(EncodeDate(2024, 2, 1), MakeChannel(1, 0, 6));
    EXPECT_EQ(own_.MonthInfo, (TMonthPeriodInfo{29, 29, 31, 0}));
    EXPECT_EQ(own_.Month.DayTotal[28], 30);
    EXPECT_EQ(own_.Month.DayMaximum[28], 80);
    EXPECT_EQ(own_.Month.DayMaximumTime[28], "06:07");
    EXPECT_EQ(own_.Month.PeriodTotal, 30);
    ComputeMonth(EncodeDate(2023, 2, 1), MakeChannel(1, 0, 6));
    EXPECT_EQ(own_.MonthInfo, (TMonthPeriodInfo{28, 28, 31, 0}));
}

// The months without records come first; the year's maximum of 0 is March's.
TEST_F(YearEvaluation, YearMaximumComesFromAMonthWithRecords) {
    Add(24, 3, 5, 12, 0, 0, 0);
    Save();
    ComputeYear(1, 2024, MakeChannel(2, 1), 4);
    EXPECT_EQ(own_.Year.YearMaximum, 0);
    EXPECT_EQ(own_.Year.YearMaximumTime, "12:00");
    EXPECT_EQ(own_.Year.YearMaximumDate, At(2024, 3, 5, 0, 7, 31));
    ComputeYear(5, 2024, MakeChannel(2, 1), 2);
    EXPECT_EQ(own_.Year.YearMaximum, 0);
    EXPECT_EQ(own_.Year.YearMaximumTime, "00:00");
    EXPECT_EQ(own_.Year.YearMaximumDate, own_.Year.MonthMaximumDate[0]);
}

// The year's working-day and weekend figures of an averaged quantity are means over
// the records of the months, not sums of the months' means.
TEST_F(YearEvaluation, AveragedQuantityGivesMeansOverTheYear) {
    Add(24, 1, 10, 12, 0, 0, 20);  // Wednesdays
    Add(24, 1, 17, 12, 0, 0, 22);
    Add(24, 2, 7, 12, 0, 0, 30);
    Add(24, 2, 10, 12, 0, 0, 18);  // Saturday
    Save();
    ComputeYear(1, 2024, MakeChannel(2, 2), 3);
    const TYearResult& y = own_.Year;
    EXPECT_DOUBLE_EQ(y.MonthTotal[0], 21);
    EXPECT_DOUBLE_EQ(y.MonthTotal[1], 24);
    EXPECT_DOUBLE_EQ(y.YearWorkdayTotal, 24);
    EXPECT_DOUBLE_EQ(y.YearWeekendTotal, 18);
    EXPECT_DOUBLE_EQ(y.YearShiftWorkdaySums[0], 24);
    EXPECT_DOUBLE_EQ(y.YearShiftWeekendSums[0], 18);
    EXPECT_EQ(y.YearShiftWorkdaySums[1], 0);
    // The whole year: the mean of all four records, not 24 + 18.
    EXPECT_DOUBLE_EQ(y.YearTotal, 22.5);
    EXPECT_DOUBLE_EQ(y.YearShiftTotals[0], 22.5);
    EXPECT_EQ(y.YearShiftTotals[1], 0);
}

#include "EvaluationFixture.h"

#include "app/evaluation/DayTimeGrid.h"
#include "core/QuarterHours.h"
#include "platform/Notifier.h"

#include <cmath>

using namespace zeko;
using namespace zeko::test;

TEST(DayTimeGrid, RowsAndSlotsOfRecordTimes) {
    struct Case {
        int startHour, h, m, s, row, slot;
    } cases[] = {
        {0, 0, 7, 31, 1, 1},   {0, 0, 7, 30, 24, 4},  {0, 23, 59, 59, 24, 4}, {0, 13, 52, 30, 14, 3},
        {0, 13, 52, 31, 14, 4}, {0, 14, 7, 30, 14, 4}, {6, 6, 15, 0, 1, 1},    {6, 7, 7, 31, 2, 1},
        {6, 6, 5, 0, 24, 4},   {6, 0, 7, 30, 18, 4},  {6, 0, 7, 31, 19, 1},  {22, 23, 0, 0, 1, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.startHour << " " << c.h << ":" << c.m << ":" << c.s);
        EXPECT_EQ(DayRowOf(c.h, c.m, c.s, c.startHour), c.row);
        EXPECT_EQ(QuarterHourSlot(c.m, c.s), c.slot);
    }
}

// Every second of a day window lies in the row and slot counted from the window's
// start, whatever hour the day starts at.
TEST(DayTimeGrid, EverySecondOfTheDayFallsIntoItsHourAndQuarter) {
    for (int startHour = 0; startHour < 24; ++startHour) {
        SCOPED_TRACE(startHour);
        const int64_t start = ToSeconds(DayWindowStart(EncodeDate(2024, 3, 5), startHour));
        int wrong = 0;
        for (int64_t offset = 0; offset < 86400; ++offset) {
            const TimeParts t = DecodeTime(FromSeconds(start + offset));
            const int row = static_cast<int>(offset / 3600) + 1;
            const int slot = static_cast<int>(offset % 3600 / 900) + 1;
            if (DayRowOf(t.Hour, t.Minute, t.Second, startHour) != row ||
                QuarterHourSlot(t.Minute, t.Second) != slot)
                ++wrong;
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(DayTimeGrid, DayStartHourIsReducedIntoTheDay) {
    EXPECT_EQ(NormalDayStartHour(6), 6);
    EXPECT_EQ(NormalDayStartHour(30), 6);
    EXPECT_EQ(NormalDayStartHour(-18), 6);
    EXPECT_EQ(NormalDayStartHour(24), 0);
    EXPECT_EQ(NormalDayStartHour(-24), 0);
    EXPECT_EQ(DayWindowStart(EncodeDate(2024, 3, 5), 6), At(2024, 3, 5, 6, 7, 31));
    EXPECT_EQ(DayWindowStart(EncodeDate(2024, 3, 5) + 0.7, 30), At(2024, 3, 5, 6, 7, 31));
    EXPECT_EQ(DayWindowStart(EncodeDate(2024, 12, 31), 0), At(2024, 12, 31, 0, 7, 31));
}

class DayEvaluation : public EvaluationTest {};

// Records around the day starts 00:07:31 and 06:07:31 of 5 and 6 March 2024.
TEST_F(DayEvaluation, QuarterSlotsAndHourRowsForDayStartsZeroAndSix) {
    Add(24, 3, 5, 0, 7, 30, 1);
    Add(24, 3, 5, 0, 7, 31, 2);
    Add(24, 3, 5, 6, 15, 0, 3);
    Add(24, 3, 5, 7, 7, 31, 4);
    Add(24, 3, 5, 23, 50, 0, 5);
    Add(24, 3, 6, 0, 7, 30, 6);
    Add(24, 3, 6, 0, 7, 31, 7);
    Add(24, 3, 6, 6, 5, 0, 8);
    Add(24, 3, 6, 6, 7, 31, 9);
    Save();
    struct Expected {
        int row, slot;
        double value;
    };
    const auto check = [&](int startHour, TDateTime date, std::vector<Expected> expected) {
        SCOPED_TRACE(startHour);
        ASSERT_EQ(EvaluateDay(MakeChannel(0, 0, startHour), DayWindowStart(date, startHour)),
                  static_cast<int>(expected.size()));
        for (const Expected& e : expected) {
            SCOPED_TRACE(testing::Message() << "row " << e.row << " slot " << e.slot);
            EXPECT_EQ(QuarterCount(e.row, e.slot), 1);
            EXPECT_EQ(Quarter(e.row, e.slot), e.value);
        }
        int all = 0;
        for (int r = 1; r <= DayRowCount; ++r)
            all += Day().RowRecords(r);
        EXPECT_EQ(all, static_cast<int>(expected.size()));
    };
    const TDateTime march5 = EncodeDate(2024, 3, 5), march6 = EncodeDate(2024, 3, 6);
    check(0, march5, {{1, 1, 2}, {7, 1, 3}, {8, 1, 4}, {24, 3, 5}, {24, 4, 6}});
    check(0, march6, {{1, 1, 7}, {6, 4, 8}, {7, 1, 9}});
    check(6, march5, {{1, 1, 3}, {2, 1, 4}, {18, 3, 5}, {18, 4, 6}, {19, 1, 7}, {24, 4, 8}});
    check(6, march6, {{1, 1, 9}});
}

TEST_F(DayEvaluation, RecordAtTheStartOfTheNextDayBelongsToThatDayOnly) {
    Add(24, 3, 5, 12, 0, 0, 100);
    Add(24, 3, 6, 0, 7, 31, 40);
    Save();
    ASSERT_EQ(EvaluateDay(MakeChannel(0), At(2024, 3, 5, 0, 7, 31)), 1);
    EXPECT_EQ(Day().DayTotal(), 25);
    EXPECT_EQ(Day().RowRecords(24), 0);
    ASSERT_EQ(EvaluateDay(MakeChannel(0), At(2024, 3, 6, 0, 7, 31)), 1);
    EXPECT_EQ(Day().DayTotal(), 10);
    EXPECT_EQ(Quarter(1, 1), 40);
}

TEST_F(DayEvaluation, LargerLaterRecordReplacesTheQuarterValue) {
    Add(24, 3, 5, 10, 10, 0, 10);
    Add(24, 3, 5, 10, 15, 0, 14);
    Add(24, 3, 5, 11, 10, 0, 14);
    Add(24, 3, 5, 11, 15, 0, 10);
    Save();
    ASSERT_EQ(EvaluateDay(MakeChannel(0), At(2024, 3, 5, 0, 7, 31)), 4);
    for (int row : {11, 12}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(Quarter(row, 1), 14);
        EXPECT_EQ(Day().DayHourExtra[row - 1], 10);
        EXPECT_EQ(QuarterCount(row, 1), 2);
        EXPECT_EQ(Day().RowRecords(row), 2);
        EXPECT_EQ(HourValue(row), 6);  // (14 + 10) ÷ 4
    }
    EXPECT_EQ(Day().DayTotal(), 12);
}

TEST_F(DayEvaluation, MaximumAndMinimumWithTheirTimesFirstRecordKeepsThePlace) {
    Add(24, 3, 5, 8, 0, 0, 5);
    Add(24, 3, 5, 9, 0, 0, 5);
    Add(24, 3, 5, 13, 52, 30, 50);
    Add(24, 3, 5, 14, 0, 0, 50);
    Add(24, 3, 5, 15, 0, 0, 20);
    Save();
    ASSERT_EQ(EvaluateDay(MakeChannel(0), At(2024, 3, 5, 0, 7, 31)), 5);
    EXPECT_EQ(Day().DayMax, 50);
    EXPECT_EQ(Day().DayMaxSecond, 49950);
    EXPECT_EQ(Day().DayMin, 5);
    EXPECT_EQ(Day().DayMinSecond, 8 * 3600);
    EXPECT_EQ(Day().DayHourValues[DayHourIndex::Maximum], 50);
    EXPECT_EQ(Day().DayHourValues[DayHourIndex::MaximumSecond], 49950);
    EXPECT_EQ(Day().DayHourValues[DayHourIndex::Minimum], 5);
    EXPECT_EQ(Day().DayHourValues[DayHourIndex::MinimumSecond], 28800);
}

// Row 11 holds four quarters, row 12 one record; every record lies in shift 1.
// The smaller of two records in a quarter is not the quarter's value, so it is not
// the day's minimum either: the minimum is a value the day table shows.
TEST_F(DayEvaluation, MinimumIsTheSmallestQuarterValue) {
    Add(24, 3, 5, 10, 10, 0, 2);
    Add(24, 3, 5, 10, 15, 0, 12);
    Add(24, 3, 5, 11, 10, 0, 12);
    Add(24, 3, 5, 11, 15, 0, 3);
    Add(24, 3, 5, 12, 0, 0, 8);
    Add(24, 3, 5, 13, 0, 0, 8);
    Save();
    ASSERT_EQ(EvaluateDay(MakeChannel(1), At(2024, 3, 5, 0, 7, 31)), 6);
    EXPECT_EQ(Day().DayMin, 8);
    EXPECT_EQ(Day().DayMinSecond, 12 * 3600);
    EXPECT_EQ(Day().DayHourValues[DayHourIndex::Minimum], 8);
    EXPECT_EQ(Day().DayHourValues[DayHourIndex::MinimumSecond], 12 * 3600);
    EXPECT_EQ(Day().DayMax, 12);
    EXPECT_EQ(Day().DayMaxSecond, 10 * 3600 + 15 * 60);
}

TEST_F(DayEvaluation, FourQuantityKindsMakeHourValuesAndTotals) {
    AddShifts(At(2024, 1, 1), Shifts({360, 840}));
    Add(24, 3, 5, 10, 10, 0, 20);
    Add(24, 3, 5, 10, 25, 0, 21);
    Add(24, 3, 5, 10, 40, 0, 22);
    Add(24, 3, 5, 10, 55, 0, 23);
    Add(24, 3, 5, 11, 10, 0, 30);
    Save();
    struct Case {
        uint8_t code;  // kWh, °C, m3, V
        double row11, row12, total;
    } cases[] = {{0, 21.5, 7.5, 29}, {2, 21.5, 30, 23.2}, {4, 86, 30, 116}, {6, 0, 0, 116}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.code));
        ASSERT_EQ(EvaluateDay(MakeChannel(1, c.code), At(2024, 3, 5, 0, 7, 31)), 5);
        EXPECT_DOUBLE_EQ(HourValue(11), c.row11);
        EXPECT_DOUBLE_EQ(HourValue(12), c.row12);
        EXPECT_DOUBLE_EQ(Day().DayTotal(), c.total);
        EXPECT_DOUBLE_EQ(Day().DayShiftTotals[0], c.total);
        EXPECT_EQ(Day().DayShiftCounts[0], 5);
    }
}

TEST_F(DayEvaluation, KindZeroHourOfFourQuartersIsTheirMean) {
    Add(24, 3, 5, 10, 10, 0, 100);
    Add(24, 3, 5, 10, 25, 0, 120);
    Add(24, 3, 5, 10, 40, 0, 80);
    Add(24, 3, 5, 10, 55, 0, 100);
    Save();
    EvaluateDay(MakeChannel(1), At(2024, 3, 5, 0, 7, 31));
    EXPECT_EQ(HourValue(11), 100);
}

// A mean over more than 255 records of a day divides by their full count.
TEST_F(DayEvaluation, AveragedDayTotalCountsEveryRecordOfTheDay) {
    for (int i = 0; i < 300; ++i) {
        const int minute = 8 + 4 * i;
        Add(24, 3, 5, minute / 60, minute % 60, 0, 20);
    }
    Save();
    ASSERT_EQ(EvaluateDay(MakeChannel(1, 2), At(2024, 3, 5, 0, 7, 31)), 300);
    EXPECT_EQ(Day().DayRecordCount, 300);
    EXPECT_DOUBLE_EQ(Day().DayTotal(), 20);
}

class DaySchedules : public EvaluationTest {
protected:
    // Shifts 6-14, 14-22, 22-6 from January; from noon of 5 March shift 1 ends and
    // shift 2 begins at 12:00. Tariff 1 06-22 and tariff 2 22-06 on working days,
    // tariff 3 all day on weekends and holidays.
    void WriteSchedules() {
        AddShifts(At(2024, 1, 1), Shifts({360, 840}, {840, 1320}, {1320, 360}));
        AddShifts(At(2024, 3, 5, 12, 0, 0), Shifts({360, 720}, {720, 1320}, {1320, 360}));
        TTariffTable tariffs;
        SetZone(tariffs, 0, 1, 1, 360, 1320);
        SetZone(tariffs, 0, 2, 1, 1320, 360);
        SetZone(tariffs, 1, 3, 4, 0, 0);
        AddTariffs(At(2024, 1, 1), tariffs);
    }
};

TEST_F(DaySchedules, ShiftAndTariffSumsCountsAndMaximaOfAWorkingDay) {
    WriteSchedules();
    Add(24, 3, 5, 5, 50, 0, 10);
    Add(24, 3, 5, 6, 7, 0, 20);
    Add(24, 3, 5, 10, 0, 0, 30);
    Add(24, 3, 5, 12, 30, 0, 40);
    Add(24, 3, 5, 23, 0, 0, 50);
    Save();
    ASSERT_EQ(EvaluateDay(MakeChannel(1), At(2024, 3, 5, 0, 7, 31)), 5);
    const TDayResult& d = Day();
    EXPECT_EQ(d.DayShiftTotals, (TScheduleValues{12.5, 10, 15}));
    EXPECT_EQ(d.DayShiftCounts, (TScheduleCounts{2, 1, 2}));
    EXPECT_EQ(d.DayShiftMaxima.Values, (TScheduleValues{30, 40, 50}));
    EXPECT_EQ(d.DayShiftMaxima.Minutes, (std::array<uint16_t, 3>{600, 750, 1380}));
    EXPECT_EQ(d.DayTariffTotals, (TScheduleValues{22.5, 15, 0}));
    EXPECT_EQ(d.DayTariffCounts, (TScheduleCounts{3, 2, 0}));
    EXPECT_EQ(d.DayTariffMaxima.Values, (TScheduleValues{40, 50, 0}));
    EXPECT_EQ(d.DayTariffMaxima.Minutes, (std::array<uint16_t, 3>{750, 1380, 0}));
    EXPECT_EQ(d.DayTariffCosPhiParts, (std::array<double, 6>{}));

    const TPeriodAccumulators& p = own_.Period;
    EXPECT_EQ(p.PeriodWorkdayTotal, 150);
    EXPECT_EQ(p.PeriodWorkdayCount, 5);
    EXPECT_EQ(p.PeriodWeekendCount, 0);
    EXPECT_EQ(p.ShiftWorkdaySums, (TScheduleValues{50, 40, 60}));
    EXPECT_EQ(p.ShiftWorkdayCounts, (TScheduleCounts{2, 1, 2}));
    EXPECT_EQ(p.TariffWorkdaySums, (TScheduleValues{90, 60, 0}));
    EXPECT_EQ(p.TariffWorkdayCounts, (TScheduleCounts{3, 2, 0}));

    // The period sums go on; SkipSchedules leaves them and the schedule sums alone.
    EvaluateDay(MakeChannel(1), At(2024, 3, 5, 0, 7, 31));
    EXPECT_EQ(own_.Period.PeriodWorkdayTotal, 300);
    EvaluateDay(MakeChannel(1), At(2024, 3, 5, 0, 7, 31), true);
    EXPECT_EQ(own_.Period.PeriodWorkdayTotal, 300);
    EXPECT_EQ(Day().DayShiftTotals, (TScheduleValues{}));
    EXPECT_EQ(Day().DayTotal(), 37.5);
}

// Inputs 0..2 of the regulator's own measurement, tariff 1 from 10:00 to 12:00 and
// tariff 2 from 22:00 to 06:00: each quarter of tariff 1 gives the cos phi of its
// own powers once, however many records it has, and the tariff's parts are their
// sum and number.
TEST_F(DaySchedules, TariffCosPhiPartsFromTheQuartersOfTheOwnMeasurement) {
    TTariffTable tariffs;
    SetZone(tariffs, 0, 1, 1, 600, 720);
    SetZone(tariffs, 0, 2, 1, 1320, 360);
    AddTariffs(At(2024, 1, 1), tariffs);
    Add(24, 3, 5, 10, 15, 0, {400, 300, 999, 0});  // 0.8, whatever is supplied
    Add(24, 3, 5, 10, 25, 0, {200, 150, 0, 0});     // one quarter of two records: 0.8
    Add(24, 3, 5, 10, 35, 0, {200, 150, 0, 0});
    Add(24, 3, 5, 11, 0, 0, {400, 0, 0, 0});        // 1
    Add(24, 3, 5, 14, 0, 0, {300, 400, 0, 0});      // in no tariff
    Save();
    ASSERT_EQ(EvaluateDay(MakeChannel(0), At(2024, 3, 5, 0, 7, 31)), 5);
    const auto& parts = Day().DayTariffCosPhiParts;
    EXPECT_DOUBLE_EQ(parts[0], 2.6);
    EXPECT_EQ(parts[3], 3);
    EXPECT_EQ((std::array<double, 4>{parts[1], parts[2], parts[4], parts[5]}), (std::array<double, 4>{}));
    EXPECT_EQ(Day().DayTariffCounts, (TScheduleCounts{4, 0, 0}));
    EXPECT_EQ(Day().DayCosPhiCount, 2);  // the hours 10 - 11 and 13 - 14

    // Neither another channel nor an evaluation without schedules has tariff parts.
    EvaluateDay(MakeChannel(1), At(2024, 3, 5, 0, 7, 31));
    EXPECT_EQ(Day().DayTariffCounts, (TScheduleCounts{4, 0, 0}));
    EXPECT_EQ(Day().DayTariffCosPhiParts, (std::array<double, 6>{}));
    EvaluateDay(MakeChannel(0), At(2024, 3, 5, 0, 7, 31), true);
    EXPECT_EQ(Day().DayCosPhiCount, 2);
    EXPECT_EQ(Day().DayTariffCosPhiParts, (std::array<double, 6>{}));
}

// The day of a record is its quarter's: Saturday 00:05 ends Friday's last quarter.
TEST_F(DaySchedules, WeekendRecordsByTheStartOfTheirQuarter) {
    WriteSchedules();
    Add(24, 3, 8, 12, 0, 0, 10);   // Friday
    Add(24, 3, 9, 0, 5, 0, 20);    // Saturday, quarter from Friday 23:52:31
    Add(24, 3, 9, 0, 10, 0, 30);   // Saturday
    Add(24, 3, 11, 0, 5, 0, 40);   // Monday, quarter from Sunday 23:52:31
    Add(24, 3, 11, 0, 30, 0, 50);  // Monday
    Save();
    EvaluateDay(MakeChannel(1), At(2024, 3, 8, 0, 7, 31));
    EXPECT_EQ(own_.Period.PeriodWorkdayTotal, 30);
    EXPECT_EQ(Day().DayTariffTotals, (TScheduleValues{2.5, 5, 0}));
    own_.Period.Clear();
    EvaluateDay(MakeChannel(1), At(2024, 3, 9, 0, 7, 31));
    EvaluateDay(MakeChannel(1), At(2024, 3, 10, 0, 7, 31));
    EXPECT_EQ(own_.Period.PeriodWeekendTotal, 70);
    EXPECT_EQ(own_.Period.PeriodWeekendCount, 2);
    EXPECT_EQ(own_.Period.TariffWeekendSums, (TScheduleValues{0, 0, 70}));
    EXPECT_EQ(Day().DayTariffTotals, (TScheduleValues{0, 0, 10}));
    // With the day starting at 6, Monday 00:30 lies in Sunday's day but is a
    // working-day record.
    own_.Period.Clear();
    EvaluateDay(MakeChannel(1, 0, 6), At(2024, 3, 10, 6, 7, 31));
    EXPECT_EQ(own_.Period.PeriodWeekendTotal, 40);
    EXPECT_EQ(own_.Period.PeriodWorkdayTotal, 50);
}

TEST_F(DaySchedules, HolidaysAreWeekendDaysOnlyWhileHolidaysAreUsed) {
    WriteSchedules();
    THolidayRecord christmasEve;
    SetHoliday(christmasEve, 2000, 0, 24, 12, "Štědrý den");
    HolidayList.push_back(christmasEve);
    Add(24, 12, 24, 12, 0, 0, 40);  // a Tuesday
    Save();
    EvaluateDay(MakeChannel(1), At(2024, 12, 24, 0, 7, 31));
    EXPECT_EQ(own_.Period.PeriodWeekendTotal, 40);
    EXPECT_EQ(Day().DayTariffTotals, (TScheduleValues{0, 0, 10}));
    settings_.UseHolidays = false;
    own_.Period.Clear();
    EvaluateDay(MakeChannel(1), At(2024, 12, 24, 0, 7, 31));
    EXPECT_EQ(own_.Period.PeriodWorkdayTotal, 40);
    EXPECT_EQ(Day().DayTariffTotals, (TScheduleValues{10, 0, 0}));
}

TEST_F(DaySchedules, EasterMondayIsAHolidayUpToItsLastQuarter) {
    WriteSchedules();
    Add(24, 4, 1, 12, 0, 0, 40);  // Easter Monday 2024
    Add(24, 4, 2, 0, 5, 0, 8);    // its last quarter
    Add(24, 4, 2, 12, 0, 0, 4);
    Save();
    EvaluateDay(MakeChannel(1), At(2024, 4, 1, 0, 7, 31));
    EXPECT_EQ(own_.Period.PeriodWeekendTotal, 48);
    EXPECT_EQ(Day().DayTariffTotals, (TScheduleValues{0, 0, 12}));
    EvaluateDay(MakeChannel(1), At(2024, 4, 2, 0, 7, 31));
    EXPECT_EQ(own_.Period.PeriodWorkdayTotal, 4);
}

// Inputs 0, 1 and 2 of the regulator's own measurement: active, consumed and
// supplied reactive power.
TEST_F(DayEvaluation, CosPhiOfTheRegulatorsOwnMeasurement) {
    for (int minute : {10, 25, 40, 55})
        Add(24, 3, 5, 10, minute, 0, {100, 75, 999, 0});
    Add(24, 3, 5, 11, 10, 0, {50, 0, 7, 0});
    Save();
    ASSERT_EQ(EvaluateDay(MakeChannel(0), At(2024, 3, 5, 0, 7, 31)), 5);
    EXPECT_DOUBLE_EQ(Day().DayHourCosPhi[10], 0.8);
    EXPECT_EQ(Day().DayHourCosPhi[11], 1);
    EXPECT_EQ(Day().DayHourCosPhi[0], 1);
    EXPECT_EQ(Day().DayCosPhiCount, 2);
    EXPECT_DOUBLE_EQ(Day().DayCosPhi, 0.9);
    EXPECT_EQ(Day().DayQuarterPowers[10][2], (std::array<double, 3>{100, 75, 999}));

    TVstupyInfo fictive = MakeChannel(0);
    fictive.DeviceType = FictiveDeviceType;
    EvaluateDay(fictive, At(2024, 3, 5, 0, 7, 31));
    EXPECT_EQ(Day().DayHourCosPhi[10], 1);
    EXPECT_EQ(Day().DayCosPhiCount, 2);

    EvaluateDay(MakeChannel(1), At(2024, 3, 5, 0, 7, 31));
    EXPECT_EQ(Day().DayCosPhiCount, 0);
    EXPECT_EQ(Day().DayCosPhi, 1);
    EXPECT_EQ(Day().DayHourCosPhi[10], 1);

    // Another channel as the regulator's measurement reads the two inputs after it.
    settings_.OwnMeasurementId = 1;
    EvaluateDay(MakeChannel(1), At(2024, 3, 5, 0, 7, 31));
    EXPECT_DOUBLE_EQ(Day().DayHourCosPhi[10], 75 / std::sqrt(75.0 * 75 + 999.0 * 999));
}

TEST_F(DayEvaluation, DayWithoutRecordsHasNoValues) {
    Add(24, 3, 4, 12, 0, 0, 100);
    Add(24, 3, 6, 12, 0, 0, 100);
    Save();
    EXPECT_EQ(EvaluateDay(MakeChannel(0), At(2024, 3, 5, 0, 7, 31)), 0);
    EXPECT_EQ(Day().DayMax, NoMaximum);
    EXPECT_EQ(Day().DayMin, NoMinimum);
    EXPECT_EQ(Day().DayShiftMaxima.Values[0], NoMaximum);
    EXPECT_EQ(Day().DayHourValues, (std::array<double, DayHourIndex::Count>{}));
    EXPECT_EQ(Day().DayCosPhi, 1);
    EXPECT_EQ(EvaluateDay(MakeChannel(0), At(2024, 5, 5, 0, 7, 31)), 0);  // no month file
}

TEST_F(DayEvaluation, StartAfterEndIsSwapped) {
    Add(24, 3, 5, 12, 0, 0, 100);
    Save();
    TEvaluationSession session(ProgramDir(), settings_);
    EXPECT_EQ(session.Evaluator().EvaluatePeriod(MakeChannel(0), 0, At(2024, 3, 6, 0, 7, 31),
                                                 At(2024, 3, 5, 0, 7, 31), false, own_.Day, own_.Period),
              1);
}

TEST_F(DayEvaluation, DayStartHourBeyondTheDayIsReduced) {
    Add(24, 3, 5, 6, 15, 0, 3);
    Add(24, 3, 6, 6, 5, 0, 8);
    Save();
    EvaluateDay(MakeChannel(0, 0, 6), At(2024, 3, 5, 6, 7, 31));
    const TDayResult six = Day();
    EXPECT_EQ(Quarter(24, 4), 8);
    for (int hour : {30, -18}) {
        SCOPED_TRACE(hour);
        TEvaluationSession session(ProgramDir(), settings_);
        session.Evaluator().EvaluatePeriod(MakeChannel(0, 0, hour), hour, At(2024, 3, 5, 6, 7, 31),
                                           At(2024, 3, 6, 6, 7, 31), false, own_.Day, own_.Period);
        EXPECT_EQ(Day(), six);
    }
}

// The last day of a year reads the January file of the next year for its last
// quarter (day start 0) or its last six hours (day start 6).
TEST_F(DayEvaluation, LastDayOfTheYearEndsInTheNextYearsFile) {
    Add(24, 12, 31, 12, 0, 0, 4);
    Add(25, 1, 1, 0, 5, 0, 8);
    Add(25, 1, 1, 0, 7, 31, 12);
    Add(25, 1, 1, 6, 5, 0, 16);
    Add(25, 1, 1, 6, 7, 31, 20);
    Save();
    ASSERT_EQ(EvaluateDay(MakeChannel(1), At(2024, 12, 31, 0, 7, 31)), 2);
    EXPECT_EQ(Quarter(24, 4), 8);
    EXPECT_EQ(Day().DayTotal(), 3);
    ASSERT_EQ(EvaluateDay(MakeChannel(1, 0, 6), At(2024, 12, 31, 6, 7, 31)), 4);
    EXPECT_EQ(Quarter(18, 4), 8);
    EXPECT_EQ(Quarter(19, 1), 12);
    EXPECT_EQ(Quarter(24, 4), 16);
    EXPECT_EQ(Day().DayTotal(), 10);
}

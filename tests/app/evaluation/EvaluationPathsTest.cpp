// The program evaluates from month files and histories read once per evaluation;
// the results must be those of reading the files for every day and every record.
#include "EvaluationFixture.h"

#include "app/evaluation/StraightforwardSources.h"

using namespace zeko;
using namespace zeko::test;

namespace {

class EvaluationPaths : public EvaluationTest {
protected:
    // December 2023 to April 2024: four inputs every quarter hour, a second record
    // in one quarter of each hour, records on the first and the last second of the
    // days that start at 0, 6 and 21, schedules that change within a month and
    // whose first records start only in January (December takes the earliest
    // after), holidays at New Year and in March, Easter Monday on 1 April.
    void WriteFixture() {
        uint32_t seed = 12345;
        const auto next = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return static_cast<uint16_t>((seed >> 16) % 500);
        };
        for (TDateTime date = EncodeDate(2023, 12, 1); date <= EncodeDate(2024, 4, 30); date += 1) {
            const DateParts d = DecodeDate(date);
            for (int hour = 0; hour < 24; ++hour) {
                for (int minute : {0, 15, 30, 45})
                    Add(d.Year, d.Month, d.Day, hour, minute, 0, {next(), next(), next(), next()});
                Add(d.Year, d.Month, d.Day, hour, 5, 0, {next(), next(), next(), next()});
            }
            for (int hour : {0, 6, 21}) {
                Add(d.Year, d.Month, d.Day, hour, 7, 30, {next(), next(), next(), next()});
                Add(d.Year, d.Month, d.Day, hour, 7, 31, {next(), next(), next(), next()});
            }
        }
        Save();
        AddShifts(At(2024, 1, 1), Shifts({360, 840}, {840, 1320}, {1320, 360}));
        AddShifts(At(2024, 3, 15, 12, 0, 0), Shifts({300, 780}, {780, 1260}, {1260, 300}));
        TTariffTable first, second;
        SetZone(first, 0, 1, 1, 360, 1320);
        SetZone(first, 0, 2, 1, 1320, 360);
        SetZone(first, 1, 3, 1, 0, 0);
        SetZone(second, 0, 1, 1, 420, 600);
        SetZone(second, 0, 1, 2, 780, 900);
        SetZone(second, 0, 2, 1, 600, 780);
        SetZone(second, 1, 3, 1, 1200, 480);
        SetZone(second, 1, 2, 1, 480, 1200);
        AddTariffs(At(2024, 1, 1), first);
        AddTariffs(At(2024, 4, 1, 6, 0, 0), second);
        THolidayRecord holiday;
        SetHoliday(holiday, 2024, 2024, 12, 3, "");
        HolidayList.push_back(holiday);
        SetHoliday(holiday, 2000, 0, 1, 1, "Nový rok");
        HolidayList.push_back(holiday);
    }

    // `period`: the month period asked for, as the month window's request sets it.
    // Answers the results of the program's own sources.
    template <typename Evaluate>
    TOwnResults ExpectSameResults(Evaluate evaluate, TMonthPeriod period = {}) {
        TOwnResults straight, cached;
        TEvaluationSettings settings = settings_;
        settings.MonthPeriod = period;
        {
            TMonthFileReader records(ProgramDir());
            THistoryFileSchedules schedules(ProgramFile(TariffHistoryFile), ProgramFile(ShiftHistoryFile));
            TDayEvaluator days(records, schedules, settings);
            evaluate(TPeriodEvaluator(days, straight.Targets()));
        }
        {
            TEvaluationSession session(ProgramDir(), settings);
            evaluate(TPeriodEvaluator(session.Evaluator(), cached.Targets()));
        }
        EXPECT_EQ(straight.Day, cached.Day);
        EXPECT_EQ(straight.Period, cached.Period);
        EXPECT_EQ(straight.MonthInfo, cached.MonthInfo);
        EXPECT_EQ(straight.Month, cached.Month);
        EXPECT_EQ(straight.Year, cached.Year);
        EXPECT_GT(cached.Month.PeriodTotal, 0);
        return cached;
    }
};

} // namespace

TEST_F(EvaluationPaths, YearsOfTheOwnMeasurementAndOfAChannelStartingAtSix) {
    WriteFixture();
    for (const TVstupyInfo& channel : {MakeChannel(0, 0, 0), MakeChannel(1, 1, 6)}) {
        SCOPED_TRACE(channel.Id);
        const TOwnResults year =
            ExpectSameResults([&](TPeriodEvaluator e) { e.ComputeYear(1, 12, 2023, channel, 5); });
        // The own measurement's tariffs have quarters in them, so their cos phi
        // parts are compared too; another channel has none.
        const auto& parts = year.Year.YearTariffCosPhiParts;
        for (int k = 0; k < ScheduleCount; ++k) {
            EXPECT_EQ(parts[k + ScheduleCount] > 0, channel.Id == 0) << k;
            EXPECT_LE(parts[k], parts[k + ScheduleCount]) << k;
        }
    }
}

TEST_F(EvaluationPaths, PeriodsOfAveragedAndSummedQuantities) {
    WriteFixture();
    for (const TVstupyInfo& channel : {MakeChannel(2, 2, -3), MakeChannel(3, 4, 0)}) {
        SCOPED_TRACE(channel.Id);
        ExpectSameResults([&](TPeriodEvaluator e) {
            e.ComputeMonth(10, 3, 2024, channel);
        });
        ExpectSameResults([&](TPeriodEvaluator e) { e.ComputeYear(1, 12, 2023, channel, 5); });
    }
}

// 35 days from 15 December run over the year's end into the January file.
TEST_F(EvaluationPaths, CustomPeriodOverTheYearsEnd) {
    WriteFixture();
    for (const TVstupyInfo& channel : {MakeChannel(0, 0, 0), MakeChannel(1, 0, 21)}) {
        SCOPED_TRACE(channel.Id);
        ExpectSameResults([&](TPeriodEvaluator e) { e.ComputeMonth(15, 12, 2023, channel); }, {1, 35});
    }
}

// The day, month and year evaluations of the regulator's own measurement (three
// inputs read) over a year of quarter-hour records of four inputs, with tariff and
// shift histories of two records each; the straightforward evaluation, which reads
// the month files for each day and the histories for each record, for comparison.
#include "app/evaluation/DayEvaluation.h"
#include "app/evaluation/PeriodEvaluation.h"
#include "app/evaluation/StraightforwardSources.h"
#include "core/RecordSamples.h"
#include "core/RecordSaving.h"
#include "core/Schedules.h"
#include "platform/ProgramDir.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

using namespace zeko;

namespace {

class YearOfRecords {
public:
    YearOfRecords() : folder_(true) {
        TRecordList records;
        const int64_t start = ToSeconds(EncodeDate(2024, 1, 1));
        const int64_t end = ToSeconds(EncodeDate(2025, 1, 1));
        for (int64_t at = start; at < end; at += 900) {
            const TDateTime t = FromSeconds(at);
            const DateParts d = DecodeDate(t);
            const TimeParts tm = DecodeTime(t);
            TRegulatorRecord r = test::MakeRecord(d.Year - 2000, d.Month, d.Day, tm.Hour, tm.Minute, 0);
            const auto n = static_cast<uint16_t>(at / 900 % 500);
            r.Counts = {n, static_cast<uint16_t>(n / 2), 7, static_cast<uint16_t>(n % 50)};
            r.Constants = {2.5f, 2.5f, 2.5f, 1.0f};
            records.push_back(r);
        }
        SaveRecords(records, "");
        TShiftTable shifts = StartShiftTable();
        AppendHistoryRecord(ProgramFile(ShiftHistoryFile), THistoryRecord::Of(EncodeDate(2023, 1, 1), shifts), true);
        shifts.Shifts[0].End = 780;
        shifts.Shifts[1].Start = 780;
        AppendHistoryRecord(ProgramFile(ShiftHistoryFile), THistoryRecord::Of(EncodeDate(2024, 7, 1), shifts), false);
        TTariffTable tariffs;
        for (int dayType : {0, 1}) {
            TTariffZone& zone = tariffs.Zone(dayType, dayType + 1, 1);
            zone = {360, 1320, ZoneInUse};
        }
        AppendHistoryRecord(ProgramFile(TariffHistoryFile), THistoryRecord::Of(EncodeDate(2023, 1, 1), tariffs), true);
        tariffs.Zone(0, 3, 1) = {1320, 360, ZoneInUse};
        AppendHistoryRecord(ProgramFile(TariffHistoryFile), THistoryRecord::Of(EncodeDate(2024, 4, 1), tariffs), false);
    }

private:
    test::TempDir folder_;
};

const TVstupyInfo& OwnChannel() {
    static const TVstupyInfo channel = [] {
        TVstupyInfo c;
        c.DeviceType = "ZEKO";
        return c;
    }();
    return channel;
}

void BM_DayEvaluation(benchmark::State& state) {
    YearOfRecords year;
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeDayTable(15, 6, 2024, 0, ProgramEvaluationSettings()));
}
BENCHMARK(BM_DayEvaluation)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MonthEvaluation(benchmark::State& state) {
    YearOfRecords year;
    const TEvaluationSettings settings = ProgramEvaluationSettings();
    for (auto _ : state)
        ComputeMonth(1, 7, 2024, 0, settings);
    benchmark::DoNotOptimize(MonthResult.PeriodTotal);
}
BENCHMARK(BM_MonthEvaluation)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_YearEvaluation(benchmark::State& state) {
    YearOfRecords year;
    for (auto _ : state)
        ComputeYear(1, 1, 2024, OwnChannel(), 12, ProgramEvaluationSettings());
    benchmark::DoNotOptimize(YearResult.YearWorkdayTotal);
}
BENCHMARK(BM_YearEvaluation)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StraightforwardMonthEvaluation(benchmark::State& state) {
    YearOfRecords year;
    test::TMonthFileReader records(ProgramDir());
    test::THistoryFileSchedules schedules(ProgramFile(TariffHistoryFile), ProgramFile(ShiftHistoryFile));
    TDayEvaluator days(records, schedules, ProgramEvaluationSettings());
    for (auto _ : state)
        TPeriodEvaluator(days, ProgramResults()).ComputeMonth(1, 7, 2024, OwnChannel());
    benchmark::DoNotOptimize(MonthResult.PeriodTotal);
}
BENCHMARK(BM_StraightforwardMonthEvaluation)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

// The day, month and year evaluations of the regulator's own measurement (three
// inputs read) over a year of quarter-hour records of four inputs, with tariff and
// shift histories of two records each; the straightforward evaluation, which reads
// the month files for each day and the histories for each record, for comparison.
#include "app/evaluation/DayEvaluation.h"
#include "app/evaluation/PeriodEvaluation.h"
#include "app/evaluation/StraightforwardSources.h"
#include "core/Schedules.h"
#include "platform/ProgramDir.h"
#include "support/TempDir.h"

#include "GeneratedArchive.h"

#include <benchmark/benchmark.h>

using namespace zeko;

namespace {

class YearOfRecords {
public:
    YearOfRecords() : folder_(true) {
        bench::WriteQuarterHourRecords(2024, 1);
        bench::WriteScheduleHistories(2024);
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

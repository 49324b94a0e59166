#pragma once
// The month and year evaluations: one day evaluation per day row of a period of up
// to 35 days into TMonthResult, one month evaluation per month row of up to 15
// months into TYearResult. After each day the progress is told, so that the
// progress box advances and the message loop runs.
#include "app/evaluation/DayEvaluation.h"
#include "app/evaluation/PeriodResult.h"

namespace zeko {

class TEvaluationProgress {
public:
    virtual ~TEvaluationProgress() = default;
    // One day of the period is evaluated.
    virtual void DayDone() = 0;
};

// The results a period evaluation writes.
struct TPeriodTargets {
    TDayResult& Day;
    TPeriodAccumulators& Period;
    TMonthPeriodInfo& MonthInfo;
    TMonthResult& Month;
    TYearResult& Year;
};
// The program-wide results.
TPeriodTargets ProgramResults();

class TPeriodEvaluator {
public:
    TPeriodEvaluator(TDayEvaluator& days, TPeriodTargets results, TEvaluationProgress* progress = nullptr)
        : days_(days), results_(results), progress_(progress) {}

    // The period that starts on the date: the settings' MonthPeriod, that is DayRows
    // days when CustomPeriod is 1, else the whole length of the date's month.
    void ComputeMonth(int Day, int Month, int Year, const TVstupyInfo& Channel);
    // MonthCount months (1..15) from Month/Year, each evaluated whole from day Day
    // (lowered to the month's length).
    void ComputeYear(int Day, int Month, int Year, const TVstupyInfo& Channel, int MonthCount);

private:
    void ComputeMonth(int Day, int Month, int Year, const TVstupyInfo& Channel, const TMonthPeriod& Period);

    TDayEvaluator& days_;
    TPeriodTargets results_;
    TEvaluationProgress* progress_ = nullptr;
};

// Into the program-wide results, from the files of the program directory.
void ComputeMonth(int Day, int Month, int Year, uint16_t Id, const TEvaluationSettings& settings,
                  TEvaluationProgress* progress = nullptr);
void ComputeYear(int Day, int Month, int Year, const TVstupyInfo& Channel, int MonthCount,
                 const TEvaluationSettings& settings, TEvaluationProgress* progress = nullptr);

} // namespace zeko

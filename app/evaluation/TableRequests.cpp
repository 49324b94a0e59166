#include "app/evaluation/TableRequests.h"

#include "app/evaluation/DayTimeGrid.h"
#include "core/Calendar.h"
#include "platform/Notifier.h"
#include "platform/ProgramDir.h"

#include <algorithm>
#include <exception>

namespace zeko {

namespace {

bool requestRunning = false;

// The main form stays disabled, and the progress box shown, for the time of the
// request, however it ends.
class TRequestScope {
public:
    TRequestScope(TEvaluationHost& host, int progressSteps) : host_(host), progress_(progressSteps > 0) {
        requestRunning = true;
        // Disabled first: showing the box lets pending input through.
        host_.SetMainFormEnabled(false);
        if (progress_)
            host_.ShowProgress(TableProgressText, progressSteps);
    }
    ~TRequestScope() {
        if (progress_)
            host_.CloseProgress();
        host_.SetMainFormEnabled(true);
        requestRunning = false;
    }
    TRequestScope(const TRequestScope&) = delete;
    TRequestScope& operator=(const TRequestScope&) = delete;

private:
    TEvaluationHost& host_;
    bool progress_;
};

class THostProgress : public TEvaluationProgress {
public:
    explicit THostProgress(TEvaluationHost& host) : host_(host) {}
    void DayDone() override { host_.StepProgress(); }

private:
    TEvaluationHost& host_;
};

// Runs the work inside a request scope; a failure is shown once the main form is
// enabled again.
template <typename Work>
void RunRequest(TEvaluationHost& host, int progressSteps, Work work) {
    std::string failure;
    {
        TRequestScope scope(host, progressSteps);
        try {
            work();
        } catch (const std::exception& e) {
            failure = e.what();
        }
    }
    if (!failure.empty())
        MessageDlg(failure, TMsgDlgType::mtError);
}

// The date of a message's WParam; false for 0 (the user is to be asked) and for a
// day number that is no date of the calendar.
bool RequestDate(uintptr_t WParam, DateParts& date) {
    if (WParam == 0 || WParam > static_cast<uintptr_t>(EncodeDate(MaxYear, 12, 31)))
        return false;
    date = DecodeDate(static_cast<TDateTime>(WParam));
    return true;
}

uint16_t RequestChannelId(intptr_t LParam) {
    return static_cast<uint16_t>(LParam);
}

// The tariffs and shifts valid at the start of the period, from the histories the
// evaluation has read, so that a history error is shown once per request.
void SelectScheduleTables(TScheduleLookup& schedules, TDateTime start, TTableFields& fields) {
    fields.Tariffs = schedules.TariffTableAt(start);
    fields.Shifts = schedules.ShiftTableAt(start);
}

} // namespace

bool TableRequestRunning() {
    return requestRunning;
}

void RunDayTableRequest(TEvaluationHost& host, uintptr_t WParam, intptr_t LParam) {
    DateParts date;
    if (requestRunning || !RequestDate(WParam, date))
        return;
    const TEvaluationSettings settings = ProgramEvaluationSettings();
    RunRequest(host, 0, [&] {
        if (auto fields = ComputeDayTable(date.Day, date.Month, date.Year, RequestChannelId(LParam), settings))
            host.ShowDayTable(*fields);
    });
}

void RunMonthTableRequest(TEvaluationHost& host, uintptr_t WParam, intptr_t LParam,
                          const TMonthWindowPeriod& window) {
    DateParts date;
    if (requestRunning || !RequestDate(WParam, date))
        return;
    TMonthTableFields fields;
    fields.FirstDay = EncodeDate(date.Year, date.Month, date.Day);
    fields.PartialMonth = window.PartialMonth;
    fields.PeriodDays = window.PartialMonth == 0
                            ? static_cast<uint8_t>(DaysInMonth(date.Month, date.Year))
                            : static_cast<uint8_t>(std::clamp<int>(window.PeriodDays, 1, MaxPeriodDays));
    fields.Channel = ChannelOfId(RequestChannelId(LParam));
    fields.DayStartHour = NormalDayStartHour(fields.Channel.DayStartHour);
    int month = date.Month, year = date.Year;
    fields.PeriodMonths[0] = static_cast<uint8_t>(date.Day);
    for (size_t k = 1; k < fields.PeriodMonths.size(); ++k) {
        fields.PeriodMonths[k] = static_cast<uint8_t>(month);
        NextMonth(month, year, month, year);
    }
    TEvaluationSettings settings = ProgramEvaluationSettings();
    settings.MonthPeriod = {fields.PartialMonth, fields.PeriodDays};
    RunRequest(host, fields.PeriodDays, [&] {
        THostProgress progress(host);
        TEvaluationSession session(ProgramDir(), settings);
        TPeriodEvaluator(session.Evaluator(), ProgramResults(), &progress)
            .ComputeMonth(date.Day, date.Month, date.Year, fields.Channel);
        fields.PeriodDays = MonthPeriodInfo.DayRows;
        SelectScheduleTables(session.Schedules(), DayWindowStart(fields.FirstDay, fields.DayStartHour), fields);
        host.ShowMonthTable(fields);
    });
}

void RunYearTableRequest(TEvaluationHost& host, uintptr_t WParam, intptr_t LParam) {
    DateParts date;
    if (requestRunning || !RequestDate(WParam, date))
        return;
    TYearTableFields fields;
    fields.FirstMonth = EncodeDate(date.Year, date.Month, 1);
    fields.StartMonth = static_cast<uint16_t>(date.Month);
    fields.StartYear = static_cast<uint16_t>(date.Year);
    fields.StartDay = 1;
    fields.Channel = ChannelOfId(RequestChannelId(LParam));
    fields.DayStartHour = NormalDayStartHour(fields.Channel.DayStartHour);
    const int months = std::clamp<int>(YearMonthCount, 1, MaxYearMonths);
    const TEvaluationSettings settings = ProgramEvaluationSettings();
    RunRequest(host, months * YearProgressStepsPerMonth, [&] {
        THostProgress progress(host);
        TEvaluationSession session(ProgramDir(), settings);
        TPeriodEvaluator(session.Evaluator(), ProgramResults(), &progress)
            .ComputeYear(fields.StartDay, date.Month, date.Year, fields.Channel, months);
        SelectScheduleTables(session.Schedules(), DayWindowStart(fields.FirstMonth, fields.DayStartHour), fields);
        host.ShowYearTable(fields);
    });
}

} // namespace zeko

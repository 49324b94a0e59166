#pragma once
// What the main window does when a table window asks for a day, a month or a year:
// it disables itself, evaluates (the month and the year with the progress box
// showing "Provádí se výpočet tabulky..." and the message loop running after each
// day), hands the window its fields and lets it lay out and fill its grids, then
// closes the box and enables itself again, also after a failure. A failure to read
// the files is shown to the user. The window side is reached through
// TEvaluationHost, so the requests run without a screen.
//
// The main window's handlers of WM_SHOW_DAY_TABLE, WM_SHOW_MONTH_TABLE and
// WM_SHOW_YEAR_TABLE call these with the message's WParam (the date as a whole day
// number) and LParam (the channel id). A date of 0 asks the user for the
// measurement and the date first (app/TableChoice.h), then calls these with the
// date chosen; here it is no date and does nothing.
#include "app/evaluation/DayEvaluation.h"
#include "app/evaluation/PeriodEvaluation.h"

#include <array>
#include <cstdint>
#include <string>

namespace zeko {

constexpr const char* TableProgressText = "Provádí se výpočet tabulky...";
// The year's progress bar counts 30 steps per month.
constexpr int YearProgressStepsPerMonth = 30;

// The month window's fields written by the main window.
struct TMonthTableFields : TTableFields {
    TDateTime FirstDay = 0;
    // The first day, its month, the next month and the month after that.
    std::array<uint8_t, 4> PeriodMonths{};
    uint8_t PartialMonth = 0;  // 1: PeriodDays is not the length of the first month
    uint8_t PeriodDays = 0;
};

// The year window's fields written by the main window.
struct TYearTableFields : TTableFields {
    TDateTime FirstMonth = 0;  // the 1st of the first month
    uint16_t StartMonth = 0, StartYear = 0;
    uint8_t StartDay = 1;
};

// The month window's period as it stands when a request comes.
struct TMonthWindowPeriod {
    uint8_t PartialMonth = 0;
    uint8_t PeriodDays = 0;
};

class TEvaluationHost {
public:
    virtual ~TEvaluationHost() = default;
    virtual void SetMainFormEnabled(bool enabled) = 0;
    // The progress box: caption empty, the text, a bar of `steps` steps at 0; shown
    // and painted at once.
    virtual void ShowProgress(const std::string& text, int steps) = 0;
    // The bar advances by one and pending messages are processed.
    virtual void StepProgress() = 0;
    virtual void CloseProgress() = 0;
    // The window gets its fields, then SetupTable and FillTable read the results.
    virtual void ShowDayTable(const TDayTableFields& fields) = 0;
    virtual void ShowMonthTable(const TMonthTableFields& fields) = 0;
    virtual void ShowYearTable(const TYearTableFields& fields) = 0;
};

// True while a request evaluates. The message loop runs meanwhile, so a request
// posted before the main form was disabled may arrive; it is dropped rather than
// let it overwrite the results being built.
bool TableRequestRunning();

void RunDayTableRequest(TEvaluationHost& host, uintptr_t WParam, intptr_t LParam);
void RunMonthTableRequest(TEvaluationHost& host, uintptr_t WParam, intptr_t LParam,
                          const TMonthWindowPeriod& window);
// YearMonthCount and YearCustomPeriod keep their values.
void RunYearTableRequest(TEvaluationHost& host, uintptr_t WParam, intptr_t LParam);

} // namespace zeko

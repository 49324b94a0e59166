#pragma once
// The day evaluation: the records of one channel over one day (or any window) read
// from the month files and evaluated into a TDayResult, with the tariff and shift
// schedules valid at each record and the holiday test; the working-day and weekend
// sums go on into the period accumulators of a month evaluation.
//
// The window of an evaluation is [Start, End): a record stamped exactly at End is
// the first record of the next day, not the last of this one.
#include "app/DayResult.h"
#include "app/EvaluationSources.h"
#include "core/HistoryFormat.h"
#include "core/MojeDB.h"
#include "core/PripojenaZarizeniUnit.h"

#include <optional>

namespace zeko {

// A channel of this device type has no reactive inputs beside it.
constexpr const char* FictiveDeviceType = "FIKTIVNI";

// A sum of quarter values by aggregation kind: an energy (÷ 4) for kind 0, the mean
// (÷ count, when count is not 0) for kind 1, the sum itself for the others.
double AggregateValue(double sum, int32_t count, uint8_t kind);
// The program's quantity table, or the built-in one while the main window has made
// none: the evaluation and the table windows read the same quantities.
const TMojeDB& QuantityTable();
// The aggregation kind (TMojeDB) of the channel's quantity.
uint8_t AggregationKindOf(const TVstupyInfo& Channel);
// The channel of that id in Devices (channel 0 when none has it).
TVstupyInfo ChannelOfId(uint16_t Id);

class TDayEvaluator {
public:
    TDayEvaluator(TRecordSource& records, TScheduleSource& schedules)
        : records_(records), schedules_(schedules) {}

    // Evaluates the records of Channel in [Start, End) (swapped when Start is later)
    // for a day that starts at DayStartHour into Day, and adds the working-day and
    // weekend sums to Period unless SkipSchedules. Answers the number of records of
    // the channel read, 0 for none (Day then holds no values).
    int EvaluatePeriod(const TVstupyInfo& Channel, int DayStartHour, TDateTime Start, TDateTime End,
                       bool SkipSchedules, TDayResult& Day, TPeriodAccumulators& Period);

private:
    TRecordSource& records_;
    TScheduleSource& schedules_;
    TSeriesLists lists_;  // kept between days, so that their room is reused
};

// Sources that read every month file and history file once: the program's own.
class TEvaluationSession {
public:
    explicit TEvaluationSession(const std::string& dir);
    TDayEvaluator& Evaluator() { return evaluator_; }
    TScheduleLookup& Schedules() { return lookup_; }

private:
    TMonthFileCache records_;
    TScheduleLookup lookup_;
    TLookupSchedules schedules_;
    TDayEvaluator evaluator_;
};

// What every table window is handed besides its results: the channel, the hour
// its days start at, and the tariffs and shifts valid at the start of the period.
struct TTableFields {
    TVstupyInfo Channel;
    int DayStartHour = 0;
    TTariffTable Tariffs;
    TShiftTable Shifts;
};

// What the day window shows besides the day result.
struct TDayTableFields : TTableFields {
    TDateTime Day = 0;
    uint8_t DayType = 0;  // 1: Saturday, Sunday or a holiday
};

// Evaluates the day of channel Id into the program-wide DayResult. A day without
// records gives nothing, so the day window keeps what it showed, and says why:
// "Soubor pro daný měsíc není k dispozici!" when no month file of the day exists,
// "Pro daný den nejsou k dispozici žádné záznamy!" when one does.
std::optional<TDayTableFields> ComputeDayTable(int Day, int Month, int Year, uint16_t Id);

} // namespace zeko

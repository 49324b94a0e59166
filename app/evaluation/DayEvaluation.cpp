#include "app/evaluation/DayEvaluation.h"

#include "app/evaluation/DayTimeGrid.h"
#include "core/Calendar.h"
#include "core/FileIO.h"
#include "core/Holidays.h"
#include "core/MojeDB.h"
#include "core/PowerFactor.h"
#include "core/QuarterHours.h"
#include "platform/Notifier.h"
#include "platform/ProgramDir.h"

#include <algorithm>
#include <filesystem>
#include <utility>

namespace zeko {

namespace {

constexpr const char* NoMonthFileText = "Soubor pro daný měsíc není k dispozici!";
constexpr const char* NoDayRecordsText = "Pro daný den nejsou k dispozici žádné záznamy!";

// True when a month file that the window [from, to] reads exists.
bool AnyMonthFile(TDateTime from, TDateTime to) {
    const std::vector<TYearMonth> months = MonthsOfRange(from, to);
    return std::any_of(months.begin(), months.end(), [](const TYearMonth& m) {
        return std::filesystem::exists(MonthFilePath(ProgramDir(), m.Year, m.Month));
    });
}

// Sums, counts and maxima of the shifts (or the tariffs) of one day, and the
// working-day or weekend sums of the period they go on into.
struct TScheduleTargets {
    TScheduleValues& Totals;
    TScheduleCounts& Counts;
    TScheduleMaxima& Maxima;
    TScheduleValues& PeriodSums;
    TScheduleCounts& PeriodCounts;
};

void AddToSchedules(uint8_t mask, double value, uint16_t minute, const TScheduleTargets& to) {
    for (int k = 0; k < ScheduleCount; ++k) {
        if ((mask & (1u << k)) == 0)
            continue;
        to.Totals[k] += value;
        to.Counts[k] += 1;
        to.PeriodSums[k] += value;
        to.PeriodCounts[k] += 1;
        if (value > to.Maxima.Values[k]) {
            to.Maxima.Values[k] = value;
            to.Maxima.Minutes[k] = minute;
        }
    }
}

void AggregateSchedules(TScheduleValues& totals, const TScheduleCounts& counts, uint8_t kind) {
    for (int k = 0; k < ScheduleCount; ++k)
        totals[k] = AggregateValue(totals[k], counts[k], kind);
}

// A record counts for the weekend when its quarter began on a Saturday, a Sunday
// or, while holidays are used, a holiday.
bool WeekendRecord(TDateTime t, bool useHolidays) {
    const TDateTime windowStart = QuarterWindowStart(t);
    return IsWeekend(windowStart) || (useHolidays && IsHolidayDate(windowStart));
}

// True when v becomes the quarter's value.
bool KeepQuarterValue(TDayResult& day, int row, int slot, double v) {
    double& kept = day.DayQuarterValues[row - 1][slot - 1];
    auto& counts = day.DayQuarterCounts[row - 1];
    bool taken = true;
    if (counts[slot - 1] == 0) {
        kept = v;
    } else if (v > kept) {
        day.DayHourExtra[row - 1] += kept;
        kept = v;
    } else {
        day.DayHourExtra[row - 1] += v;
        taken = false;
    }
    counts[slot - 1] += 1;
    counts[RowCountIndex] += 1;
    return taken;
}

// The record that gave each quarter its value: its second of the day and its place
// among the records read.
struct TQuarterRecord {
    int32_t Second = 0;
    size_t Order = 0;
};
using TQuarterRecords = std::array<std::array<TQuarterRecord, QuarterSlotCount>, DayRowCount>;

// The smallest quarter value and the time of its record; of equal values the one
// read first. The smaller further records of a quarter are no quarter's value.
void FindMinimum(TDayResult& day, const TQuarterRecords& records) {
    size_t order = 0;
    for (int r = 0; r < DayRowCount; ++r)
        for (int q = 0; q < QuarterSlotCount; ++q) {
            const double v = day.DayQuarterValues[r][q];
            const TQuarterRecord& record = records[r][q];
            if (day.DayQuarterCounts[r][q] == 0 || v > day.DayMin || (v == day.DayMin && record.Order > order))
                continue;
            day.DayMin = v;
            day.DayMinSecond = record.Second;
            order = record.Order;
        }
}

// Hour values, the day total and the hour cos phi from the quarters.
void CloseRows(TDayResult& day, uint8_t kind, bool own) {
    double total = 0;
    for (int r = 1; r <= DayRowCount; ++r) {
        const auto& quarters = day.DayQuarterValues[r - 1];
        const double sum = quarters[0] + quarters[1] + quarters[2] + quarters[3] + day.DayHourExtra[r - 1];
        const int32_t n = day.RowRecords(r);
        if (own && n > 0) {
            std::array<double, PowerSeriesCount> p{};
            for (const auto& slot : day.DayQuarterPowers[r - 1])
                for (int j = 0; j < PowerSeriesCount; ++j)
                    p[j] += slot[j];
            const double cosPhi = CosPhi(p[0], p[1], p[2]);
            day.DayHourCosPhi[r - 1] = cosPhi;
            day.DayCosPhiSum += cosPhi;
            day.DayCosPhiCount += 1;
        }
        // An hour of a quantity taken as it is has no hour value.
        if (kind != AggregateAsIs)
            day.DayHourValues[r - 1] = AggregateValue(sum, n, kind);
        total += sum;
        day.DayRecordCount += n;
    }
    if (own)
        day.DayCosPhi = day.DayCosPhiCount != 0 ? day.DayCosPhiSum / day.DayCosPhiCount : 1;
    day.DayHourValues[DayHourIndex::Total] = AggregateValue(total, day.DayRecordCount, kind);
}

// [row][slot]: one bit for each tariff that any record of the quarter lies in.
using TQuarterTariffs = std::array<std::array<uint8_t, QuarterSlotCount>, DayRowCount>;

// The cos phi of every quarter with records, from its own powers as an hour's is
// from the hour's, goes to each tariff of the quarter: a tariff's cos phi is then
// the mean over its quarters, as the day's is over its hours, and a month's or a
// year's the mean over all their quarters of the tariff.
void AddTariffCosPhi(TDayResult& day, const TQuarterTariffs& tariffs) {
    for (int r = 0; r < DayRowCount; ++r)
        for (int q = 0; q < QuarterSlotCount; ++q) {
            if (day.DayQuarterCounts[r][q] == 0 || tariffs[r][q] == 0)
                continue;
            const auto& p = day.DayQuarterPowers[r][q];
            const double cosPhi = CosPhi(p[0], p[1], p[2]);
            for (int k = 0; k < ScheduleCount; ++k)
                if ((tariffs[r][q] & (1u << k)) != 0) {
                    day.DayTariffCosPhiParts[k] += cosPhi;
                    day.DayTariffCosPhiParts[k + ScheduleCount] += 1;
                }
        }
}

} // namespace

const TMojeDB& QuantityTable() { return ProgramEvaluationSettings().QuantityTable(); }

double AggregateValue(double sum, int32_t count, uint8_t kind) {
    if (kind == AggregateQuarterMean)
        return sum / 4;
    if (kind == AggregatePresentMean && count != 0)
        return sum / count;
    return sum;
}

uint8_t AggregationKindOf(const TMojeDB& Table, const TVstupyInfo& Channel) {
    TDBPolozka item;
    Table.Find(Channel.UnitCode, item);
    return item.Kind;
}

uint8_t AggregationKindOf(const TVstupyInfo& Channel) { return AggregationKindOf(QuantityTable(), Channel); }

TVstupyInfo ChannelOfId(uint16_t Id) {
    TVstupyInfo channel;
    if (Devices)
        Devices->FindById(Id, channel);
    return channel;
}

int TDayEvaluator::EvaluatePeriod(const TVstupyInfo& Channel, int DayStartHour, TDateTime Start,
                                  TDateTime End, bool SkipSchedules, TDayResult& Day,
                                  TPeriodAccumulators& Period) {
    if (Start > End)
        std::swap(Start, End);
    const uint16_t ownId = settings_.OwnMeasurementId;
    const bool own = Channel.Id == ownId;
    const int startHour = NormalDayStartHour(DayStartHour);
    const uint8_t kind = AggregationKindOf(settings_.QuantityTable(), Channel);
    Day.Reset();

    TGraphView view;
    view.InputMap[0] = Channel.Id;
    if (own && Channel.DeviceType != FictiveDeviceType) {
        view.InputMap[1] = static_cast<uint16_t>(ownId + 1);
        view.InputMap[2] = static_cast<uint16_t>(ownId + 2);
    }
    for (TSampleList& list : lists_)
        list.clear();
    const int64_t first = ToSeconds(Start), last = ToSeconds(End) - 1;
    if (last >= first)
        records_.ReadRange(view, lists_, FromSeconds(first), FromSeconds(last));

    const TSampleList& samples = lists_[0];
    TQuarterRecords quarterRecords;
    TQuarterTariffs quarterTariffs{};
    for (size_t i = 0; i < samples.size(); ++i) {
        const TChannelSample& s = samples[i];
        TDateTime date, time;
        if (!TryEncodeDate(ExpandYear(s.Year), s.Month, s.Day, date) ||
            !TryEncodeTime(s.Hour, s.Minute, s.Second, 0, time))
            continue;
        const TDateTime t = date + time;
        const double v = s.Value;
        const int slot = QuarterHourSlot(s.Minute, s.Second);
        const int row = DayRowOf(s.Hour, s.Minute, s.Second, startHour);
        const int32_t second = s.Hour * 3600 + s.Minute * 60 + s.Second;
        if (KeepQuarterValue(Day, row, slot, v))
            quarterRecords[row - 1][slot - 1] = {second, i};

        if (!SkipSchedules) {
            const bool weekend = WeekendRecord(t, settings_.UseHolidays);
            (weekend ? Period.PeriodWeekendTotal : Period.PeriodWorkdayTotal) += v;
            (weekend ? Period.PeriodWeekendCount : Period.PeriodWorkdayCount) += 1;
            const uint16_t minute = static_cast<uint16_t>(s.Hour * 60 + s.Minute);
            uint8_t mask = 0;
            schedules_.ShiftMaskAt(minute, mask, t);
            AddToSchedules(mask, v, minute,
                           {Day.DayShiftTotals, Day.DayShiftCounts, Day.DayShiftMaxima,
                            weekend ? Period.ShiftWeekendSums : Period.ShiftWorkdaySums,
                            weekend ? Period.ShiftWeekendCounts : Period.ShiftWorkdayCounts});
            mask = 0;
            schedules_.TariffMaskAt(minute, mask, weekend ? 1 : 0, t);
            quarterTariffs[row - 1][slot - 1] |= mask;
            AddToSchedules(mask, v, minute,
                           {Day.DayTariffTotals, Day.DayTariffCounts, Day.DayTariffMaxima,
                            weekend ? Period.TariffWeekendSums : Period.TariffWorkdaySums,
                            weekend ? Period.TariffWeekendCounts : Period.TariffWorkdayCounts});
        }

        if (own)
            for (int j = 0; j < PowerSeriesCount; ++j)
                if (i < lists_[j].size())
                    Day.DayQuarterPowers[row - 1][slot - 1][j] += lists_[j][i].Value;

        if (v > Day.DayMax) {
            Day.DayMax = v;
            Day.DayMaxSecond = second;
        }
    }

    if (!samples.empty()) {
        FindMinimum(Day, quarterRecords);
        if (Day.DayMax == NoMaximum)
            Day.DayMax = 0;
        if (Day.DayMin == NoMinimum)
            Day.DayMin = 0;
        for (TScheduleMaxima* maxima : {&Day.DayShiftMaxima, &Day.DayTariffMaxima})
            for (double& value : maxima->Values)
                if (value == NoMaximum)
                    value = 0;
        Day.DayHourValues[DayHourIndex::Maximum] = Day.DayMax;
        Day.DayHourValues[DayHourIndex::MaximumSecond] = Day.DayMaxSecond;
        Day.DayHourValues[DayHourIndex::Minimum] = Day.DayMin;
        Day.DayHourValues[DayHourIndex::MinimumSecond] = Day.DayMinSecond;
        CloseRows(Day, kind, own);
        if (own)
            AddTariffCosPhi(Day, quarterTariffs);
    }
    AggregateSchedules(Day.DayShiftTotals, Day.DayShiftCounts, kind);
    AggregateSchedules(Day.DayTariffTotals, Day.DayTariffCounts, kind);
    return static_cast<int>(samples.size());
}

TEvaluationSession::TEvaluationSession(const std::string& dir, const TEvaluationSettings& settings)
    : records_(dir),
      lookup_(JoinPath(dir, TariffHistoryFile), JoinPath(dir, ShiftHistoryFile)),
      schedules_(lookup_),
      evaluator_(records_, schedules_, settings) {}

std::optional<TDayTableFields> ComputeDayTable(int Day, int Month, int Year, uint16_t Id,
                                              const TEvaluationSettings& settings) {
    TDayTableFields fields;
    fields.Channel = ChannelOfId(Id);
    fields.DayStartHour = NormalDayStartHour(fields.Channel.DayStartHour);
    TDateTime date;
    if (!TryEncodeDate(Year, Month, Day, date))
        return std::nullopt;
    const TDateTime start = DayWindowStart(date, fields.DayStartHour);
    TEvaluationSession session(ProgramDir(), settings);
    const int n = session.Evaluator().EvaluatePeriod(fields.Channel, fields.DayStartHour, start, start + 1,
                                                     false, DayResult, PeriodAccumulators);
    if (n == 0) {
        MessageDlg(AnyMonthFile(start, start + 1) ? NoDayRecordsText : NoMonthFileText, TMsgDlgType::mtError);
        return std::nullopt;
    }
    fields.Day = date;
    fields.DayType = IsWeekendDate(Day, Month, Year) || IsHoliday(Day, Month, Year) ? 1 : 0;
    fields.Tariffs = session.Schedules().TariffTableAt(start);
    fields.Shifts = session.Schedules().ShiftTableAt(start);
    return fields;
}

} // namespace zeko

#pragma once
// A generated archive in the program directory for the benchmarks: quarter-hour
// records of four inputs over whole years, stored through the record store, and
// tariff and shift histories of two records each (the shifts change in the middle
// of the first year, the tariffs in its spring).
#include "core/RecordSaving.h"
#include "core/Schedules.h"
#include "platform/ProgramDir.h"
#include "core/RecordSamples.h"

namespace zeko::bench {

inline void WriteQuarterHourRecords(int firstYear, int years) {
    TRecordList records;
    const int64_t start = ToSeconds(EncodeDate(firstYear, 1, 1));
    const int64_t end = ToSeconds(EncodeDate(firstYear + years, 1, 1));
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
}

inline void WriteScheduleHistories(int firstYear) {
    TShiftTable shifts = StartShiftTable();
    AppendHistoryRecord(ProgramFile(ShiftHistoryFile), THistoryRecord::Of(EncodeDate(firstYear - 1, 1, 1), shifts),
                        true);
    shifts.Shifts[0].End = 780;
    shifts.Shifts[1].Start = 780;
    AppendHistoryRecord(ProgramFile(ShiftHistoryFile), THistoryRecord::Of(EncodeDate(firstYear, 7, 1), shifts),
                        false);
    TTariffTable tariffs;
    for (int dayType : {0, 1}) {
        TTariffZone& zone = tariffs.Zone(dayType, dayType + 1, 1);
        zone = {360, 1320, ZoneInUse};
    }
    AppendHistoryRecord(ProgramFile(TariffHistoryFile),
                        THistoryRecord::Of(EncodeDate(firstYear - 1, 1, 1), tariffs), true);
    tariffs.Zone(0, 3, 1) = {1320, 360, ZoneInUse};
    AppendHistoryRecord(ProgramFile(TariffHistoryFile), THistoryRecord::Of(EncodeDate(firstYear, 4, 1), tariffs),
                        false);
}

} // namespace zeko::bench

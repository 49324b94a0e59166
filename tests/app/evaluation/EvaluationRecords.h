#pragma once
// Records and schedule histories for the evaluation and table tests, stored in the
// program directory through the record store and the history writer. Every input
// of a record counts 4 impulses per unit, so its value is its impulse count.
#include "core/HistoryFormat.h"
#include "core/RecordSamples.h"
#include "core/Schedules.h"
#include "platform/ProgramDir.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>

namespace zeko::test {

// A record of yyyy-mm-dd hh:mi:ss (or yy-mm-dd) whose inputs 1..4 have the values given.
inline TRegulatorRecord ValueRecord(int y, int mo, int d, int h, int mi, int s, std::array<uint16_t, 4> values) {
    TRegulatorRecord r = MakeRecord(y % 100, mo, d, h, mi, s);
    r.Counts = values;
    r.Constants = {4, 4, 4, 4};
    return r;
}

inline void AddShifts(TDateTime validFrom, const TShiftTable& table) {
    ASSERT_TRUE(AppendHistoryRecord(ProgramFile(ShiftHistoryFile), THistoryRecord::Of(validFrom, table), false));
}

// A tariff zone in use: band `Band` (1..4) of tariff `Tariff` on day type
// `DayType` (0 working days, 1 weekends and holidays), from minute `Start` of the
// day to minute `End`.
struct TZoneInUse {
    int DayType, Tariff, Band;
    uint16_t Start, End;
};

// A tariff table with the zones given in use, the others not.
inline TTariffTable TariffTable(std::initializer_list<TZoneInUse> zones) {
    TTariffTable table;
    for (const TZoneInUse& z : zones) {
        TTariffZone& zone = table.Zone(z.DayType, z.Tariff, z.Band);
        zone.Start = z.Start;
        zone.End = z.End;
        zone.State = ZoneInUse;
    }
    return table;
}

inline void AddTariffs(TDateTime validFrom, const TTariffTable& table) {
    ASSERT_TRUE(AppendHistoryRecord(ProgramFile(TariffHistoryFile), THistoryRecord::Of(validFrom, table), false));
}
inline void AddTariffZones(TDateTime validFrom, std::initializer_list<TZoneInUse> zones) {
    AddTariffs(validFrom, TariffTable(zones));
}

inline TShiftTable Shifts(TShiftBand s1, TShiftBand s2 = {}, TShiftBand s3 = {}) {
    TShiftTable table;
    table.Shifts = {s1, s2, s3};
    return table;
}

} // namespace zeko::test

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

inline void AddTariffs(TDateTime validFrom, const TTariffTable& table) {
    ASSERT_TRUE(AppendHistoryRecord(ProgramFile(TariffHistoryFile), THistoryRecord::Of(validFrom, table), false));
}

// Tariff zones of day type 0 or 1: band `band` (1..4) of tariff `tariff`.
inline void SetZone(TTariffTable& table, int dayType, int tariff, int band, uint16_t start, uint16_t end) {
    TTariffZone& zone = table.Zone(dayType, tariff, band);
    zone.Start = start;
    zone.End = end;
    zone.State = ZoneInUse;
}

inline TShiftTable Shifts(TShiftBand s1, TShiftBand s2 = {}, TShiftBand s3 = {}) {
    TShiftTable table;
    table.Shifts = {s1, s2, s3};
    return table;
}

} // namespace zeko::test

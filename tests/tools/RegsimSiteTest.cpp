// The simulated regulator's records and live values, read as the program reads
// them, describe a working site: a load curve of tens to hundreds of kW, its reactive
// energy, and a status that lets the power factor be drawn.
#include "tools/regsim/RecordRing.h"
#include "tools/regsim/SiteLoad.h"

#include "core/PowerFactor.h"
#include "core/QuarterHours.h"
#include "core/WireRecord.h"

#include <gtest/gtest.h>

using namespace zeko;
using namespace zeko::regsim;

namespace {

// The values of a record's inputs 1..3 as the archive and the tables take them.
struct Powers {
    double Active, Inductive, Capacitive;
};

Powers PowersOf(const Record& record) {
    const TWireRecord r = DecodeWireRecord(record.data());
    auto value = [&](size_t k) { return QuarterHourPower(r.Counts[k], SiteMeterConstants[k] / 100000.0); };
    return {value(0), value(1), value(2)};
}

constexpr uint32_t DayQuarters = 96;

} // namespace

TEST(RegsimSite, ADaysRecordsFollowTheWorksAndItsCompensation) {
    struct Case {
        const char* what;
        int day, hour, minute;  // March 2024: the 7th is a Thursday, the 10th a Sunday
        double lowest, highest;  // kW
        bool inductive;          // the power factor's side
    };
    const Case cases[] = {
        {"a working night", 7, 3, 0, 35, 60, false},
        {"the morning shift", 7, 10, 45, 190, 262, true},
        {"the afternoon shift", 7, 16, 0, 125, 175, true},
        {"Sunday noon", 10, 12, 0, 35, 60, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordRing ring;
        const TDateTime stamp = EncodeDate(2024, 3, c.day) + EncodeTime(c.hour, c.minute, 0);
        ring.Generate(1, stamp, 1, 0);
        const TWireRecord record = DecodeWireRecord(ring.Get(0).data());
        EXPECT_EQ(record.Status, QuarterSeconds);  // above 1: the archive computes the power factor
        const Powers p = PowersOf(ring.Get(0));
        EXPECT_GE(p.Active, c.lowest);
        EXPECT_LE(p.Active, c.highest);
        const double powerFactor = SignedCosPhi(p.Active, p.Inductive, p.Capacitive);
        if (c.inductive) {
            EXPECT_GE(powerFactor, 0.93);
            EXPECT_LE(powerFactor, 0.995);
        } else {
            EXPECT_LE(powerFactor, -0.95);  // over-compensated: capacitive
        }
    }
}

TEST(RegsimSite, TheLiveValuesShowTheSiteOfTheRecords) {
    RecordRing ring;
    const TDateTime first = EncodeDate(2024, 3, 7) + EncodeTime(0, 15, 0);
    ring.Generate(1, first, DayQuarters, 0);
    for (uint32_t q = 0; q < DayQuarters; ++q) {
        const TDateTime end = first + q / double(DayQuarters);
        const SiteMoment now = LoadAt(1, end - 450 / 86400.0);  // the middle of the quarter hour
        const double recorded = PowersOf(ring.Get(q)).Active;
        EXPECT_NEAR(now.Active, recorded, 0.15 * recorded) << "quarter hour " << q;
        // The steps switched on leave less than the next one uncompensated, and
        // over-compensate by no more than half the smallest.
        EXPECT_GE(now.Reactive, -SiteOutputValues[0] / 20.0);
        EXPECT_LT(now.Reactive, SiteOutputValues.back() / 10.0);
        EXPECT_NE(now.Outputs, 0);
    }
}

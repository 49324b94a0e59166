#include "tools/regsim/SiteLoad.h"

#include "tools/regsim/SplitMix.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace zeko::regsim {

namespace {

struct ProfilePoint {
    double Hour;
    double Kilowatts;
};

// The site's active load through a day, before the day's and the quarter's own
// deviations: the morning shift from 6:00 with its breaks at 10:00 and noon, the
// afternoon shift to 22:00.
constexpr ProfilePoint WorkingDay[] = {
    {0, 46},      {4.5, 42},    {5.5, 70},   {6.25, 200},  {9.75, 222}, {10, 175}, {10.25, 225}, {11.5, 235},
    {11.75, 160}, {12.25, 160}, {12.5, 220}, {13.75, 215}, {14.25, 158}, {17, 150}, {20, 134},   {22, 96},
    {22.5, 56},   {24, 46}};
constexpr ProfilePoint Saturday[] = {{0, 46}, {5.5, 44}, {6.5, 100}, {11.5, 108}, {12.5, 56}, {24, 43}};
constexpr ProfilePoint Sunday[] = {{0, 43}, {11, 41}, {13, 48}, {16, 42}, {24, 44}};

// Below this the works stands still and the base load is over-compensated.
constexpr double BaseLoadLimit = 70;
constexpr double QuarterHours = 0.25;
// The power factor of the site without its capacitor steps.
constexpr double UncompensatedReactivePerKw = 0.80;

double Interpolate(std::span<const ProfilePoint> profile, double hour) {
    for (size_t i = 1; i < profile.size(); ++i)
        if (hour <= profile[i].Hour) {
            const ProfilePoint& a = profile[i - 1];
            const ProfilePoint& b = profile[i];
            return a.Kilowatts + (b.Kilowatts - a.Kilowatts) * (hour - a.Hour) / (b.Hour - a.Hour);
        }
    return profile.back().Kilowatts;
}

double ProfileAt(TDateTime when) {
    const double hour = TimeOf(when) * 24.0;
    switch (DayOfWeek(when)) {
    case 1: return Interpolate(Sunday, hour);
    case 7: return Interpolate(Saturday, hour);
    default: return Interpolate(WorkingDay, hour);
    }
}

// A number in [0, 1) drawn from the seed and a key.
double Draw(uint64_t seed, uint64_t key) {
    return static_cast<double>(SplitMix(seed * 0x100000001B3ull ^ SplitMix(key)) >> 11) * 0x1.0p-53;
}

// Each day the works draws a little more or less than the profile.
double DayFactor(uint64_t seed, TDateTime when) {
    return 0.93 + 0.12 * Draw(seed, static_cast<uint64_t>(DateOf(when)));
}

uint16_t Impulses(double power, uint32_t constant) {
    const double count = std::round(power * QuarterHours * constant / 100000.0);
    return static_cast<uint16_t>(std::clamp(count, 0.0, 65535.0));
}

} // namespace

SiteLoad QuarterLoad(uint64_t seed, TDateTime end) {
    const int64_t endSecond = ToSeconds(end);
    const TDateTime middle = FromSeconds(endSecond - 450);
    const auto key = static_cast<uint64_t>(endSecond);
    const double u1 = Draw(seed, key * 4 + 1), u2 = Draw(seed, key * 4 + 2), u3 = Draw(seed, key * 4 + 3);
    SiteLoad load;
    load.Active = ProfileAt(middle) * DayFactor(seed, middle) * (0.96 + 0.08 * Draw(seed, key * 4));
    if (load.Active < BaseLoadLimit) {
        load.Inductive = 2 + 3 * u1;
        load.Capacitive = 7 + 6 * u2;
    } else {
        const double powerFactor = 0.94 + 0.05 * u1;
        load.Inductive = load.Active * std::tan(std::acos(powerFactor));
        load.Capacitive = 1.5 * u2;
    }
    const double hour = TimeOf(middle) * 24.0;
    const bool officeHours = DayOfWeek(middle) != 1 && DayOfWeek(middle) != 7 && hour >= 7 && hour < 16.5;
    load.Offices = officeHours ? 9 + 5 * u3 : 3 + 2 * u3;
    return load;
}

std::array<uint16_t, 4> QuarterCounts(const SiteLoad& load) {
    return {Impulses(load.Active, SiteMeterConstants[0]), Impulses(load.Inductive, SiteMeterConstants[1]),
            Impulses(load.Capacitive, SiteMeterConstants[2]), Impulses(load.Offices, SiteMeterConstants[3])};
}

SiteMoment LoadAt(uint64_t seed, TDateTime when) {
    const double second = static_cast<double>(ToSeconds(when) % 86400);
    const double wobble = 1 + 0.04 * std::sin(second / 180 * 2 * M_PI) + 0.02 * std::sin(second / 37 * 2 * M_PI);
    SiteMoment moment;
    moment.Active = ProfileAt(when) * DayFactor(seed, when) * wobble;
    // The regulator switches its steps in order while they stay within half the
    // smallest step of what the load needs.
    const double needed = moment.Active * UncompensatedReactivePerKw;
    const double slack = SiteOutputValues[0] / 20.0;
    double switched = 0;
    for (size_t i = 0; i < SiteOutputValues.size(); ++i) {
        const double step = SiteOutputValues[i] / 10.0;
        if (switched + step > needed + slack)
            break;
        switched += step;
        moment.Outputs = static_cast<uint16_t>(moment.Outputs | (1u << i));
    }
    moment.Reactive = needed - switched;
    return moment;
}

} // namespace zeko::regsim

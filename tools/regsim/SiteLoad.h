#pragma once
// The consumer that the simulated regulator measures and compensates: a small works
// with a long morning shift and a lighter afternoon one on working days, a short
// Saturday morning, and a base load of cooling and lighting at night and on Sunday.
// Its capacitor steps keep the power factor at about 0.94 to 0.99 while the works
// runs; at night, when the smallest step is more than the site needs, it is slightly
// over-compensated (capacitive).
//
// The generated records and the live values both come from here, so the demo's day
// graph, tables and live-values window show the same site.
#include "platform/DateTime.h"

#include <array>
#include <cstdint>

namespace zeko::regsim {

// The meters on the four inputs, impulses per kWh (kVArh) × 100000 as the
// regulator keeps them: active, consumed reactive, supplied reactive (their
// quarter-hour counts stay within 16 bits up to 262 kW), and the single-phase feed
// of the offices.
constexpr std::array<uint32_t, 4> SiteMeterConstants = {1000u * 100000u, 1000u * 100000u, 1000u * 100000u,
                                                        100000u};

// The capacitor steps of a bank of 257.5 kVAr, kVAr × 10 as the regulator keeps them.
constexpr std::array<uint16_t, 12> SiteOutputValues = {25, 50, 100, 100, 200, 200, 200, 200, 300, 300, 300, 300};

struct SiteLoad {
    double Active = 0;      // kW
    double Inductive = 0;   // kVAr consumed
    double Capacitive = 0;  // kVAr supplied
    double Offices = 0;     // kW of the single-phase feed
};

// The mean load of the quarter hour that ends at `end`. The seed draws the site's
// days and quarters: the same seed and time give the same load.
SiteLoad QuarterLoad(uint64_t seed, TDateTime end);

// The impulses the four meters count in that quarter hour (each at most 65535).
std::array<uint16_t, 4> QuarterCounts(const SiteLoad& load);

// The site as the regulator sees it at a moment: the active power, the capacitor
// steps switched on (bit i = output i + 1) and the reactive power left after them
// (kW, kVAr; negative = capacitive).
struct SiteMoment {
    double Active = 0;
    double Reactive = 0;
    uint16_t Outputs = 0;
};
SiteMoment LoadAt(uint64_t seed, TDateTime when);

} // namespace zeko::regsim

#pragma once
// The quantity codes of the channels: energy and power units and the way the
// quarter-hour values of a quantity make an hour value.
#include <cstdint>
#include <string>
#include <vector>

namespace zeko {

// Aggregation kinds of an hour value.
constexpr uint8_t AggregateQuarterMean = 0;  // sum of the quarter-hour values ÷ 4
constexpr uint8_t AggregatePresentMean = 1;  // mean of the values present, 0 when none
constexpr uint8_t AggregateSum = 2;          // sum of the values
constexpr uint8_t AggregateAsIs = 3;         // the value as it is

struct TDBPolozka {
    uint8_t Code = 0;
    uint8_t Kind = 0;
    std::string EnergyUnit;
    std::string PowerUnit;
};

class TMojeDB {
public:
    // Codes 0..10: kWh/kW, kVArh/kVAr, °C, Pa, m3 and m3/h, stav, V, Hz, A, none, sec.
    TMojeDB();

    uint8_t Count = 0;
    std::vector<TDBPolozka> Items;
    uint8_t LowCount = 0;   // items with a code below 128
    uint8_t HighCount = 0;  // items with a code of 128 or more

    void AddItem(const TDBPolozka& item);
    int IndexOf(uint8_t code) const;  // the last item of that code, -1 when none
    // The item of that code; Code 0, Kind 0, "kWh", "kW" when there is none.
    void Find(uint8_t code, TDBPolozka& item) const;
    std::string EnergyUnit(uint8_t code) const;
};

// The program-wide table, created by the main window at start.
extern TMojeDB* MojeDB;

} // namespace zeko

#include "core/MojeDB.h"

namespace zeko {

TMojeDB* MojeDB = nullptr;

TMojeDB::TMojeDB() {
    const TDBPolozka table[] = {
        {0, AggregateQuarterMean, "kWh", "kW"},
        {1, AggregateQuarterMean, "kVArh", "kVAr"},
        {2, AggregatePresentMean, "°C", "°C"},
        {3, AggregatePresentMean, "Pa", "Pa"},
        {4, AggregateSum, "m3", "m3/h"},
        {5, AggregateAsIs, "stav", "stav"},
        {6, AggregateAsIs, "V", "V"},
        {7, AggregateAsIs, "Hz", "Hz"},
        {8, AggregateAsIs, "A", "A"},
        {9, AggregateAsIs, "", ""},
        {10, AggregateAsIs, "sec", "sec"},
    };
    for (const TDBPolozka& item : table)
        AddItem(item);
}

void TMojeDB::AddItem(const TDBPolozka& item) {
    Items.push_back(item);
    Count = static_cast<uint8_t>(Items.size());
    if (item.Code < 128)
        ++LowCount;
    else
        ++HighCount;
}

int TMojeDB::IndexOf(uint8_t code) const {
    for (int i = static_cast<int>(Items.size()) - 1; i >= 0; --i)
        if (Items[i].Code == code)
            return i;
    return -1;
}

void TMojeDB::Find(uint8_t code, TDBPolozka& item) const {
    const int i = IndexOf(code);
    item = i >= 0 ? Items[i] : TDBPolozka{0, AggregateQuarterMean, "kWh", "kW"};
}

std::string TMojeDB::EnergyUnit(uint8_t code) const {
    TDBPolozka item;
    Find(code, item);
    return item.EnergyUnit;
}

} // namespace zeko

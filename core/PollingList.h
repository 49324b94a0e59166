#pragma once
// The cyclic list of periodic telegrams. After each handled reply and on each
// send-timer tick the queue pump asks for the current item; when the minimum
// interval has passed since the last step it gets one, queues it and steps on.
#include "core/RegisterTables.h"

#include <cstdint>
#include <vector>

namespace zeko {

struct TPollItem {
    uint8_t Source = 0;       // station
    uint8_t Destination = 0;  // station
    uint8_t Write = 0;        // 0 read, 1 write
    uint8_t Mode = 0;         // memory kind
    uint8_t Count = 0;        // bytes
    uint16_t Address = 0;     // register address
};

// The live-value request: 16 bytes of register 0xFF00, kind 0, from 63 to 8.
constexpr TPollItem LiveValuesPollItem{tlg::StationPC,          tlg::StationRegulator, 0, tlg::KindSettings,
                                       BytesOf(reg8::LiveValues), Registers::LiveValues};

class TMyList {
public:
    int32_t CurrentIndex = 0;
    uint32_t MinInterval = 0;  // milliseconds; 0 = none
    uint32_t LastStepTick = 0; // GetTickCount at the last step or interval change

    int Count() const { return static_cast<int>(items_.size()); }
    void AddItem(const TPollItem& item);
    // CurrentIndex := n, or 0 when the list is empty or n is past its end.
    void SetIndex(int n);
    void SetInterval(uint32_t milliseconds);
    // The next item (after the last: the first) and a new interval.
    void Next();
    // -1 while the list is empty or the interval runs; otherwise CurrentIndex.
    int Current() const;
    // As Current, and the item at CurrentIndex copied when there is one.
    int CurrentItem(TPollItem& item) const;

protected:
    std::vector<TPollItem> items_;
};

class TMyExtList : public TMyList {
public:
    void ClearItems() { items_.clear(); }
};

// The program-wide list, created by the main window.
extern TMyExtList* PollingList;

} // namespace zeko

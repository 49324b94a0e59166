#include "core/PollingList.h"

#include "platform/TickClock.h"

namespace zeko {

TMyExtList* PollingList = nullptr;

void TMyList::AddItem(const TPollItem& item) {
    items_.push_back(item);
}

void TMyList::SetIndex(int n) {
    CurrentIndex = (items_.empty() || n < 0 || n >= Count()) ? 0 : n;
}

void TMyList::SetInterval(uint32_t milliseconds) {
    MinInterval = milliseconds;
    LastStepTick = GetTickCount();
}

void TMyList::Next() {
    SetIndex(CurrentIndex + 1);
    LastStepTick = GetTickCount();
}

int TMyList::Current() const {
    if (items_.empty() || TicksBetween(LastStepTick, GetTickCount()) < MinInterval)
        return -1;
    return CurrentIndex;
}

int TMyList::CurrentItem(TPollItem& item) const {
    const int current = Current();
    if (current >= 0 && current < Count())
        item = items_[current];
    return current < Count() ? current : -1;
}

} // namespace zeko

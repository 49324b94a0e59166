#include "core/RecordMemory.h"

namespace zeko {

uint32_t NextRingIndex(uint32_t index) { return index + 1 >= RingRecords ? 0 : index + 1; }

uint32_t PreviousRingIndex(uint32_t index) { return index == 0 ? RingRecords - 1 : index - 1; }

uint32_t RingDistance(uint32_t oldest, uint32_t newest) {
    const int64_t difference = static_cast<int64_t>(newest) - static_cast<int64_t>(oldest);
    if (difference > 0)
        return static_cast<uint32_t>(difference);
    if (difference < 0)
        return static_cast<uint32_t>(difference + RingRecords);
    return RingRecords;
}

} // namespace zeko

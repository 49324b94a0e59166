#include "core/WireRecord.h"

#include "core/BinaryData.h"

namespace zeko {

void DecodeRecord(const uint8_t* data, TRegulatorRecord& record, uint32_t index,
                  const std::array<uint32_t, InputCount>& inputConstants) {
    record = TRegulatorRecord{};
    const std::array<uint8_t, 6> stamp = DecodeBcdStamp(data + WireLayout::Stamp);
    record.Second = stamp[0];
    record.Minute = stamp[1];
    record.Hour = stamp[2];
    record.Day = stamp[3];
    record.Month = stamp[4];
    record.Year = stamp[5];
    record.Index = index;
    record.Status = ReadWordLE(data + WireLayout::Status);
    for (size_t i = 0; i < RecordInputs; ++i) {
        record.Counts[i] = ReadWordLE(data + WireLayout::Counts + 2 * i);
        record.Constants[i] = static_cast<float>(inputConstants[i] / InputConstantScale);
    }
    for (size_t i = 0; i < record.Values24.size(); ++i)
        record.Values24[i] = ReadInt24LE(data + WireLayout::Values24 + 3 * i);
    record.Value16 = ReadWordLE(data + WireLayout::Value16);
}

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

uint8_t AddressHighByte(uint32_t address) { return static_cast<uint8_t>(address >> 16); }

} // namespace zeko

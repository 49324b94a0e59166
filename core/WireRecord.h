#pragma once
// The regulator's record as it lies in its record memory and comes over the line:
// the 27 data bytes of a reply of the record memory (memory kind 2). Its decoder and
// encoder, and its conversion into a stored record (core/RegulatorRecord.h).
//
// | Offset | Size | Field (multi-byte values low byte first)                       | Stored record field |
// |--------|------|----------------------------------------------------------------|---------------------|
// | 0      | 6    | second, minute, hour, day, month, two-digit year; packed BCD   | Second .. Year, as plain numbers |
// | 6      | 2    | status word                                                    | Status              |
// | 8      | 2×4  | impulse counters of inputs 1..4 in the quarter hour            | Counts              |
// | 16     | 3×3  | three 24-bit values                                            | Values24            |
// | 25     | 2    | one 16-bit value                                               | Value16             |
// | -      | -    | the record's index in the ring                                 | Index               |
// | -      | -    | the input constants in force ÷ 100000 (impulses per unit)      | Constants           |
// The filler of the stored record stays 0xFF.
#include "core/RecordMemory.h"
#include "core/RegulatorRecord.h"
#include "core/Zeko.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace zeko {

namespace WireLayout {
constexpr size_t Stamp = 0;
constexpr size_t StampSize = 6;
constexpr size_t Status = 6;
constexpr size_t Counts = 8;     // + 2 × input
constexpr size_t Values24 = 16;  // + 3 × value
constexpr size_t Value16 = 25;
constexpr size_t Size = WireRecordBytes;
static_assert(Stamp + StampSize == Status && Status + 2 == Counts && Counts + 2 * RecordInputs == Values24 &&
              Values24 + 3 * 3 == Value16 && Value16 + 2 == Size);
} // namespace WireLayout

using TWireBytes = std::array<uint8_t, WireLayout::Size>;

// The fields of a wire record; the stamp as plain numbers in its order (second,
// minute, hour, day, month, two-digit year).
struct TWireRecord {
    std::array<uint8_t, WireLayout::StampSize> Stamp{};
    uint16_t Status = 0;
    std::array<uint16_t, RecordInputs> Counts{};
    std::array<uint32_t, 3> Values24{};  // 24 bits each
    uint16_t Value16 = 0;
    bool operator==(const TWireRecord&) const = default;
};

TWireRecord DecodeWireRecord(const uint8_t* data);
// Stamp numbers 0..99 each.
TWireBytes EncodeWireRecord(const TWireRecord& record);

// The regulator's constants are impulses per unit × 100000.
constexpr double InputConstantScale = 100000.0;

// Fills `record` from the 27 wire bytes; `inputConstants` are CurrentState's.
void DecodeRecord(const uint8_t* data, TRegulatorRecord& record, uint32_t index,
                  const std::array<uint32_t, InputCount>& inputConstants);

} // namespace zeko

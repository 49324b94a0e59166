#pragma once
// The regulator's record as it comes over the line: the 27 data bytes of a reply of
// the record memory (memory kind 2), and its conversion into a stored record.
//
//   Wire offset  Size  Content (little-endian)        Stored record field
//   0..5         6     second, minute, hour, day,     Second .. Year, as plain
//                      month, two-digit year, BCD     numbers
//   6            2     status word                    Status
//   8            2×4   impulse counters of inputs 1..4  Counts
//   16           3×3   three 24-bit values            Values24
//   25           2     16-bit value                   Value16
//   -            -     the record's index in the ring Index
//   -            -     the input constants in force ÷ 100000 (impulses per unit)
//                                                     Constants
// The filler of the stored record stays 0xFF.
#include "core/RecordStore.h"
#include "core/RegulatorRecord.h"
#include "core/Zeko.h"

#include <array>
#include <cstdint>

namespace zeko {

namespace WireLayout {
constexpr size_t Stamp = 0;
constexpr size_t Status = 6;
constexpr size_t Counts = 8;     // + 2 × input
constexpr size_t Values24 = 16;  // + 3 × value
constexpr size_t Value16 = 25;
constexpr size_t Size = WireRecordBytes;
static_assert(Value16 + 2 == Size);
} // namespace WireLayout

// The regulator's constants are impulses per unit × 100000.
constexpr double InputConstantScale = 100000.0;

// Fills `record` from the 27 wire bytes; `inputConstants` are CurrentState's.
void DecodeRecord(const uint8_t* data, TRegulatorRecord& record, uint32_t index,
                  const std::array<uint32_t, InputCount>& inputConstants);

// Ring arithmetic of the record indices 0 .. RingRecords - 1.
uint32_t NextRingIndex(uint32_t index);
uint32_t PreviousRingIndex(uint32_t index);
// The records from `oldest` up to the one before `newest`; the whole ring when equal.
uint32_t RingDistance(uint32_t oldest, uint32_t newest);
// Bits 16..23 of a record's address: the value of register 0x0113 for its read.
uint8_t AddressHighByte(uint32_t address);

} // namespace zeko

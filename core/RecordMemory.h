#pragma once
// The regulator's record memory (memory kind 2): a ring of 75,325 places of 27
// bytes (one wire record each, core/WireRecord.h) in pages of 528 bytes that hold
// 19 places, so record n lies at byte address (n div 19) * 528 + (n mod 19) * 27.
// The addresses reach beyond 16 bits: a read telegram carries the low 16 bits, and
// register 0x0113 holds bits 16..23 for the reads that follow it.
//
// The ring's indices run 0 .. RingRecords - 1 and wrap to 0; the record pointers
// (core/RegulatorReplies.h) name the newest index (the place filled next) and the
// oldest unread one.
#include <cstdint>

namespace zeko {

constexpr uint32_t RingRecords = 75325;
constexpr uint32_t RingRecordsPerPage = 19;
constexpr uint32_t RingPageBytes = 528;
constexpr uint32_t WireRecordBytes = 27;  // one place of the ring
// The bytes of the record memory: whole pages up to the last place.
constexpr uint32_t RecordMemoryBytes = (RingRecords + RingRecordsPerPage - 1) / RingRecordsPerPage * RingPageBytes;
static_assert(RingRecordsPerPage * WireRecordBytes <= RingPageBytes);

// Byte address of record n in the record memory.
constexpr uint32_t RecordAddress(uint32_t n) {
    return n / RingRecordsPerPage * RingPageBytes + n % RingRecordsPerPage * WireRecordBytes;
}

// Bits 16..23 of a record's address: the value of register 0x0113 for its read.
constexpr uint8_t AddressHighByte(uint32_t address) { return static_cast<uint8_t>(address >> 16); }
// The low 16 bits: the register address of the read telegram.
constexpr uint16_t AddressLowWord(uint32_t address) { return static_cast<uint16_t>(address & 0xFFFF); }
// The address a read reaches with register 0x0113 holding `highByte`.
constexpr uint32_t RecordMemoryAddress(uint8_t highByte, uint16_t lowWord) {
    return static_cast<uint32_t>(highByte) << 16 | lowWord;
}

// Ring arithmetic of the record indices.
uint32_t NextRingIndex(uint32_t index);
uint32_t PreviousRingIndex(uint32_t index);
// The records from `oldest` up to the one before `newest`; the whole ring when equal.
uint32_t RingDistance(uint32_t oldest, uint32_t newest);

} // namespace zeko

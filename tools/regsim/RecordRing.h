#pragma once
// The record memory of the simulated regulator: a ring of 75,325 record places of
// 27 bytes, laid out in pages of 528 bytes that hold 19 records each, so record n
// lies at byte address (n div 19) * 528 + (n mod 19) * 27 (24-bit addresses; the
// ring's numbers and RecordAddress are the program's, core/RecordStore.h).
//
// The 27-byte record (multi-byte values low byte first):
// | Offset | Size | Field                                                         |
// |--------|------|---------------------------------------------------------------|
// | 0      | 6    | second, minute, hour, day, month, two-digit year; packed BCD |
// | 6      | 2    | status word                                                   |
// | 8      | 8    | impulse counters of inputs 1..4 in the quarter hour, 2 each   |
// | 16     | 9    | three 24-bit values                                           |
// | 25     | 2    | one 16-bit value                                              |
//
// Generated records are quarter-hour records with values drawn from a seed, so a
// test can ask for the same ring again (Generate with the same arguments) or read
// the ring back from an export file (Export: every place in index order).
#include "core/RecordStore.h"
#include "platform/DateTime.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zeko::regsim {

constexpr uint32_t MemoryBytes = (RingRecords + RingRecordsPerPage - 1) / RingRecordsPerPage * RingPageBytes;

using Record = std::array<uint8_t, WireRecordBytes>;

struct RecordFields {
    TDateTime Stamp = 0;  // whole seconds
    uint16_t Status = 0;
    std::array<uint16_t, 4> Counters{};
    std::array<uint32_t, 3> Values{};  // 24 bits each
    uint16_t LastValue = 0;
};

Record EncodeRecord(const RecordFields& fields);

// The record the generator makes for the n-th quarter hour of a run (n from 0).
RecordFields GeneratedRecord(uint64_t seed, TDateTime stamp, uint32_t n);

class RecordRing {
public:
    RecordRing();  // every byte 0xFF, as erased memory

    // Writes `count` quarter-hour records, the first stamped `first` at ring
    // index `firstIndex`, the following ones 15 minutes apart at the next indices
    // (wrapping after the last place).
    void Generate(uint64_t seed, TDateTime first, uint32_t count, uint32_t firstIndex);
    void Put(uint32_t index, const Record& record);
    Record Get(uint32_t index) const;

    // The byte at a 24-bit record-memory address (0xFF past the memory).
    uint8_t ByteAt(uint32_t address) const;
    // Every record place in index order, 27 bytes each; false when the file fails.
    bool Export(const std::string& path) const;

private:
    std::vector<uint8_t> memory_;
};

} // namespace zeko::regsim

#pragma once
// The record memory of the simulated regulator: the ring of record places laid out
// as the program reads it (core/RecordMemory.h), each place a wire record
// (core/WireRecord.h).
//
// Generated records are quarter-hour records of the simulated site (SiteLoad.h):
// the meters' impulses of each quarter hour and a whole quarter hour measured,
// drawn from a seed, so a test can ask for the same ring again (Generate with the
// same arguments) or read the ring back from an export file (Export: every place
// in index order).
#include "core/RecordMemory.h"
#include "core/WireRecord.h"
#include "platform/DateTime.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zeko::regsim {

constexpr uint32_t MemoryBytes = RecordMemoryBytes;

using Record = TWireBytes;

// The status word of a record that measured its whole quarter hour (seconds).
constexpr uint16_t QuarterSeconds = 900;

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

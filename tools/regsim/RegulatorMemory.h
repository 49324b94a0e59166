#pragma once
// The memory of the simulated regulator, by memory kind:
//   0  settings area (0x0E00..), live values at 0xFF00 (16 bytes, made up on each
//      read), the record pointers at 0x0E79 (7 bytes) and the upper byte of the
//      record address at 0x0113;
//   1  working registers (below 0x0100), the record pointers mirrored at 0x0079,
//      the clock at 0xFF00 (7 bytes packed BCD: second, minute, hour, day, month,
//      weekday Monday = 1, two-digit year), running from when it was last set;
//   2  the record ring (RecordRing.h), read at the 24-bit address made of the byte
//      at 0x0113 (bits 16..23) and the telegram's 16-bit address;
//   3  identification texts at 0x0070, 0x0080, 0x0090, 0x00A2 and a block at 0x0100.
// The record pointers are one block: newest index (24 bits), pointer flag, oldest
// unread index (24 bits), low byte first; a write to either copy changes both.
#include "platform/DateTime.h"
#include "tools/regsim/RecordRing.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace zeko::regsim {

struct RecordPointers {
    uint32_t Newest = 0;
    uint8_t Flag = 0;
    uint32_t OldestUnread = 0;
};

class RegulatorMemory {
public:
    static constexpr uint16_t LiveValuesAddress = 0xFF00;
    static constexpr uint16_t ClockAddress = 0xFF00;
    static constexpr uint16_t PointersSettings = 0x0E79;
    static constexpr uint16_t PointersWorking = 0x0079;
    static constexpr uint16_t PointersSize = 7;
    static constexpr uint16_t RecordAddressHigh = 0x0113;

    RegulatorMemory();  // plausible settings and identification texts

    RecordRing& Ring() { return ring_; }
    const RecordRing& Ring() const { return ring_; }

    void SetPointers(const RecordPointers& p);
    RecordPointers Pointers() const;

    void SetClock(TDateTime value);  // the clock runs on from here
    TDateTime Clock() const;

    // Identification text 1..4, padded with spaces (or cut) to its register size.
    void SetIdentText(int n, const std::string& text);

    // The bytes a read answers, and a write of kind 0 or 1 (false for other kinds).
    std::vector<uint8_t> Read(uint8_t kind, uint16_t address, uint8_t count) const;
    bool Write(uint8_t kind, uint16_t address, const std::vector<uint8_t>& data);
    // Sets plain memory of any kind, also the read-only kinds (for the --poke option).
    void Poke(uint8_t kind, uint16_t address, const std::vector<uint8_t>& data);

private:
    uint8_t ByteAt(uint8_t kind, uint16_t address) const;
    std::array<uint8_t, 16> LiveValues() const;
    std::array<uint8_t, 7> ClockBytes() const;
    void MirrorPointers(uint16_t fromAddress, std::vector<uint8_t>& from, std::vector<uint8_t>& to);

    std::vector<uint8_t> settings_, working_, ident_;
    RecordRing ring_;
    TDateTime clockAtSet_ = 0;
    std::chrono::steady_clock::time_point clockSetAt_;
    std::chrono::steady_clock::time_point started_;
};

} // namespace zeko::regsim

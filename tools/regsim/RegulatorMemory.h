#pragma once
// The memory of the simulated regulator, by memory kind, at the registers and in the
// layouts the program reads (core/RegisterTables.h, core/RegulatorReplies.h):
//   0  settings area, live values (the simulated site at the regulator's clock,
//      SiteLoad.h), the record pointers and
//      the upper byte of the record address;
//   1  working registers (the settings area's twins), the record pointers mirrored,
//      the clock, running from when it was last set;
//   2  the record ring (RecordRing.h), read at the 24-bit address made of the upper
//      address byte and the telegram's 16-bit address;
//   3  identification texts and the identification block.
// A write to either copy of the record pointers changes both.
#include "core/RegulatorReplies.h"
#include "platform/DateTime.h"
#include "tools/regsim/RecordRing.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace zeko::regsim {

using RecordPointers = TRecordPointers;

class RegulatorMemory {
public:
    RegulatorMemory();  // plausible settings and identification texts

    RecordRing& Ring() { return ring_; }
    const RecordRing& Ring() const { return ring_; }

    void SetPointers(const RecordPointers& p);
    RecordPointers Pointers() const;

    void SetClock(TDateTime value);  // the clock runs on from here
    // The seed of the site's days, as the generated records have it.
    void SetSiteSeed(uint64_t seed) { siteSeed_ = seed; }
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
    TLiveValueBytes LiveValues() const;
    void MirrorPointers(uint16_t fromAddress, std::vector<uint8_t>& from, std::vector<uint8_t>& to);
    void PutIdent(uint8_t index, const std::string& text);

    std::vector<uint8_t> settings_, working_, ident_;
    RecordRing ring_;
    TDateTime clockAtSet_ = 0;
    std::chrono::steady_clock::time_point clockSetAt_;
    std::chrono::steady_clock::time_point started_;
    uint64_t siteSeed_ = 1;
};

} // namespace zeko::regsim

#pragma once
// Station 8 on the bus: takes the bytes the PC sends, cuts telegrams out of them and
// answers each request addressed to station 8 from the regulator's memory:
// - a read gets one reply with the same control byte, the same 16-bit address and
//   the requested number of data bytes (record reads: from the 24-bit address of
//   register 0x0113 and the telegram's low 16 bits, which the reply echoes);
// - a write of memory kind 0 or 1, with a correct CRC-8 over control byte, address
//   and data, is stored and acknowledged with the write bit set, the same kind,
//   count and address, and the data written; the one-byte write whose length byte
//   is one too high (5 instead of 4) is taken like the others;
// - the two start-up writes (kind 1, registers 0x0000 and 0x0001) get no reply;
// - anything else (other stations, bad check bytes, a wrong CRC, writes of kinds 2
//   and 3) gets no reply.
#include "tools/regsim/RegulatorMemory.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zeko::regsim {

struct Exchange {
    std::vector<uint8_t> Received;  // the bytes consumed for this telegram (lead byte and any noise before it)
    std::vector<uint8_t> Reply;     // empty: no reply
    std::string Note;               // why there is no reply, when there is none
};

class Station {
public:
    static constexpr uint8_t Address = 8;

    explicit Station(RegulatorMemory& memory) : memory_(memory) {}

    // Takes received bytes; answers every complete telegram among them in order.
    std::vector<Exchange> Receive(const uint8_t* data, size_t count);
    // Bytes that lie waiting and belong to no telegram yet.
    const std::vector<uint8_t>& Pending() const { return buffer_; }
    // Gives up bytes that never became a telegram (answers them, may be empty).
    std::vector<uint8_t> TakeStale();

    // The reply to one complete telegram (starting at 0xA5); the note explains a
    // missing reply.
    std::vector<uint8_t> Answer(const std::vector<uint8_t>& telegram, std::string& note);

private:
    RegulatorMemory& memory_;
    std::vector<uint8_t> buffer_;
};

// A reply frame from station 8 to `destination`.
std::vector<uint8_t> BuildReply(uint8_t destination, uint8_t control, uint16_t address,
                                const std::vector<uint8_t>& data);

} // namespace zeko::regsim

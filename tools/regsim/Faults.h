#pragma once
// The faults the simulated regulator can put into its replies, each chosen for a
// percentage of replies by a generator seeded from the command line, so a run can
// be repeated. A reply becomes zero or more transmissions, each sent after its pause.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zeko::regsim {

// Data bytes changed in the read replies of one register, the check bytes made
// right again: well-formed replies that carry absurd values.
struct Alteration {
    uint8_t Kind = 0;
    uint16_t Address = 0;
    size_t Offset = 0;           // first data byte changed
    std::vector<uint8_t> Bytes;  // put in its place, and after it
    uint32_t Count = 0;          // replies changed, 0: every one
};

struct FaultSettings {
    uint64_t Seed = 1;
    int DropPercent = 0;          // no reply at all
    int WrongAddressPercent = 0;  // the register address one higher (checks still right)
    int CorruptPercent = 0;       // a wrong check byte (header or data check, in turn)
    int NoisePercent = 0;         // 1..6 random bytes before the reply
    int SplitPercent = 0;         // the reply in 2 or 3 pieces with pauses between
    int DoublePercent = 0;        // the reply sent twice
    uint32_t DelayMs = 0;         // pause before every reply
    uint32_t SplitPauseMs = 60;   // longer than the PC's 40 ms poll: the pieces come in separate reads
    uint32_t DoublePauseMs = 20;
    // The first acknowledgement of a write to each of these registers (memory kind,
    // address) is lost; the write itself is taken.
    std::vector<std::pair<uint8_t, uint16_t>> LoseFirstAck;
    // From a write to this register (memory kind, address) on, nothing is answered
    // any more; the write itself is taken.
    std::optional<std::pair<uint8_t, uint16_t>> MuteFromWrite;
    std::vector<Alteration> Alterations;
};

struct Transmission {
    uint32_t PauseMs = 0;  // before these bytes
    std::vector<uint8_t> Bytes;
    std::string Note;      // which fault made it, empty for a plain reply
};

class Faults {
public:
    explicit Faults(const FaultSettings& settings);

    // What goes on the line for one reply; `note` says why nothing does.
    std::vector<Transmission> Apply(std::vector<uint8_t> reply, std::string& note);

private:
    bool Chance(int percent);
    // Changes the reply's data as an alteration asks; false when none applies.
    bool Alter(std::vector<uint8_t>& reply);
    uint64_t Next();

    FaultSettings settings_;
    uint64_t state_;
    bool corruptHeaderNext_ = true;
    std::vector<std::pair<uint8_t, uint16_t>> acksToLose_;
    std::vector<Alteration> alterations_;  // Count: the changes left (0: no limit)
    std::vector<bool> spent_;
    bool mutedForGood_ = false;
};

} // namespace zeko::regsim

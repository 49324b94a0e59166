#pragma once
// The command line of the simulated regulator (regsim --help lists it).
#include "platform/DateTime.h"
#include "tools/regsim/Faults.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zeko::regsim {

struct Poke {
    uint8_t Kind = 0;
    uint16_t Address = 0;
    std::vector<uint8_t> Bytes;
};

struct Options {
    std::string LogPath;         // --log
    std::string ExportRingPath;  // --export-ring
    std::string LinkPath;        // --link: a symbolic link to the slave of the pty
    uint32_t Records = 0;        // --records
    std::optional<TDateTime> Start;  // --start; else the records end at the clock's last quarter hour
    uint32_t FirstIndex = 0;     // --first-index
    uint32_t MoreRecords = 0;    // --more-records: a second run at the indices after the first
    std::optional<TDateTime> MoreStart;  // --more-start: its first stamp
    std::optional<uint32_t> Newest, OldestUnread;  // --newest, --oldest-unread
    std::optional<uint8_t> PointerFlag;            // --pointer-flag
    uint64_t Seed = 1;           // --seed (records and faults)
    std::optional<TDateTime> Clock;                // --clock
    std::vector<std::pair<int, std::string>> IdentTexts;  // --ident N=TEXT
    std::vector<Poke> Pokes;     // --poke KIND:ADDR=HEX
    FaultSettings Faults;
    uint32_t PaceBaud = 0;       // --pace
    uint32_t TurnaroundMs = 0;   // --turnaround: the regulator's own pause before a reply
    std::optional<uint32_t> MuteAfter;  // --mute-after: silent after that many replies
    bool Help = false;
};

// Throws std::invalid_argument with a message naming the bad option.
Options ParseOptions(const std::vector<std::string>& args);
const char* Usage();

// The record pointers the options ask for (defaults follow from the ring contents).
struct RingPlan {
    TDateTime FirstStamp = 0;
    uint32_t Newest = 0, OldestUnread = 0;
    uint8_t Flag = 0;
};
RingPlan PlanRing(const Options& options, TDateTime clock);

class RecordRing;
// Writes the records the options ask for into the ring: those of --records from the
// plan's first stamp, then those of --more-records at the indices after them.
void FillRing(const Options& options, const RingPlan& plan, RecordRing& ring);

} // namespace zeko::regsim

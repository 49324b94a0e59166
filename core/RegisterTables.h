#pragma once
// The register tables of the bus stations: for each station family, a command index
// (from 0) gives a register address and a byte count (only its low byte counts).
// The table builder of TKomunikace reads them. The program itself addresses only
// the regulator, station 8; the other families' tables keep their sizes.
#include <cstddef>
#include <cstdint>
#include <span>

namespace zeko {

struct TRegisterEntry {
    uint16_t Address;
    uint16_t Count;
};

// The table of a destination, empty when the destination has none. An index past
// the end of a table is not a telegram.
std::span<const TRegisterEntry> RegisterTableFor(uint8_t destination);

// Destinations 100..114 go out as station 2 with a bank byte (destination - 100).
inline bool IsBankedDestination(uint8_t destination) { return destination >= 100 && destination <= 114; }

// Command indices of the regulator's table (station 8). The settings-area entries
// are written together with their working-register twins (the *Ram entries).
namespace reg8 {
constexpr uint8_t IdentText1 = 0;         // 0x0070, 15 bytes, kind 3
constexpr uint8_t IdentText2 = 1;         // 0x0080, 15 bytes, kind 3
constexpr uint8_t IdentText3 = 2;         // 0x0090, 17 bytes, kind 3
constexpr uint8_t IdentText4 = 3;         // 0x00A2, 21 bytes, kind 3
constexpr uint8_t IdentBlock = 4;         // 0x0100, 26 bytes, kind 3
constexpr uint8_t Settings0E01 = 5;       // 0x0E01, 1 byte
constexpr uint8_t OutputCount = 6;        // 0x0E08, 1 byte
constexpr uint8_t OutputTypesLow = 7;     // 0x0E09, 1 byte
constexpr uint8_t OutputTypesHigh = 8;    // 0x0E0A, 1 byte
constexpr uint8_t OutputValues1 = 9;      // 0x0E0B, 16 bytes
constexpr uint8_t OutputValues2 = 10;     // 0x0E1B, 16 bytes
constexpr uint8_t SmallestOutput = 11;    // 0x0E2B, 2 bytes
constexpr uint8_t SumC = 12;              // 0x0E2D, 6 bytes
constexpr uint8_t DischargeTimes = 13;    // 0x0E33, 16 bytes
constexpr uint8_t MeterConstants = 14;    // 0x0E50, 16 bytes
constexpr uint8_t Settings0E60 = 15;      // 0x0E60, 16 bytes
constexpr uint8_t InputFunctions = 16;    // 0x0E70, 8 bytes
constexpr uint8_t LiveValues = 17;        // 0xFF00, 16 bytes, kind 0
constexpr uint8_t RecordPointersRam = 18; // 0x0079, 7 bytes, kind 1
constexpr uint8_t ReadPositionRam = 19;   // 0x007C, 4 bytes, kind 1
constexpr uint8_t RecordAddressHigh = 20; // 0x0113, 1 byte
constexpr uint8_t LastSettingsBlock = 21; // 0x0E80, 24 bytes
constexpr uint8_t SettingsByte = 22;      // 0x0E02, 1 byte
constexpr uint8_t RecordPointers = 23;    // 0x0E79, 7 bytes
constexpr uint8_t ReadPosition = 24;      // 0x0E7C, 4 bytes
constexpr uint8_t Unused0E00 = 25;        // 0x0E00, 1 byte
constexpr uint8_t StartupWrite1 = 26;     // 0x0000, 1 byte, kind 1
constexpr uint8_t StartupWrite2 = 27;     // 0x0001, 1 byte, kind 1
constexpr uint8_t Clock = 28;             // 0xFF00, 7 bytes, kind 1
constexpr uint8_t Band = 29;              // 0x0E86, 3 bytes
constexpr uint8_t BandRam = 30;           // 0x0086
constexpr uint8_t Band2 = 31;             // 0x0E8F, 3 bytes
constexpr uint8_t Band2Ram = 32;          // 0x008F
constexpr uint8_t Speeds = 33;            // 0x0E80, 5 bytes
constexpr uint8_t SpeedsRam = 34;         // 0x0080
constexpr uint8_t Band2Window = 35;       // 0x0E92, 4 bytes
constexpr uint8_t Band2WindowRam = 36;    // 0x0092
constexpr uint8_t Averaging = 37;         // 0x0E8B, 4 bytes
constexpr uint8_t AveragingRam = 38;      // 0x008B
constexpr uint8_t InputFunctionsRam = 39; // 0x0070, 8 bytes
constexpr uint8_t MeterConstantsRam = 40; // 0x0050, 16 bytes
constexpr uint8_t Unused0060 = 41;        // 0x0060, 16 bytes
constexpr uint8_t OutputCountRam = 42;    // 0x0008
constexpr uint8_t OutputTypesLowRam = 43; // 0x0009
constexpr uint8_t OutputTypesHighRam = 44;// 0x000A
constexpr uint8_t OutputValues1Ram = 45;  // 0x000B
constexpr uint8_t OutputValues2Ram = 46;  // 0x001B
constexpr uint8_t DischargeTimesRam = 47; // 0x0033
constexpr uint8_t FaultOutput = 48;       // 0x0E96, 1 byte
constexpr uint8_t FaultOutputRam = 49;    // 0x0096
constexpr uint8_t FaultDelay = 50;        // 0x0E97, 1 byte
constexpr uint8_t FaultDelayRam = 51;     // 0x0097
constexpr uint8_t SettingsByteRam = 52;   // 0x0002
constexpr size_t Size = 53;
} // namespace reg8

} // namespace zeko

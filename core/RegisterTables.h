#pragma once
// The register tables of the bus stations: for each station family, a command index
// (from 0) gives a register address and a byte count (only its low byte counts).
// The table builder of TKomunikace reads them. The program itself addresses only
// the regulator, station 8: its registers are named here once, and its table is
// built from those names, each index given its entry by name; the program and the
// simulated regulator (tools/regsim) use the names. The other families' tables keep
// their sizes.
#include "core/Telegram.h"

#include <array>
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
inline bool IsBankedDestination(uint8_t destination) { return tlg::BankedStations.Holds(destination); }

// The registers of the regulator, by the memory kind the program uses them with.
namespace Registers {
// Memory kind 0: the settings area from 0x0E00; each settings group has a twin in
// the working registers (kind 1) at the same place below 0x0100.
constexpr uint16_t SettingsArea = 0x0E00;
constexpr uint16_t SettingsAreaEnd = 0x0F00;  // the first register after it
constexpr uint16_t WorkingTwin(uint16_t settingsRegister) {
    return static_cast<uint16_t>(settingsRegister - SettingsArea);
}
constexpr uint16_t Unused0E00 = 0x0E00;
constexpr uint16_t Settings0E01 = 0x0E01;
constexpr uint16_t Switches = 0x0E02;  // the settings byte
constexpr uint16_t OutputCount = 0x0E08;
constexpr uint16_t OutputTypesLow = 0x0E09;
constexpr uint16_t OutputTypesHigh = 0x0E0A;
constexpr uint16_t OutputValues1 = 0x0E0B;  // outputs 1..8
constexpr uint16_t OutputValues9 = 0x0E1B;  // outputs 9..16
constexpr uint16_t SmallestOutput = 0x0E2B;
constexpr uint16_t SumC = 0x0E2D;
constexpr uint16_t DischargeTimes = 0x0E33;
constexpr uint16_t MeterConstants = 0x0E50;
constexpr uint16_t Settings0E60 = 0x0E60;
constexpr uint16_t InputFunctions = 0x0E70;
constexpr uint16_t RecordPointers = 0x0E79;
constexpr uint16_t ReadPosition = 0x0E7C;  // the flag and the oldest unread index of the pointers
constexpr uint16_t LastBlock = 0x0E80;     // the last settings block; its first 5 bytes are the speeds
constexpr uint16_t Speeds = LastBlock;
constexpr uint16_t Band = 0x0E86;
constexpr uint16_t Averaging = 0x0E8B;
constexpr uint16_t Band2 = 0x0E8F;
constexpr uint16_t Band2Window = 0x0E92;
constexpr uint16_t FaultOutput = 0x0E96;
constexpr uint16_t FaultDelay = 0x0E97;
// Bits 16..23 of the record-memory address the record reads use.
constexpr uint16_t RecordAddressHigh = 0x0113;
// The 16 bytes of live values.
constexpr uint16_t LiveValues = 0xFF00;

// Memory kind 1: the working registers and the clock.
constexpr uint16_t StartWrite1 = 0x0000;
constexpr uint16_t StartWrite2 = 0x0001;
constexpr uint16_t RecordPointersWorking = WorkingTwin(RecordPointers);
constexpr uint16_t ReadPositionWorking = WorkingTwin(ReadPosition);
constexpr uint16_t Unused0060 = 0x0060;
constexpr uint16_t Clock = 0xFF00;

// Memory kind 3: the identification texts and the identification block.
constexpr uint16_t IdentText1 = 0x0070;
constexpr uint16_t IdentText2 = 0x0080;
constexpr uint16_t IdentText3 = 0x0090;
constexpr uint16_t IdentText4 = 0x00A2;
constexpr uint16_t IdentBlock = 0x0100;
} // namespace Registers

// Command indices of the regulator's table (station 8). The settings-area entries
// are written together with their working-register twins (the *Ram entries).
namespace reg8 {
constexpr uint8_t IdentText1 = 0;
constexpr uint8_t IdentText2 = 1;
constexpr uint8_t IdentText3 = 2;
constexpr uint8_t IdentText4 = 3;
constexpr uint8_t IdentBlock = 4;
constexpr uint8_t Settings0E01 = 5;
constexpr uint8_t OutputCount = 6;
constexpr uint8_t OutputTypesLow = 7;
constexpr uint8_t OutputTypesHigh = 8;
constexpr uint8_t OutputValues1 = 9;
constexpr uint8_t OutputValues2 = 10;
constexpr uint8_t SmallestOutput = 11;
constexpr uint8_t SumC = 12;
constexpr uint8_t DischargeTimes = 13;
constexpr uint8_t MeterConstants = 14;
constexpr uint8_t Settings0E60 = 15;
constexpr uint8_t InputFunctions = 16;
constexpr uint8_t LiveValues = 17;
constexpr uint8_t RecordPointersRam = 18;
constexpr uint8_t ReadPositionRam = 19;
constexpr uint8_t RecordAddressHigh = 20;
constexpr uint8_t LastSettingsBlock = 21;
constexpr uint8_t SettingsByte = 22;
constexpr uint8_t RecordPointers = 23;
constexpr uint8_t ReadPosition = 24;
constexpr uint8_t Unused0E00 = 25;
constexpr uint8_t StartupWrite1 = 26;
constexpr uint8_t StartupWrite2 = 27;
constexpr uint8_t Clock = 28;
constexpr uint8_t Band = 29;
constexpr uint8_t BandRam = 30;
constexpr uint8_t Band2 = 31;
constexpr uint8_t Band2Ram = 32;
constexpr uint8_t Speeds = 33;
constexpr uint8_t SpeedsRam = 34;
constexpr uint8_t Band2Window = 35;
constexpr uint8_t Band2WindowRam = 36;
constexpr uint8_t Averaging = 37;
constexpr uint8_t AveragingRam = 38;
constexpr uint8_t InputFunctionsRam = 39;
constexpr uint8_t MeterConstantsRam = 40;
constexpr uint8_t Unused0060 = 41;
constexpr uint8_t OutputCountRam = 42;
constexpr uint8_t OutputTypesLowRam = 43;
constexpr uint8_t OutputTypesHighRam = 44;
constexpr uint8_t OutputValues1Ram = 45;
constexpr uint8_t OutputValues2Ram = 46;
constexpr uint8_t DischargeTimesRam = 47;
constexpr uint8_t FaultOutput = 48;
constexpr uint8_t FaultOutputRam = 49;
constexpr uint8_t FaultDelay = 50;
constexpr uint8_t FaultDelayRam = 51;
constexpr uint8_t SettingsByteRam = 52;
constexpr size_t Size = 53;
} // namespace reg8

namespace detail {
using TRegulatorTable = std::array<TRegisterEntry, reg8::Size>;

// Every index gets its entry by name, so no entry can land at another index.
constexpr TRegulatorTable BuildRegulatorTable() {
    namespace R = Registers;
    using R::WorkingTwin;
    TRegulatorTable t{};
    auto pair = [&t](uint8_t settings, uint8_t working, uint16_t address, uint16_t count) {
        t[settings] = {address, count};
        t[working] = {WorkingTwin(address), count};
    };
    t[reg8::IdentText1] = {R::IdentText1, 15};
    t[reg8::IdentText2] = {R::IdentText2, 15};
    t[reg8::IdentText3] = {R::IdentText3, 17};
    t[reg8::IdentText4] = {R::IdentText4, 21};
    t[reg8::IdentBlock] = {R::IdentBlock, 26};
    t[reg8::Settings0E01] = {R::Settings0E01, 1};
    pair(reg8::OutputCount, reg8::OutputCountRam, R::OutputCount, 1);
    pair(reg8::OutputTypesLow, reg8::OutputTypesLowRam, R::OutputTypesLow, 1);
    pair(reg8::OutputTypesHigh, reg8::OutputTypesHighRam, R::OutputTypesHigh, 1);
    pair(reg8::OutputValues1, reg8::OutputValues1Ram, R::OutputValues1, 16);
    pair(reg8::OutputValues2, reg8::OutputValues2Ram, R::OutputValues9, 16);
    t[reg8::SmallestOutput] = {R::SmallestOutput, 2};
    t[reg8::SumC] = {R::SumC, 6};
    pair(reg8::DischargeTimes, reg8::DischargeTimesRam, R::DischargeTimes, 16);
    pair(reg8::MeterConstants, reg8::MeterConstantsRam, R::MeterConstants, 16);
    t[reg8::Settings0E60] = {R::Settings0E60, 16};
    pair(reg8::InputFunctions, reg8::InputFunctionsRam, R::InputFunctions, 8);
    t[reg8::LiveValues] = {R::LiveValues, 16};
    t[reg8::RecordPointersRam] = {R::RecordPointersWorking, 7};
    t[reg8::ReadPositionRam] = {R::ReadPositionWorking, 4};
    t[reg8::RecordAddressHigh] = {R::RecordAddressHigh, 1};
    t[reg8::LastSettingsBlock] = {R::LastBlock, 24};
    pair(reg8::SettingsByte, reg8::SettingsByteRam, R::Switches, 1);
    t[reg8::RecordPointers] = {R::RecordPointers, 7};
    t[reg8::ReadPosition] = {R::ReadPosition, 4};
    t[reg8::Unused0E00] = {R::Unused0E00, 1};
    t[reg8::StartupWrite1] = {R::StartWrite1, 1};
    t[reg8::StartupWrite2] = {R::StartWrite2, 1};
    t[reg8::Clock] = {R::Clock, 7};
    pair(reg8::Band, reg8::BandRam, R::Band, 3);
    pair(reg8::Band2, reg8::Band2Ram, R::Band2, 3);
    pair(reg8::Speeds, reg8::SpeedsRam, R::Speeds, 5);
    pair(reg8::Band2Window, reg8::Band2WindowRam, R::Band2Window, 4);
    pair(reg8::Averaging, reg8::AveragingRam, R::Averaging, 4);
    t[reg8::Unused0060] = {R::Unused0060, 16};
    pair(reg8::FaultOutput, reg8::FaultOutputRam, R::FaultOutput, 1);
    pair(reg8::FaultDelay, reg8::FaultDelayRam, R::FaultDelay, 1);
    return t;
}

constexpr bool EveryEntryFilled(const TRegulatorTable& table) {
    for (const TRegisterEntry& e : table)
        if (e.Count == 0)
            return false;
    return true;
}
} // namespace detail

// The table of station 8.
inline constexpr detail::TRegulatorTable RegulatorTable = detail::BuildRegulatorTable();
static_assert(detail::EveryEntryFilled(RegulatorTable), "an index of station 8 has no entry");

// The register and byte count of an index of station 8, at compile time where the
// index is a constant.
constexpr uint16_t RegisterOf(uint8_t index) { return RegulatorTable[index].Address; }
constexpr uint8_t BytesOf(uint8_t index) { return static_cast<uint8_t>(RegulatorTable[index].Count & 0xFF); }

// The indices the program and the simulated regulator use, against the registers
// they expect behind them.
static_assert(RegisterOf(reg8::SettingsByte) == Registers::Switches);
static_assert(RegisterOf(reg8::IdentText1) == Registers::IdentText1);
static_assert(RegisterOf(reg8::IdentText2) == Registers::IdentText2);
static_assert(RegisterOf(reg8::IdentText3) == Registers::IdentText3);
static_assert(RegisterOf(reg8::IdentText4) == Registers::IdentText4);
static_assert(RegisterOf(reg8::IdentBlock) == Registers::IdentBlock);
static_assert(RegisterOf(reg8::OutputCount) == Registers::OutputCount);
static_assert(RegisterOf(reg8::OutputTypesLow) == Registers::OutputTypesLow);
static_assert(RegisterOf(reg8::OutputTypesHigh) == Registers::OutputTypesHigh);
static_assert(RegisterOf(reg8::OutputValues1) == Registers::OutputValues1);
static_assert(RegisterOf(reg8::OutputValues2) == Registers::OutputValues9);
static_assert(RegisterOf(reg8::SmallestOutput) == Registers::SmallestOutput);
static_assert(RegisterOf(reg8::SumC) == Registers::SumC);
static_assert(RegisterOf(reg8::DischargeTimes) == Registers::DischargeTimes);
static_assert(RegisterOf(reg8::MeterConstants) == Registers::MeterConstants);
static_assert(RegisterOf(reg8::InputFunctions) == Registers::InputFunctions);
static_assert(RegisterOf(reg8::Clock) == Registers::Clock);
static_assert(RegisterOf(reg8::LastSettingsBlock) == Registers::LastBlock);
static_assert(RegisterOf(reg8::LiveValues) == Registers::LiveValues);
static_assert(RegisterOf(reg8::RecordPointers) == Registers::RecordPointers);
static_assert(RegisterOf(reg8::RecordPointersRam) == Registers::RecordPointersWorking);
static_assert(RegisterOf(reg8::ReadPosition) == Registers::ReadPosition);
static_assert(RegisterOf(reg8::ReadPositionRam) == Registers::ReadPositionWorking);
static_assert(RegisterOf(reg8::RecordAddressHigh) == Registers::RecordAddressHigh);
static_assert(RegisterOf(reg8::StartupWrite1) == Registers::StartWrite1);
static_assert(RegisterOf(reg8::StartupWrite2) == Registers::StartWrite2);
// The read position is the tail of the record pointers.
static_assert(RegisterOf(reg8::ReadPosition) + BytesOf(reg8::ReadPosition) ==
              RegisterOf(reg8::RecordPointers) + BytesOf(reg8::RecordPointers));

} // namespace zeko

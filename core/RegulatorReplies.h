#pragma once
// The data of the regulator's replies: each layout once, with the decoder that
// stores a reply into a TZEKO and the encoder that makes the bytes from one (the
// simulated regulator answers with them). Multi-byte values are little-endian. The
// sizes are those of the register table (core/RegisterTables.h).
//
// Live values (register 0xFF00 of the settings area, 16 bytes):
//   0   4  active power, IEEE single, W          -> ActivePower (kW)
//   4   4  reactive power, IEEE single, VAr      -> ReactivePower (kVAr, < 0 capacitive)
//   8   2  output state word                     -> LiveWords.OutputStates
//   10  2  time to the next regulation step      -> LiveWords.NextStepTime
//   12  1  bit 1: second band active             -> LiveWords.BandWord
//   13  1  regulation state code                 -> LiveWords.RegulationState
//   14  2  record time, seconds                  -> RecordTime and RecordTimeCopy
//
// Last settings block (register 0x0E80, 24 bytes):
//   0 2 SpeedUnder, 2 2 SpeedOver, 4 1 SpeedType, 5 1 unused, 6 BandLow, 7 BandCentre,
//   8 BandHigh, 9 BlockBytes[0], 10 BlockBytes[1], 11 AveragingIndex,
//   12 NonAveragedPulse, 13 SensitivityIndex, 14 UnderWait, 15 Band2Low,
//   16 Band2Centre, 17 Band2High, 18 2 bit 15 UseBand2 / bits 14..0 Band2Start,
//   20 2 bits 14..0 Band2End, 22 FaultOutput, 23 FaultDelay
//
// Clock (register 0xFF00 of the working registers, 7 bytes, packed BCD, in the
// order DecodeBcdDateTime reads): second, minute, hour, day, month, weekday
// (Monday = 1), two-digit year.
//
// Record pointers (register 0x0E79, 7 bytes; mirrored at 0x0079):
//   0 3 newest index, 3 1 pointer flag, 4 3 oldest unread index
// The read position (0x0E7C, 4 bytes) is the flag and the oldest unread index.
//
// The settings of the start-up reading (registers 0x0E02 .. 0x0E70): the switches
// byte; the output count minus 1; the low and the high byte of the output types;
// eight 16-bit output values twice; the smallest output (16 bits); SumC and SumC2
// (24 bits each); 16 discharge times; four 32-bit meter constants; four input
// functions followed by four unused bytes.
#include "core/RegisterTables.h"
#include "core/Zeko.h"
#include "platform/DateTime.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zeko {

namespace LiveLayout {
constexpr size_t ActivePower = 0;
constexpr size_t ReactivePower = 4;
constexpr size_t OutputStates = 8;
constexpr size_t NextStepTime = 10;
constexpr size_t BandByte = 12;
constexpr size_t RegulationState = 13;
constexpr size_t RecordTime = 14;
constexpr size_t Size = 16;
constexpr uint8_t BandBit = 1;
static_assert(Size == BytesOf(reg8::LiveValues) && RecordTime + 2 == Size);
} // namespace LiveLayout

namespace LastBlockLayout {
constexpr size_t SpeedUnder = 0;
constexpr size_t SpeedOver = 2;
constexpr size_t SpeedType = 4;
constexpr size_t BandLow = 6;
constexpr size_t BandCentre = 7;
constexpr size_t BandHigh = 8;
constexpr size_t BlockBytes = 9;
constexpr size_t AveragingIndex = 11;
constexpr size_t NonAveragedPulse = 12;
constexpr size_t SensitivityIndex = 13;
constexpr size_t UnderWait = 14;
constexpr size_t Band2Low = 15;
constexpr size_t Band2Centre = 16;
constexpr size_t Band2High = 17;
constexpr size_t Band2Start = 18;  // bit 15: UseBand2
constexpr size_t Band2End = 20;
constexpr size_t FaultOutput = 22;
constexpr size_t FaultDelay = 23;
constexpr size_t Size = 24;
constexpr uint16_t UseBand2Bit = 0x8000;
constexpr uint16_t MinuteMask = 0x7FFF;
static_assert(Size == BytesOf(reg8::LastSettingsBlock) && FaultDelay + 1 == Size);
// The settings-write groups inside the block.
static_assert(Registers::LastBlock + BandLow == Registers::Band &&
              Registers::LastBlock + AveragingIndex == Registers::Averaging &&
              Registers::LastBlock + Band2Low == Registers::Band2 &&
              Registers::LastBlock + Band2Start == Registers::Band2Window &&
              Registers::LastBlock + FaultOutput == Registers::FaultOutput &&
              Registers::LastBlock + FaultDelay == Registers::FaultDelay);
} // namespace LastBlockLayout

namespace ClockLayout {
constexpr size_t Second = 0;
constexpr size_t Minute = 1;
constexpr size_t Hour = 2;
constexpr size_t Day = 3;
constexpr size_t Month = 4;
constexpr size_t Weekday = 5;
constexpr size_t Year = 6;
constexpr size_t Size = 7;
static_assert(Size == BytesOf(reg8::Clock) && Year + 1 == Size);
} // namespace ClockLayout

namespace PointerLayout {
constexpr size_t Newest = 0;        // 24 bits
constexpr size_t Flag = 3;
constexpr size_t OldestUnread = 4;  // 24 bits
constexpr size_t Size = 7;
// The read position: the pointers from the flag on.
constexpr size_t ReadPosition = Flag;
constexpr size_t ReadPositionSize = Size - ReadPosition;
static_assert(Size == BytesOf(reg8::RecordPointers) && OldestUnread + 3 == Size);
static_assert(Registers::RecordPointers + ReadPosition == Registers::ReadPosition &&
              ReadPositionSize == BytesOf(reg8::ReadPosition));
} // namespace PointerLayout

constexpr size_t LiveValuesBytes = LiveLayout::Size;
constexpr size_t LastBlockBytes = LastBlockLayout::Size;
constexpr size_t ClockBytes = ClockLayout::Size;
constexpr size_t RecordPointerBytes = PointerLayout::Size;
constexpr size_t ReadPositionBytes = PointerLayout::ReadPositionSize;

using TLiveValueBytes = std::array<uint8_t, LiveValuesBytes>;
using TLastBlockBytes = std::array<uint8_t, LastBlockBytes>;
using TClockBytes = std::array<uint8_t, ClockBytes>;
using TPointerBytes = std::array<uint8_t, RecordPointerBytes>;

// Each decoder answers false (and stores nothing) when the reply carries fewer
// data bytes than its layout.
bool DecodeLiveValues(const uint8_t* data, int length, TZEKO& state);
bool DecodeLastSettingsBlock(const uint8_t* data, int length, TZEKO& state);
// The clock in packed BCD; ClockTick := tick - 100 ms. A clock that is no date and
// time (a month 13, a byte that is no BCD number) is refused: ClockValid := false
// and the clock fields keep the last valid reading.
bool DecodeClock(const uint8_t* data, int length, TZEKO& state, uint32_t tick);
bool DecodeRecordPointers(const uint8_t* data, int length, TZEKO& state);

// A settings reply of the start-up reading (registers 0x0E02 .. 0x0E70); false when
// the register is none of them or the reply is too short. InputFunctions also sets
// the input constants.
bool DecodeStartupSettings(uint16_t address, const uint8_t* data, int length, TZEKO& state);
// InputConstants[i] := MeterConstants[InputFunctions[i]] for functions 0..3, else 1.
void DeriveInputConstants(TZEKO& state);

// The record pointers as one block.
struct TRecordPointers {
    uint32_t Newest = 0;
    uint8_t Flag = 0;
    uint32_t OldestUnread = 0;
};
TRecordPointers DecodePointerBlock(const uint8_t* data);
TPointerBytes EncodePointerBlock(const TRecordPointers& pointers);

// The read position written back: pointer flag 0 and the index's three bytes.
std::array<uint8_t, ReadPositionBytes> ReadPositionData(uint32_t nextIndex);

// The encoders: the bytes the regulator answers for the state's fields.
TLiveValueBytes EncodeLiveValues(const TZEKO& state);
TLastBlockBytes EncodeLastSettingsBlock(const TZEKO& state);
// The date and time in whole seconds, the weekday Monday = 1.
TClockBytes EncodeClock(TDateTime dateTime);
// The data of a settings register of the start-up reading, as many bytes as its
// table entry; empty for any other register.
std::vector<uint8_t> EncodeStartupSettings(uint16_t address, const TZEKO& state);

// The settings registers of the start-up reading, in the order of the chain.
inline constexpr std::array<uint8_t, 11> StartupSettingsIndices = {
    reg8::SettingsByte,   reg8::OutputCount, reg8::OutputTypesLow, reg8::OutputTypesHigh,
    reg8::OutputValues1,  reg8::OutputValues2, reg8::SmallestOutput, reg8::SumC,
    reg8::DischargeTimes, reg8::MeterConstants, reg8::InputFunctions};

} // namespace zeko

#pragma once
// What the data bytes of the regulator's replies mean: decoders that store a reply
// of the start-up reading, the live values or the record pointers into a TZEKO.
// Multi-byte values are little-endian.
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
// Record pointers (register 0x0E79, 7 bytes):
//   0 3 newest index, 3 1 pointer flag, 4 3 oldest unread index
#include "core/Zeko.h"

#include <array>
#include <cstdint>

namespace zeko {

namespace Registers {
constexpr uint16_t LiveValues = 0xFF00;  // kind 0; the clock is 0xFF00 of kind 1
constexpr uint16_t Clock = 0xFF00;
constexpr uint16_t Switches = 0x0E02;
constexpr uint16_t OutputCount = 0x0E08;
constexpr uint16_t OutputTypesLow = 0x0E09;
constexpr uint16_t OutputTypesHigh = 0x0E0A;
constexpr uint16_t OutputValues1 = 0x0E0B;
constexpr uint16_t OutputValues9 = 0x0E1B;
constexpr uint16_t SmallestOutput = 0x0E2B;
constexpr uint16_t SumC = 0x0E2D;
constexpr uint16_t DischargeTimes = 0x0E33;
constexpr uint16_t MeterConstants = 0x0E50;
constexpr uint16_t InputFunctions = 0x0E70;
constexpr uint16_t LastBlock = 0x0E80;
constexpr uint16_t RecordPointers = 0x0E79;
constexpr uint16_t ReadPosition = 0x0E7C;
constexpr uint16_t RecordAddressHigh = 0x0113;
constexpr uint16_t StartWrite1 = 0x0000;
constexpr uint16_t StartWrite2 = 0x0001;
constexpr uint16_t RecordPointersWorking = 0x0079;
constexpr uint16_t ReadPositionWorking = 0x007C;
constexpr uint16_t IdentText1 = 0x0070;
constexpr uint16_t IdentText2 = 0x0080;
constexpr uint16_t IdentText3 = 0x0090;
constexpr uint16_t IdentText4 = 0x00A2;
} // namespace Registers

constexpr size_t LiveValuesBytes = 16;
constexpr size_t LastBlockBytes = 24;
constexpr size_t ClockBytes = 7;
constexpr size_t RecordPointerBytes = 7;
constexpr size_t ReadPositionBytes = 4;

// Each decoder answers false (and stores nothing) when the reply carries fewer
// data bytes than its layout.
bool DecodeLiveValues(const uint8_t* data, int length, TZEKO& state);
bool DecodeLastSettingsBlock(const uint8_t* data, int length, TZEKO& state);
// The clock in packed BCD; ClockTick := tick - 100 ms.
bool DecodeClock(const uint8_t* data, int length, TZEKO& state, uint32_t tick);
bool DecodeRecordPointers(const uint8_t* data, int length, TZEKO& state);

// A settings reply of the start-up reading (registers 0x0E02 .. 0x0E70); false when
// the register is none of them or the reply is too short. InputFunctions also sets
// the input constants.
bool DecodeStartupSettings(uint16_t address, const uint8_t* data, int length, TZEKO& state);
// InputConstants[i] := MeterConstants[InputFunctions[i]] for functions 0..3, else 1.
void DeriveInputConstants(TZEKO& state);

// The read position written back: pointer flag 0 and the index's three bytes.
std::array<uint8_t, ReadPositionBytes> ReadPositionData(uint32_t nextIndex);

} // namespace zeko

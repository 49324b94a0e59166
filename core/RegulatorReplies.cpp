#include "core/RegulatorReplies.h"

#include "core/BinaryData.h"
#include "core/PowerFactor.h"

namespace zeko {

namespace {

constexpr uint16_t UseBand2Bit = 0x8000;
constexpr uint16_t MinuteMask = 0x7FFF;

} // namespace

bool DecodeLiveValues(const uint8_t* d, int length, TZEKO& s) {
    if (length < static_cast<int>(LiveValuesBytes))
        return false;
    s.ActivePower = ReadSingleLE(d + 0) / 1000.0;
    s.ReactivePower = ReadSingleLE(d + 4) / 1000.0;
    s.LiveWords.OutputStates = ReadWordLE(d + 8);
    s.LiveWords.NextStepTime = ReadWordLE(d + 10);
    s.LiveWords.BandWord = (d[12] >> 1) & 1;
    s.LiveWords.RegulationState = d[13];
    s.LiveWords.RecordTime = ReadWordLE(d + 14);
    s.LiveWords.RecordTimeCopy = s.LiveWords.RecordTime;
    s.CosPhi = SignedCosPhi(s.ActivePower, s.ReactivePower, 0);
    return true;
}

bool DecodeLastSettingsBlock(const uint8_t* d, int length, TZEKO& s) {
    if (length < static_cast<int>(LastBlockBytes))
        return false;
    s.SpeedUnder = ReadWordLE(d + 0);
    s.SpeedOver = ReadWordLE(d + 2);
    s.SpeedType = d[4];
    s.BandLow = d[6];
    s.BandCentre = d[7];
    s.BandHigh = d[8];
    s.BlockBytes[0] = d[9];
    s.BlockBytes[1] = d[10];
    s.AveragingIndex = d[11];
    s.NonAveragedPulse = d[12];
    s.SensitivityIndex = d[13];
    s.UnderWait = d[14];
    s.Band2Low = d[15];
    s.Band2Centre = d[16];
    s.Band2High = d[17];
    const uint16_t start = ReadWordLE(d + 18);
    s.UseBand2 = (start & UseBand2Bit) ? 1 : 0;
    s.Band2Start = start & MinuteMask;
    s.Band2End = ReadWordLE(d + 20) & MinuteMask;
    s.FaultOutput = d[22];
    s.FaultDelay = d[23];
    return true;
}

bool DecodeClock(const uint8_t* d, int length, TZEKO& s, uint32_t tick) {
    if (length < static_cast<int>(ClockBytes))
        return false;
    DecodeBcdDateTime(d, s.ClockDate, s.ClockTime, s.ClockWeekday);
    s.ClockTick = tick - 100;
    return true;
}

bool DecodeRecordPointers(const uint8_t* d, int length, TZEKO& s) {
    if (length < static_cast<int>(RecordPointerBytes))
        return false;
    s.NewestIndex = ReadInt24LE(d);
    s.PointerFlag = d[3];
    s.OldestUnreadIndex = ReadInt24LE(d + 4);
    return true;
}

void DeriveInputConstants(TZEKO& s) {
    for (size_t i = 0; i < s.InputConstants.size(); ++i) {
        const uint8_t function = s.InputFunctions[i];
        s.InputConstants[i] = function <= 3 ? s.MeterConstants[function] : 1;
    }
}

bool DecodeStartupSettings(uint16_t address, const uint8_t* d, int length, TZEKO& s) {
    auto needs = [length](int bytes) { return length >= bytes; };
    switch (address) {
    case Registers::Switches:
        if (!needs(1)) return false;
        s.Switches = d[0];
        return true;
    case Registers::OutputCount:
        if (!needs(1)) return false;
        s.OutputCount = static_cast<uint8_t>(d[0] + 1);
        return true;
    case Registers::OutputTypesLow:
        if (!needs(1)) return false;
        s.OutputTypes = static_cast<uint16_t>((s.OutputTypes & 0xFF00) | d[0]);
        return true;
    case Registers::OutputTypesHigh:
        if (!needs(1)) return false;
        s.OutputTypes = static_cast<uint16_t>((s.OutputTypes & 0x00FF) | (d[0] << 8));
        return true;
    case Registers::OutputValues1:
    case Registers::OutputValues9: {
        if (!needs(16)) return false;
        const size_t first = address == Registers::OutputValues1 ? 0 : 8;
        for (size_t i = 0; i < 8; ++i)
            s.OutputValues[first + i] = ReadWordLE(d + 2 * i);
        return true;
    }
    case Registers::SmallestOutput:
        if (!needs(2)) return false;
        s.SmallestOutput = ReadWordLE(d);
        return true;
    case Registers::SumC:
        if (!needs(6)) return false;
        s.SumC = ReadInt24LE(d);
        s.SumC2 = ReadInt24LE(d + 3);
        return true;
    case Registers::DischargeTimes:
        if (!needs(16)) return false;
        for (size_t i = 0; i < s.DischargeTimes.size(); ++i)
            s.DischargeTimes[i] = d[i];
        return true;
    case Registers::MeterConstants:
        if (!needs(16)) return false;
        for (size_t i = 0; i < s.MeterConstants.size(); ++i)
            s.MeterConstants[i] = ReadDWordLE(d + 4 * i);
        return true;
    case Registers::InputFunctions:
        if (!needs(4)) return false;
        for (size_t i = 0; i < s.InputFunctions.size(); ++i)
            s.InputFunctions[i] = d[i];
        DeriveInputConstants(s);
        return true;
    default:
        return false;
    }
}

std::array<uint8_t, ReadPositionBytes> ReadPositionData(uint32_t next) {
    return {0, static_cast<uint8_t>(next), static_cast<uint8_t>(next >> 8), static_cast<uint8_t>(next >> 16)};
}

} // namespace zeko

#include "core/RegulatorReplies.h"

#include "core/BinaryData.h"
#include "core/Calendar.h"
#include "core/PowerFactor.h"

#include <algorithm>

namespace zeko {

namespace {

// A layout is written down once, as a list of fields that a walk visits: the
// decoding walk copies the bytes into the fields, the encoding walk the fields into
// the bytes, and the measuring walk finds how many bytes the layout needs.
class TDecodeWalk {
public:
    explicit TDecodeWalk(const uint8_t* bytes) : b_(bytes) {}
    void U8(size_t at, uint8_t& field) { field = b_[at]; }
    void U16(size_t at, uint16_t& field) { field = ReadWordLE(b_ + at); }
    void U24(size_t at, uint32_t& field) { field = ReadInt24LE(b_ + at); }
    void U32(size_t at, uint32_t& field) { field = ReadDWordLE(b_ + at); }
    void F32(size_t at, float& field) { field = ReadSingleLE(b_ + at); }

private:
    const uint8_t* b_;
};

class TEncodeWalk {
public:
    explicit TEncodeWalk(uint8_t* bytes) : b_(bytes) {}
    void U8(size_t at, uint8_t& field) { b_[at] = field; }
    void U16(size_t at, uint16_t& field) { WriteWordLE(b_ + at, field); }
    void U24(size_t at, uint32_t& field) { WriteInt24LE(b_ + at, field); }
    void U32(size_t at, uint32_t& field) { WriteDWordLE(b_ + at, field); }
    void F32(size_t at, float& field) { WriteSingleLE(b_ + at, field); }

private:
    uint8_t* b_;
};

class TMeasureWalk {
public:
    void U8(size_t at, uint8_t&) { Reach(at + 1); }
    void U16(size_t at, uint16_t&) { Reach(at + 2); }
    void U24(size_t at, uint32_t&) { Reach(at + 3); }
    void U32(size_t at, uint32_t&) { Reach(at + 4); }
    void F32(size_t at, float&) { Reach(at + 4); }
    size_t End() const { return end_; }

private:
    void Reach(size_t end) { end_ = std::max(end_, end); }
    size_t end_ = 0;
};

// Fields kept in another form than on the wire go through a local: the walk reads or
// writes the wire form, and the field is set from it again (unchanged when encoding).
template <class Walk>
void WalkLiveValues(Walk& w, TZEKO& s) {
    namespace L = LiveLayout;
    float active = static_cast<float>(s.ActivePower * 1000.0);
    float reactive = static_cast<float>(s.ReactivePower * 1000.0);
    w.F32(L::ActivePower, active);
    w.F32(L::ReactivePower, reactive);
    s.ActivePower = active / 1000.0;
    s.ReactivePower = reactive / 1000.0;
    w.U16(L::OutputStates, s.LiveWords.OutputStates);
    w.U16(L::NextStepTime, s.LiveWords.NextStepTime);
    uint8_t band = static_cast<uint8_t>((s.LiveWords.BandWord & 1) << L::BandBit);
    w.U8(L::BandByte, band);
    s.LiveWords.BandWord = (band >> L::BandBit) & 1;
    w.U8(L::RegulationState, s.LiveWords.RegulationState);
    w.U16(L::RecordTime, s.LiveWords.RecordTime);
    s.LiveWords.RecordTimeCopy = s.LiveWords.RecordTime;
}

template <class Walk>
void WalkLastBlock(Walk& w, TZEKO& s) {
    namespace L = LastBlockLayout;
    w.U16(L::SpeedUnder, s.SpeedUnder);
    w.U16(L::SpeedOver, s.SpeedOver);
    w.U8(L::SpeedType, s.SpeedType);
    w.U8(L::BandLow, s.BandLow);
    w.U8(L::BandCentre, s.BandCentre);
    w.U8(L::BandHigh, s.BandHigh);
    w.U8(L::BlockBytes, s.BlockBytes[0]);
    w.U8(L::BlockBytes + 1, s.BlockBytes[1]);
    w.U8(L::AveragingIndex, s.AveragingIndex);
    w.U8(L::NonAveragedPulse, s.NonAveragedPulse);
    w.U8(L::SensitivityIndex, s.SensitivityIndex);
    w.U8(L::UnderWait, s.UnderWait);
    w.U8(L::Band2Low, s.Band2Low);
    w.U8(L::Band2Centre, s.Band2Centre);
    w.U8(L::Band2High, s.Band2High);
    uint16_t start = static_cast<uint16_t>((s.UseBand2 ? L::UseBand2Bit : 0) | (s.Band2Start & L::MinuteMask));
    w.U16(L::Band2Start, start);
    s.UseBand2 = (start & L::UseBand2Bit) ? 1 : 0;
    s.Band2Start = start & L::MinuteMask;
    uint16_t end = s.Band2End & L::MinuteMask;
    w.U16(L::Band2End, end);
    s.Band2End = end & L::MinuteMask;  // bit 15 is dropped
    w.U8(L::FaultOutput, s.FaultOutput);
    w.U8(L::FaultDelay, s.FaultDelay);
}

constexpr size_t OutputsPerBlock = 8;

// The fields of each settings register of the start-up reading; false for any other
// register.
template <class Walk>
bool WalkStartupSettings(uint16_t address, Walk& w, TZEKO& s) {
    switch (address) {
    case Registers::Switches:
        w.U8(0, s.Switches);
        return true;
    case Registers::OutputCount: {
        uint8_t highest = static_cast<uint8_t>(s.OutputCount - 1);  // the regulator counts from 0
        w.U8(0, highest);
        s.OutputCount = static_cast<uint8_t>(highest + 1);
        return true;
    }
    case Registers::OutputTypesLow:
    case Registers::OutputTypesHigh: {
        const int shift = address == Registers::OutputTypesLow ? 0 : 8;
        uint8_t part = static_cast<uint8_t>(s.OutputTypes >> shift);
        w.U8(0, part);
        s.OutputTypes = static_cast<uint16_t>((s.OutputTypes & ~(0xFF << shift)) | part << shift);
        return true;
    }
    case Registers::OutputValues1:
    case Registers::OutputValues9: {
        const size_t first = address == Registers::OutputValues1 ? 0 : OutputsPerBlock;
        for (size_t i = 0; i < OutputsPerBlock; ++i)
            w.U16(2 * i, s.OutputValues[first + i]);
        return true;
    }
    case Registers::SmallestOutput:
        w.U16(0, s.SmallestOutput);
        return true;
    case Registers::SumC:
        w.U24(0, s.SumC);
        w.U24(3, s.SumC2);
        return true;
    case Registers::DischargeTimes:
        for (size_t i = 0; i < s.DischargeTimes.size(); ++i)
            w.U8(i, s.DischargeTimes[i]);
        return true;
    case Registers::MeterConstants:
        for (size_t i = 0; i < s.MeterConstants.size(); ++i)
            w.U32(4 * i, s.MeterConstants[i]);
        return true;
    case Registers::InputFunctions:
        for (size_t i = 0; i < s.InputFunctions.size(); ++i)
            w.U8(i, s.InputFunctions[i]);
        return true;
    default:
        return false;
    }
}

// Decodes when the reply holds every byte the layout reads; the layout is measured
// on a scratch state, so a short reply changes nothing.
template <class WalkFields>
bool DecodeWhole(const uint8_t* data, int length, TZEKO& state, WalkFields walk) {
    TMeasureWalk measure;
    TZEKO scratch;
    if (!walk(measure, scratch) || length < static_cast<int>(measure.End()))
        return false;
    TDecodeWalk decode(data);
    return walk(decode, state);
}

// The fields walked over a copy of the state, which the walk may rewrite in its
// wire form.
template <size_t Size, class WalkFields>
std::array<uint8_t, Size> EncodeWhole(const TZEKO& state, WalkFields walk) {
    std::array<uint8_t, Size> bytes{};
    TZEKO copy = state;
    TEncodeWalk encode(bytes.data());
    walk(encode, copy);
    return bytes;
}

const auto LiveFields = [](auto& w, TZEKO& s) {
    WalkLiveValues(w, s);
    return true;
};
const auto LastBlockFields = [](auto& w, TZEKO& s) {
    WalkLastBlock(w, s);
    return true;
};

} // namespace

bool DecodeLiveValues(const uint8_t* d, int length, TZEKO& s) {
    if (!DecodeWhole(d, length, s, LiveFields))
        return false;
    s.CosPhi = SignedCosPhi(s.ActivePower, s.ReactivePower, 0);
    return true;
}

TLiveValueBytes EncodeLiveValues(const TZEKO& s) { return EncodeWhole<LiveValuesBytes>(s, LiveFields); }

bool DecodeLastSettingsBlock(const uint8_t* d, int length, TZEKO& s) { return DecodeWhole(d, length, s, LastBlockFields); }

TLastBlockBytes EncodeLastSettingsBlock(const TZEKO& s) { return EncodeWhole<LastBlockBytes>(s, LastBlockFields); }

bool DecodeStartupSettings(uint16_t address, const uint8_t* d, int length, TZEKO& s) {
    if (!DecodeWhole(d, length, s, [address](auto& w, TZEKO& state) { return WalkStartupSettings(address, w, state); }))
        return false;
    if (address == Registers::InputFunctions)
        DeriveInputConstants(s);
    return true;
}

std::vector<uint8_t> EncodeStartupSettings(uint16_t address, const TZEKO& s) {
    const auto index = std::find_if(StartupSettingsIndices.begin(), StartupSettingsIndices.end(),
                                    [address](uint8_t i) { return RegisterOf(i) == address; });
    if (index == StartupSettingsIndices.end())
        return {};
    std::vector<uint8_t> bytes(BytesOf(*index));
    TZEKO copy = s;
    TEncodeWalk encode(bytes.data());
    WalkStartupSettings(address, encode, copy);
    return bytes;
}

void DeriveInputConstants(TZEKO& s) {
    for (size_t i = 0; i < s.InputConstants.size(); ++i) {
        const uint8_t function = s.InputFunctions[i];
        s.InputConstants[i] = function <= 3 ? s.MeterConstants[function] : 1;
    }
}

bool DecodeClock(const uint8_t* d, int length, TZEKO& s, uint32_t tick) {
    if (length < static_cast<int>(ClockBytes))
        return false;
    s.ClockValid = TryDecodeBcdDateTime(d, s.ClockDate, s.ClockTime, s.ClockWeekday);
    if (s.ClockValid)
        s.ClockTick = tick - 100;
    return true;
}

TClockBytes EncodeClock(TDateTime dateTime) {
    namespace L = ClockLayout;
    const DateParts d = DecodeDate(dateTime);
    const TimeParts t = DecodeTime(dateTime);
    TClockBytes b{};
    b[L::Second] = ToBcd(t.Second);
    b[L::Minute] = ToBcd(t.Minute);
    b[L::Hour] = ToBcd(t.Hour);
    b[L::Day] = ToBcd(d.Day);
    b[L::Month] = ToBcd(d.Month);
    b[L::Weekday] = ToBcd(WeekdayMondayFirst(dateTime));
    b[L::Year] = ToBcd(ShortYear(d.Year));
    return b;
}

TRecordPointers DecodePointerBlock(const uint8_t* d) {
    namespace L = PointerLayout;
    return {ReadInt24LE(d + L::Newest), d[L::Flag], ReadInt24LE(d + L::OldestUnread)};
}

TPointerBytes EncodePointerBlock(const TRecordPointers& p) {
    namespace L = PointerLayout;
    TPointerBytes b{};
    WriteInt24LE(&b[L::Newest], p.Newest);
    b[L::Flag] = p.Flag;
    WriteInt24LE(&b[L::OldestUnread], p.OldestUnread);
    return b;
}

bool DecodeRecordPointers(const uint8_t* d, int length, TZEKO& s) {
    if (length < static_cast<int>(RecordPointerBytes))
        return false;
    const TRecordPointers p = DecodePointerBlock(d);
    s.NewestIndex = p.Newest;
    s.PointerFlag = p.Flag;
    s.OldestUnreadIndex = p.OldestUnread;
    return true;
}

std::array<uint8_t, ReadPositionBytes> ReadPositionData(uint32_t next) {
    const TPointerBytes block = EncodePointerBlock({0, 0, next});
    std::array<uint8_t, ReadPositionBytes> data{};
    std::copy_n(block.begin() + PointerLayout::ReadPosition, data.size(), data.begin());
    return data;
}

} // namespace zeko

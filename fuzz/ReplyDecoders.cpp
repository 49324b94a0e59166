// Fuzz entry of the reply decoders, as the regulator's replies reach them after the
// frame check: the live values, the settings blocks, the clock, the record pointers
// and the wire record with its conversion into the stored record.
//
// Input: replies one after another, each a selector byte, a count byte (0..29 data
// bytes) and the data; the selector names the register the reply is built for
// (both checks right), or hands the bytes to the frame parser as they are. A reply
// that passes the check goes to the decoder of its register. Each decoder reads no
// byte past the reply's data, stores nothing from a reply too short for its layout
// or one it refuses, and what it stores encodes back to the bytes it read.
#include "fuzz/FuzzEntries.h"

#include "core/BinaryData.h"
#include "core/Calendar.h"
#include "core/FrameParser.h"
#include "core/Komunikace.h"
#include "core/RecordMemory.h"
#include "core/RegulatorReplies.h"
#include "core/Telegram.h"
#include "core/WireRecord.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace zeko::fuzz {

namespace {

using tlg::KindRecords;
using tlg::KindSettings;
using tlg::KindWorking;

constexpr size_t MaxReplyData = tlg::LengthMask - tlg::LengthOverhead;  // 29

struct TTarget {
    uint8_t Kind;
    uint16_t Address;
};

// The registers the conversation reads, then the record memory; any other selector
// hands the bytes over raw.
std::vector<TTarget> Targets() {
    std::vector<TTarget> t = {{KindSettings, Registers::LiveValues},
                              {KindSettings, Registers::LastBlock},
                              {KindWorking, Registers::Clock},
                              {KindSettings, Registers::RecordPointers}};
    for (uint8_t index : StartupSettingsIndices)
        t.push_back({KindSettings, RegisterOf(index)});
    t.push_back({KindRecords, 0});
    return t;
}

// What the state holds from the replies, as bytes: a decoder that stored nothing
// leaves them as they are.
std::vector<uint8_t> Fingerprint(const TZEKO& s) {
    std::vector<uint8_t> f;
    const auto add = [&f](const auto& bytes) { f.insert(f.end(), bytes.begin(), bytes.end()); };
    add(EncodeLiveValues(s));
    add(EncodeLastSettingsBlock(s));
    for (uint8_t index : StartupSettingsIndices)
        add(EncodeStartupSettings(RegisterOf(index), s));
    add(EncodePointerBlock({s.NewestIndex, s.PointerFlag, s.OldestUnreadIndex}));
    uint8_t raw[sizeof(double) * 4];
    const double values[4] = {s.ClockDate, s.ClockTime, s.CosPhi, static_cast<double>(s.ClockWeekday)};
    std::memcpy(raw, values, sizeof raw);
    f.insert(f.end(), raw, raw + sizeof raw);
    for (uint32_t c : s.InputConstants)
        for (int shift = 0; shift < 32; shift += 8)
            f.push_back(static_cast<uint8_t>(c >> shift));
    for (int shift = 0; shift < 32; shift += 8)
        f.push_back(static_cast<uint8_t>(s.ClockTick >> shift));
    return f;
}

bool SameFloat(const uint8_t* a, const uint8_t* b) {
    const float x = ReadSingleLE(a), y = ReadSingleLE(b);
    return (std::isnan(x) && std::isnan(y)) || std::memcmp(a, b, 4) == 0;
}

bool LiveValuesKept(const std::vector<uint8_t>& d, const TZEKO& s) {
    namespace L = LiveLayout;
    const TLiveValueBytes e = EncodeLiveValues(s);
    std::vector<uint8_t> expected(d.begin(), d.begin() + L::Size);
    expected[L::BandByte] &= 1 << L::BandBit;  // the other bits of the band byte mean nothing
    if (!SameFloat(&e[L::ActivePower], &expected[L::ActivePower]) ||
        !SameFloat(&e[L::ReactivePower], &expected[L::ReactivePower]) ||
        !std::equal(e.begin() + L::OutputStates, e.end(), expected.begin() + L::OutputStates) ||
        s.LiveWords.RecordTimeCopy != s.LiveWords.RecordTime)
        return false;
    if (std::isfinite(s.ActivePower) && std::isfinite(s.ReactivePower))
        return std::isfinite(s.CosPhi) && std::fabs(s.CosPhi) <= 1;
    return true;
}

bool LastBlockKept(const std::vector<uint8_t>& d, const TZEKO& s) {
    namespace L = LastBlockLayout;
    std::vector<uint8_t> expected(d.begin(), d.begin() + L::Size);
    expected[L::SpeedType + 1] = 0;  // unused
    expected[L::Band2End + 1] &= 0x7F;
    const TLastBlockBytes e = EncodeLastSettingsBlock(s);
    return std::equal(e.begin(), e.end(), expected.begin()) && s.UseBand2 <= 1;
}

// A clock the regulator could show: whole BCD numbers of a real date and time.
bool RealClock(const uint8_t* b) {
    namespace L = ClockLayout;
    for (size_t i = 0; i < L::Size; ++i)
        if (i != L::Weekday && !IsBcd(b[i]))
            return false;
    TDateTime date, time;
    return TryEncodeTime(FromBcd(b[L::Hour]), FromBcd(b[L::Minute]), FromBcd(b[L::Second]), 0, time) &&
           TryEncodeDate(ExpandYear(FromBcd(b[L::Year])), FromBcd(b[L::Month]), FromBcd(b[L::Day]), date);
}

// A real clock is taken and encodes back to its bytes; any other is refused, and
// the last valid reading stays.
bool ClockKept(const std::vector<uint8_t>& d, const TZEKO& s, const std::vector<uint8_t>& before) {
    namespace L = ClockLayout;
    if (!RealClock(d.data()))
        return !s.ClockValid && Fingerprint(s) == before;
    const DateParts date = DecodeDate(s.ClockDate);
    if (!s.ClockValid || date.Year < 1980 || date.Year > 2079 || s.ClockTime < 0 || s.ClockTime >= 1)
        return false;
    const TClockBytes e = EncodeClock(s.ClockDate + s.ClockTime);
    for (size_t i = 0; i < L::Size; ++i)
        if (i != L::Weekday && e[i] != d[i])
            return false;
    return true;
}

bool PointersKept(const std::vector<uint8_t>& d, const TZEKO& s) {
    const TPointerBytes e = EncodePointerBlock({s.NewestIndex, s.PointerFlag, s.OldestUnreadIndex});
    const auto position = ReadPositionData(s.OldestUnreadIndex);
    const TPointerBytes block = EncodePointerBlock({0, 0, s.OldestUnreadIndex});
    return std::equal(e.begin(), e.end(), d.begin()) &&
           std::equal(position.begin(), position.end(), block.begin() + PointerLayout::ReadPosition);
}

// The bytes of a settings register that hold its fields: the four behind the input
// functions are unused.
size_t FieldBytes(uint8_t index) {
    return RegisterOf(index) == Registers::InputFunctions ? InputCount : BytesOf(index);
}

bool StartupSettingsKept(uint8_t index, const std::vector<uint8_t>& d, const TZEKO& s) {
    const uint16_t address = RegisterOf(index);
    std::vector<uint8_t> e = EncodeStartupSettings(address, s);
    e.resize(FieldBytes(index));
    if (e.empty() || !std::equal(e.begin(), e.end(), d.begin()))
        return false;
    if (address != Registers::InputFunctions)
        return true;
    for (size_t i = 0; i < s.InputConstants.size(); ++i) {
        const uint8_t function = s.InputFunctions[i];
        if (s.InputConstants[i] != (function < s.MeterConstants.size() ? s.MeterConstants[function] : 1))
            return false;
    }
    return true;
}

// The stored record carries the wire record's fields, and its 100 bytes read back
// the same record.
bool RecordKept(const std::vector<uint8_t>& d, const TZEKO& s, uint32_t index) {
    TRegulatorRecord record;
    DecodeRecord(d.data(), record, index, s.InputConstants);
    const TWireRecord wire = DecodeWireRecord(d.data());
    const std::array<uint8_t, 6> stamp = {record.Second, record.Minute, record.Hour,
                                          record.Day,    record.Month,  record.Year};
    if (stamp != wire.Stamp || record.Index != index || record.Status != wire.Status || record.Counts != wire.Counts ||
        record.Values24 != wire.Values24 || record.Value16 != wire.Value16 ||
        TRegulatorRecord::FromBytes(record.Bytes().data()) != record)
        return false;
    for (size_t i = 0; i < RecordInputs; ++i)
        if (record.Constants[i] != static_cast<float>(s.InputConstants[i] / InputConstantScale))
            return false;
    if (std::any_of(record.Filler.begin(), record.Filler.end(), [](uint8_t b) { return b != RecordFillerByte; }))
        return false;
    // A stamp of whole BCD numbers encodes back to its bytes.
    if (std::all_of(d.begin(), d.begin() + WireLayout::StampSize, IsBcd)) {
        const TWireBytes e = EncodeWireRecord(wire);
        if (!std::equal(e.begin(), e.end(), d.begin()))
            return false;
    }
    return true;
}

class TReplies {
public:
    TReplies() : parser_(link_) {
        link_.DirectionControl = false;  // no port, no waits
        link_.SetAddressRange(0, 65535);
        parser_.OnRegulatorReply = [this](const uint8_t* frame) { ok_ = Decode(DecodeReplyHeader(frame)) && ok_; };
    }

    void Receive(const uint8_t* bytes, size_t count) { parser_.ReceiveBytes(bytes, count); }
    bool Ok() const { return ok_; }

private:
    // Handled as the conversation's handlers do; false when a rule broke.
    bool Decode(const TReplyHeader& reply) {
        if (reply.DataLength < 0 || reply.WriteAck)
            return true;
        // The data on a heap block of their own: a read past them is found.
        const std::vector<uint8_t> d(reply.Data, reply.Data + reply.DataLength);
        const int n = reply.DataLength;
        const std::vector<uint8_t> before = Fingerprint(state_);
        const auto decoded = [&](bool taken, size_t layout, auto kept) {
            if (!taken)
                return Fingerprint(state_) == before && (n < static_cast<int>(layout) || Refusable(reply));
            return n >= static_cast<int>(layout) && kept();
        };
        switch (reply.Mode) {
        case KindSettings:
            switch (reply.Address) {
            case Registers::LiveValues:
                return decoded(DecodeLiveValues(d.data(), n, state_), LiveValuesBytes,
                               [&] { return LiveValuesKept(d, state_); });
            case Registers::LastBlock:
                return decoded(DecodeLastSettingsBlock(d.data(), n, state_), LastBlockBytes,
                               [&] { return LastBlockKept(d, state_); });
            case Registers::RecordPointers:
                return decoded(DecodeRecordPointers(d.data(), n, state_), RecordPointerBytes,
                               [&] { return PointersKept(d, state_); });
            default: {
                const auto index = std::find_if(StartupSettingsIndices.begin(), StartupSettingsIndices.end(),
                                                [&](uint8_t i) { return RegisterOf(i) == reply.Address; });
                if (index == StartupSettingsIndices.end())
                    return true;
                return decoded(DecodeStartupSettings(reply.Address, d.data(), n, state_), FieldBytes(*index),
                               [&] { return StartupSettingsKept(*index, d, state_); });
            }
            }
        case KindWorking:
            if (reply.Address != Registers::Clock)
                return true;
            return decoded(DecodeClock(d.data(), n, state_, 1000), ClockBytes,
                           [&] { return ClockKept(d, state_, before); });
        case KindRecords: {
            if (n < static_cast<int>(WireLayout::Size))
                return true;
            const uint32_t index = state_.OldestUnreadIndex % RingRecords;
            state_.OldestUnreadIndex = NextRingIndex(index);
            return RecordKept(d, state_, index);
        }
        default: return true;
        }
    }

    // A whole reply the decoder may refuse: pointers outside the ring.
    bool Refusable(const TReplyHeader& reply) const {
        if (reply.Mode == KindSettings && reply.Address == Registers::RecordPointers) {
            const TRecordPointers p = DecodePointerBlock(reply.Data);
            return p.Newest >= RingRecords || p.OldestUnread >= RingRecords;
        }
        return false;
    }

    TKomunikace link_;
    TFrameParser parser_;
    TZEKO state_;
    bool ok_ = true;
};

} // namespace

bool ReplyDecoders(const uint8_t* data, size_t size) {
    static const std::vector<TTarget> targets = Targets();
    TReplies replies;
    for (size_t at = 0; at + 2 <= size && replies.Ok();) {
        const uint8_t selector = data[at];
        const size_t count = std::min<size_t>(data[at + 1] % (MaxReplyData + 1), size - at - 2);
        const uint8_t* bytes = data + at + 2;
        at += 2 + count;
        if (selector >= targets.size()) {
            replies.Receive(bytes, count);
            continue;
        }
        const TTarget& t = targets[selector];
        const std::vector<uint8_t> frame = EncodeReply(tlg::StationPC, tlg::StationRegulator,
                                                       tlg::Control(false, t.Kind, static_cast<uint8_t>(count)),
                                                       t.Address, {bytes, count});
        replies.Receive(frame.data(), frame.size());
    }
    return replies.Ok();
}

} // namespace zeko::fuzz

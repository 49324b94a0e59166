#include "core/Komunikace.h"

#include "core/BinaryData.h"
#include "core/RegisterTables.h"
#include "platform/TickClock.h"

#include <algorithm>
#include <cstring>

namespace zeko {

uint32_t LastReplyTick = 0;

namespace {

using namespace tlg;

// The highest length byte value: L lives in bits 4..0.
constexpr uint8_t MaxL = LengthMask;

// What the checks let through without looking further:
// - about to be sent, the one-byte read of register 0x000D of station 0 from 63
//   (entry 31 of station 0's table): its length byte, header check, control byte
//   and address;
constexpr uint8_t Station0Probe[] = {0x02, 0x1A, 0x21, 0x0D, 0x00};
// - a reply whose length byte carries the flag bits 100;
constexpr uint8_t UncheckedFlags = 0x80;
// - a telegram reading 18 bytes of register 0x0100 of the settings area: its
//   control byte and address.
constexpr uint8_t UncheckedRead[] = {0x12, 0x00, 0x01};
// A banked reply of this length byte with one of these control bytes answers the
// banked request sent last, whatever its address.
constexpr uint8_t BankedLongReplyLength = 29;
constexpr uint8_t BankedLongReplyControls[] = {0x40, 0x50};
// The control byte without its write bit: a write's acknowledgement has it set.
constexpr uint8_t ControlWithoutWrite = static_cast<uint8_t>(~WriteBit);

} // namespace

TKomunikace* Komunikace = nullptr;

TKomunikace::TKomunikace(void* Owner) : Port(std::make_unique<TCommPortDriver>(Owner)) {
    Port->SetBaudRateValue(4800);
    Port->SetDataBits(db8BITS);
    Port->SetStopBits(sb1BITS);
    Port->SetParity(ptNONE);
    Port->SetHwFlow(hfNONERTSON);
    Port->SetSwFlow(sfNONE);
    Port->SetInBufSize(2048);
    Port->SetOutBufSize(2048);
    Port->SetInputTimeout(200);
    Port->SetOutputTimeout(500);
    Port->SetPacketMode(pmDiscard);
    Port->SetPacketSize(-1);
    Port->SetPacketTimeout(-1);
    Port->SetPollingDelay(40);
    Port->SetCheckLineStatus(false);
    Port->SetEnableDTROnOpen(false);
    Port->SetPort(pnCustom);
    Port->SetPortName("\\\\.\\COM2");
}

TKomunikace::~TKomunikace() {
    ClearQueue();
    Port->Disconnect();
}

void TKomunikace::SelectPort(uint8_t N) {
    Port->SetPort(N >= 1 && N <= 8 ? static_cast<TPortNumber>(pnCOM1 + N - 1) : pnCOM2);
}

bool TKomunikace::OpenPort(uint32_t Baud) {
    Port->SetBaudRateValue(Baud);
    return Port->Connect();
}

void TKomunikace::SetDTR(bool On) { Port->SetDTR(On); }

void TKomunikace::SetOnReceiveData(TReceiveDataEvent Handler) { Port->OnReceiveData = std::move(Handler); }

void TKomunikace::SetAddressRange(uint16_t Min, uint16_t Max) {
    MinAddress = Min;
    MaxAddress = Max;
}

void TKomunikace::SetDataByte(uint8_t N, uint8_t Value) {
    if (N >= 1 && N <= MaxTelegram)
        dataBytes_[N] = Value;
}

bool TKomunikace::QueueTelegram(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode,
                                uint16_t Address, std::span<const uint8_t> Data, uint8_t Key) {
    if (Data.size() > MaxTelegram)
        return false;
    std::copy(Data.begin(), Data.end(), dataBytes_.begin() + 1);
    return BuildTelegram(Source, Destination, Write, Mode, Address, static_cast<uint8_t>(Data.size()), Key, 0) &&
           AppendFrame();
}

bool TKomunikace::PutHeader(uint8_t destination, uint8_t source, uint8_t length) {
    frameLength_ = 0;
    if (length > MaxL)
        return false;
    frameBuffer_.fill(0);
    frameBuffer_[OffStart] = StartByte;
    frameBuffer_[OffDestination] = destination;
    frameBuffer_[OffSource] = source;
    frameBuffer_[OffLength] = length;
    frameBuffer_[OffHeaderCheck] = zeko::NegatedSum(frameBuffer_.data(), OffHeaderCheck);
    return true;
}

size_t TKomunikace::PutBody(bool banked, uint8_t bank, bool write, uint8_t mode, uint16_t address, uint8_t count,
                             bool withData) {
    size_t n = HeaderSize;
    if (banked)
        frameBuffer_[n++] = bank;
    frameBuffer_[n++] = Control(write, mode, count);
    WriteWordLE(&frameBuffer_[n], address);
    n += 2;
    if (withData)
        for (uint8_t i = 1; i <= count; ++i)
            frameBuffer_[n++] = dataBytes_[i];
    return n;
}

bool TKomunikace::PutDataCheck(size_t end) {
    frameBuffer_[end] = zeko::NegatedSum(frameBuffer_.data() + HeaderSize, end - HeaderSize);
    frameLength_ = static_cast<uint8_t>(end + 1);
    return true;
}

bool TKomunikace::BuildTelegram(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode,
                                uint16_t Address, uint8_t Count, uint8_t Key, uint8_t Bank) {
    const bool write = Write != 0;
    const bool banked = IsBankedDestination(Destination);
    uint8_t marker = 0;
    if (CrcDestinations.test(Destination) && write)
        marker = Count == 1 && Key != 0 ? CrcMarkerWithKey : CrcMarker;
    int length = Count + 2;
    if (marker == CrcMarker)
        length += 2;
    if (marker == CrcMarkerWithKey)
        length += 3;
    if (marker && Destination == StationRegulator)
        length -= 1;  // station 8 takes the bare CRC: no marker, no key on the wire
    if (banked)
        length += 1;
    if (!PutHeader(Destination, Source, static_cast<uint8_t>(std::min(length, 255))))
        return false;
    size_t n = PutBody(banked, Bank, write, Mode, Address, Count, true);
    if (marker && Destination != StationRegulator) {
        frameBuffer_[n++] = marker;
        if (marker == CrcMarkerWithKey)
            frameBuffer_[n++] = Key;
    }
    if (marker) {
        frameBuffer_[n] = zeko::Crc8(frameBuffer_.data() + HeaderSize, n - HeaderSize, 0);
        ++n;
    }
    return PutDataCheck(n);
}

bool TKomunikace::BuildPlain(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode,
                             uint16_t Address, uint8_t Count) {
    const bool write = Write != 0;
    const bool banked = IsBankedDestination(Destination);
    const int length = (write ? Count + 2 : 2) + (banked ? 1 : 0);
    if (Count > CountMask || !PutHeader(banked ? StationBanked : Destination, Source, static_cast<uint8_t>(length)))
        return false;
    return PutDataCheck(PutBody(banked, static_cast<uint8_t>(Destination - 100), write, Mode, Address, Count, write));
}

bool TKomunikace::BuildTableTelegram(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode,
                                     uint8_t Index) {
    const auto table = RegisterTableFor(Destination);
    frameLength_ = 0;
    if (Index >= table.size())
        return false;
    const TRegisterEntry& entry = table[Index];
    return BuildPlain(Source, Destination, Write, Mode, entry.Address, static_cast<uint8_t>(entry.Count & 0xFF));
}

bool TKomunikace::BuildHeadTelegram(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode,
                                    uint16_t Address, uint8_t Count) {
    return BuildPlain(Source, Destination, Write, Mode, Address, Count);
}

bool TKomunikace::IsQueued() const {
    size_t pos = 0;
    while (pos < queue_.size()) {
        const size_t length = queue_[pos];
        if (length == frameLength_ && pos + 1 + length <= queue_.size() &&
            std::equal(frameBuffer_.begin(), frameBuffer_.begin() + length, queue_.begin() + pos + 1))
            return true;
        pos += length + 1;
    }
    return false;
}

bool TKomunikace::AppendFrame() {
    if (frameLength_ == 0 || (RejectDuplicates && IsQueued()))
        return false;
    queue_.push_back(frameLength_);
    queue_.insert(queue_.end(), frameBuffer_.begin(), frameBuffer_.begin() + frameLength_);
    ++queuedCount_;
    return true;
}

bool TKomunikace::QueueTelegram(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode,
                                uint16_t Address, uint8_t Count, uint8_t Key) {
    if (Count > MaxTelegram)
        return false;
    const std::array<uint8_t, MaxTelegram + 1> staged = dataBytes_;
    return QueueTelegram(Source, Destination, Write, Mode, Address, std::span(staged).subspan(1, Count), Key);
}

bool TKomunikace::QueueTableTelegram(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode,
                                     uint8_t Index) {
    return BuildTableTelegram(Source, Destination, Write, Mode, Index) && AppendFrame();
}

bool TKomunikace::QueueTelegramFirst(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode,
                                     uint16_t Address, uint8_t Count, bool SkipIfQueued) {
    if (!BuildHeadTelegram(Source, Destination, Write, Mode, Address, Count))
        return false;
    if (SkipIfQueued && IsQueued())
        return false;
    if (!AppendFrame())
        return false;
    std::rotate(queue_.begin(), queue_.end() - (frameLength_ + 1), queue_.end());
    return true;
}

void TKomunikace::DropIfLastSent(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode, uint8_t Index) {
    if (BuildTableTelegram(Source, Destination, Write, Mode, Index) &&
        std::equal(frameBuffer_.begin(), frameBuffer_.begin() + frameLength_, lastSent_.begin() + 1))
        DropHead();
}

void TKomunikace::DropHead() {
    if (queue_.empty())
        return;
    const size_t count = std::min<size_t>(queue_[0] + 1u, queue_.size());
    queue_.erase(queue_.begin(), queue_.begin() + count);
    if (queuedCount_ > 0)
        --queuedCount_;
}

void TKomunikace::ClearQueue() {
    queue_.clear();
    queuedCount_ = 0;
}

int TKomunikace::DropQueuedIf(const std::function<bool(std::span<const uint8_t> Telegram)>& Pick) {
    std::vector<uint8_t> kept;
    int dropped = 0;
    for (size_t p = 0; p < queue_.size() && p + 1 + queue_[p] <= queue_.size(); p += queue_[p] + 1u) {
        const auto entry = queue_.begin() + static_cast<std::ptrdiff_t>(p);
        if (Pick(std::span<const uint8_t>(&*(entry + 1), queue_[p])))
            ++dropped;
        else
            kept.insert(kept.end(), entry, entry + 1 + queue_[p]);
    }
    queue_ = std::move(kept);
    queuedCount_ = static_cast<uint16_t>(queuedCount_ > dropped ? queuedCount_ - dropped : 0);
    return dropped;
}

std::vector<std::vector<uint8_t>> TKomunikace::QueuedTelegrams() const {
    std::vector<std::vector<uint8_t>> telegrams;
    for (size_t p = 0; p < queue_.size() && p + 1 + queue_[p] <= queue_.size(); p += queue_[p] + 1u)
        telegrams.emplace_back(queue_.begin() + p + 1, queue_.begin() + p + 1 + queue_[p]);
    return telegrams;
}

std::vector<uint8_t> TKomunikace::HeadTelegram() const {
    if (queue_.empty() || queue_.size() < queue_[0] + 1u)
        return {};
    return {queue_.begin() + 1, queue_.begin() + 1 + queue_[0]};
}

std::vector<uint8_t> TKomunikace::LastSentTelegram() const {
    // The queue's length entry, not the length byte: the one-byte write with a key
    // to station 8 claims a byte more than it has.
    return {lastSent_.begin() + 1, lastSent_.begin() + 1 + lastSentLength_};
}

void TKomunikace::SendNext() {
    if (queue_.empty())
        return;
    const size_t length = queue_[0];
    if (queue_.size() < length + 1 || length + 1 > frameBuffer_.size() || length < HeaderSize)
        return;
    std::copy(queue_.begin() + 1, queue_.begin() + 1 + length, frameBuffer_.begin() + 1);
    if (!CheckTelegram(frameBuffer_.data() + 1, 0, 0)) {
        frameBuffer_ = lastSent_;
        return;
    }
    frameBuffer_[0] = LeadByte;
    lastSent_.fill(0);
    std::copy(frameBuffer_.begin(), frameBuffer_.begin() + length + 1, lastSent_.begin());
    lastSentLength_ = length;
    ++sendCount_;
    if (OnSend)
        OnSend({frameBuffer_.data(), length + 1});
    // The port's sender does the switching and the writing while this goes on: the
    // telegram counts as sent now, and a reply that comes while its last bytes are
    // still on their way is matched against it.
    Port->Transmit({frameBuffer_.data(), length + 1}, {DirectionControl, DirectionGuardMicroseconds});
    const uint8_t* telegram = lastSent_.data() + 1;
    const size_t control = ControlOffset(telegram);
    if (DropAfterSend) {
        DropHead();
        DropAfterSend = false;
    } else if (OwnRuleStations.Holds(telegram[OffSource]) && KindOf(telegram[control]) == KindIdent) {
        DropHead();
    }
}

bool TKomunikace::CheckFrame(const uint8_t* Frame, size_t Size, uint8_t Direction, uint8_t Station) {
    std::array<uint8_t, CheckedBytes> padded{};
    std::memcpy(padded.data(), Frame, std::min(Size, padded.size()));
    return CheckTelegram(padded.data(), Direction, Station);
}

bool TKomunikace::CheckTelegram(const uint8_t* Frame, uint8_t Direction, uint8_t Station) {
    const uint8_t destination = Frame[OffDestination];
    const uint8_t source = Frame[OffSource];
    if (UncheckedStations.Holds(source) || UncheckedStations.Holds(destination))
        return true;
    if (Direction == 0 && !ReplyCheck)
        return true;
    if (Direction == 0 && destination == 0 &&
        std::memcmp(Frame + OffLength, Station0Probe, sizeof Station0Probe) == 0)
        return true;
    if (OwnRuleStations.Holds(destination) || OwnRuleStations.Holds(source)) {
        if (Direction == 1)
            LastReplyTick = GetTickCount();
        if (Direction == 0)
            return true;
        return destination == Station ||
               (OwnRuleOpenStations.Holds(destination) && Station != OwnRuleStations.First);
    }
    if ((Frame[OffLength] & FlagMask) == UncheckedFlags ||
        std::memcmp(Frame + OffControl, UncheckedRead, sizeof UncheckedRead) == 0)
        return true;
    const uint16_t address = ReadWordLE(Frame + OffAddressLow);
    if (Direction == 1)
        LastReplyTick = GetTickCount();
    bool ok = MinAddress <= address && address <= MaxAddress;
    if (Direction == 1 && MatchLastSent)
        ok = ok && MatchesLastSent(Frame);
    return ok;
}

bool TKomunikace::MatchesLastSent(const uint8_t* Frame) const {
    const uint8_t* sent = lastSent_.data() + 1;
    if (Frame[OffDestination] != sent[OffSource] || Frame[OffSource] != sent[OffDestination])
        return false;
    const size_t control = ControlOffset(sent);
    if (sent[OffDestination] == StationBanked) {
        if (Frame[OffBank] != sent[OffBank])
            return false;
        if (Frame[OffLength] == BankedLongReplyLength &&
            std::find(std::begin(BankedLongReplyControls), std::end(BankedLongReplyControls), Frame[control]) !=
                std::end(BankedLongReplyControls))
            return true;
    }
    return (Frame[control] & ControlWithoutWrite) == (sent[control] & ControlWithoutWrite) &&
           Frame[control + 1] == sent[control + 1] && Frame[control + 2] == sent[control + 2];
}

} // namespace zeko

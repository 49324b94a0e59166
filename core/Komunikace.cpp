#include "core/Komunikace.h"

#include "core/BinaryData.h"
#include "core/RegisterTables.h"
#include "platform/TickClock.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace zeko {

uint32_t LastReplyTick = 0;

namespace {

using namespace tlg;

bool In(uint8_t value, uint8_t low, uint8_t high) { return value >= low && value <= high; }

// The highest length byte value: L lives in bits 4..0.
constexpr uint8_t MaxL = LengthMask;

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
        DataBytes[N] = Value;
}

bool TKomunikace::PutHeader(uint8_t destination, uint8_t source, uint8_t length) {
    FrameLength = 0;
    if (length > MaxL)
        return false;
    FrameBuffer.fill(0);
    FrameBuffer[OffStart] = StartByte;
    FrameBuffer[OffDestination] = destination;
    FrameBuffer[OffSource] = source;
    FrameBuffer[OffLength] = length;
    FrameBuffer[OffHeaderCheck] = zeko::NegatedSum(FrameBuffer.data(), OffHeaderCheck);
    return true;
}

size_t TKomunikace::PutBody(bool banked, uint8_t bank, bool write, uint8_t mode, uint16_t address, uint8_t count,
                             bool withData) {
    size_t n = HeaderSize;
    if (banked)
        FrameBuffer[n++] = bank;
    FrameBuffer[n++] = Control(write, mode, count);
    WriteWordLE(&FrameBuffer[n], address);
    n += 2;
    if (withData)
        for (uint8_t i = 1; i <= count; ++i)
            FrameBuffer[n++] = DataBytes[i];
    return n;
}

bool TKomunikace::PutDataCheck(size_t end) {
    FrameBuffer[end] = zeko::NegatedSum(FrameBuffer.data() + HeaderSize, end - HeaderSize);
    FrameLength = static_cast<uint8_t>(end + 1);
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
        FrameBuffer[n++] = marker;
        if (marker == CrcMarkerWithKey)
            FrameBuffer[n++] = Key;
    }
    if (marker) {
        FrameBuffer[n] = zeko::Crc8(FrameBuffer.data() + HeaderSize, n - HeaderSize, 0);
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
    FrameLength = 0;
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
    while (pos < Queue.size()) {
        const size_t length = Queue[pos];
        if (length == FrameLength && pos + 1 + length <= Queue.size() &&
            std::equal(FrameBuffer.begin(), FrameBuffer.begin() + length, Queue.begin() + pos + 1))
            return true;
        pos += length + 1;
    }
    return false;
}

bool TKomunikace::AppendFrame() {
    if (FrameLength == 0 || (RejectDuplicates && IsQueued()))
        return false;
    Queue.push_back(FrameLength);
    Queue.insert(Queue.end(), FrameBuffer.begin(), FrameBuffer.begin() + FrameLength);
    ++QueuedCount;
    return true;
}

bool TKomunikace::QueueTelegram(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode,
                                uint16_t Address, uint8_t Count, uint8_t Key) {
    return BuildTelegram(Source, Destination, Write, Mode, Address, Count, Key, 0) && AppendFrame();
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
    std::rotate(Queue.begin(), Queue.end() - (FrameLength + 1), Queue.end());
    return true;
}

void TKomunikace::DropIfLastSent(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode, uint8_t Index) {
    if (BuildTableTelegram(Source, Destination, Write, Mode, Index) &&
        std::equal(FrameBuffer.begin(), FrameBuffer.begin() + FrameLength, LastSent.begin() + 1))
        DropHead();
}

void TKomunikace::DropHead() {
    if (Queue.empty())
        return;
    const size_t count = std::min<size_t>(Queue[0] + 1u, Queue.size());
    Queue.erase(Queue.begin(), Queue.begin() + count);
    if (QueuedCount > 0)
        --QueuedCount;
}

void TKomunikace::ClearQueue() {
    Queue.clear();
    QueuedCount = 0;
}

std::vector<uint8_t> TKomunikace::HeadTelegram() const {
    if (Queue.empty() || Queue.size() < Queue[0] + 1u)
        return {};
    return {Queue.begin() + 1, Queue.begin() + 1 + Queue[0]};
}

std::vector<uint8_t> TKomunikace::LastSentTelegram() const {
    // The queue's length entry, not the length byte: the one-byte write with a key
    // to station 8 claims a byte more than it has.
    return {LastSent.begin() + 1, LastSent.begin() + 1 + lastSentLength_};
}

void TKomunikace::WaitMilliseconds(uint32_t N) {
    // A test's stepped clock does not move by itself, so real time bounds the wait.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(N + 100);
    const uint32_t start = timeGetTime();
    while (TicksBetween(start, timeGetTime()) <= N && std::chrono::steady_clock::now() <= giveUp) {
    }
}

void TKomunikace::SendNext() {
    if (Queue.empty())
        return;
    const size_t length = Queue[0];
    if (Queue.size() < length + 1 || length + 1 > FrameBuffer.size() || length < HeaderSize)
        return;
    std::copy(Queue.begin() + 1, Queue.begin() + 1 + length, FrameBuffer.begin() + 1);
    if (!CheckTelegram(FrameBuffer.data() + 1, 0, 0)) {
        FrameBuffer = LastSent;
        return;
    }
    FrameBuffer[0] = LeadByte;
    LastSent.fill(0);
    std::copy(FrameBuffer.begin(), FrameBuffer.begin() + length + 1, LastSent.begin());
    lastSentLength_ = length;
    ++SendCount;
    if (DirectionControl) {
        Port->SetDTR(true);
        WaitMilliseconds(2);
    }
    Port->SendData(FrameBuffer.data(), static_cast<uint32_t>(length + 1));
    if (DirectionControl) {
        Port->WaitForOutput();
        WaitMilliseconds(2);
        Port->SetDTR(false);
    }
    const uint8_t* telegram = LastSent.data() + 1;
    const size_t control = ControlOffset(telegram);
    if (DropAfterSend) {
        DropHead();
        DropAfterSend = false;
    } else if (In(telegram[OffSource], 55, 62) && KindOf(telegram[control]) == KindIdent) {
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
    if (In(source, 16, 17) || In(destination, 16, 17))
        return true;
    if (Direction == 0 && !ReplyCheck)
        return true;
    static constexpr uint8_t station0Read[] = {0x02, 0x1A, 0x21, 0x0D, 0x00};
    if (Direction == 0 && destination == 0 && std::memcmp(Frame + OffLength, station0Read, 5) == 0)
        return true;
    if (In(destination, 55, 62) || In(source, 55, 62)) {
        if (Direction == 1)
            LastReplyTick = GetTickCount();
        if (Direction == 0)
            return true;
        return destination == Station || (In(destination, 56, 62) && Station != 55);
    }
    static constexpr uint8_t identRead[] = {0x12, 0x00, 0x01};
    if ((Frame[OffLength] & FlagMask) == 0x80 || std::memcmp(Frame + OffControl, identRead, 3) == 0)
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
    const uint8_t* sent = LastSent.data() + 1;
    if (Frame[OffDestination] != sent[OffSource] || Frame[OffSource] != sent[OffDestination])
        return false;
    const size_t control = ControlOffset(sent);
    if (sent[OffDestination] == StationBanked) {
        if (Frame[OffBank] != sent[OffBank])
            return false;
        if ((Frame[control] == 0x40 || Frame[control] == 0x50) && Frame[OffLength] == 29)
            return true;
    }
    return (Frame[control] & 0x7F) == (sent[control] & 0x7F) && Frame[control + 1] == sent[control + 1] &&
           Frame[control + 2] == sent[control + 2];
}

} // namespace zeko

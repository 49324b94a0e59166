#pragma once
// TKomunikace: the link layer between the program and the regulator bus. It builds
// telegrams (core/Telegram.h), keeps them in a transmit queue, sends the head
// telegram with the bus direction switched by DTR, checks each telegram before it
// goes out and each reply before the conversation uses it, and reads the register
// tables (core/RegisterTables.h). Only one telegram is outstanding at a time: the
// caller queues, calls SendNext, and drops the head when its reply has been handled.
// It owns the port component, `Port`; its receive event is the caller's.
//
// Everything runs in the main thread; the port's sender thread puts the telegrams on
// the wire, in the order sent, while the main thread goes on. No operation throws or
// reports: a closed port sends nothing (the telegram still counts as sent and stays
// queued), a refused check leaves the telegram queued, a telegram that cannot be
// built is not queued.
//
// Byte arguments: Write 0 = read, 1 = write; Mode = memory kind 0..3.
//
// The queue and the buffers are its own; callers queue telegrams with their data
// bytes as an argument and read the queue and the last telegram back through the
// accessors. DataBytes, the staging area the builders copy from, keeps the data of
// the telegram queued last (a read built with a byte count carries them along).
#include "core/CPDrv.h"
#include "core/Telegram.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace zeko {

// The tick count (GetTickCount) at which CheckTelegram last looked at a reply that
// carried a register address or came from a station 55..62; the send timer of the
// main window compares it with the current tick.
extern uint32_t LastReplyTick;

class TKomunikace;
// The program-wide link layer, created by the main window with the conversation
// objects and replaced at a port change; nullptr while none exists.
extern TKomunikace* Komunikace;

class TKomunikace {
public:
    using TFrame = std::array<uint8_t, tlg::MaxTelegram>;

    // Create: the empty queue and the port component, set up for the regulator bus
    // (4800 Bd 8N1, RTS on, DTR off on open, polling every 40 ms, "\\.\COM2").
    explicit TKomunikace(void* Owner = nullptr);
    // Destroy: frees the queue and closes the port.
    ~TKomunikace();
    TKomunikace(const TKomunikace&) = delete;
    TKomunikace& operator=(const TKomunikace&) = delete;

    // 1..8 select COM1..COM8, any other number COM2. Before OpenPort.
    void SelectPort(uint8_t N);
    // True when the port is open (also when it was open already).
    bool OpenPort(uint32_t Baud);
    void SetDTR(bool On);
    void SetOnReceiveData(TReceiveDataEvent Handler);
    void SetAddressRange(uint16_t Min, uint16_t Max);

    // Queues an explicit telegram (with the CRC block when it is a write to a CRC
    // destination) that carries Data: its byte count is Data's size, for a read as
    // for a write. Data stays in DataBytes. False when nothing was appended.
    bool QueueTelegram(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode, uint16_t Address,
                       std::span<const uint8_t> Data, uint8_t Key);
    bool QueueTableTelegram(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode, uint8_t Index);
    bool QueueTelegramFirst(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode,
                            uint16_t Address, uint8_t Count, bool SkipIfQueued);
    void DropIfLastSent(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode, uint8_t Index);
    void SendNext();
    void DropHead();
    void ClearQueue();
    // Drops every queued telegram that Pick chooses (it sees the telegram from its
    // start byte on), wherever it stands; the others keep their order. Answers how
    // many were dropped.
    int DropQueuedIf(const std::function<bool(std::span<const uint8_t> Telegram)>& Pick);

    // The staged form: DataBytes[N] := Value for N = 1..50 (other N are ignored),
    // then a telegram of Count bytes carrying DataBytes 1..Count.
    void SetDataByte(uint8_t N, uint8_t Value);
    uint8_t DataByte(uint8_t N) const { return N >= 1 && N <= tlg::MaxTelegram ? dataBytes_[N] : 0; }
    bool QueueTelegram(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode, uint16_t Address,
                       uint8_t Count, uint8_t Key);

    // Entries in the queue (a length entry plus the bytes of each telegram), not
    // telegrams: 0 exactly when nothing is queued.
    int QueueCount() const { return static_cast<int>(queue_.size()); }
    // Telegrams appended minus dropped.
    uint16_t QueuedCount() const { return queuedCount_; }
    // The queued telegrams, head first.
    std::vector<std::vector<uint8_t>> QueuedTelegrams() const;
    // The telegram at the head of the queue (empty when none).
    std::vector<uint8_t> HeadTelegram() const;
    // The last telegram sent, without its lead byte (empty before the first send).
    std::vector<uint8_t> LastSentTelegram() const;
    // Telegrams sent so far (a send on a closed port counts): a reply handler can
    // tell a second reply to one telegram from the reply to a new one.
    uint32_t SendCount() const { return sendCount_; }

    // Frame points at a start byte 0xA5 with at least CheckedBytes readable bytes
    // behind it (a shorter frame is checked in a zero-padded copy: CheckFrame).
    // Direction 0 = about to send, 1 = received; Station: the own station for the
    // rule of stations 55..62 (the program passes 0).
    static constexpr size_t CheckedBytes = 9;
    bool CheckTelegram(const uint8_t* Frame, uint8_t Direction, uint8_t Station);
    bool CheckFrame(const uint8_t* Frame, size_t Size, uint8_t Direction, uint8_t Station);
    bool MatchesLastSent(const uint8_t* Frame) const;

    static uint8_t NegatedSum(const uint8_t* Bytes, size_t Count) { return zeko::NegatedSum(Bytes, Count); }
    static uint8_t InvertedSum(const uint8_t* Bytes, size_t Count) { return zeko::InvertedSum(Bytes, Count); }
    static uint8_t Crc8(const uint8_t* Bytes, size_t Count, uint8_t Start) { return zeko::Crc8(Bytes, Count, Start); }

    // The builders put a telegram into the frame buffer (from byte 0) without
    // queueing it; false (FrameLength 0) when none can be built: no table or index
    // past its end, or a byte count that the length byte cannot hold. The explicit
    // builder carries DataBytes 1..Count.
    bool BuildTelegram(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode,
                       uint16_t Address, uint8_t Count, uint8_t Key, uint8_t Bank);
    bool BuildTableTelegram(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode, uint8_t Index);
    bool BuildHeadTelegram(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode,
                           uint16_t Address, uint8_t Count);
    // The telegram last built.
    std::span<const uint8_t> Built() const { return {frameBuffer_.data(), frameLength_}; }
    uint8_t FrameLength() const { return frameLength_; }
    // The frame buffer, and the lead byte with the last telegram sent behind it.
    const TFrame& FrameBuffer() const { return frameBuffer_; }
    const TFrame& LastSent() const { return lastSent_; }

    // DTR is up more than this before the first byte of a telegram and stays up
    // more than this after its last byte has left (at 4800 Bd a byte takes 2 ms).
    static constexpr uint32_t DirectionGuardMicroseconds = 2000;

    std::unique_ptr<TCommPortDriver> Port;
    uint16_t MinAddress = 0;
    uint16_t MaxAddress = 0;
    bool RejectDuplicates = false;
    bool ReplyCheck = true;
    bool MatchLastSent = false;
    bool DirectionControl = true;
    bool DropAfterSend = false;
    std::bitset<256> CrcDestinations;  // the main window sets exactly station 8
    // Sees every telegram as it goes to the port, lead byte first: a log of the
    // line, or a test playing the far end.
    std::function<void(std::span<const uint8_t> Bytes)> OnSend;

private:
    bool PutHeader(uint8_t destination, uint8_t source, uint8_t length);
    // From byte 5 on: the bank byte (when banked), the control byte, the address and,
    // withData, DataBytes 1..count; answers the place after them.
    size_t PutBody(bool banked, uint8_t bank, bool write, uint8_t mode, uint16_t address, uint8_t count,
                   bool withData);
    // The data check at `end`; FrameLength := end + 1.
    bool PutDataCheck(size_t end);
    bool BuildPlain(uint8_t Source, uint8_t Destination, uint8_t Write, uint8_t Mode, uint16_t Address,
                    uint8_t Count);
    bool AppendFrame();
    bool IsQueued() const;

    std::vector<uint8_t> queue_;
    TFrame frameBuffer_{};
    TFrame lastSent_{};
    std::array<uint8_t, tlg::MaxTelegram + 1> dataBytes_{};  // numbered 1..50; [0] unused
    size_t lastSentLength_ = 0;  // of the telegram in lastSent_, without the lead byte
    uint8_t frameLength_ = 0;
    uint16_t queuedCount_ = 0;
    uint32_t sendCount_ = 0;
};

} // namespace zeko

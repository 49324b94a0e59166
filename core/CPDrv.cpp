#include "core/CPDrv.h"

#include "core/CPDrvSender.h"

#include "platform/TickClock.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <sys/utsname.h>
#include <thread>

namespace zeko {
namespace {

constexpr std::array<uint32_t, 16> kRates = {0,     110,   300,   600,    1200,   2400,   4800,   9600,
                                             14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};

uint32_t HoldToBufferRange(uint32_t value) {
    return std::clamp(value, TCommPortDriver::MinBufSize, TCommPortDriver::MaxBufSize);
}

} // namespace

uint32_t BaudRateOf(TBaudRate rate) { return rate < kRates.size() ? kRates[rate] : 0; }

std::string GetWinPlatform() { return "WNT"; }

uint32_t GetWinVersion() {
    utsname name{};
    unsigned major = 0, minor = 0;
    if (uname(&name) != 0 || std::sscanf(name.release, "%u.%u", &major, &minor) != 2)
        return 0;
    return major * 65536u + minor;
}

TCommPortDriver::TCommPortDriver(void* AOwner)
    : owner_(AOwner), alive_(std::make_shared<bool>(true)), timer_([this] { TimerWndProc(); }),
      notifier_([this, alive = alive_] {
          // A receive handler may free the component (and this call's closure with
          // it): the token on the stack tells.
          const std::shared_ptr<bool> token = alive;
          TimerWndProc();
          return !*token || !Connected() || line_.BytesWaiting() <= 0;
      }),
      reopen_([this] { ReopenLostLine(); }) {
    buffer_.assign(inBufSize_, 0);
}

TCommPortDriver::~TCommPortDriver() {
    *alive_ = false;
    Disconnect();
}

bool TCommPortDriver::Connect() {
    if (Connected())
        return true;
    if (!OpenLine())
        return false;
    EndTries();
    return true;
}

void TCommPortDriver::Disconnect() {
    EndTries();
    CloseLine();
}

bool TCommPortDriver::OpenLine() {
    if (!line_.Open(portName_))
        return false;
    if (!ApplySettings()) {
        CloseLine();
        return false;
    }
    StartSender();
    // The watch takes the input up as it comes; the polling timer would only wake
    // the processor 25 times a second for nothing, so it runs only for a line that
    // cannot be watched.
    notifier_.Start(line_.Descriptor(), pollingDelay_);
    if (!notifier_.Running())
        timer_.Start(pollingDelay_);
    return true;
}

void TCommPortDriver::CloseLine() {
    if (!Connected())
        return;
    notifier_.Stop();
    timer_.Stop();
    StopSender();
    line_.Close();
}

void TCommPortDriver::LoseLine() {
    // Held open, the dead descriptor would keep the adapter's device name taken: an
    // adapter plugged back would come up under another name.
    CloseLine();
    lost_ = true;
    reopen_.Start(ReopenIntervalMs);
    if (OnLineLost)
        OnLineLost(this);
}

void TCommPortDriver::EndTries() {
    lost_ = false;
    reopen_.Stop();
}

bool TCommPortDriver::ReopenLostLine() {
    if (!lost_)
        return Connected();
    if (!OpenLine())
        return false;
    EndTries();
    if (OnLineBack)
        OnLineBack(this);
    return true;
}

bool TCommPortDriver::ApplySettings() {
    if (!Connected())
        return false;
    WaitForTransmissions();
    SerialLineSettings s;
    s.BaudRate = baudRateValue_;
    s.DataBits = static_cast<uint8_t>(dataBits_ + 5);
    s.ParityMode = static_cast<SerialLineSettings::Parity>(parity_);
    s.Stop = static_cast<SerialLineSettings::StopBits>(stopBits_);
    s.RtsCtsFlow = hwFlow_ == hfRTSCTS;
    s.RtsOn = hwFlow_ == hfNONERTSON;
    s.XonXoffFlow = swFlow_ == sfXONXOFF;
    s.DtrOn = enableDTROnOpen_;
    // The line's own queues are the driver's; their sizes cannot be set here, so
    // InBufSize and OutBufSize size the read buffer and the free-space figure.
    return line_.Apply(s) && FlushBuffers(true, true);
}

bool TCommPortDriver::FlushBuffers(bool InBuf, bool OutBuf) {
    if (OutBuf)
        WaitForTransmissions();  // a telegram handed over is not cut short
    if (!line_.Purge(InBuf, OutBuf))
        return false;
    incompleteSince_ = -1;
    return true;
}

int16_t TCommPortDriver::OutFreeSpace() const {
    if (!Connected())
        return -1;
    const int queued = std::max(line_.OutputQueued(), 0);
    return static_cast<int16_t>(static_cast<int>(outBufSize_) - queued);
}

TLineStatusSet TCommPortDriver::GetLineStatus() const {
    TLineStatusSet set;
    ModemLines lines;
    if (!line_.GetModemLines(lines))
        return set;
    set[lsCTS] = lines.CTS;
    set[lsDSR] = lines.DSR;
    set[lsRING] = lines.RING;
    set[lsRLSD] = lines.RLSD;
    return set;
}

uint32_t TCommPortDriver::SendDataWithTimeout(const uint8_t* Data, uint32_t Count, uint32_t Timeout) {
    if (!Connected() || Data == nullptr)
        return 0;
    WaitForTransmissions();
    return WriteWithTimeout(Data, Count, Timeout, checkLineStatus_);
}

uint32_t TCommPortDriver::WriteWithTimeout(const uint8_t* Data, uint32_t Count, uint32_t Timeout, bool CheckLines) {
    // Real time, not the tick counter: a test's stepped clock must not hold up I/O.
    using Clock = std::chrono::steady_clock;
    auto lastProgress = Clock::now();
    uint32_t written = 0;
    while (written < Count) {
        if (CheckLines && GetLineStatus().none())
            break;
        long moved = 0;
        const int16_t space = OutFreeSpace();
        if (space > 0) {
            moved = line_.Write(Data + written, std::min<uint32_t>(space, Count - written));
            if (moved < 0)
                break;
        }
        if (moved > 0) {
            written += static_cast<uint32_t>(moved);
            lastProgress = Clock::now();
            continue;
        }
        if (Clock::now() - lastProgress > std::chrono::milliseconds(Timeout))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return written;
}

uint32_t TCommPortDriver::SendData(const uint8_t* Data, uint32_t Count) {
    return SendDataWithTimeout(Data, Count, outputTimeout_);
}

void TCommPortDriver::SetDTR(bool On) {
    WaitForTransmissions();
    line_.SetDTR(On);
}

void TCommPortDriver::WaitForOutput() {
    WaitForTransmissions();
    line_.Drain();
}

void TCommPortDriver::TimerWndProc() {
    if (!Connected())
        return;
    const int waiting = line_.BytesWaiting();
    // Gone also when a write of the sender found it so.
    if (line_.Gone()) {
        LoseLine();
        return;
    }
    if (waiting < 0)
        return;
    if (packetSize_ >= 1) {
        PollPackets(static_cast<uint32_t>(waiting));
        return;
    }
    if (waiting == 0)
        return;
    const long got = line_.Read(buffer_.data(), std::min<size_t>(waiting, buffer_.size()));
    if (got > 0 && OnReceiveData)
        OnReceiveData(this, buffer_.data(), static_cast<uint32_t>(got));
}

void TCommPortDriver::PollPackets(uint32_t waiting) {
    const auto size = static_cast<uint32_t>(packetSize_);
    if (buffer_.size() < size)
        buffer_.resize(size);  // a packet size set while open may exceed InBufSize
    if (waiting >= size) {
        while (waiting >= size) {
            if (line_.Read(buffer_.data(), size) != static_cast<long>(size))
                break;
            waiting -= size;
            if (OnReceivePacket)
                OnReceivePacket(this, buffer_.data(), size);
            if (!Connected() || packetSize_ != static_cast<int16_t>(size))
                return;
        }
        // A remainder is the start of the next packet: its time starts now.
        incompleteSince_ = waiting == 0 ? -1 : static_cast<int64_t>(GetTickCount());
        return;
    }
    const uint32_t now = GetTickCount();
    if (packetTimeout_ >= 1 && IncompletePacketTimeSet() &&
        TicksBetween(static_cast<uint32_t>(incompleteSince_), now) > static_cast<uint32_t>(packetTimeout_)) {
        incompleteSince_ = -1;
        if (waiting == 0)
            return;
        const long got = line_.Read(buffer_.data(), waiting);
        if (got > 0 && packetMode_ == pmPass && OnReceivePacket)
            OnReceivePacket(this, buffer_.data(), static_cast<uint32_t>(got));
    } else if (waiting > 0 && !IncompletePacketTimeSet()) {
        incompleteSince_ = now;
    }
}

void TCommPortDriver::ApplyIfOpen() {
    if (Connected())
        ApplySettings();
}

void TCommPortDriver::SetPort(TPortNumber Value) {
    if (Connected())
        return;
    port_ = Value;
    if (Value != pnCustom)
        portName_ = "\\\\.\\COM" + std::to_string(static_cast<int>(Value));
}

void TCommPortDriver::SetPortName(const std::string& Value) {
    if (Connected())
        return;
    portName_ = Value;
    port_ = pnCustom;
}

void TCommPortDriver::SetBaudRate(TBaudRate Value) {
    baudRate_ = Value;
    if (Value != brCustom)
        baudRateValue_ = BaudRateOf(Value);
    ApplyIfOpen();
}

void TCommPortDriver::SetBaudRateValue(uint32_t Value) {
    baudRateValue_ = Value;
    baudRate_ = brCustom;
    ApplyIfOpen();
}

void TCommPortDriver::SetDataBits(TDataBits Value) { dataBits_ = Value; ApplyIfOpen(); }
void TCommPortDriver::SetStopBits(TStopBits Value) { stopBits_ = Value; ApplyIfOpen(); }
void TCommPortDriver::SetParity(TParity Value) { parity_ = Value; ApplyIfOpen(); }
void TCommPortDriver::SetHwFlow(THwFlowControl Value) { hwFlow_ = Value; ApplyIfOpen(); }
void TCommPortDriver::SetSwFlow(TSwFlowControl Value) { swFlow_ = Value; ApplyIfOpen(); }

void TCommPortDriver::SetInBufSize(uint32_t Value) {
    if (Connected())
        return;
    inBufSize_ = HoldToBufferRange(Value);
    buffer_.assign(inBufSize_, 0);
    SetPacketSize(packetSize_);
}

void TCommPortDriver::SetOutBufSize(uint32_t Value) {
    if (Connected())
        return;
    outBufSize_ = HoldToBufferRange(Value);
}

void TCommPortDriver::SetPacketSize(int32_t Value) {
    if (Value < 1) {
        packetSize_ = -1;
        return;
    }
    // Held to the largest buffer, or raising InBufSize (held to that size) and
    // writing the packet size again would never end.
    Value = std::min<int32_t>(Value, MaxBufSize);
    packetSize_ = static_cast<int16_t>(Value);
    if (static_cast<uint32_t>(Value) > inBufSize_)
        SetInBufSize(static_cast<uint32_t>(Value));
}

void TCommPortDriver::SetPacketTimeout(int32_t Value) {
    if (Value < 1)
        packetTimeout_ = -1;
    else if (Value < pollingDelay_)
        packetTimeout_ = pollingDelay_ + pollingDelay_ * 40 / 100;
    else
        packetTimeout_ = Value;
}

void TCommPortDriver::SetPollingDelay(uint16_t Value) {
    Value = std::max(Value, MinPollingDelay);
    if (Value == pollingDelay_)
        return;
    timer_.Stop();
    pollingDelay_ = Value;
    notifier_.SetRest(pollingDelay_);
    if (Connected() && !notifier_.Running())
        timer_.Start(pollingDelay_);
    SetPacketTimeout(packetTimeout_);
}

} // namespace zeko

#pragma once
// TCommPortDriver: the serial port component. It owns one serial line (opened by
// name through platform/SerialLine), applies the line settings, takes up the input
// in the main thread as soon as bytes arrive (a watch on the line, which looks again
// after PollingDelay ms when bytes stay unread, such as an incomplete packet; a line
// that cannot be watched is polled every PollingDelay ms by a timer), hands the
// bytes read to OnReceiveData (or, in packet mode, whole packets to
// OnReceivePacket), writes with an output time-out and switches DTR. The events and
// every operation run in the main thread; only the work of Transmit runs in a sender
// thread of the port's own, so that a telegram's time on the wire never holds the
// window up. No operation throws: a closed port does nothing and answers false, 0,
// -1 or the empty set.
//
// A line whose device goes away while open (a USB adapter pulled out) is found out
// by the next poll: the component closes it, so that the device's name is free for
// the adapter when it is plugged back, calls OnLineLost, and then tries to open the
// same name again once every ReopenIntervalMs; the first try that opens it applies
// the settings as Connect does and calls OnLineBack. Connect and Disconnect end the
// tries.
//
// Properties are a getter of the property's name and a setter Set<Name>; the events
// are public std::function members.
#include "platform/InputNotifier.h"
#include "platform/SerialLine.h"
#include "platform/TimerHost.h"

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace zeko {

enum TPortNumber : uint8_t {
    pnCustom, pnCOM1, pnCOM2, pnCOM3, pnCOM4, pnCOM5, pnCOM6, pnCOM7, pnCOM8,
    pnCOM9, pnCOM10, pnCOM11, pnCOM12, pnCOM13, pnCOM14, pnCOM15, pnCOM16
};
enum TBaudRate : uint8_t {
    brCustom, br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200,
    br38400, br56000, br57600, br115200, br128000, br256000
};
enum TDataBits : uint8_t { db5BITS, db6BITS, db7BITS, db8BITS };
enum TStopBits : uint8_t { sb1BITS, sb1HALFBITS, sb2BITS };
enum TParity : uint8_t { ptNONE, ptODD, ptEVEN, ptMARK, ptSPACE };
enum THwFlowControl : uint8_t { hfNONE, hfNONERTSON, hfRTSCTS };
enum TSwFlowControl : uint8_t { sfNONE, sfXONXOFF };
enum TPacketMode : uint8_t { pmDiscard, pmPass };

// Modem status lines; GetLineStatus answers the set of those that are on.
enum TLineStatus : uint8_t { lsCTS, lsDSR, lsRING, lsRLSD };
using TLineStatusSet = std::bitset<4>;

// How a transmission turns the bus around: DTR on, more than GuardMicroseconds,
// the bytes, until they have left the line, more than GuardMicroseconds, DTR off.
struct TDirectionSwitch {
    bool Enabled = false;
    uint32_t GuardMicroseconds = 0;
};

// The steps of a transmission as the sender thread takes them (OnLineStep).
enum class TLineStep : uint8_t { DtrOn, Written, Drained, DtrOff };

class TCommPortDriver;
using TReceiveDataEvent = std::function<void(TCommPortDriver* Sender, const uint8_t* DataPtr, uint32_t DataSize)>;
using TReceivePacketEvent = std::function<void(TCommPortDriver* Sender, const uint8_t* Packet, uint32_t DataSize)>;

// The rate of a table value; 0 for brCustom.
uint32_t BaudRateOf(TBaudRate rate);
// The component's platform queries. This platform counts as the "WNT" family (the
// one with large handshake limits); the version is the kernel's, major * 65536 +
// minor, 0 when unknown.
std::string GetWinPlatform();
uint32_t GetWinVersion();

class TCommPortDriver {
public:
    static constexpr uint32_t MinBufSize = 128;
    static constexpr uint32_t MaxBufSize = 8192;
    static constexpr uint16_t MinPollingDelay = 5;

    // AOwner is kept for the caller's reference only; whoever creates the
    // component destroys it.
    explicit TCommPortDriver(void* AOwner = nullptr);
    ~TCommPortDriver();
    TCommPortDriver(const TCommPortDriver&) = delete;
    TCommPortDriver& operator=(const TCommPortDriver&) = delete;

    bool Connect();
    // Why the last Connect failed: the device missing, access denied, in use, no
    // serial line, or the settings refused (None after a success).
    SerialLineFailure ConnectFailure() const { return line_.Failure(); }
    void Disconnect();
    bool Connected() const { return line_.IsOpen(); }
    // The line went away and is not open again yet.
    bool LineLost() const { return lost_; }
    // One try to open a lost line now, as the tries of the component are made;
    // answers whether it is open (again).
    bool ReopenLostLine();
    static constexpr uint32_t ReopenIntervalMs = 1000;
    bool ApplySettings();
    bool FlushBuffers(bool InBuf, bool OutBuf);
    int16_t OutFreeSpace() const;
    TLineStatusSet GetLineStatus() const;
    uint32_t SendDataWithTimeout(const uint8_t* Data, uint32_t Count, uint32_t Timeout);
    uint32_t SendData(const uint8_t* Data, uint32_t Count);
    void SetDTR(bool On);
    // Waits until every byte handed to SendData or Transmit has left the line (the
    // bus direction must not turn before that).
    void WaitForOutput();

    // Hands a copy of the bytes to the sender thread and returns at once. The sender
    // takes the transmissions in the order given, each whole: with the direction
    // switched as Direction says, the bytes written as SendData writes them (with
    // OutputTimeout and CheckLineStatus as they are now). Nothing on a closed port.
    // SendData, SetDTR, WaitForOutput, ApplySettings and a flush of the output first
    // wait for the transmissions handed over before them, so the line sees every
    // operation in the order of the calls.
    void Transmit(std::span<const uint8_t> Data, TDirectionSwitch Direction);
    // Waits until the sender has finished every transmission handed to it.
    void WaitForTransmissions();
    // Sees each step of each transmission, in the sender thread, with the number of
    // bytes written for Written (0 for the others). Set it while no transmission
    // is under way.
    std::function<void(TLineStep Step, uint32_t Count)> OnLineStep;

    // One poll of the input, as each notice of arrived bytes (or tick of the polling
    // timer) runs it while the port is open.
    void TimerWndProc();

    void* Owner() const { return owner_; }

    TPortNumber Port() const { return port_; }
    void SetPort(TPortNumber Value);
    const std::string& PortName() const { return portName_; }
    void SetPortName(const std::string& Value);
    TBaudRate BaudRate() const { return baudRate_; }
    void SetBaudRate(TBaudRate Value);
    uint32_t BaudRateValue() const { return baudRateValue_; }
    void SetBaudRateValue(uint32_t Value);
    TDataBits DataBits() const { return dataBits_; }
    void SetDataBits(TDataBits Value);
    TStopBits StopBits() const { return stopBits_; }
    void SetStopBits(TStopBits Value);
    TParity Parity() const { return parity_; }
    void SetParity(TParity Value);
    THwFlowControl HwFlow() const { return hwFlow_; }
    void SetHwFlow(THwFlowControl Value);
    TSwFlowControl SwFlow() const { return swFlow_; }
    void SetSwFlow(TSwFlowControl Value);
    uint32_t InBufSize() const { return inBufSize_; }
    void SetInBufSize(uint32_t Value);
    uint32_t OutBufSize() const { return outBufSize_; }
    void SetOutBufSize(uint32_t Value);
    int16_t PacketSize() const { return packetSize_; }
    void SetPacketSize(int32_t Value);
    int32_t PacketTimeout() const { return packetTimeout_; }
    void SetPacketTimeout(int32_t Value);
    TPacketMode PacketMode() const { return packetMode_; }
    void SetPacketMode(TPacketMode Value) { packetMode_ = Value; }
    uint16_t PollingDelay() const { return pollingDelay_; }
    void SetPollingDelay(uint16_t Value);
    bool EnableDTROnOpen() const { return enableDTROnOpen_; }
    void SetEnableDTROnOpen(bool Value) { enableDTROnOpen_ = Value; }
    uint16_t OutputTimeout() const { return outputTimeout_; }
    void SetOutputTimeout(uint16_t Value) { outputTimeout_ = Value; }
    // Stored only; nothing reads it.
    uint32_t InputTimeout() const { return inputTimeout_; }
    void SetInputTimeout(uint32_t Value) { inputTimeout_ = Value; }
    bool CheckLineStatus() const { return checkLineStatus_; }
    void SetCheckLineStatus(bool Value) { checkLineStatus_ = Value; }

    TReceiveDataEvent OnReceiveData;
    TReceivePacketEvent OnReceivePacket;
    // The line went away (it is closed now), and it is open again.
    std::function<void(TCommPortDriver* Sender)> OnLineLost;
    std::function<void(TCommPortDriver* Sender)> OnLineBack;

private:
    struct TTransmission;
    class TSender;

    // Open with the settings applied and the input watched, and closed; the state of
    // a lost line is left to the callers.
    bool OpenLine();
    void CloseLine();
    void LoseLine();
    void EndTries();
    void ApplyIfOpen();
    void PollPackets(uint32_t waiting);
    bool IncompletePacketTimeSet() const { return incompleteSince_ >= 0; }
    // The write loop of SendDataWithTimeout, in whichever thread writes.
    uint32_t WriteWithTimeout(const uint8_t* Data, uint32_t Count, uint32_t Timeout, bool CheckLines);
    // A transmission, in the sender thread.
    void Perform(const TTransmission& t);
    void StartSender();
    void StopSender();  // after the transmissions handed over

    void* owner_ = nullptr;
    std::shared_ptr<bool> alive_;  // false once the destructor has begun
    SerialLine line_;
    TimerHost timer_;
    InputNotifier notifier_;
    TimerHost reopen_;  // the tries to open a lost line
    bool lost_ = false;
    std::unique_ptr<TSender> sender_;  // while open
    std::vector<uint8_t> buffer_;
    int64_t incompleteSince_ = -1;  // tick count when an incomplete packet was first seen

    TPortNumber port_ = pnCOM2;
    std::string portName_ = "\\\\.\\COM2";
    TBaudRate baudRate_ = br9600;
    uint32_t baudRateValue_ = 9600;
    TDataBits dataBits_ = db8BITS;
    TStopBits stopBits_ = sb1BITS;
    TParity parity_ = ptNONE;
    THwFlowControl hwFlow_ = hfNONERTSON;
    TSwFlowControl swFlow_ = sfNONE;
    uint32_t inBufSize_ = 2048;
    uint32_t outBufSize_ = 2048;
    int16_t packetSize_ = -1;
    int32_t packetTimeout_ = -1;
    TPacketMode packetMode_ = pmDiscard;
    uint16_t pollingDelay_ = 50;
    bool enableDTROnOpen_ = true;
    uint16_t outputTimeout_ = 500;
    uint32_t inputTimeout_ = 200;
    bool checkLineStatus_ = false;
};

} // namespace zeko

#pragma once
// One serial line of the machine: the stand-in for the system's serial port calls.
// The port component (core/CPDrv) is its only user; nothing else opens a device.
//
// Port names: "\\.\COMn" (or "COMn") is the device in $ZEKO_COMn when that is set,
// else /dev/ttyS<n-1>; any other name is taken as a device path. The line is opened
// for exclusive use: a line that another process (or another SerialLine) holds
// open, or that does not exist, does not open; Failure() then says why, so that the
// user can be told what to mend. Reads and writes never block.
//
// A line whose device goes away while open (a USB adapter pulled out, the far end
// of a pseudo-terminal closed) fails every call from then on; Gone() tells such a
// line from one that only refused a call, so that its owner can close it (which
// frees the device's name for the adapter when it is plugged back) and open it again.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace zeko {

struct SerialLineSettings {
    enum class Parity : uint8_t { None, Odd, Even, Mark, Space };
    enum class StopBits : uint8_t { One, OneAndHalf, Two };  // 1.5 is sent as 2 here

    uint32_t BaudRate = 9600;  // any rate; one the driver cannot make fails in Apply
    uint8_t DataBits = 8;      // 5..8
    Parity ParityMode = Parity::None;
    StopBits Stop = StopBits::One;
    bool RtsCtsFlow = false;   // hardware handshake on CTS/RTS
    bool XonXoffFlow = false;  // software handshake in both directions
    uint8_t XonChar = 17;
    uint8_t XoffChar = 19;
    bool RtsOn = true;         // RTS level while open (without RTS/CTS handshake)
    bool DtrOn = false;        // DTR level right after Apply
};

// Why the last Open or Apply of a line failed.
enum class SerialLineFailure : uint8_t {
    None,
    Missing,    // no such device, or no hardware behind it
    Denied,     // the device exists, but this user may not open it
    InUse,      // another program holds it
    NotSerial,  // the name is no serial device (a plain file, a folder)
    Refused,    // the device refused the line settings (the rate)
    Other,
};

// The modem status lines that are on.
struct ModemLines {
    bool CTS = false, DSR = false, RING = false, RLSD = false;
};

class SerialLine {
public:
    SerialLine() = default;
    ~SerialLine();
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;

    // The device path a port name stands for.
    static std::string DevicePath(const std::string& portName);

    // Opens an existing device for reading and writing, exclusively; false on failure.
    bool Open(const std::string& portName);
    // Why the last Open or Apply failed (None after a success); kept over Close.
    SerialLineFailure Failure() const { return failure_; }
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    // A call on the open line failed because its device is no longer there (an I/O
    // error, no such device); false again after the next Open. Any thread.
    bool Gone() const { return gone_.load(); }
    // True for the errno values of a device that went away while open.
    static bool IsGoneError(int error);

    // Raw line with the given settings; false when the device refuses them.
    bool Apply(const SerialLineSettings& settings);
    // The rate the device reports for its output side (0 when closed).
    uint32_t CurrentBaudRate() const;

    // Discards what waits to be read and/or to be sent.
    bool Purge(bool input, bool output);
    // Bytes waiting to be read / waiting to go out; -1 when closed or on failure.
    int BytesWaiting() const;
    int OutputQueued() const;
    // Moves up to `count` bytes; answers the number moved (0 when nothing waits or
    // nothing fits now), -1 on failure.
    long Read(uint8_t* buffer, size_t count);
    long Write(const uint8_t* data, size_t count);
    // Waits until every byte written has left the line.
    bool Drain();
    // For a watch on the line's input (poll); -1 while closed.
    int Descriptor() const { return fd_; }

    // Tests and benchmarks: a pseudo-terminal has no wire, so its bytes are gone the
    // moment they are written and Drain returns at once. With the wire model on (for
    // every line of the process), Drain then waits until the bytes written would
    // have left a real line at the rate applied: start bit, data bits, parity bit
    // and stop bits for each. On a real line the driver's own wait comes first and
    // the model's is then over already.
    static void ModelWireTime(bool on);

    // The bus direction line. A pseudo-terminal has no modem lines, so failures are
    // ignored here, as the callers would ignore them.
    void SetDTR(bool on);
    void SetRTS(bool on);
    // False when the device has no modem status lines (a pseudo-terminal).
    bool GetModemLines(ModemLines& lines) const;

private:
    void SetModemBit(int bit, bool on);
    // Answers `result`; a failure (-1) whose errno says the device went away marks
    // the line gone.
    long NoteFailure(long result) const;

    int fd_ = -1;
    mutable std::atomic<bool> gone_{false};
    SerialLineFailure failure_ = SerialLineFailure::None;
    // The wire model: the time of one character at the rate applied, and when the
    // last byte written would have left the line (monotonic nanoseconds).
    uint64_t characterNs_ = 0;
    uint64_t wireFreeAtNs_ = 0;
};

} // namespace zeko

#pragma once
// The receive side of the regulator bus: bytes as the port delivers them are kept
// in a buffer, and complete, well-formed frames are cut out of it.
//
// A frame (offsets from the start byte):
//   0      0xA5
//   1      destination: a PC station 55..63 (0x37..0x3F) or 0xBF
//   2      source station (bit 7 may be set)
//   3      length: bits 4..0 = N - 2, N = bytes after the header; bits 7..5 flags
//   4      header check: bytes 0..4 sum to 0 modulo 256
//   5      control byte: bit 7 write acknowledgement, bits 6..5 memory kind,
//          bits 4..0 byte count
//   6, 7   register address, low byte first
//   8..    data bytes (N - 3 of them, the last of the N bytes is the data check)
//   4 + N  data check: the N bytes after the header sum to 0 modulo 256
// Our own telegrams echoed by the line (FF A5 08 3F ...) are no start: their
// destination 8 is no PC station.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace zeko {

constexpr uint8_t FrameStart = 0xA5;
constexpr size_t FrameHeaderSize = 5;
constexpr size_t MinimumParseBytes = 8;
constexpr size_t ReceivedFrameSize = 65;

struct TReplyHeader {
    uint8_t Source = 0;
    int DataLength = 0;     // (length bits 4..0) - 2
    uint8_t Flags = 0;      // bits 7..5 of the length byte
    uint8_t Mode = 0;       // memory kind 0..3
    bool WriteAck = false;  // the reply answers a write
    uint16_t Address = 0;
    const uint8_t* Data = nullptr;  // from byte 8 on
};

TReplyHeader DecodeReplyHeader(const uint8_t* frame);

class TReplyParser {
public:
    // A frame that passed both checks; length = 5 + N bytes from the start byte.
    using FrameHandler = std::function<void(const uint8_t* frame, size_t length)>;

    void Append(const uint8_t* data, size_t count);
    // Cuts every complete frame out of the buffer; well-formed ones go to `onFrame`
    // in order. Bytes of an incomplete frame stay for the next call.
    void ParseReceivedFrames(const FrameHandler& onFrame);
    void DropReceivedBytes(size_t count);
    void Clear();

    const std::vector<uint8_t>& ReceiveBuffer() const { return buffer_; }
    const std::array<uint8_t, ReceivedFrameSize>& ReceivedFrame() const { return frame_; }

private:
    std::vector<uint8_t> buffer_;
    std::array<uint8_t, ReceivedFrameSize> frame_{};
};

} // namespace zeko

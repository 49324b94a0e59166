#pragma once
// The receive side of the regulator bus: cuts complete, well-formed telegrams out of
// the bytes the port delivers and hands each reply of the regulator that the link
// layer's reply check accepts to OnRegulatorReply. Noise, frames with a bad check
// byte, frames of other stations and replies the check refuses (register outside the
// address window, not the answer to the last telegram sent) are consumed without
// effect and never reach the handler.
//
// The main window's ReceiveBytes appends through ReceiveBytes here; its
// HandleRegulatorReply is OnRegulatorReply. Main thread only.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace zeko {

class TKomunikace;

class TFrameParser {
public:
    static constexpr size_t FrameCapacity = 65;
    using ReplyHandler = std::function<void(const uint8_t* Frame)>;

    explicit TFrameParser(TKomunikace& komunikace) : komunikace_(komunikace) {}

    // Appends the bytes to ReceiveBuffer and parses.
    void ReceiveBytes(const uint8_t* Data, size_t Count);
    void ParseReceivedFrames();
    void DropReceivedBytes(size_t N);

    // The bytes received and not yet consumed, oldest first.
    std::vector<uint8_t> ReceiveBuffer;
    // The frame last cut out of the buffer (zero behind its end); the handler reads
    // the reply from it.
    std::array<uint8_t, FrameCapacity> ReceivedFrame{};
    ReplyHandler OnRegulatorReply;

private:
    TKomunikace& komunikace_;
};

} // namespace zeko
